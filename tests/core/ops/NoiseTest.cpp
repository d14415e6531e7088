#include "ops/OPGauss.h"
#include "ops/OPSaltAndPepper.h"
#include "util/RandomGenerator.h"

#include "core/CapturedMessages.h"
#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ivra;
using namespace testpictures;

namespace {

using Mode = OPSaltAndPepper::Mode;

// Read before main(): nothing has drawn yet, so this is where every run of the program starts.
const std::uint32_t stateAtStart = RandomGenerator::instance().state();

// A copy of the portable generator, to predict what the operators draw.
struct Lcg {
    std::uint32_t state = 1;
    int next()
    {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 16) & 0x7FFF);
    }
    double unit() { return next() * (1.0 / 32767); }
};

// Polar method, first deviate of the pair; the integers are summed first, in 64 bits.
int plainGauss(long long value, int mean, int variance, Lcg& lcg)
{
    double u1, s;
    do {
        u1 = lcg.next() * (2.0 / 32767) - 1;
        const double u2 = lcg.next() * (2.0 / 32767) - 1;
        s = u2 * u2 + u1 * u1;
    } while (s >= 1);
    const double x = static_cast<double>(value + mean) + u1 * std::sqrt((std::log(s) * -2) / s) * variance;
    return x < 0 ? 0 : x > 255 ? 255 : static_cast<int>(x);
}

// Column by column: one draw per pixel, a second one for a hit pixel whatever the mode.
std::vector<int> plainSaltAndPepper(const std::vector<int>& in, int w, int h, Mode mode, int percent, Lcg& lcg)
{
    std::vector<int> out = in;
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
            if (lcg.unit() < percent * 0.01) {
                const double second = lcg.unit();
                const bool white = mode == Mode::Salt || (mode == Mode::SaltAndPepper && second < 0.5);
                out[static_cast<std::size_t>(y) * w + x] = white ? 255 : 0;
            }
    return out;
}

std::vector<int> plane(const std::int32_t* values, std::size_t n)
{
    return {values, values + n};
}

class Noise : public ::testing::Test {
protected:
    void SetUp() override { RandomGenerator::instance().setState(1); }
    CapturedMessages quiet;
};

} // namespace

TEST_F(Noise, GaussDrawsOneDeviatePerValueInPixelThenChannelOrder)
{
    // The portable generator of the C standard from state 1, one sequence for the
    // whole process that runs continue; plane values of any int do not overflow.
    EXPECT_EQ(stateAtStart, 1u);
    Lcg lcg;
    unsigned seed = 0;
    for (const auto& [mean, variance] : {std::pair{0, 10}, std::pair{3, 17}, std::pair{-255, 0}, std::pair{255, 255}}) {
        auto rgb = rgbFrom(7, 5, randomPixels(7, 5, 256, ++seed));
        rgb->red()[0] = 2147483647;
        rgb->green()[1] = -2147483647 - 1;
        const auto noisy = OPGauss().execute(*rgb, mean, variance);
        for (std::size_t i = 0; i < 35; ++i)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(noisy->plane(c)[i], plainGauss(rgb->plane(c)[i], mean, variance, lcg))
                    << mean << "/" << variance;
        auto gray = grayWhere(9, 4, [](int x, int y) { return (x * 37 + y * 91) % 300 - 20; });
        gray->data()[0] = 2147483647;
        gray->data()[1] = -2147483647 - 1;
        const auto noisyGray = OPGauss().execute(*gray, mean, variance);
        for (std::size_t i = 0; i < 36; ++i)
            ASSERT_EQ(noisyGray->data()[i], plainGauss(gray->data()[i], mean, variance, lcg));
        EXPECT_EQ(RandomGenerator::instance().state(), lcg.state);
    }
}

TEST_F(Noise, SaltAndPepperHitsColumnByColumnAndDrawsTwiceForAHit)
{
    // Wider than the strips of columns the operator draws in.
    const int w = 130, h = 5;
    const Pixels pixels = randomPixels(w, h, 256, 4);
    Lcg lcg;
    for (const Mode mode : {Mode::Salt, Mode::Pepper, Mode::SaltAndPepper})
        for (const int percent : {0, 10, 50}) {
            const auto gray = grayWhere(w, h, [&](int x, int y) { return pixels[y * w + x].g; });
            EXPECT_EQ(plane(OPSaltAndPepper().execute(*gray, mode, percent)->data(), w * h),
                      plainSaltAndPepper(plane(gray->data(), w * h), w, h, mode, percent, lcg))
                << "mode " << static_cast<int>(mode) << ", " << percent << "%";
            // A colour pixel is hit as a whole.
            const auto rgb = OPSaltAndPepper().execute(*rgbFrom(w, h, pixels), mode, percent);
            const auto marks = plainSaltAndPepper(std::vector<int>(w * h, -1), w, h, mode, percent, lcg);
            Pixels expected = pixels;
            for (int i = 0; i < w * h; ++i)
                expected[i] = marks[i] < 0
                                  ? pixels[i]
                                  : RGB24{std::uint8_t(marks[i]), std::uint8_t(marks[i]), std::uint8_t(marks[i])};
            EXPECT_EQ(pixelsOf(*rgb), expected) << "mode " << static_cast<int>(mode) << ", " << percent << "%";
        }
    EXPECT_EQ(RandomGenerator::instance().state(), lcg.state);
    // 0 % touches nothing, even where a draw is 0 (the 7498th from state 1).
    RandomGenerator::instance().setState(1);
    const auto flat = grayWhere(100, 75, [](int, int) { return 9; });
    EXPECT_EQ(plane(OPSaltAndPepper().execute(*flat, Mode::SaltAndPepper, 0)->data(), 7500), plane(flat->data(), 7500));
}

TEST_F(Noise, CancelledRunsLeaveTheGeneratorWhereItWas)
{
    const auto rgb = rgbFrom(130, 40, randomPixels(130, 40, 256, 8));
    const auto gray = grayWhere(130, 40, [](int x, int y) { return x + y; });
    const auto cancelSecond = [] { return Progress([calls = 0](double) mutable { return ++calls < 2; }); };
    RandomGenerator::instance().setState(77);
    EXPECT_THROW(OPGauss().execute(*rgb, 0, 10, cancelSecond()), Cancelled);
    EXPECT_THROW(OPGauss().execute(*gray, 0, 10, cancelSecond()), Cancelled);
    EXPECT_THROW(OPSaltAndPepper().execute(*rgb, Mode::SaltAndPepper, 50, cancelSecond()), Cancelled);
    EXPECT_THROW(OPSaltAndPepper().execute(*gray, Mode::SaltAndPepper, 50, cancelSecond()), Cancelled);
    EXPECT_EQ(RandomGenerator::instance().state(), 77u);
}
