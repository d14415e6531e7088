#include "image/CBitImage32.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ivra;

TEST(CBitImage32, WordsPerRowRoundUp)
{
    EXPECT_EQ(CBitImage32(32, 1).wordsPerRow(), 1);
    EXPECT_EQ(CBitImage32(33, 1).wordsPerRow(), 2);
    EXPECT_EQ(CBitImage32(1, 1).wordsPerRow(), 1);
    EXPECT_EQ(CBitImage32(64, 1).wordsPerRow(), 2);
}

TEST(CBitImage32, BitLayoutIsLsbFirstRowsOnWordBoundaries)
{
    CBitImage32 bits(40, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 40; ++x)
            EXPECT_FALSE(bits.get(x, y));
    bits.set(33, 1, 1);
    EXPECT_TRUE(bits.get(33, 1));
    EXPECT_EQ(bits.data()[1 * 2 + 1], 1u << 1);
    bits.set(0, 2, 5);
    EXPECT_EQ(bits.data()[4], 1u);
    bits.set(33, 1, 0);
    EXPECT_FALSE(bits.get(33, 1));
    EXPECT_EQ(bits.data()[3], 0u);
}

TEST(CBitImage32, OutsideTheBoundsReadsFalseAndWritesNothing)
{
    CBitImage32 bits(32, 2);
    bits.set(32, 0, 1);
    bits.set(0, -1, 1);
    bits.set(-1, 0, 1);
    bits.set(0, 2, 1);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(bits.data()[i], 0u);
    bits.fill(1);
    EXPECT_FALSE(bits.get(32, 0));
    EXPECT_FALSE(bits.get(0, -1));
    EXPECT_FALSE(bits.get(-1, 0));
    EXPECT_FALSE(bits.get(0, 2));
}

TEST(CBitImage32, FillSetsEveryWordIncludingSpareBits)
{
    CBitImage32 bits(33, 3);
    bits.fill(1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 33; ++x)
            ASSERT_TRUE(bits.get(x, y));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bits.data()[i], ~0u);
    bits.fill(0);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bits.data()[i], 0u);
}

TEST(CBitImage32, RefusesSidesBeyondSixteenBits)
{
    EXPECT_THROW(CBitImage32(32768, 1), std::length_error);
    EXPECT_THROW(CBitImage32(1, -1), std::length_error);
    EXPECT_NO_THROW(CBitImage32(0, 0));
}
