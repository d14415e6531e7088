#pragma once

#include "HugePages.h"

#include <cstddef>
#include <type_traits>

namespace ivra {

// One block of uninitialised scratch memory for the arrays of a run, carved into
// pieces. The arrays are laid out first (reserve()), then taken in one allocation of
// whole huge pages (allocate()): memory faulted in afresh costs one fault per huge page
// actually touched, and arrays sized for the worst case but used only in part cost no
// more than their used part.
class ScratchBlock {
public:
    // Room for count values of T, 64-byte aligned; returns its place for at().
    template <class T>
    std::size_t reserve(std::size_t count)
    {
        static_assert(std::is_trivially_default_constructible_v<T> && std::is_trivially_destructible_v<T> &&
                      alignof(T) <= 64);
        const std::size_t offset = bytes_;
        bytes_ += (count * sizeof(T) + 63) / 64 * 64;
        return offset;
    }

    // Takes the block; throws std::bad_alloc.
    void allocate();

    template <class T>
    T* at(std::size_t offset) const
    {
        return reinterpret_cast<T*>(block_.get() + offset);
    }

private:
    std::size_t bytes_ = 0;
    LargeArray<unsigned char> block_;
};

} // namespace ivra
