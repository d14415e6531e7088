#pragma once

#include "HugePages.h"

#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

namespace ivra {

// Working arrays of one operator run, handed out one after the other from a block
// the caller lends (typically result planes the operator writes only at the end),
// then from blocks of whole huge pages taken with allocateLarge() once that block is
// used up. A fresh run thus touches memory it already owns, or new memory a few
// large page faults at a time instead of one per 4 KiB. Arrays are uninitialised
// and last as long as the arena; none is given back singly.
class ScratchArena {
public:
    ScratchArena(void* lent, std::size_t bytes);
    ScratchArena(const ScratchArena&) = delete;
    ScratchArena& operator=(const ScratchArena&) = delete;

    template <class T>
    T* take(std::size_t count)
    {
        static_assert(std::is_trivially_default_constructible_v<T> && std::is_trivially_destructible_v<T>);
        T* p = static_cast<T*>(takeBytes(count * sizeof(T), alignof(T)));
        std::uninitialized_default_construct_n(p, count); // starts the elements' lifetime, writes nothing
        return p;
    }

    // Arrays taken after mark() are given back by rewind(mark), their memory to be
    // taken again, unless the arena moved on to a new block meanwhile.
    using Mark = std::byte*;
    Mark mark() const { return next_; }
    void rewind(Mark mark)
    {
        if (mark >= begin_ && mark <= next_)
            next_ = mark;
    }

private:
    void* takeBytes(std::size_t bytes, std::size_t alignment);

    std::byte* begin_; // the current block
    std::byte* next_;
    std::byte* end_;
    std::vector<LargeArray<std::byte>> own_;
};

} // namespace ivra
