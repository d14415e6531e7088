#include "segment/OPRegionGrowing.h"

#include "ops/OPColorTransform.h"
#include "ops/OPSplit.h"

#include "core/CapturedMessages.h"
#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

using namespace ivra;

namespace {

using testpictures::grayWhere;
using testpictures::rgbWhere;

struct Rgb {
    int r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

Rgb resultAt(const ImageSegmented& s, int x, int y)
{
    const auto p = s.pixel(x, y);
    return {p[0], p[1], p[2]};
}

// The growing rule written out literally: the queue may hold a position several
// times, and a position is tested against the seed when it reaches the front.
// Sums are 64-bit, as in the operator.
struct Reference {
    std::vector<std::uint32_t> labels;
    std::vector<Rgb> colours;
};

Reference referenceGrowing(int w, int h, int channels, const std::vector<int>& values, int span)
{
    auto value = [&](int x, int y, int c) { return values[(static_cast<std::size_t>(y) * w + x) * channels + c]; };
    auto similar = [&](int x, int y, int sx, int sy) {
        if (channels == 1)
            return std::abs(value(x, y, 0) - value(sx, sy, 0)) <= span;
        long long d = 0;
        for (int c = 0; c < 3; ++c)
            d += static_cast<long long>(value(x, y, c) - value(sx, sy, c)) * (value(x, y, c) - value(sx, sy, c));
        return d <= static_cast<long long>(span) * span;
    };
    Reference ref;
    ref.labels.assign(static_cast<std::size_t>(w) * h, 0);
    auto label = [&](int x, int y) -> std::uint32_t& { return ref.labels[static_cast<std::size_t>(y) * w + x]; };
    std::uint32_t count = 0;
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            if (label(x, y) != 0)
                continue;
            ++count;
            std::deque<std::pair<int, int>> queue{{x, y}};
            while (!queue.empty()) {
                const auto [px, py] = queue.front();
                if (label(px, py) == 0 && similar(px, py, x, y)) {
                    label(px, py) = count;
                    const std::pair<int, int> next[] = {{px - 1, py}, {px, py - 1}, {px + 1, py}, {px, py + 1}};
                    for (const auto& [nx, ny] : next)
                        if (nx >= 0 && ny >= 0 && nx < w && ny < h && label(nx, ny) == 0)
                            queue.emplace_back(nx, ny);
                }
                queue.pop_front();
            }
        }
    std::vector<long long> sums(static_cast<std::size_t>(count + 1) * 3, 0);
    std::vector<long long> counts(count + 1, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t l = label(x, y);
            ++counts[l];
            for (int c = 0; c < 3; ++c)
                sums[l * 3 + c] += value(x, y, channels == 1 ? 0 : c);
        }
    for (std::size_t i = 0; i < ref.labels.size(); ++i) {
        const std::uint32_t l = ref.labels[i];
        ref.colours.push_back({static_cast<int>(sums[l * 3] / counts[l]), static_cast<int>(sums[l * 3 + 1] / counts[l]),
                               static_cast<int>(sums[l * 3 + 2] / counts[l])});
    }
    return ref;
}

void expectMatchesReference(const ImageSegmented& result, const Reference& ref, const std::string& what)
{
    const int w = result.width();
    for (std::size_t i = 0; i < ref.labels.size(); ++i) {
        const int x = static_cast<int>(i % w), y = static_cast<int>(i / w);
        ASSERT_EQ(result.labels.at(x, y), ref.labels[i]) << what << " at (" << x << ", " << y << ")";
        ASSERT_EQ(resultAt(result, x, y), ref.colours[i]) << what << " at (" << x << ", " << y << ")";
    }
}

const OPRegionGrowing op;

} // namespace

