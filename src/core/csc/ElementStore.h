#pragma once

#include "CodeElement.h"
#include "ElementStoreOverrun.h"
#include "IslandHierarchy.h"
#include "util/HugePages.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ivra::csc {

// The store of all code elements of one run: an element pool of capacity
// E = floor(islandCount * elementsPerIsland) and a link pool of 2E. Memory is reserved
// for the full capacity but only the pages actually filled are touched, so a run costs
// what it uses. The caller may lend the store a block it does not need during the run
// (lend()); the island table and the element pool then start there, and the element
// pool moves to memory of its own only if it outgrows its share.
//
// Islands are filled in walk order (IslandHierarchy::walkIndex, levels bottom-up);
// the elements of one island are contiguous, so one table entry per island (its first
// element) suffices: an island's elements end where the next island's begin.
class ElementStore {
public:
    // Elements are addressed by 29-bit indexes inside links; pictures needing a larger
    // store (a longer side above 16384 pixels) are refused.
    static constexpr std::int64_t maxElementCapacity = std::int64_t{1} << 29;

    // E for a hierarchy, computed in 64 bits.
    static std::int64_t elementCapacityFor(const IslandHierarchy& hierarchy, double elementsPerIsland);

    // Throws std::length_error when the store would exceed maxElementCapacity.
    ElementStore(const IslandHierarchy& hierarchy, double elementsPerIsland = 4.0);
    ~ElementStore() = default;
    ElementStore(const ElementStore&) = delete;
    ElementStore& operator=(const ElementStore&) = delete;

    void reset() { usedElements_ = usedLinks_ = currentIsland_ = 0; }

    // Places the island table and the element pool in [block, block + bytes) as far as
    // they fit; the block must stay untouched by others until the store is done with
    // it. Only for an empty store.
    void lend(void* block, std::size_t bytes);

    // Makes room for `elements` more elements, so that the element pool does not move
    // while they are allocated. True when it moved now (references into it are stale).
    bool reserve(std::int64_t elements)
    {
        return usedElements_ + elements > elementRoom_ && elementRoom_ < elementCapacity_ && moveElements();
    }

    // Starts the island with the given walk index; islands are begun in walk order.
    void beginIsland(int walk)
    {
        currentIsland_ = walk;
        first_[walk] = first_[walk + 1] = static_cast<std::uint32_t>(usedElements_);
    }
    // Marks the islands walk .. walk + n - 1 as holding no element.
    void skipIslands(int walk, int n)
    {
        for (int i = 0; i <= n; ++i)
            first_[walk + i] = static_cast<std::uint32_t>(usedElements_);
        currentIsland_ = walk + n - 1;
    }

    bool isFull() const { return usedElements_ >= elementCapacity_ || usedLinks_ >= linkCapacity_; }
    // The next free element (its links start at the first free link); a full store
    // throws ElementStoreOverrun. Where the pool
    // lies in a lent block it may move here; callers that keep references into it
    // reserve() room beforehand.
    std::uint32_t allocate()
    {
        if (isFull())
            throw ElementStoreOverrun();
        reserve(1);
        linkFirst_[usedElements_] = static_cast<std::uint32_t>(usedLinks_);
        return static_cast<std::uint32_t>(usedElements_);
    }
    // As allocate(), for an element that will never have links (level 0).
    std::uint32_t allocateLeaf()
    {
        if (isFull())
            throw ElementStoreOverrun();
        reserve(1);
        return static_cast<std::uint32_t>(usedElements_);
    }
    // Keeps the element just allocated (with its childCount links) in the current island.
    void commit()
    {
        usedLinks_ += elements_[usedElements_].childCount;
        ++usedElements_;
        first_[currentIsland_ + 1] = static_cast<std::uint32_t>(usedElements_);
    }
    // As commit(), for an element allocated with allocateLeaf() (it has no links).
    void commitLeaf()
    {
        ++usedElements_;
        first_[currentIsland_ + 1] = static_cast<std::uint32_t>(usedElements_);
    }
    // allocateLeaf() and commitLeaf() for a level-0 element written whole, where the
    // caller knows that the store is not full and has reserved room.
    void appendLeaf(const CodeElement& e)
    {
        elements_[usedElements_++] = e;
        first_[currentIsland_ + 1] = static_cast<std::uint32_t>(usedElements_);
    }
    // Appends a link to the element being built; the link pool and the 255 links an
    // element can count are limits of the store.
    void appendLink(std::uint32_t element, int cell, std::uint32_t child)
    {
        CodeElement& e = elements_[element];
        const std::int64_t at = usedLinks_ + e.childCount;
        if (e.childCount == 255 || at >= linkCapacity_)
            throw ElementStoreOverrun();
        links_[at] = makeLink(cell, child);
        ++e.childCount;
    }

