#include "segment/OPRegionGrowing.h"

#include "core/CapturedMessages.h"
#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <string>

using namespace ivra;
using namespace testpictures;

namespace {

using Values = std::vector<std::array<long long, 3>>; // per pixel; a gray picture uses the first

// Runs the operator on the picture of `values` and holds it to the growing rule
// written out literally: seeds in column-major order; a queued position joins when
// it is still free and within span of the seed (Euclidean in RGB, absolute
// difference in gray) as it reaches the front. Regions 1, 2, ... are painted in
// their truncated mean; the source pixels are the planes' low bytes.
void expectGrowing(int w, int h, Values values, bool gray, int span, const std::string& what)
{
    ImageRGB rgb(w, h);
    ImageGray grayPicture(w, h);
    Pixels bytes;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (gray)
            values[i] = {values[i][0], values[i][0], values[i][0]};
        grayPicture.data()[i] = static_cast<int>(values[i][0]);
        for (int c = 0; c < 3; ++c)
            rgb.plane(c)[i] = static_cast<int>(values[i][c]);
        bytes.push_back({std::uint8_t(values[i][0]), std::uint8_t(values[i][1]), std::uint8_t(values[i][2])});
    }
    CapturedMessages quiet;
    const auto result = gray ? OPRegionGrowing().execute(grayPicture, span) : OPRegionGrowing().execute(rgb, span);

    const auto similar = [&](int i, int seed) {
        long long d = 0;
        for (int c = 0; c < (gray ? 1 : 3); ++c)
            d += (values[i][c] - values[seed][c]) * (values[i][c] - values[seed][c]);
        return d <= static_cast<long long>(span) * span;
    };
    std::vector<std::uint32_t> labels(values.size(), 0);
    std::vector<std::array<long long, 4>> sums(1);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            if (labels[y * w + x] != 0)
                continue;
            sums.push_back({0, 0, 0, 0});
            for (std::deque<std::pair<int, int>> queue{{x, y}}; !queue.empty(); queue.pop_front()) {
                const auto [px, py] = queue.front();
                const int i = py * w + px;
                if (labels[i] != 0 || !similar(i, y * w + x))
                    continue;
                labels[i] = static_cast<std::uint32_t>(sums.size() - 1);
                sums.back() = {sums.back()[0] + values[i][0], sums.back()[1] + values[i][1],
                               sums.back()[2] + values[i][2], sums.back()[3] + 1};
                for (const auto& [nx, ny] : {std::pair{px - 1, py}, {px, py - 1}, {px + 1, py}, {px, py + 1}})
                    if (nx >= 0 && ny >= 0 && nx < w && ny < h && labels[ny * w + nx] == 0)
                        queue.emplace_back(nx, ny);
            }
        }
    EXPECT_EQ(std::vector<std::uint32_t>(result->labels.data(), result->labels.data() + w * h), labels) << what;
    EXPECT_EQ(Pixels(result->sourcePixels.data(), result->sourcePixels.data() + w * h), bytes) << what;
    for (int i = 0; i < w * h; ++i) {
        const auto& s = sums[labels[i]];
        ASSERT_EQ(result->pixel(i % w, i / w),
                  (ImageColor::Triple{int(s[0] / s[3]), int(s[1] / s[3]), int(s[2] / s[3])}))
            << what;
    }
}

} // namespace

TEST(RegionGrowing, MatchesThePlainRuleOnRandomPictures)
{
    unsigned seed = 0;
    for (const int levels : {2, 3, 256})
        for (const bool gray : {false, true})
            for (const int span : {0, 3, 60, 128, 255}) {
                Values values;
                for (const RGB24 p : randomPixels(31, 17, levels, ++seed))
                    values.push_back({p.r, p.g, p.b});
                expectGrowing(31, 17, values, gray, span,
                              std::to_string(levels) + " levels, span " + std::to_string(span) +
                                  (gray ? ", gray" : ""));
            }
}

TEST(RegionGrowing, OneRegionReachingThousandsOfBranchesAtOnce)
{
    // A comb: the middle row is one colour, the outer rows alternate.
    const int w = 9001;
    Values values;
    for (int i = 0; i < 3 * w; ++i) {
        const long long v = (i / w == 1 || i % w % 2 == 0) ? 40 : 200 + i % w % 3;
        values.push_back({v, v, v});
    }
    expectGrowing(w, 3, values, false, 0, "comb");
}

TEST(RegionGrowing, PlanesFarOutsideTheByteRangeOverflowNeitherSumsNorDistances)
{
    // 90000 pixels of 30000 sum past 2^31; differences of 2e9 square past 2^31.
    expectGrowing(300, 300, Values(90000, {30000, 25000, 30001}), false, 0, "large colour sums");
    Values gray;
    for (int i = 0; i < 90000; ++i)
        gray.push_back({30000 + i % 2, 0, 0});
    expectGrowing(300, 300, gray, true, 1, "large gray sums");
    const Values far = {{-1000000000, 0, 7}, {1000000000, 0, 7}, {-1000000000, 0, 7}};
    expectGrowing(3, 1, far, false, 255, "far colours");
    expectGrowing(3, 1, far, true, 255, "far grays");
}

TEST(RegionGrowing, SegmentedSourceIsReadThroughItsPlanes)
{
    // Halves 0 and 20 with span 40 make one region of mean 10; growing that result
    // again must see the painted 10s, not the 0 / 20 source pixels.
    const auto halves = rgbFrom(4, 1, {{0, 0, 0}, {0, 0, 0}, {20, 20, 20}, {20, 20, 20}});
    const auto second =
        OPRegionGrowing().execute(static_cast<const ImageRGB&>(*OPRegionGrowing().execute(*halves, 40)), 0);
    EXPECT_EQ(second->sourcePixels[3], (RGB24{10, 10, 10}));
    EXPECT_EQ(second->labels[3], 1u);
}
