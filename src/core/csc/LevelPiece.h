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
// time, each piece in room of its own (makePieces); the pieces are then laid into the
// store in walk order, and the children's parents are set last, in store order. A
// child takes its parents in the order in which they were made, which is store order,
// so it ends with the same first and second parent as on one thread; conflicts are
// kept in walk order as well.
namespace ivra::csc::detail {

// Room for the most a piece can make, of which it uses a small part, where nothing can
// be borrowed: plain memory, whose small pages cost only where they are written (a
// huge page would be cleared whole at its first touch).
template <class T>
std::unique_ptr<T[]> pieceArray(std::int64_t n)
{
    static_assert(std::is_trivially_default_constructible_v<T>);
    return std::unique_ptr<T[]>(new T[static_cast<std::size_t>(n)]);
}

// Thrown by a piece in borrowed room that an island would outgrow, before the island
// changes anything.
struct PieceFull {};

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
    // A piece written straight into the store's pools past their used part, as far as
    // the element pool has room where it lies (an island it would outgrow throws
    // PieceFull); the link pool has room for twice `below` links. Its island table
    // stays its own until layInto(): the table's entry for the piece's first island is
    // the end of the level below, which other pieces read meanwhile.
    LevelPiece(LinkingContext<V>& c, int firstWalk, int islands, std::int64_t below, ElementStore::Pools pools)
        : space(c.space), splitMode(c.splitMode), store_(c.store), pool_(c.el), firstWalk_(firstWalk),
          elementBase_(static_cast<std::uint32_t>(c.store.usedElements())),
          linkBase_(static_cast<std::uint32_t>(c.store.usedLinks())),
          ownIslandFirst_(pieceArray<std::uint32_t>(islands)), islandFirst_(ownIslandFirst_.get()),
          elements_(pools.elements + elementBase_), linkFirst_(pools.linkFirst + elementBase_),
          links_(pools.links + linkBase_), elementRoom_(c.store.poolRoom()), linkRoom_(2 * below)
    {
    }

    // A piece in borrowed room [room, room + bytes): its island table, then as many
    // elements as fit with their link starts and six links each (the levels need
    // about four); an island it would outgrow throws PieceFull.
    LevelPiece(LinkingContext<V>& c, int firstWalk, int islands, std::uint8_t* room, std::size_t bytes)
        : space(c.space), splitMode(c.splitMode), store_(c.store), pool_(c.el), firstWalk_(firstWalk)
    {
        const auto at = [room](std::size_t offset) { return room + ((offset + 63) & ~std::size_t{63}); };
        const std::size_t table = (static_cast<std::size_t>(islands) * sizeof(std::uint32_t) + 63) & ~std::size_t{63};
        constexpr std::size_t perElement = sizeof(CodeElement) + sizeof(std::uint32_t) + 6 * sizeof(CodeElementLink);
        const std::size_t elements = bytes > table + 128 ? (bytes - table - 128) / perElement : 0;
        islandFirst_ = reinterpret_cast<std::uint32_t*>(at(0));
        elements_ = reinterpret_cast<CodeElement*>(at(table));
        linkFirst_ = reinterpret_cast<std::uint32_t*>(at(table + elements * sizeof(CodeElement)));
        links_ = reinterpret_cast<CodeElementLink*>(
            at(table + elements * (sizeof(CodeElement) + sizeof(std::uint32_t))));
        elementRoom_ = static_cast<std::int64_t>(islands > 0 && table <= bytes ? elements : 0);
        linkRoom_ = 6 * elementRoom_;
        borrowed_ = true;
    }

    const V space;
    const int splitMode;

    // The elements and links of the levels below.
    const CodeElement& elementAt(std::uint32_t e) const { return pool_[e]; }
    std::uint8_t& flagsOf(std::uint32_t e) { return pool_[e].flags; }
    const CodeElementLink* linksOf(std::uint32_t e) const { return store_.linksOf(e); }

