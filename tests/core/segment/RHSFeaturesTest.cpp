#include "segment/RHSFeatures.h"

#include <gtest/gtest.h>

using namespace ivra::rhs;

namespace {
enum { R, G, B, H, S, V, Y, I, Q };
}

TEST(RHSFeatures, EveryFeatureStaysInsideItsHistogram)
{
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const auto f = pixelFeatures(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                             static_cast<std::uint8_t>(b));
                for (int k = 0; k < featureCount; ++k)
                    ASSERT_TRUE(f[k] >= 0 && f[k] < featureBins[k]) << "feature " << k << " of " << r << "," << g << "," << b;
            }
}

TEST(RHSFeatures, SinglePrecisionUnitValuesAndYIQ)
{
    // R, G, B are the bytes; a gray has hue 0. HSV starts from the float products of
    // byte and 1/255, Y, I, Q are single precision throughout: double arithmetic
    // gives other values for each of these.
    const std::array<int, featureCount> black = {0, 0, 0, 0, 0, 0, 0, 127, 127};
    const std::array<int, featureCount> white = {255, 255, 255, 0, 0, 255, 255, 127, 127};
    EXPECT_EQ(pixelFeatures(0, 0, 0), black);
    EXPECT_EQ(pixelFeatures(255, 255, 255), white);
    const int cases[][5] = {{255, 0, 255, H, 300}, {90, 90, 90, H, 0},    {0, 0, 33, V, 33},     {0, 0, 37, V, 37},
                            {0, 1, 5, H, 227},     {0, 1, 10, H, 233},    {1, 1, 5, S, 203},     {1, 1, 17, S, 239},
                            {0, 24, 8, Y, 15},     {0, 30, 135, Y, 33},   {6, 22, 178, Y, 34},   {15, 83, 121, Y, 66},
                            {148, 229, 79, I, 127}, {164, 191, 141, I, 127}, {255, 0, 0, I, 190}, {0, 255, 255, I, 63},
                            {0, 255, 0, Q, 63},    {255, 0, 255, Q, 190}};
    for (const auto& c : cases)
        EXPECT_EQ(pixelFeatures(static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
                                static_cast<std::uint8_t>(c[2]))[c[3]],
                  c[4])
            << c[0] << "," << c[1] << "," << c[2] << " feature " << c[3];
}
