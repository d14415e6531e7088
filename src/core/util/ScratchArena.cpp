#include "ScratchArena.h"

#include <cstdint>

namespace ivra {

namespace {
constexpr std::size_t hugePage = std::size_t{2} << 20;
}

ScratchArena::ScratchArena(void* lent, std::size_t bytes)
    : begin_(static_cast<std::byte*>(lent)), next_(begin_), end_(begin_ + bytes)
{
}

void* ScratchArena::takeBytes(std::size_t bytes, std::size_t alignment)
{
    const auto fits = [&] {
        const std::size_t skip = (alignment - reinterpret_cast<std::uintptr_t>(next_) % alignment) % alignment;
        if (skip > static_cast<std::size_t>(end_ - next_) || bytes > static_cast<std::size_t>(end_ - next_) - skip)
            return false;
        next_ += skip;
        return true;
    };
    if (!fits()) {
        // Whole huge pages, room for more than this array: later ones fit in too.
        const std::size_t size = (bytes + bytes / 2 + hugePage) / hugePage * hugePage;
        own_.push_back(allocateLarge<std::byte>(size));
        begin_ = next_ = own_.back().get();
        end_ = begin_ + size;
        fits();
    }
    std::byte* p = next_;
    next_ += bytes;
    return p;
}

} // namespace ivra
