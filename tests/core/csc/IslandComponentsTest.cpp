#include "csc/IslandComponents.h"
#include "csc/ipcIslandHierarchy.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ivra;

namespace {

// The element growth of a level-0 island as described: seeds in cell order, breadth
// first through the adjacent cells, a pair joining when it is marked similar.
std::vector<int> grow(unsigned pattern)
{
    bool similar[7][7] = {};
    for (int e = 0; e < islandEdgeCount; ++e)
        if (pattern & (1u << e)) {
            similar[islandEdges[e][0]][islandEdges[e][1]] = true;
            similar[islandEdges[e][1]][islandEdges[e][0]] = true;
        }
    bool assigned[7] = {};
    std::vector<int> masks;
    for (int k = 0; k < 7; ++k) {
        if (assigned[k])
            continue;
        assigned[k] = true;
        int mask = 1 << k;
        std::vector<int> queue{k};
        for (std::size_t i = 0; i < queue.size(); ++i)
            for (const int* n = ipcIslandHierarchy::cellNeighbours[queue[i]]; *n >= 0; ++n)
                if (!assigned[*n] && similar[queue[i]][*n]) {
                    assigned[*n] = true;
                    mask |= 1 << *n;
                    queue.push_back(*n);
                }
        if (mask & (mask - 1))
            masks.push_back(mask);
    }
    return masks;
}

TEST(IslandComponents, EdgesAreTheAdjacentCellPairs)
{
    int adjacent = 0;
    for (int a = 0; a < 7; ++a)
        for (const int* n = ipcIslandHierarchy::cellNeighbours[a]; *n >= 0; ++n)
            ++adjacent;
    EXPECT_EQ(adjacent, 2 * islandEdgeCount);
    for (const auto& e : islandEdges) {
        bool found = false;
        for (const int* n = ipcIslandHierarchy::cellNeighbours[e[0]]; *n >= 0; ++n)
            found = found || *n == e[1];
        EXPECT_TRUE(found) << e[0] << "-" << e[1];
    }
}

TEST(IslandComponents, TableMatchesBreadthFirstGrowthForEveryPattern)
{
    for (unsigned pattern = 0; pattern < (1u << islandEdgeCount); ++pattern) {
        const IslandComponents& c = islandComponents[pattern];
        const std::vector<int> got(c.masks, c.masks + c.count);
        ASSERT_EQ(got, grow(pattern)) << pattern;
    }
}

} // namespace
