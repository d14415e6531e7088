#include "segment/HistogramClustering.h"
#include "segment/OPRecursiveHistogramSplitting.h"
#include "segment/RHSFeatures.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

using namespace ivra;
using namespace ivra::rhs;
using namespace testpictures;

namespace {

RHSParameters params(int gtWindow, int minSplitPeak, int minRegionSize)
{
    RHSParameters p;
    p.gtWindow = gtWindow;
    p.minSplitPeak = minSplitPeak;
    p.minRegionSize = minRegionSize;
    return p;
}

// Splitting written out plainly: regions as row-major pixel lists on a stack, the
// nine histograms counted afresh for each, pieces found by flood fill.
void expectPlainSplitting(const ImageSegmented& result, int w, int h, const Pixels& pixels, const RHSParameters& p)
{
    std::vector<std::array<int, featureCount>> features;
    for (const RGB24 q : pixels)
        features.push_back(pixelFeatures(q.r, q.g, q.b));
    std::vector<std::uint32_t> labels(pixels.size());
    Pixels painted(pixels.size());
    std::uint32_t label = 0;
    std::vector<std::vector<int>> stack(1);
    for (int i = 0; i < w * h; ++i)
        stack[0].push_back(i);
    HistogramClusters clusters;
    const auto clusterFeature = [&](const std::vector<int>& region, int f) {
        std::vector<int> histogram(featureBins[f], 0);
        for (const int i : region)
            ++histogram[features[i][f]];
        clusters.cluster(histogram.data(), featureBins[f], p.gtWindow, f == hueFeature);
    };
    while (!stack.empty()) {
        const std::vector<int> region = std::move(stack.back());
        stack.pop_back();
        // The largest cluster of any feature with two clusters or more; the first feature
        // and the first cluster on a tie.
        long long best = -1;
        int feature = -1, peak = -1;
        for (int f = 0; f < featureCount; ++f) {
            clusterFeature(region, f);
            for (int k = 0; clusters.count() >= 2 && k < clusters.count(); ++k)
                if (clusters.mass(k) > best) {
                    best = clusters.mass(k);
                    feature = f;
                    peak = clusters.peak(k);
                }
        }
        if (static_cast<long long>(region.size()) <= p.minRegionSize || feature < 0 || best <= p.minSplitPeak) {
            long long sum[3] = {0, 0, 0};
            for (const int i : region) {
                sum[0] += pixels[i].r;
                sum[1] += pixels[i].g;
                sum[2] += pixels[i].b;
            }
            const long long n = static_cast<long long>(region.size());
            ++label;
            for (const int i : region) {
                labels[i] = label;
                painted[i] = {std::uint8_t(sum[0] / n), std::uint8_t(sum[1] / n), std::uint8_t(sum[2] / n)};
            }
            continue;
        }
        // The peak's cluster, then the rest, each cut into 4-connected pieces in the
        // order of their first pixels; the last piece is taken on next.
        clusterFeature(region, feature);
        std::vector<int> part(pixels.size(), 0);
        for (const int i : region)
            part[i] = clusters.root(features[i][feature]) == peak ? 1 : 2;
        for (const int side : {1, 2})
            for (const int first : region) {
                if (part[first] != side)
                    continue;
                std::vector<int> piece{first}, pending{first};
                part[first] = 0;
                while (!pending.empty()) {
                    const int i = pending.back();
                    pending.pop_back();
                    const int x = i % w;
                    for (const int j : {x > 0 ? i - 1 : -1, x + 1 < w ? i + 1 : -1, i - w, i + w})
                        if (j >= 0 && j < w * h && part[j] == side) {
                            part[j] = 0;
                            piece.push_back(j);
                            pending.push_back(j);
                        }
                }
                std::sort(piece.begin(), piece.end());
                stack.push_back(piece);
            }
    }
    for (int i = 0; i < w * h; ++i) {
        ASSERT_EQ(result.labels[i], labels[i]) << "pixel " << i % w << "," << i / w;
        ASSERT_EQ(result.sourcePixels[i], pixels[i]);
    }
    EXPECT_EQ(pixelsOf(result), painted);
}

// A few colour patches with noise, reds on both sides of hue 0 among them: many
// splits, pieces of every shape.
Pixels patchwork(std::mt19937& random, int w, int h)
{
    const Pixels palette = {{250, 10, 14}, {250, 12, 4},     {240, 0, 0}, {30, 200, 40},
                            {20, 30, 220}, {128, 128, 128}, {0, 0, 0},   {255, 255, 255}};
    const int cell = 1 + static_cast<int>(random() % 6), noise = static_cast<int>(random() % 20);
    std::vector<RGB24> cells((w / cell + 1) * (h / cell + 1));
    for (RGB24& c : cells)
        c = palette[random() % palette.size()];
    Pixels pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const RGB24 c = cells[(y / cell) * (w / cell + 1) + x / cell];
            const auto jitter = [&](int v) {
                return static_cast<std::uint8_t>(std::clamp(v + static_cast<int>(random() % (2 * noise + 1)) - noise, 0, 255));
            };
            pixels.push_back({jitter(c.r), jitter(c.g), jitter(c.b)});
        }
    return pixels;
}

