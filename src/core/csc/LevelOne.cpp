#include "Levels.h"

#include "LevelOneIsland.h"
#include "SpaceHSV.h"
#include "SpaceRGB.h"
#include "util/HugePages.h"
#include "util/Threads.h"

#include <algorithm>
#include <exception>
#include <memory>
#include <type_traits>
#include <vector>

#include <omp.h>

namespace ivra::csc::detail {

namespace {

// A level-1 island's linking reads only the colours and cells of the level-0
// elements, never their parents, so contiguous runs of rows (in walk order) can be
// linked on threads of their own: the first piece straight into the store, the others
// into arrays of their own, laid into the store after it one after the other; the
// parents are set last (setParents).
template <class V>
class LevelOnePiece {
public:
    // A piece in arrays of its own, with room for `elementRoom` elements.
    LevelOnePiece(const LinkingContext<V>& c, int firstWalk, int islands, std::int64_t elementRoom)
        : space(c.space), children_(c.el), firstWalk_(firstWalk),
          ownIslandFirst_(allocateLarge<std::uint32_t>(static_cast<std::size_t>(islands))),
          ownElements_(allocateLarge<CodeElement>(static_cast<std::size_t>(elementRoom))),
          ownLinkFirst_(allocateLarge<std::uint32_t>(static_cast<std::size_t>(elementRoom))),
          ownLinks_(allocateLarge<CodeElementLink>(static_cast<std::size_t>(2 * elementRoom))),
          islandFirst_(ownIslandFirst_.get()), elements_(ownElements_.get()), linkFirst_(ownLinkFirst_.get()),
          links_(ownLinks_.get())
    {
    }
    // A piece written straight into the store's pools past their used part; the caller
    // has made room.
    LevelOnePiece(const LinkingContext<V>& c, int firstWalk, ElementStore::Pools pools, std::int64_t usedElements,
                  std::int64_t usedLinks)
        : space(c.space), children_(c.el), firstWalk_(firstWalk), elementBase_(static_cast<std::uint32_t>(usedElements)),
          linkBase_(static_cast<std::uint32_t>(usedLinks)), islandFirst_(pools.first + firstWalk),
          elements_(pools.elements + usedElements), linkFirst_(pools.linkFirst + usedElements),
          links_(pools.links + usedLinks)
    {
    }

    const V space;

    const CodeElement& child(std::uint32_t e) const { return children_[e]; }
    void beginIsland(int walk) { islandFirst_[walk - firstWalk_] = elementBase_ + static_cast<std::uint32_t>(used_); }
    // The caller made room for every element the piece can make.
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

    std::int64_t elementCount() const { return used_; }
    std::int64_t linkCount() const { return usedLinks_; }

    // Copies a piece kept in arrays of its own into the store's pools, its first
    // element at elementOffset and its first link at linkOffset.
    void layInto(ElementStore::Pools pools, std::int64_t elementOffset, std::int64_t linkOffset, int islands) const
    {
        if (!ownElements_)
            return;
        const auto e0 = static_cast<std::uint32_t>(elementOffset);
        const auto l0 = static_cast<std::uint32_t>(linkOffset);
        for (int i = 0; i < islands; ++i)
            pools.first[firstWalk_ + i] = islandFirst_[i] + e0;
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
    void appendLink(std::uint32_t idx, int cell, std::uint32_t child)
    {
        CodeElement& e = elements_[idx];
        links_[usedLinks_ + e.childCount] = makeLink(cell, child);
        ++e.childCount;
    }
    void commit()
    {
        usedLinks_ += elements_[used_].childCount;
        ++used_;
    }

    const CodeElement* children_;
    const int firstWalk_;
    // What the piece's first element and link are in the store (the first piece), or
    // 0 (the others, until they are laid into it).
    const std::uint32_t elementBase_ = 0, linkBase_ = 0;
    std::int64_t used_ = 0, usedLinks_ = 0;
    LargeArray<std::uint32_t> ownIslandFirst_;
    LargeArray<CodeElement> ownElements_;
    LargeArray<std::uint32_t> ownLinkFirst_;
    LargeArray<CodeElementLink> ownLinks_;
    std::uint32_t* islandFirst_; // by walk index - firstWalk_
    CodeElement* elements_;
    std::uint32_t* linkFirst_;
    CodeElementLink* links_;
};

// An island of total >= 2 child elements.
template <class Context>
void linkIsland(Context& c, const ChildRange* r, std::uint32_t total)
{
    using V = std::remove_const_t<decltype(c.space)>;
    if (total == 7 && linkWholeIsland<V>(c, r))
        return;
    LevelOneIsland<V, Context>(c, r).link();
}

template <class V>
void linkOnOneThread(LinkingContext<V>& c)
{
    c.forEachIsland(1, [&c](const ChildRange* r, std::uint32_t total) {
        if (total < 2)
            return;
        // An element takes at least two of the children's elements, each once.
        c.reserve(total);
        linkIsland(c, r, total);
    });
}

// The level-1 rows in walk order (rows of phase 0 first, then those of phase 1), and
// their cut into one run of rows per thread, of about equal island counts.
struct LevelOneRows {
    std::vector<int> y;      // row of each position
    std::vector<int> walk;   // walk index of each position's first island, and the level's end
    int phaseOneBegin = 0;   // position of the first row of phase 1
    std::vector<int> runEnd; // end position of each thread's run

