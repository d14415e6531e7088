#include "ElementStore.h"

#include "util/HugePages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace ivra::csc {

std::int64_t ElementStore::elementCapacityFor(const IslandHierarchy& hierarchy, double elementsPerIsland)
{
    return static_cast<std::int64_t>(std::floor(static_cast<double>(hierarchy.islandCount()) * elementsPerIsland));
}

ElementStore::ElementStore(const IslandHierarchy& hierarchy, double elementsPerIsland)
    : hierarchy_(hierarchy)
{
    elementCapacity_ = elementCapacityFor(hierarchy, elementsPerIsland);
    if (elementCapacity_ < 0 || elementCapacity_ > maxElementCapacity)
        throw std::length_error("The picture is too large for the Colour Structure Code (longest side at most 16384)");
    linkCapacity_ = static_cast<std::int64_t>(std::floor(2.0 * static_cast<double>(elementCapacity_)));
    const auto islands = static_cast<std::size_t>(hierarchy.islandCount());
    const auto capacity = static_cast<std::size_t>(elementCapacity_);
    // Uninitialised on purpose: the pools are filled front to back, and untouched pages
    // of these large blocks are never committed.
    ownFirst_ = allocateLarge<std::uint32_t>(islands + 1);
    ownElements_ = allocateLarge<CodeElement>(capacity);
    ownLinkFirst_ = allocateLarge<std::uint32_t>(capacity);
    links_ = allocateLarge<CodeElementLink>(static_cast<std::size_t>(linkCapacity_));
    first_ = ownFirst_.get();
    elements_ = ownElements_.get();
    linkFirst_ = ownLinkFirst_.get();
    elementRoom_ = elementCapacity_;
    first_[0] = 0;
}

void ElementStore::lend(void* block, std::size_t bytes)
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
        at + 64 < end ? static_cast<std::int64_t>((end - at - 64) / (sizeof(CodeElement) + sizeof(std::uint32_t)))
                      : 0);
    if (room < 1024) // too little to be worth a move later
        return;
    elements_ = reinterpret_cast<CodeElement*>(at);
    linkFirst_ = reinterpret_cast<std::uint32_t*>(align(at + static_cast<std::size_t>(room) * sizeof(CodeElement)));
    elementRoom_ = room;
    ownElements_.reset();
    ownLinkFirst_.reset();
}

bool ElementStore::moveElements()
{
    const auto capacity = static_cast<std::size_t>(elementCapacity_);
    auto elements = allocateLarge<CodeElement>(capacity);
    auto linkFirst = allocateLarge<std::uint32_t>(capacity);
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

} // namespace ivra::csc
