#include "Levels.h"

#include "LevelPiece.h"
#include "SpaceHSV.h"
#include "SpaceRGB.h"
#include "util/Threads.h"

#include <algorithm>

namespace ivra::csc::detail {

namespace {

using Hierarchy = IslandHierarchy;
constexpr std::uint32_t none = CodeElement::none;
constexpr std::uint8_t taken = CodeElement::takenFlag;

struct QueueEntry {
    std::uint32_t element;
    std::int32_t cell;
};

// Levels >= 2: elements of neighbouring child islands link when they share a child
// (the common member of their overlap); a dissimilar pair is recorded as a conflict.
// Every untaken element of the seven children seeds a growth in turn, in child
// order; once none is left, nothing more can happen in the island.
template <class V, class Context>
class UpperLevel {
public:
    UpperLevel(Context& c, int level) : c(c), level_(level) {}

    void link(const ChildRange* r, std::uint32_t total)
    {
        if (total == 0)
            return;
        // An element takes at least two of the children's elements, each once.
        c.reserve(total);
        if (total <= 7 && atMostOnePerChild(r))
            singleIsland(r, total);
        else
            generalIsland(r, total);
    }

private:
    static bool atMostOnePerChild(const ChildRange* r)
    {
        for (int k = 0; k < 7; ++k)
            if (r[k].end - r[k].begin > 1)
                return false;
        return true;
    }

    // generalIsland for an island whose children hold at most one element each, the
    // usual case. A candidate reached through child g of ce in the cell shared with
    // sibling n is g's other parent, an element of n (g's island has no parent island
    // but those two, and ce's island gave it one parent at most), so here it is n's
    // only element: "taken" is a bit per child, which is known before g is read, and
    // no mark needs clearing afterwards. Same seeds, order, tests and conflicts.
    void singleIsland(const ChildRange* r, std::uint32_t untaken)
    {
        V v = c.space; // local: the stores into the element pool cannot alias it
        unsigned takenChildren = 0;
        for (int k = 0; k < 7 && untaken > 0; ++k) {
            if (r[k].begin == r[k].end || (takenChildren & (1u << k)))
                continue;
            const std::uint32_t e = r[k].begin;
            c.checkSeed();
            std::uint32_t idx = none;
            takenChildren |= 1u << k;
            --untaken;
            v.start(c.elementAt(e).color, level_);
            int queue[7];
            queue[0] = k;
            int qn = 1;
            for (int qi = 0; qi < qn && untaken > 0; ++qi) {
                const int q = queue[qi];
                const std::uint32_t ceIdx = r[q].begin;
                const CodeElement& ce = c.elementAt(ceIdx);
                const CodeElementLink* links = c.linksOf(ceIdx);
                const int childCount = ce.childCount;
                for (int j = 0; j < childCount; ++j) {
                    const int s = linkCell(links[j]);
                    const int nn = Hierarchy::sharingChild[q][s];
                    if (nn < 0 || (takenChildren & (1u << nn)))
                        continue;
                    const std::uint32_t g = linkChild(links[j]);
                    const CodeElement& G = c.elementAt(g);
                    const std::uint32_t f = G.parent1 != ceIdx ? G.parent1 : G.parent2;
                    if (f == none)
                        continue;
                    if (v.accept(ce.color, c.elementAt(f).color)) {
                        takenChildren |= 1u << nn;
                        --untaken;
                        queue[qn++] = nn;
                        c.join(idx, k, e, nn, f);
                    } else if (c.splitMode == 1) {
                        c.recordConflict(g, ceIdx, q, s, nn);
                    }
                }
            }
            c.finish(idx, e, v);
        }
    }

