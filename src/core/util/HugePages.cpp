#include "HugePages.h"

#include <cstdint>
#include <limits>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace ivra {

void preferHugePages(void* data, std::size_t bytes)
{
#if defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t page = 4096;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + page - 1) & ~(page - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(page - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)bytes;
#endif
}

void* allocateLargeBytes(std::size_t bytes, std::size_t& alignment)
{
    // A small page's first touch costs a fault, and on virtual machines a fault costs
    // far more than clearing the page: from 256 KiB on, blocks take whole huge pages, their
    // last one included (the system maps a huge page only over a whole aligned 2 MiB
    // range), at the price of at most one partly used huge page per block.
    constexpr std::size_t hugePage = std::size_t{2} << 20;
    constexpr std::size_t hugeFrom = std::size_t{256} << 10;
    if (bytes < hugeFrom) {
        alignment = alignof(std::max_align_t);
        return ::operator new(bytes == 0 ? 1 : bytes, std::align_val_t{alignment});
    }
    if (bytes > std::numeric_limits<std::size_t>::max() - hugePage)
        throw std::bad_alloc();
    alignment = hugePage;
    const std::size_t whole = (bytes + hugePage - 1) & ~(hugePage - 1);
    void* p = ::operator new(whole, std::align_val_t{alignment});
    preferHugePages(p, whole);
    return p;
}

} // namespace ivra
