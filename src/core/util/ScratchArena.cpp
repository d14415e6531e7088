#include "ScratchArena.h"

#include <cstdint>

namespace ivra {

ScratchArena::ScratchArena(void* lent, std::size_t bytes)
    : next_(static_cast<std::byte*>(lent)), end_(static_cast<std::byte*>(lent) + bytes)
{
}

void* ScratchArena::takeBytes(std::size_t bytes, std::size_t alignment)
{
    const auto at = reinterpret_cast<std::uintptr_t>(next_);
    const std::size_t skip = (alignment - at % alignment) % alignment;
    if (skip <= static_cast<std::size_t>(end_ - next_) && bytes <= static_cast<std::size_t>(end_ - next_) - skip) {
        std::byte* p = next_ + skip;
        next_ = p + bytes;
        return p;
    }
    own_.push_back(allocateLarge<std::byte>(bytes));
    return own_.back().get();
}

} // namespace ivra
