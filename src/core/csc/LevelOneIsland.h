#pragma once

#include "LinkingContext.h"

#include <array>
#include <cstdint>

// The linking of one level-1 island, for the context that keeps its elements:
// LinkingContext itself, or a piece of the level linked on a thread of its own
// (LevelOne.cpp). A context offers elementAt(e) (the level-0 elements, read only), space,
// checkSeed(), join(), finish() and addWholeIsland() as LinkingContext does.
namespace ivra::csc::detail {

using Hierarchy = IslandHierarchy;

// sharedNeighbours[k][mask]: the siblings n of child k whose shared pixel
// (cell sharedCell[k][n] of child k) is among the cells of mask, as a bit set.
constexpr std::array<std::array<std::uint8_t, 128>, 7> buildSharedNeighbours()
{
    std::array<std::array<std::uint8_t, 128>, 7> table{};
    for (int k = 0; k < 7; ++k)
        for (int mask = 0; mask < 128; ++mask)
            for (int n = 0; n < 7; ++n)
                if (Hierarchy::sharedCell[k][n] >= 0 && (mask >> Hierarchy::sharedCell[k][n] & 1))
                    table[k][mask] |= static_cast<std::uint8_t>(1 << n);
    return table;
}
constexpr auto sharedNeighbours = buildSharedNeighbours();

// orderedNeighbours[k][set]: the siblings of child k that lie in the bit set, in the
// order of cellNeighbours[k] (the order of the breadth-first growth), as 3-bit fields
// holding sibling + 1, first sibling in the lowest field, 0 after the last.
constexpr std::array<std::array<std::uint32_t, 128>, 7> buildOrderedNeighbours()
{
    std::array<std::array<std::uint32_t, 128>, 7> table{};
    for (int k = 0; k < 7; ++k)
        for (int set = 0; set < 128; ++set) {
            std::uint32_t list = 0;
            int shift = 0;
            for (const int* nb = Hierarchy::cellNeighbours[k]; *nb >= 0; ++nb)
                if (set >> *nb & 1) {
                    list |= static_cast<std::uint32_t>(*nb + 1) << shift;
                    shift += 3;
                }
            table[k][set] = list;
        }
    return table;
}
constexpr auto orderedNeighbours = buildOrderedNeighbours();

// byteSpread[set]: byte n is 1 for every bit n of the 7-bit set.
constexpr std::array<std::uint64_t, 128> buildByteSpread()
{
    std::array<std::uint64_t, 128> table{};
    for (int set = 0; set < 128; ++set)
        for (int n = 0; n < 7; ++n)
            if (set >> n & 1)
                table[set] |= std::uint64_t{1} << (8 * n);
    return table;
}
constexpr auto byteSpread = buildByteSpread();

// Level 1: elements of neighbouring child islands link when both contain the pixel
// the two islands share. The elements of one level-0 island are disjoint, so each
// shared pixel belongs to at most one element on either side: the island's
// candidates form a graph of at most twelve edges, found once per island. A level-0
// island holds at most three elements, so they fit a small local table.
template <class V, class Context>
class LevelOneIsland {
public:
    LevelOneIsland(Context& c, const ChildRange* r) : c(c)
    {
        for (int k = 0; k < 7; ++k) {
            for (std::uint32_t e = r[k].begin; e < r[k].end; ++e) {
                const unsigned siblings = sharedNeighbours[k][c.elementAt(e).mask];
                owner_[k] |= byteSpread[siblings] * static_cast<std::uint64_t>(count_ + 1);
                sharing_[count_] = orderedNeighbours[k][siblings];
                element_[count_] = e;
                color_[count_] = c.elementAt(e).color;
                cellOf_[count_++] = static_cast<std::int8_t>(k);
            }
        }
    }

    // Every untaken candidate seeds a growth in turn, until fewer than two are left.
    void link()
    {
        // A local predicate: the stores into the element pool cannot alias it, so its
        // running sums stay in registers.
        V v = c.space;
        unsigned takenBits = 0;
        int untaken = count_;
        for (int i = 0; i < count_; ++i) {
            if (untaken < 2)
                return;
            if (takenBits & (1u << i))
                continue;
            c.checkSeed();
            takenBits |= 1u << i;
            --untaken;
            v.start(color_[i], 1);
            grow(i, v, takenBits, untaken);
        }
    }

private:
    // Breadth first from candidate i through the shared pixels.
    void grow(int i, V& v, unsigned& takenBits, int& untaken)
    {
        const int k = cellOf_[i];
        std::uint32_t idx = CodeElement::none;
        int queue[21];
        queue[0] = i;
        int qn = 1;
        // Once every element is taken, the rest of the queue can find nothing.
        for (int qi = 0; qi < qn && untaken > 0; ++qi) {
            const int j = queue[qi];
            const int q = cellOf_[j];
            for (std::uint32_t list = sharing_[j]; list != 0; list >>= 3) {
                const int nn = static_cast<int>(list & 7u) - 1;
                const int f = static_cast<int>(owner_[nn] >> (8 * q) & 0xFF) - 1;
                if (f < 0 || (takenBits & (1u << f)))
                    continue;
                if (!v.accept(color_[j], color_[f]))
                    continue;
                takenBits |= 1u << f;
                --untaken;
                queue[qn++] = f;
                c.join(idx, k, element_[i], nn, element_[f]);
            }
        }
        c.finish(idx, element_[i], v);
    }

    Context& c;
    int count_ = 0;
    std::uint32_t element_[21];
    std::uint32_t color_[21];
    std::int8_t cellOf_[21];
    // Byte n of owner_[q]: 1 + the local index of the element of child q holding the
    // pixel q shares with its neighbour n, or 0. The elements of one child are
    // disjoint, so each one fills its bytes with a single multiplication.
    std::uint64_t owner_[7] = {};
    // sharing_[j]: the siblings with whose island element j shares its pixel, in the
    // order in which the growth visits them.
    std::uint32_t sharing_[21];
};

// The most frequent level-1 island by far (inside any area of gently varying colour):
// each child holds one element covering all seven pixels, so every pair of
// neighbouring children shares its pixel. The growth from child 0 then meets children
// 1..6 in this order, and if the running mean accepts all six, it takes them all and
// the island forms one element of seven links. Answers false, having changed
// nothing, for any other island, which then takes the general way.
template <class V, class Context>
bool linkWholeIsland(Context& c, const ChildRange* r)
{
    unsigned masks = 0x7F;
    for (int k = 0; k < 7; ++k) {
        if (r[k].end - r[k].begin != 1)
            return false;
        masks &= c.elementAt(r[k].begin).mask;
    }
    if (masks != 0x7F)
        return false;
    static_assert(Hierarchy::cellNeighbours[0][0] == 1 && Hierarchy::cellNeighbours[0][5] == 6);
    V v = c.space;
    const std::uint32_t seed = c.elementAt(r[0].begin).color;
    v.start(seed, 1);
    for (int k = 1; k < 7; ++k)
        if (!v.accept(seed, c.elementAt(r[k].begin).color))
            return false;
    c.checkSeed();
    c.addWholeIsland(r, v.color());
    return true;
}

} // namespace ivra::csc::detail
