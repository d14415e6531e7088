#include "csc/ipcIslandHierarchy.h"
#include "csc/ipcIslandIterator.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace ivra;

namespace {

using H = ipcIslandHierarchy;

std::vector<int> rowLengths(const H& h)
{
    std::vector<int> r;
    for (int l = 0; l < h.levels(); ++l)
        r.push_back(h.rowLength(l));
    return r;
}

TEST(IslandHierarchy, SizesLevelsAndRowLengths)
{
    const H tiny(1, 1);
    EXPECT_EQ(tiny.coveredSize(), 4);
    EXPECT_EQ(tiny.levels(), 2);
    EXPECT_EQ(rowLengths(tiny), (std::vector<int>{3, 1}));
    EXPECT_EQ(tiny.indexOffset(1), 7);
    EXPECT_EQ(tiny.islandCount(), 8);
    EXPECT_EQ(tiny.topIndex(), 7);

    EXPECT_EQ(H(4, 4).coveredSize(), 4);
    EXPECT_EQ(H(4, 4).levels(), 2);
    EXPECT_EQ(H(512, 384).coveredSize(), 512);
    EXPECT_EQ(H(512, 384).levels(), 9);

    const H vga(640, 480);
    EXPECT_EQ(vga.coveredSize(), 1024);
    EXPECT_EQ(vga.levels(), 10);
    EXPECT_EQ(rowLengths(vga), (std::vector<int>{513, 257, 129, 65, 33, 17, 9, 5, 3, 1}));

    const H eight(8, 8);
    EXPECT_EQ(rowLengths(eight), (std::vector<int>{5, 3, 1}));
    EXPECT_EQ(eight.indexOffset(0), 0);
    EXPECT_EQ(eight.indexOffset(1), 23);
    EXPECT_EQ(eight.indexOffset(2), 30);
    EXPECT_EQ(eight.islandCount(), 31);

    for (const H& h : {H(4, 5), H(5, 4)}) {
        EXPECT_EQ(h.coveredSize(), 8);
        EXPECT_EQ(h.levels(), 3);
        EXPECT_EQ(h.islandCount(), 23 + 7 + 1);
    }
}

TEST(IslandHierarchy, RefusesEmptyAndHugeSizes)
{
    EXPECT_THROW(H(0, 5), std::invalid_argument);
    EXPECT_THROW(H(5, -1), std::invalid_argument);
    EXPECT_THROW(H(H::maxSide + 1, 1), std::invalid_argument);
}

TEST(IslandHierarchy, IndexesOfTheShiftedLevel)
{
    const H h(16, 16);
    const int l2 = h.levels() - 2;
    EXPECT_EQ(h.rowLength(l2), 3);
    EXPECT_EQ(h.islandIndex({l2, 2, 0}), -1);
    EXPECT_EQ(h.islandIndex({l2, 2, 1}), h.indexOffset(l2) + 4);
    EXPECT_EQ(h.islandIndex({l2, 1, 2}), h.indexOffset(l2) + 6);
    EXPECT_EQ(h.islandIndex({l2, 0, 3}), -1);
    EXPECT_EQ(h.islandIndex({0, 8, 0}), 8);
    EXPECT_EQ(h.islandIndex({0, 8, 1}), -1); // odd rows of a normal level are one shorter
    EXPECT_EQ(h.islandIndex({0, 7, 1}), h.rowLength(0) + 7);
    EXPECT_EQ(h.islandIndex({0, 0, 2}), 2 * h.rowLength(0) - 1);
    EXPECT_EQ(h.islandIndex({0, -1, 0}), -1);
}

TEST(IslandHierarchy, WalkOfTheShiftedLevelAndTopChildren)
{
    const H h(8, 8);
    auto it = ipcIslandIterator::bottomUp(h);
    ASSERT_TRUE(it->nextLevelUp());
    ASSERT_EQ(it->coord().level, 1);
    std::vector<IslandCoord> walk{it->coord()};
    while (it->nextInLevel())
        walk.push_back(it->coord());
    const std::vector<IslandCoord> expected = {{1, 0, 0}, {1, 1, 0}, {1, 0, 2}, {1, 1, 2},
                                               {1, 0, 1}, {1, 1, 1}, {1, 2, 1}};
    EXPECT_EQ(walk, expected);

    const auto top = h.childIslands({2, 0, 0});
    const std::vector<IslandCoord> children(top.begin(), top.end());
    const std::vector<IslandCoord> expectedChildren = {{1, 1, 1}, {1, 2, 1}, {1, 0, 2}, {1, 1, 2},
                                                       {1, 0, 0}, {1, 1, 0}, {1, 0, 1}};
    EXPECT_EQ(children, expectedChildren);
    ASSERT_TRUE(it->nextLevelUp());
    EXPECT_FALSE(it->nextInLevel());
    EXPECT_FALSE(it->nextLevelUp());
}

TEST(IslandHierarchy, WalksVisitEveryIslandOnceInWalkIndexOrder)
{
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {5, 4}, {33, 20}, {100, 64}}) {
        const H hier(w, h);
        auto it = ipcIslandIterator::bottomUp(hier);
        int expectedWalk = 0;
        std::set<int> indexes;
        do {
            do {
                const IslandCoord c = it->coord();
                ASSERT_EQ(hier.walkIndex(c), expectedWalk++);
                ASSERT_TRUE(indexes.insert(hier.islandIndex(c)).second);
            } while (it->nextInLevel());
        } while (it->nextLevelUp());
        EXPECT_EQ(expectedWalk, hier.islandCount());
        EXPECT_EQ(*indexes.begin(), 0);
        EXPECT_EQ(*indexes.rbegin(), hier.islandCount() - 1);

        // Top-down: the top first, then each level down to 0.
        auto down = ipcIslandIterator::topDown(hier);
        int visited = 0, level = hier.levels() - 1;
        do {
            EXPECT_EQ(down->coord().level, level--);
            do
                ++visited;
            while (down->nextInLevel());
        } while (down->nextLevelDown());
        EXPECT_EQ(visited, hier.islandCount());
    }
}