TEST(RegionGrowingRegions, SpanZeroGivesTheFourConnectedAreasOfEqualColour)
{
    // Three vertical bands; the middle one is split by a row of another colour,
    // and the two outer bands share a colour without touching.
    const Rgb a{10, 20, 30}, b{11, 20, 30}, c{200, 0, 0};
    auto image = rgbWhere(6, 5, [&](int x, int y) {
        if (x < 2 || x >= 4)
            return a;
        return y == 2 ? c : b;
    });
    const auto result = op.execute(*image, 0);
    // Column-major seeds: left band 1, upper middle 2, the row 3, lower middle 4, right band 5.
    const std::uint32_t expected[5][6] = {{1, 1, 2, 2, 5, 5},
                                          {1, 1, 2, 2, 5, 5},
                                          {1, 1, 3, 3, 5, 5},
                                          {1, 1, 4, 4, 5, 5},
                                          {1, 1, 4, 4, 5, 5}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(result->labels.at(x, y), expected[y][x]) << "(" << x << ", " << y << ")";
    EXPECT_EQ(resultAt(*result, 0, 0), a);
    EXPECT_EQ(resultAt(*result, 2, 0), b);
    EXPECT_EQ(resultAt(*result, 3, 2), c);
}

TEST(RegionGrowingRegions, DiagonalContactGivesSeparateRegions)
{
    const Rgb red{255, 0, 0}, blue{0, 0, 255};
    auto image = rgbWhere(2, 2, [&](int x, int y) { return (x + y) % 2 == 0 ? red : blue; });
    const auto result = op.execute(*image, 0);
    // Column-major: (0,0), (0,1), (1,0), (1,1).
    EXPECT_EQ(result->labels.at(0, 0), 1u);
    EXPECT_EQ(result->labels.at(0, 1), 2u);
    EXPECT_EQ(result->labels.at(1, 0), 3u);
    EXPECT_EQ(result->labels.at(1, 1), 4u);
}

TEST(RegionGrowingRegions, SingleColourGivesOneRegionInThatColour)
{
    auto image = rgbWhere(7, 4, [](int, int) { return Rgb{12, 34, 56}; });
    const auto result = op.execute(*image, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(result->labels.at(x, y), 1u);
            EXPECT_EQ(resultAt(*result, x, y), (Rgb{12, 34, 56}));
        }
}

TEST(RegionGrowingRegions, RampIsCutIntoBandsWithinSpanOfTheirSeed)
{
    // Gray ramp 0..99 along x; with span 10 each band holds its seed's value to
    // seed + 10: columns 0-10, 11-21, ... Comparing with the region mean or with
    // the neighbour instead would give other bands (or one region).
    auto gray = grayWhere(100, 3, [](int x, int) { return x; });
    const auto g = op.execute(*gray, 10);
    auto colour = rgbWhere(100, 3, [](int x, int) { return Rgb{x, 0, 0}; });
    const auto c = op.execute(*colour, 10);
    for (int x = 0; x < 100; ++x) {
        const int band = x / 11;
        const int first = band * 11, last = std::min(first + 10, 99);
        const int mean = (first + last) / 2;
        for (int y = 0; y < 3; ++y) {
            EXPECT_EQ(g->labels.at(x, y), static_cast<std::uint32_t>(band + 1)) << x;
            EXPECT_EQ(c->labels.at(x, y), static_cast<std::uint32_t>(band + 1)) << x;
            EXPECT_EQ(resultAt(*g, x, y), (Rgb{mean, mean, mean})) << x;
            EXPECT_EQ(resultAt(*c, x, y), (Rgb{mean, 0, 0})) << x;
        }
    }
}

TEST(RegionGrowingRegions, ColourSimilarityIsEuclideanDistanceToTheSeed)
{
    // (3, 4, 0) lies at distance 5 from black: inside span 5, outside span 4.
    auto image = rgbWhere(2, 1, [](int x, int) { return x == 0 ? Rgb{0, 0, 0} : Rgb{3, 4, 0}; });
    EXPECT_EQ(op.execute(*image, 5)->labels.at(1, 0), 1u);
    EXPECT_EQ(op.execute(*image, 4)->labels.at(1, 0), 2u);
}

TEST(RegionGrowingRegions, LabelsStartAtOneAndFollowTheColumnMajorSeedOrder)
{
    std::mt19937 random(7);
    std::uniform_int_distribution<int> level(0, 3);
    auto image = rgbWhere(13, 9, [&](int, int) { return Rgb{level(random) * 60, level(random) * 60, 0}; });
    const auto result = op.execute(*image, 30);
    std::uint32_t next = 1;
    std::set<std::uint32_t> seen;
    for (int x = 0; x < 13; ++x)
        for (int y = 0; y < 9; ++y) {
            const std::uint32_t l = result->labels.at(x, y);
            ASSERT_GE(l, 1u);
            if (seen.insert(l).second) {
                ASSERT_EQ(l, next++) << "first pixel of a new label at (" << x << ", " << y << ")";
            }
        }
    EXPECT_GT(seen.size(), 10u);
}

TEST(RegionGrowingRegions, MatchesTheQueueRuleOnRandomPictures)
{
    std::mt19937 random(42);
    for (const int span : {0, 3, 20, 60, 255}) {
        for (const int channels : {1, 3}) {
            const int w = 31, h = 17;
            std::uniform_int_distribution<int> value(0, 80);
            std::vector<int> values(static_cast<std::size_t>(w) * h * channels);
            for (int& v : values)
                v = value(random);
            const Reference ref = referenceGrowing(w, h, channels, values, span);
            const std::string what = std::to_string(channels) + " channel(s), span " + std::to_string(span);
            if (channels == 1) {
                auto image = grayWhere(w, h, [&](int x, int y) { return values[static_cast<std::size_t>(y) * w + x]; });
                expectMatchesReference(*op.execute(*image, span), ref, what);
            } else {
                auto image = rgbWhere(w, h, [&](int x, int y) {
                    const std::size_t i = (static_cast<std::size_t>(y) * w + x) * 3;
                    return Rgb{values[i], values[i + 1], values[i + 2]};
                });
                expectMatchesReference(*op.execute(*image, span), ref, what);
            }
        }
    }
}

TEST(RegionGrowingRegions, RegionWithThousandsOfBranchesMatchesTheQueueRule)
{
    // A comb: the middle row is one colour, the outer rows alternate, so one
    // region reaches thousands of separate teeth at once.
    const int w = 9001, h = 3;
    std::vector<int> values(static_cast<std::size_t>(w) * h * 3);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int v = (y == 1 || x % 2 == 0) ? 40 : 200 + x % 3;
            for (int c = 0; c < 3; ++c)
                values[(static_cast<std::size_t>(y) * w + x) * 3 + c] = v;
        }
    auto image = rgbWhere(w, h, [&](int x, int y) {
        const int v = values[(static_cast<std::size_t>(y) * w + x) * 3];
        return Rgb{v, v, v};
    });
    const auto result = op.execute(*image, 0);
    expectMatchesReference(*result, referenceGrowing(w, h, 3, values, 0), "comb");
    EXPECT_EQ(result->labels.at(w - 1, 2), 1u);
}