    LevelOneRows(const IslandHierarchy& h, int threads) : walk{h.indexOffset(1)}
    {
        const int n = h.rowLength(1);
        for (int phase = 0; phase < 2; ++phase) {
            if (phase == 1)
                phaseOneBegin = static_cast<int>(y.size());
            for (int row = phase; row < n; row += 2) {
                y.push_back(row);
                walk.push_back(walk.back() + h.rowSize(1, row));
            }
        }
        const std::int64_t islands = walk.back() - walk.front();
        for (int t = 0, row = 0; t < threads; ++t) {
            const std::int64_t goal = walk.front() + islands * (t + 1) / threads;
            while (row < static_cast<int>(y.size()) && walk[static_cast<std::size_t>(row)] < goal)
                ++row;
            runEnd.push_back(row);
        }
        runEnd.back() = static_cast<int>(y.size());
    }
    int runBegin(int t) const { return t == 0 ? 0 : runEnd[static_cast<std::size_t>(t - 1)]; }
    int walkAt(int position) const { return walk[static_cast<std::size_t>(position)]; }
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

// The parents of the level's elements, on every thread. A child takes its parents in
// the order in which they were made, which is store order, so it ends with the same
// first and second parent as on one thread: within a phase, the islands of different
// rows have no child in common (row y's children lie in rows 2y - 1 .. 2y + 1 of
// level 0), and phase 0 comes first in the store.
template <class V>
void setParentsByPhase(LinkingContext<V>& c, const ElementStore::Pools& pools, const LevelOneRows& rows, int phase)
{
    const int begin = phase == 0 ? 0 : rows.phaseOneBegin;
    const int end = phase == 0 ? rows.phaseOneBegin : static_cast<int>(rows.y.size());
    const std::int64_t t = omp_get_thread_num(), n = omp_get_num_threads();
    const int first = begin + static_cast<int>((end - begin) * t / n);
    const int last = begin + static_cast<int>((end - begin) * (t + 1) / n);
    setParents(c, pools, pools.first[rows.walkAt(first)], pools.first[rows.walkAt(last)]);
}

template <class V>
void linkOnThreads(LinkingContext<V>& c, int threads, std::int64_t levelZeroElements)
{
    const LevelOneRows rows(c.hierarchy, threads);
    c.prepareRows(1);
    const std::int64_t elements0 = c.store.usedElements(), links0 = c.store.usedLinks();
    // The first piece goes straight into the store when the pool has room for the most
    // it can make without moving.
    std::vector<std::unique_ptr<LevelOnePiece<V>>> pieces;
    for (int t = 0; t < threads; ++t) {
        const int firstWalk = rows.walkAt(rows.runBegin(t));
        if (t == 0 && c.store.poolHasRoom(levelZeroElements))
            pieces.push_back(std::make_unique<LevelOnePiece<V>>(c, firstWalk, c.store.pools(), elements0, links0));
        else
            pieces.push_back(std::make_unique<LevelOnePiece<V>>(
                c, firstWalk, rows.walkAt(rows.runEnd[static_cast<std::size_t>(t)]) - firstWalk, levelZeroElements));
    }
    std::exception_ptr error;
#pragma omp parallel for num_threads(threads) schedule(static, 1)
    for (int t = 0; t < threads; ++t) {
        try {
            LevelOnePiece<V>& piece = *pieces[static_cast<std::size_t>(t)];
            auto link = [&piece](const ChildRange* r, std::uint32_t total) {
                if (total >= 2)
                    linkIsland(piece, r, total);
            };
            for (int i = rows.runBegin(t); i < rows.runEnd[static_cast<std::size_t>(t)]; ++i)
                c.linkRow(1, rows.y[static_cast<std::size_t>(i)], rows.walkAt(i), piece, link);
        } catch (...) {
#pragma omp critical(ivra_level_one_error)
            if (!error)
                error = std::current_exception();
        }
    }
    if (error)
        std::rethrow_exception(error);

    // Lay the pieces into the store in walk order, then set the parents.
    std::vector<std::int64_t> elementAt{elements0}, linkAt{links0};
    for (const auto& piece : pieces) {
        elementAt.push_back(elementAt.back() + piece->elementCount());
        linkAt.push_back(linkAt.back() + piece->linkCount());
    }
    c.reserve(elementAt.back() - elements0);
    c.store.adoptFilled(elementAt.back(), linkAt.back(), rows.walk.back() - 1);
    const ElementStore::Pools pools = c.store.pools();
#pragma omp parallel num_threads(threads)
    {
#pragma omp for schedule(static, 1)
        for (int t = 0; t < threads; ++t) {
            const auto i = static_cast<std::size_t>(t);
            pieces[i]->layInto(pools, elementAt[i], linkAt[i], rows.walkAt(rows.runEnd[i]) - rows.walkAt(rows.runBegin(t)));
        }
        // (the loop ends with a barrier)
        setParentsByPhase(c, pools, rows, 0);
#pragma omp barrier
        setParentsByPhase(c, pools, rows, 1);
    }
    c.reportProgress(rows.walk.back());
}

} // namespace

template <class V>
void linkLevelOne(LinkingContext<V>& c)
{
    // On several threads when the store certainly has room for the level: each
    // level-1 element links at least two level-0 elements, and each of those belongs
    // to at most two level-1 elements, so the level adds at most as many elements as
    // level 0 holds, and twice as many links. Otherwise one thread finds the overrun
    // where it always did.
    const std::int64_t levelZero = c.store.usedElements();
    const int threads = std::min(threadCount(), c.hierarchy.rowLength(1));
    if (threads > 1 && c.store.usedLinks() == 0 && 2 * levelZero < c.store.elementCapacity() &&
        2 * levelZero < c.store.linkCapacity())
        linkOnThreads(c, threads, levelZero);
    else
        linkOnOneThread(c);
}

template void linkLevelOne(LinkingContext<SpaceRGB>&);
template void linkLevelOne(LinkingContext<SpaceHSV>&);

} // namespace ivra::csc::detail
