#include "ops/OPGauss.h"
#include "ops/OPSaltAndPepper.h"
#include "util/RandomGenerator.h"

#include "core/CapturedMessages.h"
#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

using namespace ivra;

using ivra::RandomGenerator;
using namespace testpictures;

namespace {

// An independent copy of the portable generator, to predict what the operators draw.
struct Lcg {
    std::uint32_t state;
    int next()
    {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
};

double referenceDeviate(Lcg& lcg)
{
    for (;;) {
        const double u1 = lcg.next() * (2.0 / 32767) - 1;
        const double u2 = lcg.next() * (2.0 / 32767) - 1;
        const double s = u2 * u2 + u1 * u1;
        if (s < 1)
            return u1 * std::sqrt((std::log(s) * -2) / s);
    }
}

int referenceGauss(int value, int mean, int variance, Lcg& lcg)
{
    const double x = (value + mean) + referenceDeviate(lcg) * variance;
    return x < 0 ? 0 : x > 255 ? 255 : static_cast<int>(x);
}

class NoiseTest : public ::testing::Test {
protected:
    void SetUp() override { RandomGenerator::instance().setState(RandomGenerator::initialState); }
    static std::uint32_t state() { return RandomGenerator::instance().state(); }
};

} // namespace

// --- Gauss noise ---------------------------------------------------------------

TEST_F(NoiseTest, GaussWithoutSpreadAddsTheMeanAndClamps)
{
    const auto gray = grayFrom(4, 1, {240, 10, 0, 255});
    const auto result = OPGauss().execute(*gray, 20, 0);
    EXPECT_EQ(std::vector<int>(result->data(), result->data() + 4), (std::vector<int>{255, 30, 20, 255}));

    const auto black = OPGauss().execute(*uniformRgb(3, 2, {255, 128, 7}), -255, 0);
    for (std::size_t i = 0; i < black->pixelCount(); ++i) {
        EXPECT_EQ(black->red()[i], 0);
        EXPECT_EQ(black->green()[i], 0);
        EXPECT_EQ(black->blue()[i], 0);
    }
}

TEST_F(NoiseTest, GaussStaysWithinTheByteRange)
{
    const auto image = uniformRgb(64, 64, {0, 128, 255});
    const auto result = OPGauss().execute(*image, 0, 255);
    bool low = false, high = false;
    for (int c = 0; c < 3; ++c) {
        for (std::size_t i = 0; i < result->pixelCount(); ++i) {
            const int v = result->plane(c)[i];
            ASSERT_GE(v, 0);
            ASSERT_LE(v, 255);
            low = low || v == 0;
            high = high || v == 255;
        }
    }
    EXPECT_TRUE(low && high); // a spread of 255 pushes values past both ends
}

TEST_F(NoiseTest, GaussDrawsOneDeviatePerChannelInPixelOrder)
{
    const auto image = rgbFrom(2, 2, {{10, 20, 30}, {40, 50, 60}, {70, 80, 90}, {100, 110, 120}});
    const auto result = OPGauss().execute(*image, 3, 17);
    Lcg lcg{RandomGenerator::initialState};
    for (std::size_t i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(result->plane(c)[i], referenceGauss(image->plane(c)[i], 3, 17, lcg)) << i << "/" << c;
    EXPECT_EQ(state(), lcg.state);

    // A gray pixel draws like one channel: at least two numbers each.
    const auto gray = grayFrom(5, 1, {0, 50, 100, 150, 200});
    const std::uint32_t before = state();
    const auto noisy = OPGauss().execute(*gray, -4, 40);
    Lcg grayLcg{before};
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(noisy->data()[i], referenceGauss(gray->data()[i], -4, 40, grayLcg));
    EXPECT_EQ(state(), grayLcg.state);
}

TEST_F(NoiseTest, GaussRunsContinueTheSequence)
{
    const auto image = uniformRgb(8, 8, {100, 100, 100});
    const auto first = OPGauss().execute(*image, 0, 30);
    const auto second = OPGauss().execute(*image, 0, 30);
    EXPECT_FALSE(samePixels(*first, *second));
    RandomGenerator::instance().setState(RandomGenerator::initialState);
    EXPECT_TRUE(samePixels(*first, *OPGauss().execute(*image, 0, 30)));
}

TEST_F(NoiseTest, GaussRefusesParametersOutsideTheDialogRanges)
{
    const auto gray = grayFrom(1, 1, {0});
    EXPECT_THROW(OPGauss().execute(*gray, -256, 0), std::invalid_argument);
    EXPECT_THROW(OPGauss().execute(*gray, 256, 0), std::invalid_argument);
    EXPECT_THROW(OPGauss().execute(*gray, 0, -1), std::invalid_argument);
    EXPECT_THROW(OPGauss().execute(*gray, 0, 256), std::invalid_argument);
    EXPECT_EQ(state(), RandomGenerator::initialState);
}

TEST_F(NoiseTest, CancelledGaussLeavesTheGeneratorAlone)
{
    const auto image = uniformRgb(10, 10, {1, 2, 3});
    int calls = 0;
    const ivra::Progress cancelLater([&](double) { return ++calls < 3; });
    EXPECT_THROW(OPGauss().execute(*image, 0, 10, cancelLater), ivra::Cancelled);
    EXPECT_EQ(state(), RandomGenerator::initialState);
}

// --- Salt-and-pepper noise -------------------------------------------------------

TEST_F(NoiseTest, SaltAndPepperAtZeroCopiesButDrawsOncePerPixel)
{
    const auto image = rgbFrom(3, 1, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    const auto result = OPSaltAndPepper().execute(*image, OPSaltAndPepper::SaltAndPepper, 0);
    EXPECT_TRUE(samePixels(*image, *result));
    Lcg lcg{RandomGenerator::initialState};
    for (int i = 0; i < 3; ++i)
        lcg.next();
    EXPECT_EQ(state(), lcg.state);
}

TEST_F(NoiseTest, SaltAndPepperVisitsColumnsAndDrawsTwiceForAHit)
{
    const int width = 130, height = 5; // wider than the strips the operator draws in
    std::vector<int> values(width * height);
    for (int i = 0; i < width * height; ++i)
        values[i] = 100 + i;
    const auto gray = grayFrom(width, height, values);
    const auto result = OPSaltAndPepper().execute(*gray, OPSaltAndPepper::SaltAndPepper, 50);

    Lcg lcg{RandomGenerator::initialState};
    int hits = 0;
    for (int x = 0; x < width; ++x) {
        for (int y = 0; y < height; ++y) {
            const int i = y * width + x;
            int expected = values[i];
            if (lcg.next() * (1.0 / 32767) < 0.5) {
                expected = lcg.next() * (1.0 / 32767) < 0.5 ? 255 : 0;
                ++hits;
            }
            EXPECT_EQ(result->data()[i], expected) << x << "," << y;
        }
    }
    EXPECT_GT(hits, 0);
    EXPECT_EQ(state(), lcg.state);
}

TEST_F(NoiseTest, SaltAndPepperModesPaintWhiteOrBlack)
{
    const auto gray = grayFrom(40, 40, std::vector<int>(1600, 128));
    for (const auto& [mode, colour] : {std::pair{OPSaltAndPepper::Salt, 255}, std::pair{OPSaltAndPepper::Pepper, 0}}) {
        const auto result = OPSaltAndPepper().execute(*gray, mode, 50);
        int hit = 0;
        for (std::size_t i = 0; i < 1600; ++i) {
            const int v = result->data()[i];
            ASSERT_TRUE(v == 128 || v == colour);
            hit += v == colour;
        }
        EXPECT_GT(hit, 600);
        EXPECT_LT(hit, 1000);
    }

    const auto rgb = uniformRgb(40, 40, {10, 128, 200});
    const auto both = OPSaltAndPepper().execute(*rgb, OPSaltAndPepper::SaltAndPepper, 50);
    int white = 0, black = 0;
    for (std::size_t i = 0; i < 1600; ++i) {
        const auto p = both->pixel(static_cast<int>(i % 40), static_cast<int>(i / 40));
        if (p == ImageColor::Triple{255, 255, 255})
            ++white;
        else if (p == ImageColor::Triple{0, 0, 0})
            ++black;
        else
            ASSERT_EQ(p, (ImageColor::Triple{10, 128, 200}));
    }
    EXPECT_GT(white + black, 600);
    EXPECT_LT(white + black, 1000);
    EXPECT_GT(white, (white + black) / 3);
    EXPECT_GT(black, (white + black) / 3);
}

TEST_F(NoiseTest, SaltAndPepperReportsItsRgbRunOnly)
{
    CapturedMessages messages;
    OPSaltAndPepper().execute(*uniformRgb(2, 2, {0, 0, 0}), OPSaltAndPepper::Salt, 10);
    OPSaltAndPepper().execute(*grayFrom(2, 2, {0, 0, 0, 0}), OPSaltAndPepper::Salt, 10);
    EXPECT_EQ(messages.lines, (std::vector<std::string>{"OPSaltAndPepper::execute(const ImageRGB& src, int mode, int value)"}));
}

TEST_F(NoiseTest, SaltAndPepperRefusesBadModesAndLevels)
{
    const auto gray = grayFrom(1, 1, {0});
    EXPECT_THROW(OPSaltAndPepper().execute(*gray, 3, 10), std::invalid_argument);
    EXPECT_THROW(OPSaltAndPepper().execute(*gray, -1, 10), std::invalid_argument);
    EXPECT_THROW(OPSaltAndPepper().execute(*gray, 0, 51), std::invalid_argument);
    EXPECT_THROW(OPSaltAndPepper().execute(*gray, 0, -1), std::invalid_argument);
    EXPECT_EQ(state(), RandomGenerator::initialState);
}