TEST(RegionGrowingResult, GrayInputGivesAGrayResultAndGraySourcePixels)
{
    auto image = grayWhere(8, 6, [](int x, int y) { return (x * 37 + y * 11) % 256; });
    const auto result = op.execute(*image, 40);
    EXPECT_TRUE(result->isSegmented());
    EXPECT_EQ(result->type(), TypeImageRGB);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const Rgb c = resultAt(*result, x, y);
            EXPECT_EQ(c.r, c.g);
            EXPECT_EQ(c.r, c.b);
            EXPECT_GE(result->labels.at(x, y), 1u);
            const auto v = static_cast<std::uint8_t>(image->at(x, y));
            EXPECT_EQ(result->sourcePixels.at(x, y), (RGB24{v, v, v}));
        }
}

TEST(RegionGrowingResult, ColourSourcePixelsKeepTheLowByteOfEachPlane)
{
    auto image = rgbWhere(3, 2, [](int x, int y) { return Rgb{x * 100, y * 200, 300}; });
    const auto result = op.execute(*image, 0);
    EXPECT_EQ(result->sourcePixels.at(2, 1), (RGB24{200, 200, 300 & 0xff}));
    EXPECT_EQ(result->sourcePixels.at(0, 0), (RGB24{0, 0, 300 & 0xff}));
}

TEST(RegionGrowingResult, SegmentedSourceIsReadThroughItsPlanes)
{
    // Two halves 0 and 20 with span 40 give one region of mean 10; growing that
    // result again must see the painted 10s, not the 0/20 source pixels.
    auto image = rgbWhere(4, 2, [](int x, int) { return x < 2 ? Rgb{0, 0, 0} : Rgb{20, 20, 20}; });
    const auto first = op.execute(*image, 40);
    ASSERT_EQ(resultAt(*first, 0, 0), (Rgb{10, 10, 10}));
    const auto second = op.execute(static_cast<const ImageRGB&>(*first), 0);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(second->sourcePixels.at(x, 0), (RGB24{10, 10, 10}));
        EXPECT_EQ(second->labels.at(x, 0), 1u);
    }
}

