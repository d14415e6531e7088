#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <type_traits>

namespace ivra {

// Asks the system to back the whole pages inside [data, data + bytes) with huge pages
// where it allows that (Linux: madvise MADV_HUGEPAGE; elsewhere nothing). Large
// arrays that are filled once then cost one page fault per huge page instead of one
// per small page. Contents and results do not change.
void preferHugePages(void* data, std::size_t bytes);

// Frees what allocateLarge() gave, with the alignment it was taken with.
struct LargeDeleter {
    std::size_t alignment = alignof(std::max_align_t);
    void operator()(void* p) const { ::operator delete(p, std::align_val_t{alignment}); }
};

template <class T>
using LargeArray = std::unique_ptr<T[], LargeDeleter>;

// Uninitialised memory for picture planes, labels and scratch: blocks of 256 KiB and
// more start on a 2 MiB boundary, extend to a whole number of huge pages and carry the
// huge-page hint, so that the system can map them with whole huge pages. Throws
// std::bad_alloc.
void* allocateLargeBytes(std::size_t bytes, std::size_t& alignment);

template <class T>
LargeArray<T> allocateLarge(std::size_t count)
{
    static_assert(std::is_trivially_default_constructible_v<T> && std::is_trivially_destructible_v<T> &&
                  alignof(T) <= alignof(std::max_align_t));
    std::size_t alignment = 0;
    void* p = allocateLargeBytes(count * sizeof(T), alignment);
    return LargeArray<T>(static_cast<T*>(p), LargeDeleter{alignment});
}

} // namespace ivra
