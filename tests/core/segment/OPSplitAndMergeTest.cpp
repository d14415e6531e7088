#include "segment/OPSplitAndMerge.h"

#include "core/CapturedMessages.h"
#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <map>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

using namespace ivra;

namespace {

using testpictures::rgbWhere;

std::unique_ptr<ImageRGB> uniform(int w, int h, RGB24 c)
{
    return testpictures::uniformRgb(w, h, c);
}

RGB24 grey(int v)
{
    return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v)};
}

RGB24 red(int v)
{
    return {static_cast<std::uint8_t>(v), 0, 0};
}

std::unique_ptr<ImageSegmented> run(const ImageRGB& image, double split, double merge, double group)
{
    return OPSplitAndMerge().execute(image, split, merge, group);
}

RGB24 painted(const ImageSegmented& s, int x, int y)
{
    const auto p = s.pixel(x, y);
    return {static_cast<std::uint8_t>(p[0]), static_cast<std::uint8_t>(p[1]), static_cast<std::uint8_t>(p[2])};
}

std::vector<std::uint32_t> labelRows(const ImageSegmented& s)
{
    return {s.labels.data(), s.labels.data() + s.labels.size()};
}

std::set<std::uint32_t> distinctLabels(const ImageSegmented& s)
{
    return {s.labels.data(), s.labels.data() + s.labels.size()};
}

// Every region is one 4-connected piece painted in one colour within 0..255.
void expectSoundRegions(const ImageSegmented& s)
{
    const int w = s.width();
    const int h = s.height();
    std::map<std::uint32_t, RGB24> colour;
    std::map<std::uint32_t, int> area;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto p = s.pixel(x, y);
            for (int c = 0; c < 3; ++c)
                ASSERT_TRUE(p[c] >= 0 && p[c] <= 255);
            const std::uint32_t l = s.labels.at(x, y);
            const auto [it, fresh] = colour.emplace(l, painted(s, x, y));
            ASSERT_TRUE(fresh || it->second == painted(s, x, y)) << "label " << l << " has two colours";
            ++area[l];
        }
    std::vector<char> seen(static_cast<std::size_t>(w) * h, 0);
    std::set<std::uint32_t> pieces;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (seen[static_cast<std::size_t>(y) * w + x])
                continue;
            const std::uint32_t l = s.labels.at(x, y);
            ASSERT_TRUE(pieces.insert(l).second) << "label " << l << " is not connected";
            std::vector<std::pair<int, int>> stack{{x, y}};
            seen[static_cast<std::size_t>(y) * w + x] = 1;
            while (!stack.empty()) {
                const auto [px, py] = stack.back();
                stack.pop_back();
                for (const auto& [qx, qy] : {std::pair{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}}) {
                    if (qx < 0 || qy < 0 || qx >= w || qy >= h || s.labels.at(qx, qy) != l ||
                        seen[static_cast<std::size_t>(qy) * w + qx])
                        continue;
                    seen[static_cast<std::size_t>(qy) * w + qx] = 1;
                    stack.push_back({qx, qy});
                }
            }
        }
}

// Quiet by default: the progress lines of every run would flood the test log.
class SplitAndMerge : public ::testing::Test {
protected:
    CapturedMessages messages;
};

} // namespace

TEST_F(SplitAndMerge, UniformPictureIsOneRegionInItsColour)
{
    const auto s = run(*uniform(7, 5, {12, 200, 99}), 10, 10, 20);
    EXPECT_TRUE(s->isSegmented());
    EXPECT_EQ(distinctLabels(*s), std::set<std::uint32_t>{0});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
            EXPECT_EQ(painted(*s, x, y), (RGB24{12, 200, 99}));
            EXPECT_EQ(s->sourcePixels.at(x, y), (RGB24{12, 200, 99}));
        }
}

// Sums of a megapixel overflow single precision; a uniform picture must still
// have no variance.
TEST_F(SplitAndMerge, UniformMegapixelPictureIsNotSplit)
{
    const auto s = run(*uniform(1024, 1024, {255, 254, 251}), 1, 0, 0);
    EXPECT_EQ(distinctLabels(*s), std::set<std::uint32_t>{0});
    EXPECT_EQ(painted(*s, 1023, 1023), (RGB24{255, 254, 251}));
}

