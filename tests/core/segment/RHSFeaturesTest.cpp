#include "segment/RHSFeatures.h"

#include <gtest/gtest.h>

using namespace ivra;

namespace {

using ivra::rhs::featureBins;
using ivra::rhs::featureCount;
using ivra::rhs::pixelFeatures;

enum { R, G, B, H, S, V, Y, I, Q };

TEST(RHSFeatures, EveryFeatureStaysInsideItsHistogram)
{
    // Steps of 3 reach 0 and 255 and every residue class of the hue sectors.
    for (int r = 0; r < 256; r += 3) {
        for (int g = 0; g < 256; g += 3) {
            for (int b = 0; b < 256; b += 3) {
                const auto f = pixelFeatures(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                             static_cast<std::uint8_t>(b));
                for (int k = 0; k < featureCount; ++k) {
                    ASSERT_GE(f[k], 0) << "feature " << k << " of " << r << "," << g << "," << b;
                    ASSERT_LT(f[k], featureBins[k]) << "feature " << k << " of " << r << "," << g << "," << b;
                }
                ASSERT_GE(f[I], 63);
                ASSERT_LE(f[I], 190);
                ASSERT_GE(f[Q], 63);
                ASSERT_LE(f[Q], 190);
            }
        }
    }
}

TEST(RHSFeatures, PrimariesAndGrays)
{
    EXPECT_EQ(pixelFeatures(255, 0, 0)[H], 0);
    EXPECT_EQ(pixelFeatures(0, 255, 0)[H], 120);
    EXPECT_EQ(pixelFeatures(0, 0, 255)[H], 240);
    EXPECT_EQ(pixelFeatures(255, 0, 255)[H], 300);
    EXPECT_EQ(pixelFeatures(255, 0, 0)[S], 255);

    // An undefined hue counts as 0; RGB are the bytes themselves.
    const auto black = pixelFeatures(0, 0, 0);
    const std::array<int, featureCount> expectedBlack = {0, 0, 0, 0, 0, 0, 0, 127, 127};
    EXPECT_EQ(black, expectedBlack);
    const auto white = pixelFeatures(255, 255, 255);
    const std::array<int, featureCount> expectedWhite = {255, 255, 255, 0, 0, 255, 255, 127, 127};
    EXPECT_EQ(white, expectedWhite);
    EXPECT_EQ(pixelFeatures(90, 90, 90)[H], 0);
    EXPECT_EQ(pixelFeatures(90, 90, 90)[S], 0);
}

TEST(RHSFeatures, HsvStartsFromSinglePrecisionUnitValues)
{
    // With the double 1/255 these come out one higher or lower; the float product
    // of byte and constant decides.
    EXPECT_EQ(pixelFeatures(0, 0, 33)[V], 33);
    EXPECT_EQ(pixelFeatures(0, 0, 37)[V], 37);
    EXPECT_EQ(pixelFeatures(0, 1, 5)[H], 227);
    EXPECT_EQ(pixelFeatures(0, 1, 10)[H], 233);
    EXPECT_EQ(pixelFeatures(1, 1, 5)[S], 203);
    EXPECT_EQ(pixelFeatures(1, 1, 17)[S], 239);
}

TEST(RHSFeatures, YiqIsSinglePrecisionThroughout)
{
    // Double arithmetic, or float inputs with double coefficients, give other values.
    EXPECT_EQ(pixelFeatures(0, 24, 8)[Y], 15);
    EXPECT_EQ(pixelFeatures(0, 30, 135)[Y], 33);
    EXPECT_EQ(pixelFeatures(6, 22, 178)[Y], 34);
    EXPECT_EQ(pixelFeatures(15, 83, 121)[Y], 66);
    EXPECT_EQ(pixelFeatures(148, 229, 79)[I], 127);
    EXPECT_EQ(pixelFeatures(164, 191, 141)[I], 127);
    // Extremes of I and Q.
    EXPECT_EQ(pixelFeatures(255, 0, 0)[I], 190);
    EXPECT_EQ(pixelFeatures(0, 255, 255)[I], 63);
}

} // namespace
