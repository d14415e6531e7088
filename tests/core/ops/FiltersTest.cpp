#include "color/HsvSinglePrecision.h"
#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

using namespace ivra;
using namespace testpictures;
using Space = OPKuwaharaNagao::Space;

namespace {

// The filter written out plainly, pixel by pixel: from each pair of opposite
// neighbours inside the picture the nearer in colour (the first on a tie), then
// the truncated mean; a pixel without a pair keeps its colour.
Pixels plainIteration(int w, int h, const Pixels& src)
{
    const auto at = [&](int x, int y) { return src[static_cast<std::size_t>(y) * w + x]; };
    const auto distance = [](RGB24 a, RGB24 b) {
        return (a.r - b.r) * (a.r - b.r) + (a.g - b.g) * (a.g - b.g) + (a.b - b.b) * (a.b - b.b);
    };
    Pixels dst(src.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const RGB24 p = at(x, y);
            int sum[3] = {0, 0, 0}, count = 0;
            const auto take = [&](RGB24 first, RGB24 second) {
                const RGB24 t = distance(p, second) < distance(p, first) ? second : first;
                sum[0] += t.r;
                sum[1] += t.g;
                sum[2] += t.b;
                ++count;
            };
            const bool across = x >= 1 && x <= w - 2, down = y >= 1 && y <= h - 2;
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
                           : RGB24{static_cast<std::uint8_t>(sum[0] / count), static_cast<std::uint8_t>(sum[1] / count),
                                   static_cast<std::uint8_t>(sum[2] / count)};
        }
    return dst;
}

} // namespace

TEST(SNN, MatchesThePlainFilterOnRandomPictures)
{
    unsigned seed = 11;
    for (const int levels : {2, 3, 256})
        for (const auto& [w, h] : {std::pair{1, 1}, std::pair{1, 7}, std::pair{7, 1}, std::pair{2, 2}, std::pair{2, 9},
                                   std::pair{9, 2}, std::pair{3, 3}, std::pair{23, 17}}) {
            const Pixels pixels = randomPixels(w, h, levels, ++seed);
            Pixels expected = pixels;
            for (int i = 0; i < 3; ++i)
                expected = plainIteration(w, h, expected);
            EXPECT_EQ(pixelsOf(*OPSNN().execute(*rgbFrom(w, h, pixels), SnnParams{3})), expected)
                << w << "x" << h << ", " << levels << " levels";
        }
}

namespace {

// The HSV-mode colour of four pixels: hues in whole degrees (-1 undefined), the hue
// mean on the circle, S and V as truncated means, all in single precision.
RGB24 plainHsvMean(const RGB24 (&p)[4])
{
    const float unit = 1.0f / 255.0f;
    int hueSum = 0, low = 0, sSum = 0, vSum = 0;
    bool high = false;
    for (const RGB24& q : p) {
        float h, s, v;
        rgbToHsvF(q.r * unit, q.g * unit, q.b * unit, -1.0f, h, s, v);
        const int hue = h >= 0 ? static_cast<int>(h) : -1;
        hueSum += hue;
        low += hue < 61;
        high = high || hue >= 300;
        sSum += static_cast<int>(s * 255.0f);
        vSum += static_cast<int>(v * 255.0f);
    }
    const int mean = (2 + hueSum + (high ? 360 * low : 0)) / 4;
    float r, g, b;
    hsvToRgbF(static_cast<float>(mean % 360), static_cast<float>((sSum / 4) * (1.0 / 255)),
              static_cast<float>((vSum / 4) * (1.0 / 255)), r, g, b);
    return {static_cast<std::uint8_t>(r * 255.0f), static_cast<std::uint8_t>(g * 255.0f),
            static_cast<std::uint8_t>(b * 255.0f)};
}

// One iteration written out plainly: each inner pixel takes the mean colour of the
// least varying of its 2 x 2 sub-windows (upper left, upper right, lower right, lower
// left; the earlier on a tie), variances summed over R, G, B in single precision.
// The outermost rows and columns are left alone.
Pixels plainIteration(int w, int h, const Pixels& src, bool hsv)
{
    Pixels dst = src;
    for (int y = 1; y + 1 < h; ++y)
        for (int x = 1; x + 1 < w; ++x) {
            float bestVariance = 0;
            RGB24 best{};
            const int x0[4] = {x - 1, x, x, x - 1}, y0[4] = {y - 1, y - 1, y, y};
            for (int k = 0; k < 4; ++k) {
                RGB24 q[4];
                float sum[3] = {0, 0, 0}, sumSq[3] = {0, 0, 0}, variance = 0;
                for (int i = 0; i < 4; ++i) {
                    q[i] = src[static_cast<std::size_t>(y0[k] + i / 2) * w + x0[k] + i % 2];
                    const float c[3] = {float(q[i].r), float(q[i].g), float(q[i].b)};
                    for (int ch = 0; ch < 3; ++ch) {
                        sum[ch] += c[ch];
                        sumSq[ch] += c[ch] * c[ch];
                    }
                }
                for (int ch = 0; ch < 3; ++ch)
                    variance += sumSq[ch] / 4 - (sum[ch] / 4) * (sum[ch] / 4);
                if (k > 0 && !(variance < bestVariance))
                    continue;
                bestVariance = variance;
                best = hsv ? plainHsvMean(q)
                           : RGB24{static_cast<std::uint8_t>(sum[0] / 4), static_cast<std::uint8_t>(sum[1] / 4),
                                   static_cast<std::uint8_t>(sum[2] / 4)};
            }
            dst[static_cast<std::size_t>(y) * w + x] = best;
        }
    return dst;
}

Pixels plainFilter(int w, int h, Pixels pixels, int iterations, bool hsv)
{
    for (int i = 0; i < iterations; ++i)
        pixels = plainIteration(w, h, pixels, hsv);
    return pixels;
}

} // namespace