    void beginIsland(int walk) { islandFirst_[walk - firstWalk_] = elementBase_ + static_cast<std::uint32_t>(used_); }
    // Room for an island of `total` child elements, which makes fewer elements and
    // links than that. Only a piece in borrowed room or in the store can run out; one
    // in arrays of its own has room for every element it can make.
    void reserve(std::int64_t total) const
    {
        if (!ownElements_ && (used_ + total > elementRoom_ || usedLinks_ + total > linkRoom_))
            throw PieceFull{};
    }
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
        if (!ownElements_ && !borrowed_)
            return; // written straight into the store
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
    std::int64_t elementRoom_ = 0, linkRoom_;
    bool borrowed_ = false; // in room lent by the run, laid into the store by copying
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

// One piece per run of rows. Borrowing (the first attempt): the first piece straight
// into the store while its pool has room where it lies, the others in room borrowed
// from c.laterScratch, shared in proportion to their islands. Otherwise: the first
// straight into the store only where its pool has room for `below` more elements, the
// others in arrays of their own, which cannot run out.
template <class V>
std::vector<std::unique_ptr<LevelPiece<V>>> makePieces(LinkingContext<V>& c, const LevelRows& rows,
                                                      std::int64_t below, bool borrow)
{
    // (a pool with little room left would only send the level round again)
    const bool inPlace = c.store.poolRoom() >= (borrow ? std::min<std::int64_t>(below, std::int64_t{1} << 14) : below);
    const std::int64_t shared = rows.walk.back() - rows.walk.front() - (inPlace ? rows.runIslands(0) : 0);
    // Each borrowed share holds its piece's island table and room for some elements;
    // where one would not, nothing is borrowed.
    std::vector<std::size_t> share(static_cast<std::size_t>(rows.runCount()), 0);
    for (int r = inPlace ? 1 : 0; borrow && r < rows.runCount(); ++r) {
        const double part = shared > 0 ? static_cast<double>(rows.runIslands(r)) / static_cast<double>(shared) : 0;
        const auto bytes = static_cast<std::size_t>(static_cast<double>(c.laterScratch.bytes) * part);
        share[static_cast<std::size_t>(r)] = bytes & ~std::size_t{63};
        const std::size_t table = static_cast<std::size_t>(rows.runIslands(r)) * sizeof(std::uint32_t);
        borrow = share[static_cast<std::size_t>(r)] >= table + (std::size_t{64} << 10);
    }
    std::vector<std::unique_ptr<LevelPiece<V>>> pieces;
    std::size_t used = 0;
    for (int r = 0; r < rows.runCount(); ++r) {
        const int firstWalk = rows.walkAt(rows.runBegin(r));
        const int islands = rows.runIslands(r);
        if (r == 0 && inPlace) {
            pieces.push_back(std::make_unique<LevelPiece<V>>(c, firstWalk, islands, below, c.store.pools()));
        } else if (borrow) {
            const std::size_t bytes = share[static_cast<std::size_t>(r)];
            pieces.push_back(std::make_unique<LevelPiece<V>>(c, firstWalk, islands, c.laterScratch.data + used, bytes));
            used += bytes;
        } else {
            pieces.push_back(std::make_unique<LevelPiece<V>>(c, firstWalk, islands, below));
        }
    }
    return pieces;
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
    // The pieces first borrow their room (makePieces); one that outgrows it sends the
    // level round again in room that cannot run out, which costs fresh memory. Where
    // even that is refused, one thread does without.
    std::vector<std::unique_ptr<LevelPiece<V>>> pieces;
    bool linked = false;
    for (const bool borrow : {true, false}) {
        if (linked || (borrow && !c.laterScratch.data))
            continue;
        try {
            pieces = makePieces(c, rows, below, borrow);
        } catch (const std::bad_alloc&) {
            return false;
        }
        try {
            // Above level 1 the phases go one after the other: their islands share
            // children, whose marks the linking sets and clears. Level 1 marks nothing.
            const int phases = level == 1 ? 1 : 2;
            const int perPhase = rows.runCount() / phases;
            for (int phase = 0; phase < phases; ++phase)
                parallelPieces(phase * perPhase, (phase + 1) * perPhase, threads, [&](int r) {
                    LevelPiece<V>& piece = *pieces[static_cast<std::size_t>(r)];
                    auto link = makeLinker(piece);
                    for (int i = rows.runBegin(r); i < rows.runEnd[static_cast<std::size_t>(r)]; ++i)
                        c.linkRow(level, rows.rowAt(i), rows.walkAt(i), piece, link);
                });
            linked = true;
        } catch (const PieceFull&) {
        }
    }
    if (!linked)
        return false;

    std::vector<std::int64_t> elementAt{elements0}, linkAt{links0};
    for (const auto& piece : pieces) {
        elementAt.push_back(elementAt.back() + piece->elementCount());
        linkAt.push_back(linkAt.back() + piece->linkCount());
        c.conflicts.insert(c.conflicts.end(), piece->conflicts().begin(), piece->conflicts().end());
    }
    // The store takes the first piece's elements first, so that they move with the
    // pool if it has to move to hold the rest.
    c.store.adoptFilled(elementAt[1], linkAt[1], rows.walkAt(rows.runEnd[0]) - 1);
    c.reserve(elementAt.back() - elementAt[1]);
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
