#include "ops/OPSNN.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ivra;
using namespace testpictures;

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
            EXPECT_EQ(pixelsOf(*OPSNN().execute(*rgbFrom(w, h, pixels), 3)), expected)
                << w << "x" << h << ", " << levels << " levels";
        }
}

TEST(SNN, LargePicturesFilteredInChunksMatchThePlainFilter)
{
    const int w = 16384, h = 100;
    const Pixels pixels = randomPixels(w, h, 4, 123);
    int reports = 0;
    const auto result = OPSNN().execute(*rgbFrom(w, h, pixels), 1, Progress([&](double) { return ++reports > 0; }));
    EXPECT_GT(reports, 1);
    EXPECT_EQ(pixelsOf(*result), plainIteration(w, h, pixels));
}