TEST(IslandHierarchy, SharedCellAndSharingChildAreInverse)
{
    int pairs = 0;
    for (int i = 0; i < 7; ++i)
        for (int j = 0; j < 7; ++j) {
            const int k = H::sharedCell[i][j];
            if (k < 0)
                continue;
            ++pairs;
            EXPECT_EQ(H::sharingChild[i][k], j) << i << "," << j;
            // The overlap is one cell seen from both sides.
            EXPECT_GE(H::sharedCell[j][i], 0);
        }
    EXPECT_EQ(pairs, 24); // twelve neighbouring pairs of children
}

TEST(IslandHierarchy, EveryIslandAndPixelHasOneOrTwoParents)
{
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{4, 4}, {16, 16}, {40, 33}}) {
        const H hier(w, h);
        std::vector<int> parents(hier.islandCount(), 0);
        for (int l = 1; l < hier.levels(); ++l)
            for (int y = 0; y < hier.rowLength(l); ++y)
                for (int x = 0; x < hier.rowSize(l, y); ++x)
                    for (const IslandCoord c : hier.childIslands({l, x, y})) {
                        const int i = hier.islandIndex(c);
                        if (i >= 0)
                            ++parents[i];
                        else // children outside their level only along the borders
                            EXPECT_TRUE(c.x < 0 || c.y < 0 || c.y >= hier.rowLength(c.level) || c.x >= hier.rowSize(c.level, c.y) - 1);
                    }
        for (int i = 0; i < hier.indexOffset(hier.levels() - 1); ++i)
            EXPECT_TRUE(parents[i] == 1 || parents[i] == 2) << i;

        const int size = hier.coveredSize();
        std::vector<int> owners(static_cast<std::size_t>(size) * size, 0);
        for (int y = 0; y < hier.rowLength(0); ++y)
            for (int x = 0; x < hier.rowSize(0, y); ++x)
                for (const CellPos p : hier.cellCoords({0, x, y}))
                    if (p.x >= 0 && p.x < size && p.y >= 0 && p.y < size)
                        ++owners[p.y * size + p.x];
        for (const int n : owners)
            EXPECT_TRUE(n == 1 || n == 2);
    }
}

TEST(IslandHierarchy, ChildrenOfTheCentreRuleAtEachLevelKind)
{
    const H h(16, 16); // levels 0, 1 (normal), 2 (shifted), 3 (top)
    EXPECT_EQ(h.centreChild({1, 2, 1}), (CellPos{5, 2}));
    EXPECT_EQ(h.centreChild({2, 1, 1}), (CellPos{2, 2}));
    EXPECT_EQ(h.centreChild({2, 1, 0}), (CellPos{3, 0}));
    EXPECT_EQ(h.centreChild({3, 0, 0}), (CellPos{1, 1}));
    const auto cells = h.cellCoords({0, 1, 1}); // centre pixel (3, 2)
    const std::vector<CellPos> expected = {{3, 2}, {4, 2}, {2, 3}, {3, 3}, {2, 1}, {3, 1}, {2, 2}};
    EXPECT_EQ(std::vector<CellPos>(cells.begin(), cells.end()), expected);
}

} // namespace
