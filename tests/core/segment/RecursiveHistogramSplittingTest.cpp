#include "segment/HistogramClustering.h"
#include "segment/OPRecursiveHistogramSplitting.h"
#include "segment/RHSFeatures.h"
#include "util/Threads.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

using namespace ivra::rhs;
using namespace ivra;
using namespace testpictures;

namespace {

// The largest bin of the window i - w .. i + w, bin by bin: the lowest bin on a tie,
// on the circle the first one counted from i - w; -1 for an empty window.
int plainWindowPeak(const std::vector<int>& h, int i, int w, bool circular)
{
    const long long n = static_cast<long long>(h.size());
    long long lo = i - static_cast<long long>(w), hi = i + static_cast<long long>(w);
    if (circular) {
        hi = std::min(hi, lo + n - 1); // a wider window only goes round again
    } else {
        lo = std::max(lo, 0LL);
        hi = std::min(hi, n - 1);
    }
    int best = -1;
    for (long long t = lo; t <= hi; ++t) {
        const int bin = static_cast<int>(((t % n) + n) % n);
        if (best == -1 || h[bin] > h[best])
            best = bin;
    }
    return h[best] > 0 ? best : -1;
}

// Bins join the cluster of the peak their window peak leads to; bins descending to
// the left of a peak still to come wait for it.
struct PlainClusters {
    std::vector<int> root, clusters;
    std::vector<long long> mass;
};

PlainClusters plainCluster(const std::vector<int>& h, int w, bool circular)
{
    const int n = static_cast<int>(h.size());
    PlainClusters c{{}, {}, {h.begin(), h.end()}};
    for (int i = 0; i < n; ++i)
        c.root.push_back(i);
    std::vector<int> peaks;
    int pending = -1;
    for (int i = 0; i < n; ++i) {
        const int j = plainWindowPeak(h, i, w, circular);
        if (j == i) {
            peaks.push_back(i);
            for (int t = pending; pending != -1 && t < i; ++t)
                c.root[t] = i;
            pending = -1;
        } else if (j != -1) {
            const int r = c.root[j];
            c.mass[r] += c.mass[i];
            c.root[i] = c.root[r];
            if (pending == -1 && i < r && r - i < w)
                pending = i;
        }
    }
    for (int t = pending; pending != -1 && t < n; ++t)
        c.root[t] = c.root[n - 1];
    for (const int p : peaks)
        if (c.mass[p] > 0)
            c.clusters.push_back(p);
    return c;
}

} // namespace

TEST(HistogramClustering, MatchesTheBinByBinRuleOnRandomHistograms)
{
    std::mt19937 random(7);
    HistogramClusters clusters;
    WindowPeakScratch scratch;
    for (int trial = 0; trial < 3000; ++trial) {
        const int sizes[] = {1, 2, 3, 5, 8, 13, 40, 256, 360};
        const int n = sizes[random() % 9];
        const bool circular = random() % 2 == 0;
        const int windows[] = {0, 1, 2, 3, 4, 5, 7, 12, n / 2 - 1, n / 2, n, 2 * n + 3, 65536};
        const int w = std::max(0, windows[random() % 13]);
        // Few distinct small counts and many empty bins make ties and gaps common.
        std::vector<int> h(static_cast<std::size_t>(n));
        const unsigned emptyShare = random() % 4;
        for (int& v : h)
            v = random() % 4 < emptyShare ? 0 : static_cast<int>(random() % 4);
        SCOPED_TRACE(::testing::Message() << n << " bins, window " << w << (circular ? ", circular" : ""));

        std::vector<int> peakOf(h.size());
        windowPeaks(h.data(), n, w, circular, peakOf.data(), scratch);
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(peakOf[i], plainWindowPeak(h, i, w, circular)) << "bin " << i;

        const PlainClusters want = plainCluster(h, w, circular);
        clusters.cluster(h.data(), n, w, circular);
        ASSERT_EQ(clusters.count(), static_cast<int>(want.clusters.size()));
        for (int k = 0; k < clusters.count(); ++k) {
            ASSERT_EQ(clusters.peak(k), want.clusters[k]);
            ASSERT_EQ(clusters.mass(k), want.mass[want.clusters[k]]);
        }
        for (int b = 0; b < n; ++b)
            ASSERT_EQ(clusters.root(b), want.root[b]) << "bin " << b;
    }
}

