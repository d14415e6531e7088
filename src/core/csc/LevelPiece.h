#pragma once

#include "LevelRows.h"
#include "LinkingContext.h"
#include "util/ParallelRows.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>
#include <vector>

#include <omp.h>

// Linking a level >= 1 on several threads. An island's linking reads the elements of
// the levels below and their links, and the parents of the grandchildren, but never
// the parents of its own children, which only the level being linked sets; it marks
// children it takes and clears the marks before the next island. So the runs of rows
// of one phase (LevelRows), whose islands have no child in common, link at the same
// time, each piece into arrays of its own (the first one straight into the store); the
// pieces are then laid into the store in walk order, and the children's parents are
// set last, in store order. A child takes its parents in the order in which they were
// made, which is store order, so it ends with the same first and second parent as on
// one thread; conflicts are kept in walk order as well.
namespace ivra::csc::detail {

// Room for the most a piece can make, of which it uses a small part: plain memory,
// whose small pages cost only where they are written (a huge page would be cleared
// whole at its first touch), and which the allocator gives again to the next level.
template <class T>
std::unique_ptr<T[]> pieceArray(std::int64_t n)
{
    static_assert(std::is_trivially_default_constructible_v<T>);
    return std::unique_ptr<T[]>(new T[static_cast<std::size_t>(n)]);
}

template <class V>
class LevelPiece {
public:
    // A piece in arrays of its own, with room for `elementRoom` elements.
    LevelPiece(LinkingContext<V>& c, int firstWalk, int islands, std::int64_t elementRoom)
        : space(c.space), splitMode(c.splitMode), store_(c.store), pool_(c.el), firstWalk_(firstWalk),
          ownIslandFirst_(pieceArray<std::uint32_t>(islands)), ownElements_(pieceArray<CodeElement>(elementRoom)),
          ownLinkFirst_(pieceArray<std::uint32_t>(elementRoom)),
          ownLinks_(pieceArray<CodeElementLink>(2 * elementRoom)),
          islandFirst_(ownIslandFirst_.get()), elements_(ownElements_.get()), linkFirst_(ownLinkFirst_.get()),
          links_(ownLinks_.get()), linkRoom_(2 * elementRoom)
    {
    }
    // A piece written straight into the store's pools past their used part; the caller
    // has made room for `elementRoom` elements there. Its island table stays its own
    // until layInto(): the table's entry for the piece's first island is the end of
    // the level below, which other pieces read meanwhile.
    LevelPiece(LinkingContext<V>& c, int firstWalk, int islands, std::int64_t elementRoom, ElementStore::Pools pools)
        : space(c.space), splitMode(c.splitMode), store_(c.store), pool_(c.el), firstWalk_(firstWalk),
          elementBase_(static_cast<std::uint32_t>(c.store.usedElements())),
          linkBase_(static_cast<std::uint32_t>(c.store.usedLinks())),
          ownIslandFirst_(pieceArray<std::uint32_t>(islands)), islandFirst_(ownIslandFirst_.get()),
          elements_(pools.elements + elementBase_), linkFirst_(pools.linkFirst + elementBase_),
          links_(pools.links + linkBase_), linkRoom_(2 * elementRoom)
    {
    }

    const V space;
    const int splitMode;

    // The elements and links of the levels below.
    const CodeElement& elementAt(std::uint32_t e) const { return pool_[e]; }
    std::uint8_t& flagsOf(std::uint32_t e) { return pool_[e].flags; }
    const CodeElementLink* linksOf(std::uint32_t e) const { return store_.linksOf(e); }

    void beginIsland(int walk) { islandFirst_[walk - firstWalk_] = elementBase_ + static_cast<std::uint32_t>(used_); }
    // The caller made room for every element the piece can make.
    void reserve(std::int64_t) const {}
    void checkSeed() const {}

