#pragma once

#include "CodeElement.h"
#include "Conflict.h"
#include "ElementStore.h"
#include "ElementStoreOverrun.h"
#include "IslandHierarchy.h"
#include "util/Progress.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// The parts of the linking engine (LinkingEngine.cpp, LevelZero.cpp, LevelOne.cpp,
// UpperLevels.cpp) share what is declared here; nothing else includes it.
namespace ivra::csc::detail {

// The elements of one child island: store indexes begin .. end - 1.
struct ChildRange {
    std::uint32_t begin;
    std::uint32_t end;
};

// Pixel window of a run: columns x0 <= x < x1, rows y0 <= y < y1.
struct Window {
    int x0, y0, x1, y1;
};

// A buffer the caller lends for the run (LinkingEngine::lendScratch); null for none.
struct Scratch {
    std::uint8_t* data;
    std::size_t bytes;
};

// One run of the engine for the colour space V (SpaceRGB or SpaceHSV): where the
// elements go, and the steps every phase takes to make them.
template <class V>
class LinkingContext {
public:
    LinkingContext(const IslandHierarchy& hierarchy, ElementStore& store, const V& space, int splitMode,
                   std::vector<Conflict>& conflicts, Window window, const ivra::Progress& progress, Scratch scratch,
                   Scratch laterScratch)
        : hierarchy(hierarchy), store(store), space(space), splitMode(splitMode), conflicts(conflicts),
          window(window), progress(progress), scratch(scratch), laterScratch(laterScratch), el(store.elements())
    {
    }

    const IslandHierarchy& hierarchy;
    ElementStore& store;
    const V space;
    const int splitMode;
    std::vector<Conflict>& conflicts; // first in, first out; empty between levels
    const Window window;
    const ivra::Progress& progress;
    const Scratch scratch;      // free during level 0
    const Scratch laterScratch; // free once level 0 is built
    CodeElement* el; // the element pool: store.elements(), followed when it moves (reserve)

    static constexpr std::uint32_t none = CodeElement::none;
    static constexpr std::uint8_t root = CodeElement::rootFlag;

    void reportProgress(int walk) const { progress.update(walk, hierarchy.islandCount()); }

    void setParent(CodeElement& child, std::uint32_t parent)
    {
        if (child.parent1 == none)
            child.parent1 = parent;
        else
            child.parent2 = parent;
        child.flags &= static_cast<std::uint8_t>(~root);
    }

    // Makes room in the element pool; el follows it if it moves.
    void reserve(std::int64_t elements)
    {
        if (store.reserve(elements))
            el = store.elements();
    }

    // A seed that finds no similar neighbour forms no element. Its allocation is only
    // checked (a full store fails at the same seed as always); the element itself is
    // written when the first neighbour joins it.
    void checkSeed() const
    {
        if (store.isFull())
            throw ElementStoreOverrun();
    }

    std::uint32_t newElement(int mask, bool leaf = false)
    {
        const std::uint32_t idx = leaf ? store.allocateLeaf() : store.allocate();
        CodeElement& e = el[idx];
        e.mask = static_cast<std::uint8_t>(mask);
        e.childCount = 0;
        e.flags = root;
        e.spare = 0;
        e.parent1 = e.parent2 = none;
        return idx;
    }

    // An element of the levels below, for reading; its flags, to mark it taken; its links.
    const CodeElement& elementAt(std::uint32_t e) const { return el[e]; }
    std::uint8_t& flagsOf(std::uint32_t e) { return el[e].flags; }
    const CodeElementLink* linksOf(std::uint32_t e) const { return store.linksOf(e); }

    // Keeps an element of all seven children, whose elements r[k].begin it links.
    void addWholeIsland(const ChildRange* r, std::uint32_t color)
    {
        const std::uint32_t idx = newElement(0x7F);
        CodeElementLink* const links = store.appendLinks(idx, 7);
        for (int k = 0; k < 7; ++k) {
            links[k] = makeLink(k, r[k].begin);
            setParent(el[r[k].begin], idx);
        }
        el[idx].color = color;
        store.commit();
    }

    // A level-0 element, written whole and kept at once.
    void addLeaf(std::uint8_t mask, std::uint32_t color)
    {
        el[store.allocateLeaf()] = CodeElement{mask, 0, root, 0, color, none, none};
        store.commitLeaf();
    }

    // Joins element f of child nn to the element growing from seed e of child k; the
    // element is made at its first join, so that a seed joined by none costs nothing.
    void join(std::uint32_t& idx, int k, std::uint32_t e, int nn, std::uint32_t f)
    {
        if (idx == none) {
            idx = newElement(1 << k);
            store.appendLink(idx, k, e);
        }
        el[idx].mask |= static_cast<std::uint8_t>(1 << nn);
        store.appendLink(idx, nn, f);
        setParent(el[f], idx);
    }

    // Keeps the element grown from seed e, if anything joined it (it then has at least
    // two children).
    void finish(std::uint32_t idx, std::uint32_t e, const V& v)
    {
        if (idx == none)
            return;
        el[idx].color = v.color();
        setParent(el[e], idx);
        store.commit();
    }