// A 254/255 checkerboard has a variance of exactly 0.25 per channel at every
// block size; the split decision must see exactly 0.75 however large the block.
TEST_F(SplitAndMerge, VarianceOfLargeBlocksIsExact)
{
    const auto board = rgbWhere(256, 256, [](int x, int y) { return grey((x + y) % 2 ? 255 : 254); });
    const auto below = run(*board, 0.7500001, 0, 0);
    EXPECT_EQ(distinctLabels(*below), std::set<std::uint32_t>{0});
    EXPECT_EQ(painted(*below, 10, 10), grey(254)); // mean 254.5, truncated

    const auto at = run(*board, 0.75, 0, 0);
    EXPECT_EQ(distinctLabels(*at).size(), 256u * 256u); // split down to single pixels
    EXPECT_EQ(painted(*at, 0, 0), grey(254));
    EXPECT_EQ(painted(*at, 1, 0), grey(255));
}

TEST_F(SplitAndMerge, NarrowPicturesAreOneRegion)
{
    // Every block starts in the last column (or row), so nothing is tested.
    const auto column = rgbWhere(1, 9, [](int, int y) { return grey(y * 30); });
    const auto s = run(*column, 10, 10, 20);
    EXPECT_EQ(distinctLabels(*s), std::set<std::uint32_t>{0});
    EXPECT_EQ(painted(*s, 0, 0), grey(120)); // 30 * (0 + ... + 8) / 9
    const auto row = rgbWhere(6, 1, [](int x, int) { return red(x * 50); });
    const auto r = run(*row, 0, 0, 0);
    EXPECT_EQ(distinctLabels(*r), std::set<std::uint32_t>{0});
    EXPECT_EQ(painted(*r, 5, 0), red(125));
    const auto single = run(*uniform(1, 1, {1, 2, 3}), 0, 0, 0);
    EXPECT_EQ(distinctLabels(*single), std::set<std::uint32_t>{0});
    EXPECT_EQ(painted(*single, 0, 0), (RGB24{1, 2, 3}));
}

// 3 x 3 in a quadtree of side 4: the top-left 2 x 2 block is split into pixels;
// the other level-1 blocks start in the last column or row and are taken whole,
// clipped; blocks starting in column or row 3 give nothing.
TEST_F(SplitAndMerge, ThreeByThreeQuadtreeLeafOrder)
{
    const RGB24 colours[3][3] = {{grey(0), grey(255), red(100)},
                                 {grey(255), grey(0), red(101)},
                                 {grey(40), grey(41), grey(77)}};
    const auto image = rgbWhere(3, 3, [&](int x, int y) { return colours[y][x]; });
    const auto s = run(*image, 10, 10, 0);
    EXPECT_EQ(labelRows(*s), (std::vector<std::uint32_t>{6, 3, 0, //
                                                         4, 5, 0, //
                                                         1, 1, 2}));
    EXPECT_EQ(painted(*s, 2, 0), red(100)); // (100 + 101) / 2, truncated
    EXPECT_EQ(painted(*s, 0, 2), grey(40));
    EXPECT_EQ(painted(*s, 2, 2), grey(77));
    EXPECT_EQ(painted(*s, 1, 0), grey(255));
    expectSoundRegions(*s);
}

TEST_F(SplitAndMerge, ProgressLinesInOrder)
{
    const auto image = rgbWhere(3, 3, [](int x, int y) { return grey((x * 7 + y * 13) * 9 % 256); });
    messages.lines.clear();
    run(*image, 10, 10, 20);
    EXPECT_EQ(messages.lines, (std::vector<std::string>{"split...", "merge...", "Leaving quadtree...",
                                                        "QuadTree.GetMaxLevel() 2", "Grouping..."}));
    messages.lines.clear();
    run(*uniform(1000, 3, {0, 0, 0}), 10, 10, 20);
    ASSERT_EQ(messages.lines.size(), 5u);
    EXPECT_EQ(messages.lines[3], "QuadTree.GetMaxLevel() 10");
}

