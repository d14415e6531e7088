#include "HugePages.h"

#include <cstdint>

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
    constexpr std::size_t hugePage = std::size_t{2} << 20;
    alignment = bytes >= hugePage ? hugePage : alignof(std::max_align_t);
    // Whole huge pages: a partial last one would be mapped in 4 KiB pages, one fault each.
    if (bytes >= hugePage)
        bytes = (bytes + hugePage - 1) / hugePage * hugePage;
    void* p = ::operator new(bytes == 0 ? 1 : bytes, std::align_val_t{alignment});
    if (bytes >= hugePage)
        preferHugePages(p, bytes);
    return p;
}

} // namespace ivra