    // Records that the parents of g, element ce of child q (holding g in its cell s) and
    // the one of sibling nn, are dissimilar: the record names each parent's cell for g.
    void recordConflict(std::uint32_t g, std::uint32_t ce, int q, int s, int nn)
    {
        recordConflict(conflicts, el[g], ce, q, s, nn, g);
    }
    static void recordConflict(std::vector<Conflict>& into, const CodeElement& G, std::uint32_t ce, int q, int s,
                               int nn, std::uint32_t g)
    {
        const int cellF = IslandHierarchy::sharedCell[nn][q];
        if (G.parent1 == ce)
            into.push_back({s, cellF, G.parent1, G.parent2, g});
        else
            into.push_back({cellF, s, G.parent1, G.parent2, g});
    }

    // Begins every island of a level >= 1 in walk order and calls link(ranges, total)
    // for it: ranges[k] holds the elements of child k (empty outside the level below),
    // total the element count of all seven.
    template <class Link>
    void forEachIsland(int level, Link&& link)
    {
        prepareRows(level);
        const int n = hierarchy.rowLength(level);
        int walk = hierarchy.indexOffset(level);
        for (int phase = 0; phase < 2; ++phase) {
            for (int y = phase; y < n; y += 2) {
                linkRow(level, y, walk, store, link);
                walk += hierarchy.rowSize(level, y);
                reportProgress(walk);
            }
        }
    }

    // What linkRow() needs to know of the level below `level`; call it first.
    void prepareRows(int level)
    {
        // Walk index of the first island of every row of the child level, and row sizes.
        const int childLevel = level - 1;
        const int nc = hierarchy.rowLength(childLevel);
        rowBase_.resize(nc);
        rowSize_.resize(nc);
        for (int r = 0; r < nc; ++r) {
            rowBase_[r] = hierarchy.walkIndex({childLevel, 0, r});
            rowSize_[r] = hierarchy.rowSize(childLevel, r);
        }
    }

    // Row y of a level, whose first island has the given walk index: for each island,
    // target.beginIsland(walk index), then link(ranges, total) as in forEachIsland().
    // Reads the store only, so rows may be linked on several threads into targets of
    // their own.
    template <class Target, class Link>
    void linkRow(int level, int y, int walk, Target& target, Link& link) const
    {
        const int nc = hierarchy.rowLength(level - 1);
        const int rs = hierarchy.rowSize(level, y);
        // The centre child of island x is (c0.x + 2x, c0.y).
        const CellPos c0 = hierarchy.centreChild({level, 0, y});
        // Islands innerBegin <= x < innerEnd have all seven children: their centre
        // column cx has 1 <= cx, cx + 1 < rowSize(cy) and cx < the sizes of the rows
        // above and below.
        int innerBegin = rs, innerEnd = rs;
        if (c0.y >= 1 && c0.y + 1 < nc) {
            const int limit = std::min({rowSize_[c0.y] - 1, rowSize_[c0.y - 1], rowSize_[c0.y + 1]});
            innerBegin = std::min((2 - c0.x) / 2, rs);
            innerEnd = std::clamp((limit - c0.x + 1) / 2, innerBegin, rs);
        }
        for (int x = 0; x < rs; ++x) {
            target.beginIsland(walk + x);
            if (x < innerBegin || x >= innerEnd)
                linkClipped(c0, x, nc, link);
            else
                linkInner(c0, x, link);
        }
    }

private:
    // An island with children outside their level.
    template <class Link>
    void linkClipped(CellPos c0, int x, int nc, Link& link) const
    {
        ChildRange r[7];
        std::uint32_t total = 0;
        for (int k = 0; k < 7; ++k) {
            const int row = c0.y + IslandHierarchy::cellOffsetY[k];
            const int col = c0.x + 2 * x + IslandHierarchy::cellOffsetX[k];
            if (row < 0 || row >= nc || col < 0 || col >= rowSize_[row]) {
                r[k] = {0, 0};
            } else {
                const int cw = rowBase_[row] + col;
                r[k] = {store.firstOf(cw), store.firstOf(cw + 1)};
                total += r[k].end - r[k].begin;
            }
        }
        link(r, total);
    }

    // An island with all seven children. In each child row the children are neighbours
    // in walk order, so each child's range ends where the next begins.
    template <class Link>
    void linkInner(CellPos c0, int x, Link& link) const
    {
        static_assert(IslandHierarchy::cellOffsetX[4] == -1 && IslandHierarchy::cellOffsetY[4] == -1 &&
                      IslandHierarchy::cellOffsetX[6] == -1 && IslandHierarchy::cellOffsetY[6] == 0 &&
                      IslandHierarchy::cellOffsetX[2] == -1 && IslandHierarchy::cellOffsetY[2] == 1);
        const int o = c0.x - 1 + 2 * x;
        const int above = rowBase_[c0.y - 1] + o; // cells 4, 5
        const int middle = rowBase_[c0.y] + o;    // cells 6, 0, 1
        const int below = rowBase_[c0.y + 1] + o; // cells 2, 3
        const std::uint32_t a0 = store.firstOf(above), a1 = store.firstOf(above + 1), a2 = store.firstOf(above + 2);
        const std::uint32_t m0 = store.firstOf(middle), m1 = store.firstOf(middle + 1),
                            m2 = store.firstOf(middle + 2), m3 = store.firstOf(middle + 3);
        const std::uint32_t b0 = store.firstOf(below), b1 = store.firstOf(below + 1), b2 = store.firstOf(below + 2);
        const ChildRange r[7] = {{m1, m2}, {m2, m3}, {b0, b1}, {b1, b2}, {a0, a1}, {a1, a2}, {m0, m1}};
        link(r, (a2 - a0) + (m3 - m0) + (b2 - b0));
    }

    std::vector<int> rowBase_, rowSize_;
};

} // namespace ivra::csc::detail
