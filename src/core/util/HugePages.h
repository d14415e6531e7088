#pragma once

#include <cstddef>

namespace ivra {

// Asks the system to back the whole pages inside [data, data + bytes) with huge pages
// where it allows that (Linux: madvise MADV_HUGEPAGE; elsewhere nothing). Large
// arrays that are filled once then cost one page fault per huge page instead of one
// per small page. Contents and results do not change.
void preferHugePages(void* data, std::size_t bytes);

} // namespace ivra
