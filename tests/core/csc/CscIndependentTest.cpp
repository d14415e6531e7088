// Checks of the plain second formulation itself, against the worked examples, so
// that a disagreement with the engine can be blamed on the right side.
#include "CscIndependent.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

using namespace ivra;

namespace {

using cscref::Pyramid;

std::vector<int> levelCounts(const Pyramid& p)
{
    std::vector<int> counts;
    for (int l = 0; l < p.levels; ++l)
        counts.push_back(static_cast<int>(p.walk(l).size()));
    return counts;
}

TEST(CscIndependentPyramid, SizesAndLevelsFollowTheWorkedExamples)
{
    const Pyramid one(1, 1);
    EXPECT_EQ(one.size, 4);
    EXPECT_EQ(one.levels, 2);
    EXPECT_EQ(one.rowLength, (std::vector<int>{3, 1}));
    EXPECT_EQ(one.islandCount(), 8);

    const Pyramid tall(4, 5);
    EXPECT_EQ(tall.size, 8);
    EXPECT_EQ(levelCounts(tall), (std::vector<int>{23, 7, 1}));

    const Pyramid eight(8, 8);
    EXPECT_EQ(eight.rowLength, (std::vector<int>{5, 3, 1}));
    EXPECT_EQ(levelCounts(eight), (std::vector<int>{23, 7, 1}));

    const Pyramid vga(640, 480);
    EXPECT_EQ(vga.size, 1024);
    EXPECT_EQ(vga.rowLength, (std::vector<int>{513, 257, 129, 65, 33, 17, 9, 5, 3, 1}));
    EXPECT_EQ(Pyramid(512, 384).levels, 9);
}

TEST(CscIndependentPyramid, LevelBelowTopIsWalkedEvenRowsFirstAndIsTheTopsChildren)
{
    const Pyramid p(20, 20);
    const int l = p.levels - 2;
    const std::vector<std::array<int, 2>> walk = p.walk(l);
    EXPECT_EQ(walk, (std::vector<std::array<int, 2>>{{0, 0}, {1, 0}, {0, 2}, {1, 2}, {0, 1}, {1, 1}, {2, 1}}));
    EXPECT_FALSE(p.contains(l, 2, 0));
    EXPECT_TRUE(p.contains(l, 2, 1));
    const auto top = p.members(p.levels - 1, 0, 0);
    EXPECT_EQ(std::vector(top.begin(), top.end()),
              (std::vector<std::array<int, 2>>{{1, 1}, {2, 1}, {0, 2}, {1, 2}, {0, 0}, {1, 0}, {0, 1}}));
}

// Two neighbouring children of one island must meet in exactly the cell that the
// shared-cell table names, on every level; this ties the centre rules to the tables.
TEST(CscIndependentPyramid, NeighbouringChildrenMeetInTheTabulatedCell)
{
    constexpr int shared[7][7] = {
        {-1, 1, 2, 3, 4, 5, 6},    {6, -1, -1, 2, -1, 4, -1}, {5, -1, -1, 1, -1, -1, 4}, {4, 5, 6, -1, -1, -1, -1},
        {3, -1, -1, -1, -1, 1, 2}, {2, 3, -1, -1, 6, -1, -1}, {1, -1, 3, -1, 5, -1, -1},
    };
    for (const int side : {1, 5, 9, 17, 40}) {
        const Pyramid p(side, side);
        for (int l = 1; l < p.levels; ++l)
            for (const auto& [x, y] : p.walk(l)) {
                const auto children = p.members(l, x, y);
                for (int i = 0; i < 7; ++i)
                    for (int j = 0; j < 7; ++j) {
                        if (shared[i][j] < 0)
                            continue;
                        const auto a = p.members(l - 1, children[i][0], children[i][1])[shared[i][j]];
                        const auto b = p.members(l - 1, children[j][0], children[j][1])[shared[j][i]];
                        ASSERT_EQ(a, b) << "side " << side << " level " << l << " children " << i << "," << j;
                    }
            }
    }
}

TEST(CscIndependentPyramid, EveryPixelLiesInOneOrTwoLevelZeroIslands)
{
    for (const int side : {3, 8, 13}) {
        const Pyramid p(side, side);
        std::map<std::pair<int, int>, int> seen;
        for (const auto& [x, y] : p.walk(0))
            for (const auto& [px, py] : p.members(0, x, y))
                ++seen[{px, py}];
        for (int y = 0; y < p.size; ++y)
            for (int x = 0; x < p.size; ++x) {
                const int n = seen[{x, y}];
                EXPECT_TRUE(n == 1 || n == 2) << x << "," << y << " in " << n;
            }
    }
}

TEST(CscIndependentSimilarity, TablesAndTestsMatchTheStatedCases)
{
    EXPECT_EQ(cscref::toleranceTable(0)[3 * 16 + 4], 15);
    EXPECT_EQ(cscref::toleranceTable(2)[5 * 16 + 3], 40);
    EXPECT_EQ(cscref::toleranceTable(4)[1 * 16 + 10], 16);
    EXPECT_EQ(cscref::toleranceTable(5)[0 * 16 + 11], 3);
    // Two black pixels are similar; saturations 16 and 31 count as equal for elements.
    EXPECT_TRUE(cscref::pixelSimilar({0, 0, 0}, {0, 0, 0}));
    EXPECT_EQ(cscref::elementSimilar({100, 16, 200}, {100, 31, 200}), cscref::elementSimilar({100, 16, 200}, {100, 16, 200}));
    // Hues 350 and 10 are 20 degrees apart: similar where the tolerance is 20, not where it is 16.
    EXPECT_TRUE(cscref::pixelSimilar({350, 128, 32}, {10, 128, 32}));    // row 8, column 2: 20
    EXPECT_FALSE(cscref::pixelSimilar({350, 176, 32}, {10, 176, 32}));   // row 11, column 2: 16
}

TEST(CscIndependentRun, ThresholdZeroLeavesEverythingBlackAndUnlabelled)
{
    const std::vector<RGB24> pixels(36, RGB24{90, 90, 90});
    const cscref::Outcome out = cscref::segment(6, 6, pixels, cscref::Variant::Rgb, 0);
    EXPECT_EQ(out.regions, 0);
    for (auto l : out.labels)
        EXPECT_EQ(l, 0u);
    for (auto c : out.rgb)
        EXPECT_EQ(c, 0);
}

TEST(CscIndependentRun, UniformPictureIsOneRegionAwayFromTheBorder)
{
    const int side = 12;
    const std::vector<RGB24> pixels(side * side, RGB24{40, 120, 200});
    const cscref::Outcome out = cscref::segment(side, side, pixels, cscref::Variant::Rgb, 25);
    ASSERT_GE(out.regions, 1);
    std::set<std::uint32_t> inner;
    for (int y = 2; y < side - 2; ++y)
        for (int x = 2; x < side - 2; ++x) {
            inner.insert(out.labels[y * side + x]);
            EXPECT_EQ(out.rgb[3 * (y * side + x)], 40);
            EXPECT_EQ(out.rgb[3 * (y * side + x) + 2], 200);
        }
    EXPECT_EQ(inner.size(), 1u);
    EXPECT_NE(*inner.begin(), 0u);
}

} // namespace