    void join(std::uint32_t& idx, int k, std::uint32_t e, int nn, std::uint32_t f)
    {
        if (idx == CodeElement::none) {
            idx = newElement(1 << k);
            appendLink(idx, k, e);
        }
        elements_[idx].mask |= static_cast<std::uint8_t>(1 << nn);
        appendLink(idx, nn, f);
    }
    void finish(std::uint32_t idx, std::uint32_t, const V& v)
    {
        if (idx == CodeElement::none)
            return;
        elements_[idx].color = v.color();
        commit();
    }
    void addWholeIsland(const ChildRange* r, std::uint32_t color)
    {
        const std::uint32_t idx = newElement(0x7F);
        for (int k = 0; k < 7; ++k)
            appendLink(idx, k, r[k].begin);
        elements_[idx].color = color;
        commit();
    }
    void recordConflict(std::uint32_t g, std::uint32_t ce, int q, int s, int nn)
    {
        LinkingContext<V>::recordConflict(conflicts_, pool_[g], ce, q, s, nn, g);
    }

    std::int64_t elementCount() const { return used_; }
    std::int64_t linkCount() const { return usedLinks_; }
    const std::vector<Conflict>& conflicts() const { return conflicts_; }

    // Copies the piece into the store's pools (what is not there yet), its first
    // element at elementOffset and its first link at linkOffset.
    void layInto(ElementStore::Pools pools, std::int64_t elementOffset, std::int64_t linkOffset, int islands) const
    {
        const auto e0 = static_cast<std::uint32_t>(elementOffset) - elementBase_;
        const auto l0 = static_cast<std::uint32_t>(linkOffset) - linkBase_;
        for (int i = 0; i < islands; ++i)
            pools.first[firstWalk_ + i] = islandFirst_[i] + e0;
        if (!ownElements_)
            return;
        std::copy(elements_, elements_ + used_, pools.elements + elementOffset);
        for (std::int64_t i = 0; i < used_; ++i)
            pools.linkFirst[elementOffset + i] = linkFirst_[i] + l0;
        std::copy(links_, links_ + usedLinks_, pools.links + linkOffset);
    }

private:
    std::uint32_t newElement(int mask)
    {
        const auto idx = static_cast<std::uint32_t>(used_);
        elements_[idx] = CodeElement{static_cast<std::uint8_t>(mask), 0, CodeElement::rootFlag, 0, 0,
                                     CodeElement::none, CodeElement::none};
        linkFirst_[idx] = linkBase_ + static_cast<std::uint32_t>(usedLinks_);
        return idx;
    }
    // The store's limit of 255 links an element holds; the pool's limit cannot be met
    // (the caller made room).
    void appendLink(std::uint32_t idx, int cell, std::uint32_t child)
    {
        CodeElement& e = elements_[idx];
        if (e.childCount == 255 || usedLinks_ + e.childCount >= linkRoom_)
            throw ElementStoreOverrun();
        links_[usedLinks_ + e.childCount] = makeLink(cell, child);
        ++e.childCount;
    }
    void commit()
    {
        usedLinks_ += elements_[used_].childCount;
        ++used_;
    }

