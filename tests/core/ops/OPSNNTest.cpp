#include "ops/OPSNN.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace ivra;

using namespace testpictures;

namespace {

// The filter written out plainly, pixel by pixel, to hold the optimised kernel to.
std::vector<RGB24> referenceIteration(int w, int h, const std::vector<RGB24>& src)
{
    const auto at = [&](int x, int y) { return src[static_cast<std::size_t>(y) * w + x]; };
    const auto distance = [](RGB24 a, RGB24 b) {
        return (a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b);
    };
    std::vector<RGB24> dst(src.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const RGB24 p = at(x, y);
            int r = 0, g = 0, b = 0, count = 0;
            const auto take = [&](RGB24 first, RGB24 second) {
                const RGB24 t = distance(p, first) > distance(p, second) ? second : first;
                r += t.r;
                g += t.g;
                b += t.b;
                ++count;
            };
            const bool across = x >= 1 && x <= w - 2;
            const bool down = y >= 1 && y <= h - 2;
            if (across)
                take(at(x - 1, y), at(x + 1, y));
            if (down)
                take(at(x, y - 1), at(x, y + 1));
            if (across && down) {
                take(at(x - 1, y - 1), at(x + 1, y + 1));
                take(at(x + 1, y - 1), at(x - 1, y + 1));
            }
            dst[static_cast<std::size_t>(y) * w + x] =
                count == 0 ? p
                           : RGB24{static_cast<std::uint8_t>(r / count), static_cast<std::uint8_t>(g / count),
                                   static_cast<std::uint8_t>(b / count)};
        }
    }
    return dst;
}

std::vector<RGB24> filtered(int w, int h, const std::vector<RGB24>& src)
{
    std::vector<RGB24> dst(src.size(), RGB24{1, 2, 3});
    snnFilter(w, h, reinterpret_cast<const std::uint8_t*>(src.data()), reinterpret_cast<std::uint8_t*>(dst.data()));
    return dst;
}

const RGB24 black{0, 0, 0}, white{255, 255, 255}, red{255, 0, 0}, green{0, 255, 0}, blue{0, 0, 255};

} // namespace

TEST(SNN, UniformAndTinyPicturesStayUnchanged)
{
    const auto image = uniformRgb(7, 5, {3, 99, 250});
    EXPECT_TRUE(samePixels(*image, *OPSNN().execute(*image, 4)));
    const auto dot = uniformRgb(1, 1, {17, 18, 19});
    EXPECT_TRUE(samePixels(*dot, *OPSNN().execute(*dot, 3)));
}

TEST(SNN, StepEdgesStaySharp)
{
    const auto image = rgbWhere(6, 5, [](int x, int) { return x < 3 ? RGB24{250, 20, 20} : RGB24{20, 20, 250}; });
    EXPECT_TRUE(samePixels(*image, *OPSNN().execute(*image, 3)));
}

TEST(SNN, IsolatedDotVanishesInOneIteration)
{
    std::vector<RGB24> pixels(25, RGB24{40, 80, 120});
    pixels[2 * 5 + 2] = white;
    const auto result = OPSNN().execute(*rgbFrom(5, 5, pixels), 1);
    EXPECT_TRUE(samePixels(*result, *uniformRgb(5, 5, {40, 80, 120})));
}

TEST(SNN, CornersKeepTheirColourForAnyIterationCount)
{
    const auto image = rgbFrom(6, 4, randomPixels(6, 4, 256, 5));
    for (const int iterations : {1, 2, 7}) {
        const auto result = OPSNN().execute(*image, iterations);
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{5, 0}, std::pair{0, 3}, std::pair{5, 3}})
            EXPECT_EQ(pixelOf(*result, x, y), pixelOf(*image, x, y));
    }
}

TEST(SNN, TiesGoToTheFirstNamedNeighbour)
{
    EXPECT_EQ(filtered(3, 1, {black, black, white})[1], black);
    EXPECT_EQ(filtered(3, 1, {red, green, red})[1], red);
    EXPECT_EQ(filtered(3, 1, {red, green, blue})[1], red);   // left before right
    EXPECT_EQ(filtered(1, 3, {blue, green, red})[1], blue);  // above before below
    // Inner pixel: every pair ties; the first-named neighbours are left, above,
    // above-left and above-right.
    const RGB24 a{200, 0, 0}, b{0, 0, 200};
    const std::vector<RGB24> pixels = {a, a, a, a, green, b, b, b, b};
    EXPECT_EQ(filtered(3, 3, pixels)[4], a);
}

TEST(SNN, BorderPixelsUseTheirOnePair)
{
    // Top row, not a corner: the nearer of left and right.
    const std::vector<RGB24> pixels = {red, RGB24{250, 0, 0}, blue, white, white, white, white, white, white};
    const auto out = filtered(3, 3, pixels);
    EXPECT_EQ(out[1], red);
    EXPECT_EQ(out[0], red);
    EXPECT_EQ(out[2], blue);
    // Left column: the nearer of above and below; width 2 has no horizontal pair.
    const std::vector<RGB24> column = {green, black, RGB24{0, 10, 0}, black, white, black};
    const auto outColumn = filtered(2, 3, column);
    EXPECT_EQ(outColumn[2], green);
    EXPECT_EQ(outColumn[3], black);
}

TEST(SNN, AgreesWithThePlainFilterOnRandomPictures)
{
    unsigned seed = 11;
    for (const int levels : {2, 3, 256}) {
        for (const auto& [w, h] : {std::pair{1, 1}, std::pair{1, 7}, std::pair{7, 1}, std::pair{2, 2}, std::pair{2, 9},
                                   std::pair{9, 2}, std::pair{3, 3}, std::pair{23, 17}}) {
            auto pixels = randomPixels(w, h, levels, ++seed);
            auto expected = pixels;
            for (int i = 0; i < 3; ++i) {
                expected = referenceIteration(w, h, expected);
                pixels = filtered(w, h, pixels);
            }
            EXPECT_EQ(pixels, expected) << w << "x" << h << " levels " << levels;
            EXPECT_TRUE(samePixels(*rgbFrom(w, h, expected), *OPSNN().execute(*rgbFrom(w, h, randomPixels(w, h, levels, seed)), 3)));
        }
    }
}

TEST(SNN, LargePicturesFilteredInChunksMatchOneSweep)
{
    const int w = 16384, h = 100;
    const auto pixels = randomPixels(w, h, 4, 123);
    int reports = 0;
    const auto result = OPSNN().execute(*rgbFrom(w, h, pixels), 1, ivra::Progress([&](double) {
                                            ++reports;
                                            return true;
                                        }));
    EXPECT_GT(reports, 1);
    EXPECT_TRUE(samePixels(*result, *rgbFrom(w, h, filtered(w, h, pixels))));
}

TEST(SNN, CanBeCancelledAndRefusesBadIterationCounts)
{
    const auto image = uniformRgb(4, 4, {0, 0, 0});
    EXPECT_THROW(OPSNN().execute(*image, 65536, ivra::Progress([](double) { return false; })), ivra::Cancelled);
    EXPECT_THROW(OPSNN().execute(*image, 0), std::invalid_argument);
    EXPECT_THROW(OPSNN().execute(*image, 65537), std::invalid_argument);
}
