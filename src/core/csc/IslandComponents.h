#pragma once

#include <array>
#include <cstdint>

namespace ivra {

// The twelve pixel pairs of a level-0 island that are hexagonal neighbours, in the
// bit order of an edge pattern. The order lets the engine assemble a pattern from
// per-pixel similarity bits with a few shifts (see ipcCSCEngine.cpp).
inline constexpr int islandEdgeCount = 12;
inline constexpr int islandEdges[islandEdgeCount][2] = {{0, 1}, {0, 3}, {0, 2}, {4, 5}, {4, 6}, {4, 0},
                                                        {5, 0}, {5, 1}, {6, 0}, {6, 2}, {1, 3}, {2, 3}};

// The elements a level-0 island forms for one pattern of similar neighbour pairs.
// Pixel similarity at level 0 compares a candidate with the pixel it was reached
// from, so the breadth-first growth from a seed yields exactly the seed's connected
// component; seeds are taken in cell order, so the components come ordered by their
// lowest cell. Components of one pixel form no element and are left out.
struct IslandComponents {
    std::uint8_t count;
    std::uint8_t masks[3]; // at most three components of two or more of seven cells
};

namespace csc_detail {
constexpr std::array<IslandComponents, 1 << islandEdgeCount> buildIslandComponents()
{
    std::array<IslandComponents, 1 << islandEdgeCount> table{};
    for (int pattern = 0; pattern < (1 << islandEdgeCount); ++pattern) {
        IslandComponents entry{};
        int assigned = 0;
        for (int seed = 0; seed < 7; ++seed) {
            if (assigned & (1 << seed))
                continue;
            int component = 1 << seed;
            for (bool grew = true; grew;) {
                grew = false;
                for (int e = 0; e < islandEdgeCount; ++e) {
                    if (!(pattern & (1 << e)))
                        continue;
                    const int a = 1 << islandEdges[e][0], b = 1 << islandEdges[e][1];
                    if (((component & a) != 0) != ((component & b) != 0)) {
                        component |= a | b;
                        grew = true;
                    }
                }
            }
            assigned |= component;
            if (component & (component - 1))
                entry.masks[entry.count++] = static_cast<std::uint8_t>(component);
        }
        table[pattern] = entry;
    }
    return table;
}
} // namespace csc_detail

// Components for every edge pattern (bit e set: pair islandEdges[e] is similar).
inline constexpr std::array<IslandComponents, 1 << islandEdgeCount> islandComponents =
    csc_detail::buildIslandComponents();

} // namespace ivra