    // Makes room for n more links of the element being built and returns them, for the
    // caller to fill; the same limits as appendLink().
    CodeElementLink* appendLinks(std::uint32_t element, int n)
    {
        CodeElement& e = elements_[element];
        const std::int64_t at = usedLinks_ + e.childCount;
        if (e.childCount + n > 255 || at + n > linkCapacity_)
            throw ElementStoreOverrun();
        e.childCount = static_cast<std::uint8_t>(e.childCount + n);
        return links_.get() + at;
    }

    // First element of an island by walk index; its elements end where those of the
    // next island begin.
    std::uint32_t firstOf(int walk) const { return first_[walk]; }

    CodeElement& element(std::uint32_t i) { return elements_[i]; }
    const CodeElement& element(std::uint32_t i) const { return elements_[i]; }
    // The element pool; it stays where it is unless reserve() says it moved.
    CodeElement* elements() { return elements_; }
    const CodeElement* elements() const { return elements_; }
    // Links of element i: childCount of them (levels >= 1 only).
    const CodeElementLink* linksOf(std::uint32_t i) const { return links_.get() + linkFirst_[i]; }
    CodeElementLink* linksOf(std::uint32_t i) { return links_.get() + linkFirst_[i]; }

    // Filling on several threads: the pools as plain arrays, for a caller that has
    // reserved room and writes islands, elements and links past the used ones itself.
    struct Pools {
        std::uint32_t* first; // first element by walk index
        CodeElement* elements;
        std::uint32_t* linkFirst;
        CodeElementLink* links;
    };
    Pools pools() { return {first_, elements_, linkFirst_, links_.get()}; }
    // How many more elements fit where the element pool lies now.
    std::int64_t poolRoom() const { return elementRoom_ - usedElements_; }
    // Takes over what was written through pools(): elements and links up to these
    // counts, islands up to lastIsland (whose end this sets).
    void adoptFilled(std::int64_t elements, std::int64_t links, int lastIsland)
    {
        usedElements_ = elements;
        usedLinks_ = links;
        currentIsland_ = lastIsland;
        first_[lastIsland + 1] = static_cast<std::uint32_t>(elements);
    }

    const IslandHierarchy& hierarchy() const { return hierarchy_; }
    std::int64_t usedElements() const { return usedElements_; }
    std::int64_t usedLinks() const { return usedLinks_; }
    std::int64_t elementCapacity() const { return elementCapacity_; }
    std::int64_t linkCapacity() const { return linkCapacity_; }

private:
    bool moveElements();

    const IslandHierarchy& hierarchy_;
    std::int64_t elementCapacity_;
    std::int64_t linkCapacity_;
    std::int64_t usedElements_ = 0;
    std::int64_t usedLinks_ = 0;
    int currentIsland_ = 0;
    // The island table and the element pool live in memory of their own or in the lent
    // block; elementRoom_ elements fit where the pool is now (E when it has its own).
    std::uint32_t* first_;                          // islandCount + 1 entries, by walk index
    CodeElement* elements_;                      // E
    std::uint32_t* linkFirst_;                      // E, written for elements of levels >= 1
    std::int64_t elementRoom_;
    LargeArray<std::uint32_t> ownFirst_;
    LargeArray<CodeElement> ownElements_;
    LargeArray<std::uint32_t> ownLinkFirst_;
    LargeArray<CodeElementLink> links_; // 2E
};

} // namespace ivra::csc