TEST(RegionGrowingResult, OtherOperatorsSeeTheResultAsItsRgbPlanes)
{
    // Left half two close reds (one region, mean (201, 0, 0)), right half pure blue.
    auto image = rgbWhere(4, 2, [](int x, int y) { return x < 2 ? Rgb{200 + y * 3, 0, 0} : Rgb{0, 0, 255}; });
    const auto result = op.execute(*image, 10);
    const ImageRGB& asRgb = *result;

    const auto red = OPSplit().red(asRgb);
    EXPECT_EQ(red->at(0, 0), 201);
    EXPECT_EQ(red->at(1, 1), 201);
    EXPECT_EQ(red->at(3, 0), 0);

    const auto hsv = OPColorTransform().RGB2HSV(asRgb);
    EXPECT_EQ(hsv->pixel(0, 1), (ImageColor::Triple{0, 255, 201}));
    EXPECT_EQ(hsv->pixel(3, 1), (ImageColor::Triple{240, 255, 255}));
}

TEST(RegionGrowingResult, MeanOfARegionWhoseSumsExceed32Bits)
{
    // 300 x 300 pixels of 30000 sum to 2.7e9 per channel, past 2^31; a 32-bit sum
    // would wrap and give a negative mean. (Values of 255 need a region of about
    // 8.4 million pixels for the same overflow.)
    auto colour = rgbWhere(300, 300, [](int, int) { return Rgb{30000, 25000, 30001}; });
    const auto c = op.execute(*colour, 0);
    EXPECT_EQ(resultAt(*c, 0, 0), (Rgb{30000, 25000, 30001}));
    EXPECT_EQ(resultAt(*c, 299, 299), (Rgb{30000, 25000, 30001}));
    auto gray = grayWhere(300, 300, [](int x, int) { return 30000 + (x % 2); });
    const auto g = op.execute(*gray, 1);
    EXPECT_EQ(resultAt(*g, 150, 150), (Rgb{30000, 30000, 30000}));
}

TEST(RegionGrowingResult, PlanesFarOutsideTheByteRangeDoNotOverflowTheDistance)
{
    // Differences near 2^32 would overflow a plain int square; they must still
    // count as far apart.
    auto image = rgbWhere(2, 1, [](int x, int) { return x == 0 ? Rgb{-2000000000, 0, 0} : Rgb{2000000000, 0, 0}; });
    EXPECT_EQ(op.execute(*image, 255)->labels.at(1, 0), 2u);
    auto gray = grayWhere(2, 1, [](int x, int) { return x == 0 ? -2000000000 : 2000000000; });
    EXPECT_EQ(op.execute(*gray, 255)->labels.at(1, 0), 2u);
}

TEST(RegionGrowingRun, SpanOutsideItsRangeIsRefused)
{
    auto image = rgbWhere(2, 2, [](int, int) { return Rgb{0, 0, 0}; });
    EXPECT_THROW(op.execute(*image, -1), std::invalid_argument);
    EXPECT_THROW(op.execute(*image, 256), std::invalid_argument);
    auto gray = grayWhere(2, 2, [](int, int) { return 0; });
    EXPECT_THROW(op.execute(*gray, 256), std::invalid_argument);
    EXPECT_NO_THROW(op.execute(*gray, 255));
}

TEST(RegionGrowingRun, EmptyPictureGivesAnEmptyResult)
{
    const ImageRGB image(0, 5);
    const auto result = op.execute(image, 50);
    EXPECT_EQ(result->width(), 0);
    EXPECT_EQ(result->labels.size(), 0u);
}

TEST(RegionGrowingRun, ReportsProgressAndCanBeCancelled)
{
    auto image = rgbWhere(10, 4, [](int x, int) { return Rgb{x * 30, 0, 0}; });
    std::vector<double> fractions;
    op.execute(*image, 0, ivra::Progress([&](double f) {
                   fractions.push_back(f);
                   return true;
               }));
    ASSERT_FALSE(fractions.empty());
    EXPECT_DOUBLE_EQ(fractions.back(), 1.0);
    int calls = 0;
    EXPECT_THROW(op.execute(*image, 0, ivra::Progress([&](double) { return ++calls < 3; })), ivra::Cancelled);
}

TEST(RegionGrowingRun, GrayRunAnnouncesItselfThroughTheMessageSink)
{
    CapturedMessages capture;
    op.execute(*rgbWhere(2, 2, [](int, int) { return Rgb{1, 2, 3}; }), 5);
    EXPECT_TRUE(capture.lines.empty());
    op.execute(*grayWhere(2, 2, [](int, int) { return 9; }), 5);
    EXPECT_EQ(capture.lines, std::vector<std::string>{"hier"});
}