TEST(KuwaharaNagao, MatchesThePlainFilterOnRandomPictures)
{
    unsigned seed = 1;
    for (const int levels : {2, 3, 256})
        for (const auto& [w, h] : {std::pair{1, 1}, std::pair{2, 2}, std::pair{1, 9}, std::pair{9, 1}, std::pair{2, 5},
                                   std::pair{3, 3}, std::pair{17, 11}, std::pair{4, 30}, std::pair{40, 3}}) {
            const Pixels pixels = randomPixels(w, h, levels, ++seed);
            for (const Space space : {Space::RGB, Space::HSV}) {
                const bool hsv = space == Space::HSV;
                EXPECT_EQ(pixelsOf(*OPKuwaharaNagao().execute(*rgbFrom(w, h, pixels), {3, space})),
                          plainFilter(w, h, pixels, 3, hsv))
                    << w << "x" << h << ", " << levels << " levels" << (hsv ? ", HSV" : ", RGB");
            }
        }
}

TEST(KuwaharaNagao, HueMeanWrapsAroundRed)
{
    // Hues below 61 (the undefined -1 among them) count a turn higher when one is 300 or more.
    const std::vector<std::pair<std::vector<int>, int>> cases = {
        {{350, 350, 10, 10}, 0},  {{10, 20, 30, 40}, 25},    {{300, 60, 60, 60}, 30},
        {{300, 61, 61, 61}, 121}, {{299, 10, 10, 10}, 82},   {{-1, -1, 300, 300}, 330},
        {{-1, -1, -1, -1}, 0},    {{359, 359, 359, 0}, 359}, {{359, 60, 60, 60}, 45}};
    for (const auto& [hues, mean] : cases)
        EXPECT_EQ(kuwaharaHueMean({hues[0], hues[1], hues[2], hues[3]}), mean) << hues[0] << " " << hues[2];
}

TEST(Filters, LargePicturesFilteredInChunksOfRowsMatchThePlainFilters)
{
    const int w = 16384, h = 100;
    const Pixels pixels = randomPixels(w, h, 4, 99);
    const auto image = rgbFrom(w, h, pixels);
    EXPECT_EQ(pixelsOf(*OPSNN().execute(*image, SnnParams{1})), plainIteration(w, h, pixels));
    EXPECT_EQ(pixelsOf(*OPKuwaharaNagao().execute(*image, {1, Space::RGB})), plainFilter(w, h, pixels, 1, false));
}

// The filters read the low byte of each plane value, borders included, and write 0..255.
TEST(Filters, ReadTheLowBytesOfThePlanes)
{
    const auto plain = rgbFrom(23, 17, randomPixels(23, 17, 256, 5));
    ImageRGB wide(23, 17);
    for (int c = 0; c < 3; ++c)
        for (std::size_t i = 0; i < wide.pixelCount(); ++i)
            wide.plane(c)[i] = plain->plane(c)[i] + 256 * static_cast<int>((i * 7 + c) % 9) - 1024;
    const auto same = [](const std::unique_ptr<ImageRGB>& a, const std::unique_ptr<ImageRGB>& b) {
        return std::equal(a->plane(0), a->plane(0) + 3 * a->pixelCount(), b->plane(0));
    };
    for (const int n : {1, 2}) {
        EXPECT_TRUE(same(OPSNN().execute(wide, SnnParams{n}), OPSNN().execute(*plain, SnnParams{n}))) << n;
        for (const Space space : {Space::RGB, Space::HSV})
            EXPECT_TRUE(same(OPKuwaharaNagao().execute(wide, {n, space}), OPKuwaharaNagao().execute(*plain, {n, space})));
    }
}
