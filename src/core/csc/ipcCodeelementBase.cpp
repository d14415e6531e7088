#include "ipcCodeelementBase.h"

#include "util/HugePages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace ivra {

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
    ownFirst_ = std::make_unique_for_overwrite<std::uint32_t[]>(islands + 1);
    ownElements_ = std::make_unique_for_overwrite<ipcCodeelement[]>(capacity);
    ownLinkFirst_ = std::make_unique_for_overwrite<std::uint32_t[]>(capacity);
    links_ = std::make_unique_for_overwrite<ipcCodeelementLink[]>(static_cast<std::size_t>(linkCapacity_));
    ivra::preferHugePages(ownFirst_.get(), (islands + 1) * sizeof(std::uint32_t));
    ivra::preferHugePages(ownElements_.get(), capacity * sizeof(ipcCodeelement));
    ivra::preferHugePages(ownLinkFirst_.get(), capacity * sizeof(std::uint32_t));
    ivra::preferHugePages(links_.get(), static_cast<std::size_t>(linkCapacity_) * sizeof(ipcCodeelementLink));
    first_ = ownFirst_.get();
    elements_ = ownElements_.get();
    linkFirst_ = ownLinkFirst_.get();
    elementRoom_ = elementCapacity_;
    first_[0] = 0;
}

void ipcCodeelementBase::lend(void* block, std::size_t bytes)
{
    if (usedElements_ != 0 || block == nullptr)
        return;
    // Pieces start on cache lines.
    const auto align = [](std::uintptr_t p) { return (p + 63) & ~std::uintptr_t{63}; };
    const auto begin = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t end = begin + bytes;
    const std::size_t tableBytes = (static_cast<std::size_t>(hierarchy_.islandCount()) + 1) * sizeof(std::uint32_t);
    std::uintptr_t at = align(begin);
    if (at + tableBytes > end)
        return;
    first_ = reinterpret_cast<std::uint32_t*>(at);
    first_[0] = 0;
    ownFirst_.reset();
    at = align(at + tableBytes);
    // An element and its link start take 20 bytes: the rest is shared in that ratio.
    const std::int64_t room = std::min<std::int64_t>(
        elementCapacity_,
        at + 64 < end ? static_cast<std::int64_t>((end - at - 64) / (sizeof(ipcCodeelement) + sizeof(std::uint32_t)))
                      : 0);
    if (room < 1024) // too little to be worth a move later
        return;
    elements_ = reinterpret_cast<ipcCodeelement*>(at);
    linkFirst_ = reinterpret_cast<std::uint32_t*>(align(at + static_cast<std::size_t>(room) * sizeof(ipcCodeelement)));
    elementRoom_ = room;
    ownElements_.reset();
    ownLinkFirst_.reset();
}

bool ipcCodeelementBase::moveElements()
{
    const auto capacity = static_cast<std::size_t>(elementCapacity_);
    auto elements = std::make_unique_for_overwrite<ipcCodeelement[]>(capacity);
    auto linkFirst = std::make_unique_for_overwrite<std::uint32_t[]>(capacity);
    ivra::preferHugePages(elements.get(), capacity * sizeof(ipcCodeelement));
    ivra::preferHugePages(linkFirst.get(), capacity * sizeof(std::uint32_t));
    // The element being built (allocated, not yet committed) moves along.
    const auto live = static_cast<std::size_t>(std::min(usedElements_ + 1, elementRoom_));
    std::copy(elements_, elements_ + live, elements.get());
    std::copy(linkFirst_, linkFirst_ + live, linkFirst.get());
    ownElements_ = std::move(elements);
    ownLinkFirst_ = std::move(linkFirst);
    elements_ = ownElements_.get();
    linkFirst_ = ownLinkFirst_.get();
    elementRoom_ = elementCapacity_;
    return true;
}

std::pair<std::uint32_t, int> ipcCodeelementBase::elementsOf(IslandCoord c) const
{
    const int walk = hierarchy_.walkIndex(c);
    if (walk < 0)
        return {ipcCodeelement::none, 0};
    return {first_[walk], static_cast<int>(countOf(walk))};
}

} // namespace ivra
