#include "ipcCodeelementBase.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

// The pools are large and filled front to back: on Linux, let them be backed by huge
// pages where the system allows it, which saves most of the page faults of a run.
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

} // namespace

std::int64_t ipcCodeelementBase::elementCapacityFor(const ipcIslandHierarchy& hierarchy, double elementsPerIsland)
{
    return static_cast<std::int64_t>(std::floor(static_cast<double>(hierarchy.islandCount()) * elementsPerIsland));
}

ipcCodeelementBase::ipcCodeelementBase(const ipcIslandHierarchy& hierarchy, double elementsPerIsland)
    : hierarchy_(hierarchy), elementsPerIsland_(elementsPerIsland)
{
    elementCapacity_ = elementCapacityFor(hierarchy, elementsPerIsland);
    if (elementCapacity_ < 0 || elementCapacity_ > maxElementCapacity)
        throw std::length_error("The picture is too large for the Colour Structure Code (longest side at most 16384)");
    linkCapacity_ = static_cast<std::int64_t>(std::floor(2.0 * static_cast<double>(elementCapacity_)));
    const auto islands = static_cast<std::size_t>(hierarchy.islandCount());
    const auto capacity = static_cast<std::size_t>(elementCapacity_);
    // Uninitialised on purpose: the pools are filled front to back, and untouched pages
    // of these large blocks are never committed.
    first_ = std::make_unique_for_overwrite<std::uint32_t[]>(islands + 1);
    elements_ = std::make_unique_for_overwrite<ipcCodeelement[]>(capacity);
    linkFirst_ = std::make_unique_for_overwrite<std::uint32_t[]>(capacity);
    links_ = std::make_unique_for_overwrite<ipcCodeelementLink[]>(static_cast<std::size_t>(linkCapacity_));
    preferHugePages(first_.get(), (islands + 1) * sizeof(std::uint32_t));
    preferHugePages(elements_.get(), capacity * sizeof(ipcCodeelement));
    preferHugePages(links_.get(), static_cast<std::size_t>(linkCapacity_) * sizeof(ipcCodeelementLink));
    first_[0] = 0;
}

std::pair<std::uint32_t, int> ipcCodeelementBase::elementsOf(IslandCoord c) const
{
    const int walk = hierarchy_.walkIndex(c);
    if (walk < 0)
        return {ipcCodeelement::none, 0};
    return {first_[walk], static_cast<int>(countOf(walk))};
}