    const ElementStore& store_;
    CodeElement* const pool_;
    const int firstWalk_;
    // What the piece's first element and link are in the store (a piece written
    // straight into it), or 0 (until the piece is laid into it).
    const std::uint32_t elementBase_ = 0, linkBase_ = 0;
    std::int64_t used_ = 0, usedLinks_ = 0;
    std::unique_ptr<std::uint32_t[]> ownIslandFirst_;
    std::unique_ptr<CodeElement[]> ownElements_;
    std::unique_ptr<std::uint32_t[]> ownLinkFirst_;
    std::unique_ptr<CodeElementLink[]> ownLinks_;
    std::uint32_t* islandFirst_; // by walk index - firstWalk_
    CodeElement* elements_;
    std::uint32_t* linkFirst_;
    CodeElementLink* links_;
    const std::int64_t linkRoom_;
    std::vector<Conflict> conflicts_; // in walk order
};

// Sets the parents of the children of elements begin .. end - 1, in store order.
template <class V>
void setParents(LinkingContext<V>& c, const ElementStore::Pools& pools, std::uint32_t begin, std::uint32_t end)
{
    for (std::uint32_t e = begin; e < end; ++e) {
        const CodeElementLink* links = pools.links + pools.linkFirst[e];
        for (int k = 0; k < pools.elements[e].childCount; ++k)
            c.setParent(pools.elements[linkChild(links[k])], e);
    }
}

// Thread t of n's share of the rows of one phase.
template <class V>
void setParentsOfPhase(LinkingContext<V>& c, const ElementStore::Pools& pools, const LevelRows& rows, int phase)
{
    const int begin = phase == 0 ? 0 : rows.phaseOneBegin;
    const int end = phase == 0 ? rows.phaseOneBegin : static_cast<int>(rows.y.size());
    const std::int64_t t = omp_get_thread_num(), n = omp_get_num_threads();
    const int first = begin + static_cast<int>((end - begin) * t / n);
    const int last = begin + static_cast<int>((end - begin) * (t + 1) / n);
    setParents(c, pools, pools.first[rows.walkAt(first)], pools.first[rows.walkAt(last)]);
}

// Links `level` on `threads` threads when the store certainly has room for it: each
// element links at least two elements of the level below, and each of those belongs
// to at most two elements of this level, so the level adds at most as many elements
// as the level below holds, and twice as many links. Returns false, having changed
// nothing, otherwise (one thread then finds the overrun where it always did).
// makeLinker(piece) gives the callable that links one island into the piece:
// link(ranges, total), as forEachIsland() calls it.
template <class V, class MakeLinker>
bool linkOnThreads(LinkingContext<V>& c, int level, int threads, MakeLinker&& makeLinker)
{
    const std::int64_t below = c.store.usedElements() - c.store.firstOf(c.hierarchy.indexOffset(level - 1));
    if (c.store.usedElements() + below >= c.store.elementCapacity() ||
        c.store.usedLinks() + 2 * below >= c.store.linkCapacity())
        return false;
    const LevelRows rows(c.hierarchy, level, threads);
    c.prepareRows(level);
    const std::int64_t elements0 = c.store.usedElements(), links0 = c.store.usedLinks();
    // Each piece reserves room for the most it can make (address space, which it
    // touches only as far as it writes); where even that is refused, one thread
    // does without.
    std::vector<std::unique_ptr<LevelPiece<V>>> pieces;
    try {
        for (int r = 0; r < rows.runCount(); ++r) {
            const int firstWalk = rows.walkAt(rows.runBegin(r));
            if (r == 0 && c.store.poolHasRoom(below))
                pieces.push_back(
                    std::make_unique<LevelPiece<V>>(c, firstWalk, rows.runIslands(r), below, c.store.pools()));
            else
                pieces.push_back(std::make_unique<LevelPiece<V>>(c, firstWalk, rows.runIslands(r), below));
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    // Above level 1 the phases go one after the other: their islands share children,
    // whose marks the linking sets and clears. Level 1 marks nothing.
    const int phases = level == 1 ? 1 : 2;
    const int perPhase = rows.runCount() / phases;
    for (int phase = 0; phase < phases; ++phase)
        parallelPieces(phase * perPhase, (phase + 1) * perPhase, threads, [&](int r) {
            LevelPiece<V>& piece = *pieces[static_cast<std::size_t>(r)];
            auto link = makeLinker(piece);
            for (int i = rows.runBegin(r); i < rows.runEnd[static_cast<std::size_t>(r)]; ++i)
                c.linkRow(level, rows.rowAt(i), rows.walkAt(i), piece, link);
        });

    std::vector<std::int64_t> elementAt{elements0}, linkAt{links0};
    for (const auto& piece : pieces) {
        elementAt.push_back(elementAt.back() + piece->elementCount());
        linkAt.push_back(linkAt.back() + piece->linkCount());
        c.conflicts.insert(c.conflicts.end(), piece->conflicts().begin(), piece->conflicts().end());
    }
    c.reserve(elementAt.back() - elements0);
    c.store.adoptFilled(elementAt.back(), linkAt.back(), rows.walk.back() - 1);
    const ElementStore::Pools pools = c.store.pools();
#pragma omp parallel num_threads(threads)
    {
#pragma omp for schedule(static, 1)
        for (int r = 0; r < rows.runCount(); ++r) {
            const auto i = static_cast<std::size_t>(r);
            pieces[i]->layInto(pools, elementAt[i], linkAt[i], rows.runIslands(r));
        }
        // (the loop ends with a barrier)
        setParentsOfPhase(c, pools, rows, 0);
#pragma omp barrier
        setParentsOfPhase(c, pools, rows, 1);
    }
    c.reportProgress(rows.walk.back());
    return true;
}

} // namespace ivra::csc::detail