std::set<std::uint32_t> regions(const ImageSegmented& s)
{
    return {s.labels.data(), s.labels.data() + s.labels.size()};
}

} // namespace

TEST(RecursiveHistogramSplitting, MatchesThePlainSplittingOnRandomPictures)
{
    std::mt19937 random(11);
    int deep = 0;
    for (int trial = 0; trial < 40; ++trial) {
        const bool large = trial % 10 == 0;
        const int w = 1 + static_cast<int>(random() % (large ? 150 : 40));
        const int h = 1 + static_cast<int>(random() % (large ? 100 : 30));
        const int levels[] = {2, 3, 256};
        Pixels pixels = trial % 4 ? patchwork(random, w, h) : randomPixels(w, h, levels[trial / 4 % 3], trial);
        auto image = rgbFrom(w, h, pixels);
        image->red()[0] += 256; // only the low byte counts
        image->blue()[w * h - 1] -= 512;
        const int windows[] = {0, 1, 3, 10, 200, 65536};
        const RHSParameters p =
            params(windows[random() % 6], static_cast<int>(random() % 8), static_cast<int>(random() % 12));
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ", " << w << "x" << h << ", window " << p.gtWindow
                                          << ", peak " << p.minSplitPeak << ", region " << p.minRegionSize);
        const auto result = OPRecursiveHistogramSplitting().execute(*image, p);
        expectPlainSplitting(*result, w, h, pixels, p);
        if (HasFailure())
            return;
        deep += regions(*result).size() >= 10;
    }
    EXPECT_GE(deep, 20); // most pictures were split many times
}

TEST(RecursiveHistogramSplitting, EqualHalvesSplitAlongTheFirstFeatureAndFirstCluster)
{
    // Every feature that tells red from blue has two clusters of 10: R wins the tie and
    // its first cluster (R = 0, the blue half) becomes the first piece. Pieces are
    // taken last-in first, so the red half is region 1.
    Pixels pixels;
    for (int y = 0; y < 20; ++y)
        pixels.push_back(y < 10 ? RGB24{255, 0, 0} : RGB24{0, 0, 255});
    const auto result = OPRecursiveHistogramSplitting().execute(*rgbFrom(1, 20, pixels), params(3, 0, 0));
    for (int y = 0; y < 20; ++y)
        ASSERT_EQ(result->labels[y], y < 10 ? 1u : 2u) << y;
}

TEST(RecursiveHistogramSplitting, RegionsAndPeaksAtTheThresholdsAreNotSplit)
{
    // 60 red and 40 blue pixels: the largest cluster holds 60.
    const auto image = rgbWhere(10, 10, [](int x, int) { return x < 6 ? RGB24{255, 0, 0} : RGB24{0, 0, 255}; });
    const std::pair<RHSParameters, std::size_t> cases[] = {{params(3, 0, 100), 1}, {params(3, 0, 99), 2},
                                                           {params(3, 60, 0), 1},  {params(3, 59, 0), 2}};
    for (const auto& [p, count] : cases)
        EXPECT_EQ(regions(*OPRecursiveHistogramSplitting().execute(*image, p)).size(), count)
            << p.minSplitPeak << " " << p.minRegionSize;
}

TEST(RecursiveHistogramSplitting, WidestPictureKeepsItsCoordinates)
{
    // 32767 columns: a single blue pixel at the far right is a region of its own.
    constexpr int w = 32767;
    Pixels pixels(2 * w, RGB24{255, 255, 0});
    pixels.back() = {0, 0, 255};
    const auto result = OPRecursiveHistogramSplitting().execute(*rgbFrom(w, 2, pixels), params(3, 0, 0));
    EXPECT_EQ(result->labels[w - 1], result->labels[0]);
    EXPECT_EQ(result->labels[2 * w - 2], result->labels[0]);
    EXPECT_NE(result->labels[2 * w - 1], result->labels[0]);
    EXPECT_EQ(pixelsOf(*result).back(), (RGB24{0, 0, 255}));
}
