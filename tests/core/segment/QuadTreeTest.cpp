#include "segment/QuadTree.h"

#include <gtest/gtest.h>

#include <stdexcept>

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
    EXPECT_EQ(t[1].x, 4);
    EXPECT_EQ(t[1].y, 0);
    EXPECT_EQ(t[2].x, 0);
    EXPECT_EQ(t[2].y, 4);
    EXPECT_EQ(t[3].x, 4);
    EXPECT_EQ(t[3].y, 4);
    EXPECT_EQ(t[4].x, 0);
    EXPECT_EQ(t[4].y, 0);

    // Children of the bottom-right block (node 3) at level 2, side 2.
    for (std::size_t k = 13; k <= 16; ++k)
        t.placeChild(k, 2);
    EXPECT_EQ(t[13].x, 6);
    EXPECT_EQ(t[13].y, 4);
    EXPECT_EQ(t[14].x, 4);
    EXPECT_EQ(t[14].y, 6);
    EXPECT_EQ(t[15].x, 6);
    EXPECT_EQ(t[15].y, 6);
    EXPECT_EQ(t[16].x, 4);
    EXPECT_EQ(t[16].y, 4);
}