// With every threshold 0, each block that is tested is split down to single
// pixels, which count as homogeneous: every pixel lies in a region.
TEST_F(SplitAndMerge, ZeroThresholdsLeaveNoPixelWithoutRegion)
{
    std::mt19937 random(3);
    const auto image = rgbWhere(5, 4, [&](int, int) {
        return RGB24{static_cast<std::uint8_t>(random()), static_cast<std::uint8_t>(random()),
                     static_cast<std::uint8_t>(random())};
    });
    const auto s = run(*image, 0, 0, 0);
    const auto labels = distinctLabels(*s);
    for (const std::uint32_t l : labels)
        EXPECT_LT(l, 20u);
    // Size 8: level-1 blocks at x = 4 start in the last column and are kept
    // whole (one column of four pixels); everything else becomes single pixels.
    EXPECT_EQ(labels.size(), 4u * 4u + 1u);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(painted(*s, x, y), s->sourcePixels.at(x, y));
    expectSoundRegions(*s);
}

// A split top-right block whose mean matches its siblings merges the group into
// the parent; a merge threshold of 0 merges nothing.
TEST_F(SplitAndMerge, SiblingMerge)
{
    const auto image = rgbWhere(4, 4, [](int x, int y) {
        if (x >= 2 && y < 2)
            return grey((x + y) % 2 ? 110 : 90); // top-right: mean 100, high variance
        if (x < 2 && y < 2)
            return grey(102);
        return grey(x < 2 ? 101 : 99);
    });
    const auto merged = run(*image, 10, 10, 0);
    EXPECT_EQ(distinctLabels(*merged), std::set<std::uint32_t>{0});
    EXPECT_EQ(painted(*merged, 0, 0), grey(100)); // (4 * 102 + 4 * 100 + 4 * 101 + 4 * 99) / 16 = 100.5

    const auto kept = run(*image, 10, 0, 0);
    // Level 1: bottom-left 0, bottom-right 1, top-left 2; then the four pixels of
    // the top-right block in child order: (3,0), (2,1), (3,1), (2,0).
    EXPECT_EQ(labelRows(*kept), (std::vector<std::uint32_t>{2, 2, 6, 3, //
                                                            2, 2, 4, 5, //
                                                            0, 0, 1, 1, //
                                                            0, 0, 1, 1}));
}

// The merge test looks only at whether the first (top-right) sibling was split:
// a homogeneous top-right block keeps its split siblings apart.
TEST_F(SplitAndMerge, MergeSkipsGroupsWhoseFirstSiblingIsWhole)
{
    const auto image = rgbWhere(4, 4, [](int x, int y) {
        if (x < 2 && y < 2)
            return grey((x + y) % 2 ? 110 : 90); // top-left split, mean 100
        return grey(100);
    });
    const auto s = run(*image, 10, 255, 0);
    EXPECT_EQ(distinctLabels(*s).size(), 3u + 4u);
}