    void generalIsland(const ChildRange* r, std::uint32_t untaken)
    {
        V v = c.space;
        // The queue keeps every element the island takes (the growths one after the
        // other), so that their marks are cleared at the end without visiting the rest.
        queue_.clear();
        for (int k = 0; k < 7 && untaken > 0; ++k) {
            for (std::uint32_t e = r[k].begin; e < r[k].end && untaken > 0; ++e) {
                if (c.flagsOf(e) & taken)
                    continue;
                c.checkSeed();
                std::uint32_t idx = none;
                c.flagsOf(e) |= taken;
                v.start(c.elementAt(e).color, level_);
                const std::size_t first = queue_.size();
                queue_.push_back({e, k});
                --untaken;
                // A candidate is always an element of a sibling child, so once all are
                // taken the rest of the queue can find nothing (not even a conflict).
                for (std::size_t qi = first; qi < queue_.size() && untaken > 0; ++qi)
                    visit(queue_[qi], k, e, idx, v, untaken);
                c.finish(idx, e, v);
            }
        }
        for (const QueueEntry& entry : queue_)
            c.flagsOf(entry.element) &= static_cast<std::uint8_t>(~taken);
    }

    // Offers the growth from seed e (of child k) the elements that share a child with
    // the queued element.
    void visit(QueueEntry entry, int k, std::uint32_t e, std::uint32_t& idx, V& v, std::uint32_t& untaken)
    {
        const int q = entry.cell;
        const std::uint32_t ceIdx = entry.element;
        const CodeElement& ce = c.elementAt(ceIdx);
        const CodeElementLink* links = c.linksOf(ceIdx);
        // The children in a cell this island shares with a sibling, in link order,
        // gathered without a branch (whether a cell is shared follows no pattern the
        // processor could predict); an element has at most 255 links.
        CodeElementLink sharedLink[255];
        std::int8_t sharedSibling[255];
        const int childCount = ce.childCount;
        int shared = 0;
        for (int j = 0; j < childCount; ++j) {
            const CodeElementLink link = links[j];
            const int nn = Hierarchy::sharingChild[q][linkCell(link)];
            sharedLink[shared] = link;
            sharedSibling[shared] = static_cast<std::int8_t>(nn);
            shared += nn >= 0;
        }
        for (int j = 0; j < shared; ++j) {
            const int s = linkCell(sharedLink[j]);
            const int nn = sharedSibling[j];
            const std::uint32_t g = linkChild(sharedLink[j]);
            const CodeElement& G = c.elementAt(g);
            const std::uint32_t f = G.parent1 != ceIdx ? G.parent1 : G.parent2;
            if (f == none)
                continue;
            std::uint8_t& flagsF = c.flagsOf(f);
            if (flagsF & taken)
                continue;
            if (v.accept(ce.color, c.elementAt(f).color)) {
                flagsF |= taken;
                --untaken;
                queue_.push_back({f, nn});
                c.join(idx, k, e, nn, f);
            } else if (c.splitMode == 1) {
                c.recordConflict(g, ceIdx, q, s, nn);
            }
        }
    }

    Context& c;
    int level_;
    std::vector<QueueEntry> queue_ = std::vector<QueueEntry>(2000);
};

} // namespace

template <class V>
void linkUpperLevel(LinkingContext<V>& c, int level)
{
    // A level of few islands is not worth the threads' meeting (the tests' pictures
    // have one level above it).
    constexpr int fewIslands = 4096;
    const int islands = c.hierarchy.indexOffset(level + 1) - c.hierarchy.indexOffset(level);
    const int threads = islands < fewIslands ? 1 : std::min(threadCount(), c.hierarchy.rowLength(level));
    const auto linker = [level](LevelPiece<V>& piece) {
        return [island = UpperLevel<V, LevelPiece<V>>(piece, level)](const ChildRange* r, std::uint32_t total) mutable {
            island.link(r, total);
        };
    };
    if (threads >= 2 && linkOnThreads(c, level, threads, linker))
        return;
    UpperLevel<V, LinkingContext<V>> island(c, level);
    c.forEachIsland(level, [&island](const ChildRange* r, std::uint32_t total) { island.link(r, total); });
}

template void linkUpperLevel(LinkingContext<SpaceRGB>&, int);
template void linkUpperLevel(LinkingContext<SpaceHSV>&, int);

} // namespace ivra::csc::detail