namespace {

enum Feature { R, G, B, H, S, V, Y, I, Q };

// Splitting written out plainly: regions as row-major pixel lists on a stack, the
// nine histograms counted afresh for each, pieces found by flood fill.
void expectPlainSplitting(const ImageSegmented& result, int w, int h, const Pixels& pixels, const RhsParams& p)
{
    std::vector<std::array<int, featureCount>> features;
    for (const RGB24 q : pixels)
        features.push_back(pixelFeatures(q.r, q.g, q.b));
    std::vector<std::uint32_t> labels(pixels.size());
    Pixels painted(pixels.size());
    std::uint32_t label = 0;
    std::vector<std::vector<int>> stack(1, std::vector<int>(pixels.size()));
    std::iota(stack[0].begin(), stack[0].end(), 0);
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
            long long sum[3] = {0, 0, 0}, n = static_cast<long long>(region.size());
            for (const int i : region)
                for (int c = 0; c < 3; ++c)
                    sum[c] += (&pixels[i].r)[c];
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
    EXPECT_EQ(std::vector<std::uint32_t>(result.labels.data(), result.labels.data() + w * h), labels);
    EXPECT_EQ(Pixels(result.sourcePixels.data(), result.sourcePixels.data() + w * h), pixels);
    EXPECT_EQ(pixelsOf(result), painted);
}

} // namespace

TEST(RecursiveHistogramSplitting, MatchesThePlainSplittingOnRandomPictures)
{
    std::mt19937 random(11);
    int deep = 0;
    for (int trial = 0; trial < 40; ++trial) {
        // Large pictures have pieces that other threads take on; one row or one column
        // leaves no room for the features in the result's planes.
        const bool large = trial % 10 == 0;
        const int w = trial == 1 ? 1 : 1 + static_cast<int>(random() % (large ? 220 : 40));
        const int h = trial == 2 ? 1 : 1 + static_cast<int>(random() % (large ? 160 : 30));
        const ThreadLimit threads(1 + trial % 3);
        const int levels[] = {2, 3, 256};
        const Pixels pixels =
            trial % 4 ? cellPixels(w, h, 1 + trial % 6, trial) : randomPixels(w, h, levels[trial / 4 % 3], trial);
        auto image = rgbFrom(w, h, pixels);
        image->red()[0] += 256; // only the low byte counts
        image->blue()[w * h - 1] -= 512;
        const int windows[] = {0, 1, 3, 10, 200, 65536};
        const RhsParams p{.gtWindow = windows[random() % 6],
                          .minSplitPeak = static_cast<int>(random() % 8),
                          .minRegionSize = static_cast<int>(random() % 12)};
        SCOPED_TRACE(::testing::Message() << "trial " << trial << ", " << w << "x" << h << ", " << threadCount()
                                          << " threads, window " << p.gtWindow
                                          << ", peak " << p.minSplitPeak << ", region " << p.minRegionSize);
        const auto result = OPRecursiveHistogramSplitting().execute(*image, p);
        expectPlainSplitting(*result, w, h, pixels, p);
        if (HasFailure())
            return;
        deep += *std::max_element(result->labels.data(), result->labels.data() + w * h) >= 10;
    }
    EXPECT_GE(deep, 20); // most pictures were split many times
}

TEST(RHSFeatures, RangesSinglePrecisionUnitValuesAndYIQ)
{
    for (int r = 0; r < 256; r += 5)
        for (int g = 0; g < 256; g += 5)
            for (int b = 0; b < 256; b += 5) {
                const auto f = pixelFeatures(static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                             static_cast<std::uint8_t>(b));
                for (int k = 0; k < featureCount; ++k)
                    ASSERT_TRUE(f[k] >= 0 && f[k] < featureBins[k])
                        << "feature " << k << " of " << r << "," << g << "," << b;
            }
    // R, G, B are the bytes; a gray has hue 0. HSV starts from the float products of
    // byte and 1/255, Y, I, Q are single precision throughout: double arithmetic
    // gives other values for each of these.
    const std::array<int, featureCount> black = {0, 0, 0, 0, 0, 0, 0, 127, 127};
    const std::array<int, featureCount> white = {255, 255, 255, 0, 0, 255, 255, 127, 127};
    EXPECT_EQ(pixelFeatures(0, 0, 0), black);
    EXPECT_EQ(pixelFeatures(255, 255, 255), white);
    const int cases[][5] = {{255, 0, 255, H, 300},  {90, 90, 90, H, 0},      {0, 0, 33, V, 33},   {0, 0, 37, V, 37},
                            {0, 1, 5, H, 227},      {0, 1, 10, H, 233},      {1, 1, 5, S, 203},   {1, 1, 17, S, 239},
                            {0, 24, 8, Y, 15},      {0, 30, 135, Y, 33},     {6, 22, 178, Y, 34}, {15, 83, 121, Y, 66},
                            {148, 229, 79, I, 127}, {164, 191, 141, I, 127}, {255, 0, 0, I, 190}, {0, 255, 255, I, 63},
                            {0, 255, 0, Q, 63},     {255, 0, 255, Q, 190}};
    for (const auto& c : cases)
        EXPECT_EQ(pixelFeatures(static_cast<std::uint8_t>(c[0]), static_cast<std::uint8_t>(c[1]),
                                static_cast<std::uint8_t>(c[2]))[c[3]],
                  c[4])
            << c[0] << "," << c[1] << "," << c[2] << " feature " << c[3];
}