// Regions absorbed by grouping leave gaps; colours mix by area with truncation.
TEST_F(SplitAndMerge, GroupingLeavesLabelGaps)
{
    const auto image = rgbWhere(4, 4, [](int x, int y) {
        if (y < 2)
            return x < 2 ? red(10) : red(13);
        return x < 2 ? red(200) : red(201);
    });
    // Leaves: top-right 0, bottom-left 1, bottom-right 2, top-left 3.
    const auto plain = run(*image, 10, 10, 0);
    EXPECT_EQ(labelRows(*plain), (std::vector<std::uint32_t>{3, 3, 0, 0, 3, 3, 0, 0, 1, 1, 2, 2, 1, 1, 2, 2}));

    const auto grouped = run(*image, 10, 10, 20);
    EXPECT_EQ(labelRows(*grouped), (std::vector<std::uint32_t>{3, 3, 3, 3, 3, 3, 3, 3, 1, 1, 1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(painted(*grouped, 3, 0), red(11));  // (4 * 10 + 4 * 13) / 8 = 11.5
    EXPECT_EQ(painted(*grouped, 3, 3), red(200)); // (4 * 200 + 4 * 201) / 8 = 200.5
    expectSoundRegions(*grouped);
}

// The nearest neighbour is absorbed first, whatever its number; its colour then
// decides whether the next one is still close enough.
TEST_F(SplitAndMerge, GroupingTakesTheNearestFirst)
{
    // Top-left (region 3) at 100 borders top-right (region 0) at 112 and bottom-left (region 1) at 90.
    const auto image = rgbWhere(4, 4, [](int x, int y) {
        if (y < 2)
            return x < 2 ? red(100) : red(112);
        return x < 2 ? red(90) : red(250);
    });
    const auto s = run(*image, 10, 10, 13);
    EXPECT_EQ(labelRows(*s), (std::vector<std::uint32_t>{3, 3, 0, 0, 3, 3, 0, 0, 3, 3, 2, 2, 3, 3, 2, 2}));
    EXPECT_EQ(painted(*s, 0, 0), red(95));
}

TEST_F(SplitAndMerge, GroupingTieGoesToTheLowerRegionNumber)
{
    const auto image = rgbWhere(4, 4, [](int x, int y) {
        if (y < 2)
            return x < 2 ? red(100) : red(110);
        return x < 2 ? red(90) : red(250);
    });
    const auto s = run(*image, 10, 10, 13);
    EXPECT_EQ(labelRows(*s), (std::vector<std::uint32_t>{3, 3, 3, 3, 3, 3, 3, 3, 1, 1, 2, 2, 1, 1, 2, 2}));
    EXPECT_EQ(painted(*s, 0, 0), red(105));
}

TEST_F(SplitAndMerge, RegionsStaySoundOnNoisyPictures)
{
    std::mt19937 random(11);
    for (const auto& [w, h] : {std::pair{37, 23}, std::pair{64, 64}, std::pair{5, 70}}) {
        const auto image = rgbWhere(w, h, [&](int x, int y) {
            const int base = (x / 8 + y / 8) % 3 * 80;
            return grey(base + static_cast<int>(random() % 12));
        });
        for (const double t : {0.0, 10.0, 40.0}) {
            const auto s = run(*image, t, t, 2 * t);
            expectSoundRegions(*s);
        }
    }
}

namespace {
// Grouping done the plain way on the regions of a run without grouping: scan the
// pixels column by column; at each region not yet visited, flood-fill it to find
// the regions bordering it, then absorb them nearest first, relabelling each
// absorbed region by a flood fill from the top-left pixel of its block.
struct Grouped {
    std::vector<std::uint32_t> labels;
    std::vector<RGB24> colours; // per pixel
};

Grouped referenceGrouping(const ImageSegmented& initial, int threshold)
{
    const int w = initial.width();
    const int h = initial.height();
    std::vector<std::uint32_t> labels = labelRows(initial);
    const std::uint32_t count = *std::max_element(labels.begin(), labels.end()) + 1;
    std::vector<RGB24> colour(count);
    std::vector<std::int64_t> area(count, 0);
    std::vector<std::pair<int, int>> topLeft(count, {w, h});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t l = labels[static_cast<std::size_t>(y) * w + x];
            colour[l] = painted(initial, x, y);
            ++area[l];
            topLeft[l] = {std::min(topLeft[l].first, x), std::min(topLeft[l].second, y)};
        }
    const auto at = [&](int x, int y) -> std::uint32_t& { return labels[static_cast<std::size_t>(y) * w + x]; };
    const auto flood = [&](int x, int y, std::uint32_t from, const std::function<void(int, int)>& visit) {
        std::vector<char> seen(labels.size(), 0);
        std::vector<std::pair<int, int>> stack{{x, y}};
        seen[static_cast<std::size_t>(y) * w + x] = 1;
        while (!stack.empty()) {
            const auto [px, py] = stack.back();
            stack.pop_back();
            visit(px, py);
            for (const auto& [qx, qy] : {std::pair{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}})
                if (qx >= 0 && qy >= 0 && qx < w && qy < h && at(qx, qy) == from &&
                    !seen[static_cast<std::size_t>(qy) * w + qx]) {
                    seen[static_cast<std::size_t>(qy) * w + qx] = 1;
                    stack.push_back({qx, qy});
                }
        }
    };
    const auto dist = [](RGB24 a, RGB24 b) { return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b); };
    std::vector<char> visited(count, 0);
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            const std::uint32_t i = at(x, y);
            if (visited[i])
                continue;
            visited[i] = 1;
            std::set<std::uint32_t> set;
            flood(x, y, i, [&](int px, int py) {
                for (const auto& [qx, qy] : {std::pair{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}})
                    if (qx >= 0 && qy >= 0 && qx < w && qy < h && at(qx, qy) != i)
                        set.insert(at(qx, qy));
            });
            for (;;) {
                std::optional<std::uint32_t> best;
                for (const std::uint32_t r : set)
                    if (dist(colour[i], colour[r]) < threshold && (!best || dist(colour[i], colour[r]) < dist(colour[i], colour[*best])))
                        best = r;
                if (!best)
                    break;
                const std::uint32_t r = *best;
                colour[i] = OPSplitAndMerge::areaWeightedMean(colour[i], area[i], colour[r], area[r]);
                area[i] += area[r];
                area[r] = 0;
                std::vector<std::pair<int, int>> pixels;
                flood(topLeft[r].first, topLeft[r].second, r, [&](int px, int py) { pixels.push_back({px, py}); });
                for (const auto& [px, py] : pixels)
                    at(px, py) = i;
                set.erase(r);
            }
        }
    Grouped g{labels, {}};
    for (const std::uint32_t l : labels)
        g.colours.push_back(colour[l]);
    return g;
}
} // namespace

