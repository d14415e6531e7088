#include "ipcCodeelementBase.h"

#include "util/HugePages.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

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
    ivra::preferHugePages(first_.get(), (islands + 1) * sizeof(std::uint32_t));
    ivra::preferHugePages(elements_.get(), capacity * sizeof(ipcCodeelement));
    ivra::preferHugePages(linkFirst_.get(), capacity * sizeof(std::uint32_t));
    ivra::preferHugePages(links_.get(), static_cast<std::size_t>(linkCapacity_) * sizeof(ipcCodeelementLink));
    first_[0] = 0;
}

std::pair<std::uint32_t, int> ipcCodeelementBase::elementsOf(IslandCoord c) const
{
    const int walk = hierarchy_.walkIndex(c);
    if (walk < 0)
        return {ipcCodeelement::none, 0};
    return {first_[walk], static_cast<int>(countOf(walk))};
}
