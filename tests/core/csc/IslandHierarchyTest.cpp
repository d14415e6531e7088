// The engine's pyramid against the plain formulation's, and both against worked examples.
#include "CscIndependent.h"

#include "csc/IslandHierarchy.h"

#include <gtest/gtest.h>

using namespace ivra;

namespace {

using ivra::csc::IslandHierarchy;

TEST(IslandHierarchy, AgreesWithThePlainPyramidIslandByIsland)
{
    EXPECT_EQ(cscref::Pyramid(640, 480).rowLength, (std::vector<int>{513, 257, 129, 65, 33, 17, 9, 5, 3, 1}));
    EXPECT_EQ(cscref::Pyramid(1, 1).islandCount(), 8); // seven level-0 islands and the top
    EXPECT_EQ(cscref::Pyramid(5, 4).islandCount(), 23 + 7 + 1);
    EXPECT_EQ(cscref::Pyramid(512, 384).levels, 9);
    for (const auto& [w, h] : {std::pair{1, 1}, std::pair{4, 4}, std::pair{4, 5}, std::pair{5, 4}, std::pair{8, 8},
                               std::pair{16, 16}, std::pair{33, 20}, std::pair{100, 64}, std::pair{640, 480}}) {
        const IslandHierarchy hierarchy(w, h);
        const cscref::Pyramid pyramid(w, h);
        ASSERT_EQ(hierarchy.levels(), pyramid.levels);
        EXPECT_EQ(hierarchy.coveredSize(), pyramid.size);
        EXPECT_EQ(hierarchy.islandCount(), pyramid.islandCount());
        int walk = 0;
        for (int l = 0; l < pyramid.levels; ++l) {
            EXPECT_EQ(hierarchy.rowLength(l), pyramid.rowLength[l]);
            EXPECT_EQ(hierarchy.indexOffset(l), walk);
            for (const auto& [x, y] : pyramid.walk(l)) {
                ASSERT_EQ(hierarchy.walkIndex({l, x, y}), walk++) << w << "x" << h << " level " << l;
                const ivra::csc::CellPos centre = hierarchy.centreChild({l, x, y});
                ASSERT_EQ((std::array<int, 2>{centre.x, centre.y}), pyramid.members(l, x, y)[0]);
            }
            EXPECT_EQ(hierarchy.walkIndex({l, pyramid.islandsInRow(l, 0), 0}), -1);
        }
    }
    EXPECT_THROW(IslandHierarchy(0, 5), std::invalid_argument);
    EXPECT_THROW(IslandHierarchy(IslandHierarchy::maxSide + 1, 1), std::invalid_argument);
}

} // namespace