TEST_F(SplitAndMerge, GroupingMatchesPlainFloodFillRelabelling)
{
    std::mt19937 random(5);
    for (const auto& [w, h] : {std::pair{48, 40}, std::pair{33, 65}}) {
        // Smooth ramps with noise: long chains of regions absorbing regions that absorbed others.
        const auto image = rgbWhere(w, h, [&](int x, int y) {
            return RGB24{static_cast<std::uint8_t>(x * 3 + random() % 9), static_cast<std::uint8_t>(y * 2 + random() % 9),
                         static_cast<std::uint8_t>((x + y) % 17 < 8 ? 40 : 200)};
        });
        for (const int group : {8, 20, 60}) {
            const auto initial = run(*image, 10, 10, 0);
            const Grouped want = referenceGrouping(*initial, group);
            const auto got = run(*image, 10, 10, group);
            EXPECT_EQ(labelRows(*got), want.labels) << w << "x" << h << " group " << group;
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(painted(*got, x, y), want.colours[static_cast<std::size_t>(y) * w + x]);
            EXPECT_LT(distinctLabels(*got).size(), distinctLabels(*initial).size());
        }
    }
}

TEST(SplitAndMergeMends, AreaWeightedMeanDoesNotOverflowOnLargeRegions)
{
    const RGB24 mixed = OPSplitAndMerge::areaWeightedMean({255, 0, 7}, 20'000'000, {253, 255, 9}, 20'000'000);
    EXPECT_EQ(mixed, (RGB24{254, 127, 8}));
    EXPECT_EQ(OPSplitAndMerge::areaWeightedMean({10, 10, 10}, 3, {13, 13, 13}, 1), (RGB24{10, 10, 10}));
}

TEST(SplitAndMergeMends, RefusesEmptyAndDisproportionatePictures)
{
    const ImageRGB empty(0, 0);
    EXPECT_THROW(OPSplitAndMerge().execute(empty, 10, 10, 20), std::invalid_argument);
    // A 3000-pixel strip would need a quadtree of side 4096 (22 million nodes).
    const auto strip = uniform(3000, 1, {1, 1, 1});
    EXPECT_THROW(OPSplitAndMerge().execute(*strip, 10, 10, 20), std::length_error);
    const auto wide = uniform(2048, 1, {1, 1, 1});
    CapturedMessages quiet;
    EXPECT_EQ(OPSplitAndMerge().execute(*wide, 10, 10, 20)->labels.at(2047, 0), 0u);
}

TEST(SplitAndMergeProgress, ReportsAndCancels)
{
    CapturedMessages quiet;
    const auto image = uniform(40, 30, {5, 5, 5});
    double last = -1;
    int calls = 0;
    OPSplitAndMerge().execute(*image, 10, 10, 20, ivra::Progress([&](double f) {
        EXPECT_GE(f, last);
        last = f;
        ++calls;
        return true;
    }));
    EXPECT_GT(calls, 40);
    EXPECT_DOUBLE_EQ(last, 1.0);
    EXPECT_THROW(OPSplitAndMerge().execute(*image, 10, 10, 20, ivra::Progress([](double) { return false; })),
                 ivra::Cancelled);
}
