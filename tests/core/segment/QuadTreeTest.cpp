#include "segment/QuadTree.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

using namespace ivra;

namespace {

std::pair<int, int> corner(const QuadNode& n)
{
    return {n.x, n.y};
}

} // namespace

TEST(QuadTree, CoversThePictureWithTheSmallestPowerOfTwoSquare)
{
    QuadTree t(3, 3);
    EXPECT_EQ(t.size(), 4);
    EXPECT_EQ(t.GetMaxLevel(), 2);
    EXPECT_EQ(t.nodeCount(), 21u);

    EXPECT_EQ(QuadTree::sizeFor(1, 1), 1);
    EXPECT_EQ(QuadTree::nodeCountFor(1, 1), 1u);
    EXPECT_EQ(QuadTree::sizeFor(5, 2), 8);
    EXPECT_EQ(QuadTree::sizeFor(2, 8), 8);
    EXPECT_EQ(QuadTree::sizeFor(1024, 1), 1024);
    EXPECT_EQ(QuadTree::sizeFor(1025, 7), 2048);
    EXPECT_EQ(QuadTree::sizeFor(32767, 1), 32768);
    EXPECT_THROW(QuadTree::sizeFor(32768, 1), std::length_error);
    EXPECT_THROW(QuadTree::sizeFor(1, -1), std::length_error);
}

TEST(QuadTree, LevelsFollowOneAnother)
{
    EXPECT_EQ(QuadTree::first(0), 0u);
    EXPECT_EQ(QuadTree::first(1), 1u);
    EXPECT_EQ(QuadTree::first(2), 5u);
    EXPECT_EQ(QuadTree::first(3), 21u);
    EXPECT_EQ(QuadTree::first(16), 1431655765u);
    EXPECT_EQ(QuadTree::parent(1), 0u);
    EXPECT_EQ(QuadTree::parent(4), 0u);
    EXPECT_EQ(QuadTree::parent(5), 1u);
    EXPECT_EQ(QuadTree::parent(20), 4u);
}

TEST(QuadTree, ChildrenComeTopRightBottomLeftBottomRightTopLeft)
{
    QuadTree t(8, 8);
    t[0] = {0, 0, 0};
    for (std::size_t k = 1; k <= 4; ++k)
        t.placeChild(k, 1);
    EXPECT_EQ(corner(t[1]), (std::pair{4, 0}));
    EXPECT_EQ(corner(t[2]), (std::pair{0, 4}));
    EXPECT_EQ(corner(t[3]), (std::pair{4, 4}));
    EXPECT_EQ(corner(t[4]), (std::pair{0, 0}));

    // Children of the bottom-right block (node 3) at level 2, side 2.
    for (std::size_t k = 13; k <= 16; ++k)
        t.placeChild(k, 2);
    EXPECT_EQ(corner(t[13]), (std::pair{6, 4}));
    EXPECT_EQ(corner(t[14]), (std::pair{4, 6}));
    EXPECT_EQ(corner(t[15]), (std::pair{6, 6}));
    EXPECT_EQ(corner(t[16]), (std::pair{4, 4}));
}
