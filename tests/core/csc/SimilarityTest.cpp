#include "csc/SmallDivision.h"
#include "csc/ipcSimilarityHSV.h"
#include "csc/ipcSimilarityRGB.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace ivra;

namespace {

std::uint32_t hsv(int h, int s, int v) { return packHSV(h, s, v); }

TEST(SimilarityRGB, ThresholdIsStrict)
{
    ipcSimilarityRGB sim;
    EXPECT_EQ(sim.squaredThreshold, 400);
    sim.squaredThreshold = 5 * 5;
    sim.start(packRGB(10, 10, 10), 0);
    EXPECT_FALSE(sim.accept(packRGB(10, 10, 10), packRGB(13, 14, 10))); // distance exactly 5
    EXPECT_TRUE(sim.accept(packRGB(10, 10, 10), packRGB(13, 13, 10)));  // distance below 5
    EXPECT_EQ(sim.count, 2);

    sim.squaredThreshold = 0;
    sim.start(packRGB(1, 2, 3), 0);
    EXPECT_FALSE(sim.accept(packRGB(1, 2, 3), packRGB(1, 2, 3))); // not even equal colours
}

TEST(SimilarityRGB, ChainAtLevelZeroRunningMeanAbove)
{
    ipcSimilarityRGB chain;
    chain.squaredThreshold = 11 * 11;
    chain.start(packRGB(0, 0, 0), 0);
    // Each candidate is compared with the colour it was reached from.
    EXPECT_TRUE(chain.accept(packRGB(0, 0, 0), packRGB(10, 0, 0)));
    EXPECT_TRUE(chain.accept(packRGB(10, 0, 0), packRGB(20, 0, 0)));
    EXPECT_EQ(chain.finalColour(), packRGB(10, 0, 0)); // (0 + 10 + 20) / 3

    ipcSimilarityRGB mean;
    mean.squaredThreshold = 11 * 11;
    mean.start(packRGB(0, 0, 0), 2);
    EXPECT_TRUE(mean.accept(packRGB(0, 0, 0), packRGB(10, 0, 0)));
    EXPECT_EQ(mean.meanR, 5);
    // Against the running mean (5), not the reference (10): 20 is 15 away.
    EXPECT_FALSE(mean.accept(packRGB(10, 0, 0), packRGB(20, 0, 0)));
    EXPECT_TRUE(mean.accept(packRGB(200, 0, 0), packRGB(15, 0, 0)));
    EXPECT_EQ(mean.finalColour(), packRGB(8, 0, 0)); // 25 / 3, truncated
}

TEST(SimilarityHSV, HueDistanceWrapsAround)
{
    EXPECT_EQ(ipcSimilarityHSV::hueDistance(350, 10), 20);
    EXPECT_EQ(ipcSimilarityHSV::hueDistance(10, 350), 20);
    EXPECT_EQ(ipcSimilarityHSV::hueDistance(0, 180), 180);
    EXPECT_EQ(ipcSimilarityHSV::hueDistance(0, 181), 179);
}

TEST(SimilarityHSV, MeansWrapAndSkipAchromaticHues)
{
    ipcSimilarityHSV s;
    s.start(hsv(350, 100, 100), 0);
    s.add(hsv(10, 100, 100));
    EXPECT_EQ(s.wrapSum, 360);
    EXPECT_EQ(s.highHueCount, 1);
    s.means();
    EXPECT_EQ(s.meanHue, 0); // (720 + 1) / 2 = 360 -> 0

    s.start(hsv(10, 100, 100), 0);
    s.add(hsv(50, 100, 100));
    s.means();
    EXPECT_EQ(s.meanHue, 30);

    s.start(hsv(10, 100, 90), 0);
    s.add(hsv(200, 0, 30)); // achromatic: no hue, but saturation and value count
    s.means();
    EXPECT_EQ(s.meanHue, 10);
    EXPECT_EQ(s.meanSat, 50);
    EXPECT_EQ(s.meanVal, 60);

    s.start(hsv(77, 0, 10), 0);
    s.means();
    EXPECT_EQ(s.meanHue, 0); // no chromatic member
}

TEST(SimilarityHSV, PixelTests)
{
    EXPECT_TRUE(ipcSimilarityHSV::pixelSimilar(hsv(0, 0, 0), hsv(0, 0, 0)));     // two blacks
    EXPECT_TRUE(ipcSimilarityHSV::pixelSimilar(hsv(0, 10, 40), hsv(200, 12, 45))); // low saturation: any hue
    // Saturated, bright: row 15, column 15 allows 10 degrees, 40 saturation, 40 value.
    EXPECT_TRUE(ipcSimilarityHSV::pixelSimilar(hsv(100, 250, 250), hsv(110, 250, 250)));
    EXPECT_FALSE(ipcSimilarityHSV::pixelSimilar(hsv(100, 250, 250), hsv(111, 250, 250)));
    EXPECT_TRUE(ipcSimilarityHSV::pixelSimilar(hsv(350, 250, 250), hsv(0, 250, 250)));
    EXPECT_FALSE(ipcSimilarityHSV::pixelSimilar(hsv(100, 250, 250), hsv(100, 209, 250)));
    EXPECT_FALSE(ipcSimilarityHSV::pixelSimilar(hsv(100, 250, 250), hsv(100, 250, 209)));
    // The index uses the smaller saturation and the larger value.
    EXPECT_TRUE(ipcSimilarityHSV::pixelSimilar(hsv(100, 40, 30), hsv(190, 20, 25)));  // row 1: any hue
    EXPECT_FALSE(ipcSimilarityHSV::pixelSimilar(hsv(100, 50, 30), hsv(190, 60, 25))); // row 3 col 1: 30 degrees
}

TEST(SimilarityHSV, ElementTestsUseSaturationStepsOf16)
{
    // Saturations 16 and 31 fall in the same step, 16 and 32 do not differ enough at
    // row 1 either, but a step of 48 does.
    EXPECT_TRUE(ipcSimilarityHSV::elementSimilar(hsv(100, 16, 100), hsv(100, 31, 100)));
    EXPECT_TRUE(ipcSimilarityHSV::elementSimilar(hsv(100, 16, 100), hsv(100, 48, 100)));
    EXPECT_FALSE(ipcSimilarityHSV::elementSimilar(hsv(100, 16, 200), hsv(100, 64, 200)));
    // Values compare in steps of 16 too: 160..175 vs 208 is three steps (row 15 admits 3).
    EXPECT_TRUE(ipcSimilarityHSV::elementSimilar(hsv(100, 250, 175), hsv(100, 250, 208)));
    EXPECT_FALSE(ipcSimilarityHSV::elementSimilar(hsv(100, 250, 159), hsv(100, 250, 208)));
}

TEST(SimilarityHSV, TolerancesAsTabulated)
{
    EXPECT_EQ(ipcSimilarityHSV::hueTolerance0[0 * 16 + 0], 360);
    EXPECT_EQ(ipcSimilarityHSV::hueTolerance0[2 * 16 + 3], 95);
    EXPECT_EQ(ipcSimilarityHSV::hueTolerance0[3 * 16 + 4], 15);
    EXPECT_EQ(ipcSimilarityHSV::hueTolerance1[10 * 16 + 0], 18);
    EXPECT_EQ(ipcSimilarityHSV::hueTolerance1[15 * 16 + 15], 10);
    EXPECT_EQ(ipcSimilarityHSV::satTolerance0[1 * 16 + 12], 8);
    EXPECT_EQ(ipcSimilarityHSV::satTolerance0[2 * 16 + 0], 64);
    EXPECT_EQ(ipcSimilarityHSV::satTolerance0[8 * 16 + 14], 40);
    EXPECT_EQ(ipcSimilarityHSV::valTolerance0[1 * 16 + 7], 10);
    EXPECT_EQ(ipcSimilarityHSV::valTolerance0[5 * 16 + 3], 40);
    EXPECT_EQ(ipcSimilarityHSV::valTolerance0[5 * 16 + 5], 24);
    EXPECT_EQ(ipcSimilarityHSV::satTolerance1[1 * 16 + 10], 16);
    EXPECT_EQ(ipcSimilarityHSV::satTolerance1[7 * 16 + 3], 64);
    EXPECT_EQ(ipcSimilarityHSV::valTolerance1[0 * 16 + 11], 3);
    EXPECT_EQ(ipcSimilarityHSV::valTolerance1[4 * 16 + 3], 3);
    EXPECT_EQ(ipcSimilarityHSV::valTolerance1[6 * 16 + 2], 2);
}

// The tests as described, table by table, against the packed look-up.
TEST(SimilarityHSV, PackedTolerancesAgreeWithTheTables)
{
    using S = ipcSimilarityHSV;
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> hue(0, 359), byte(0, 255);
    for (int n = 0; n < 200000; ++n) {
        const std::uint32_t p = hsv(hue(rng), byte(rng), byte(rng)), q = hsv(hue(rng), byte(rng), byte(rng));
        const int vMin = std::min(valOf(p), valOf(q)), vMax = std::max(valOf(p), valOf(q));
        const int sMin = std::min(satOf(p), satOf(q)), sMax = std::max(satOf(p), satOf(q));
        int i = (sMin >> 4) * 16 + (vMax >> 4);
        bool expected = !(vMax - vMin > S::valTolerance0[i]) && !(sMax - sMin > S::satTolerance0[i]) &&
                        S::hueDistance(hueOf(p), hueOf(q)) <= S::hueTolerance0[i];
        ASSERT_EQ(S::pixelSimilar(p, q), expected);

        const int v4Min = std::min(valOf(p) >> 4, valOf(q) >> 4), v4Max = std::max(valOf(p) >> 4, valOf(q) >> 4);
        const int s16Min = std::min(satOf(p) & 0xF0, satOf(q) & 0xF0), s16Max = std::max(satOf(p) & 0xF0, satOf(q) & 0xF0);
        i = s16Min + v4Max;
        expected = !(v4Max - v4Min > S::valTolerance1[i]) && !(s16Max - s16Min > S::satTolerance1[i]) &&
                   S::hueDistance(hueOf(p), hueOf(q)) <= S::hueTolerance1[i];
        ASSERT_EQ(S::elementSimilar(p, q), expected);
    }
}

TEST(SmallDivision, ExactForColourSums)
{
    for (int c = 1; c <= 256; ++c)
        for (int s = 0; s < (1 << 16); ++s)
            ASSERT_EQ(divideSum(s, c), s / c) << s << "/" << c;
    for (int c : {3, 7, 255, 256})
        for (int s = (1 << 20) - 5000; s < (1 << 20); ++s)
            ASSERT_EQ(divideSum(s, c), s / c) << s << "/" << c;
    EXPECT_EQ(divideSum(100000, 300), 333);
}

} // namespace
