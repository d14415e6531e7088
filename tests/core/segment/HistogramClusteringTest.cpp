#include "segment/HistogramClustering.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace ivra;

namespace {

using ivra::rhs::HistogramClusters;
using ivra::rhs::windowPeaks;

// The window rule bin by bin, as plainly as it can be written.
int plainWindowPeak(const std::vector<int>& h, int i, int w, bool circular)
{
    const int n = static_cast<int>(h.size());
    int best = 0;
    if (!circular) {
        const int lo = std::max(i - w, 0);
        const int hi = std::min(i + w, n - 1);
        best = lo;
        for (int t = lo + 1; t <= hi; ++t) {
            if (h[t] > h[best])
                best = t;
        }
    } else {
        auto wrap = [n](long long t) { return static_cast<int>(((t % n) + n) % n); };
        best = wrap(static_cast<long long>(i) - w);
        for (long long t = static_cast<long long>(i) - w + 1; t <= static_cast<long long>(i) + w; ++t) {
            if (h[wrap(t)] > h[best])
                best = wrap(t);
        }
    }
    return h[best] > 0 ? best : -1;
}

struct PlainClusters {
    std::vector<int> root;
    std::vector<long long> mass;
    std::vector<int> clusters;
};

PlainClusters plainCluster(const std::vector<int>& h, int w, bool circular)
{
    const int n = static_cast<int>(h.size());
    PlainClusters c;
    c.mass.assign(h.begin(), h.end());
    for (int i = 0; i < n; ++i)
        c.root.push_back(i);
    std::vector<int> peaks;
    int pending = -1;
    for (int i = 0; i < n; ++i) {
        const int j = plainWindowPeak(h, i, w, circular);
        if (j == -1)
            continue;
        if (j == i) {
            peaks.push_back(i);
            if (pending != -1) {
                for (int t = pending; t < i; ++t)
                    c.root[t] = i;
                pending = -1;
            }
        } else {
            const int r = c.root[j];
            c.mass[r] += c.mass[i];
            c.root[i] = c.root[r];
            if (pending == -1 && i < r && r - i < w)
                pending = i;
        }
    }
    if (pending != -1) {
        for (int t = pending; t < n; ++t)
            c.root[t] = c.root[n - 1];
    }
    for (int p : peaks) {
        if (c.mass[p] > 0)
            c.clusters.push_back(p);
    }
    return c;
}

std::vector<int> histogram(int n, std::initializer_list<std::pair<int, int>> bins)
{
    std::vector<int> h(static_cast<std::size_t>(n), 0);
    for (auto [bin, count] : bins)
        h[bin] = count;
    return h;
}

TEST(HistogramClustering, MatchesTheBinByBinRuleOnRandomHistograms)
{
    std::mt19937 random(7);
    HistogramClusters clusters;
    for (int trial = 0; trial < 3000; ++trial) {
        const int sizes[] = {1, 2, 3, 5, 8, 13, 40, 256, 360};
        const int n = sizes[random() % std::size(sizes)];
        const bool circular = random() % 2 == 0;
        const int windows[] = {0, 1, 2, 3, 4, 5, 7, 12, n / 2 - 1, n / 2, n, 2 * n + 3};
        const int w = std::max(0, windows[random() % std::size(windows)]);
        // Few distinct small counts and many empty bins make ties and gaps common.
        std::vector<int> h(static_cast<std::size_t>(n));
        const unsigned emptyShare = random() % 4;
        for (int& v : h)
            v = random() % 4 < emptyShare ? 0 : static_cast<int>(random() % 4);

        std::vector<int> peakOf(h.size());
        windowPeaks(h.data(), n, w, circular, peakOf.data());
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(peakOf[i], plainWindowPeak(h, i, w, circular)) << "bin " << i << " n " << n << " w " << w;

        const PlainClusters expected = plainCluster(h, w, circular);
        clusters.cluster(h.data(), n, w, circular);
        ASSERT_EQ(clusters.count(), static_cast<int>(expected.clusters.size())) << "n " << n << " w " << w;
        for (int k = 0; k < clusters.count(); ++k) {
            ASSERT_EQ(clusters.peak(k), expected.clusters[k]);
            ASSERT_EQ(clusters.mass(k), expected.mass[expected.clusters[k]]);
        }
        for (int b = 0; b < n; ++b)
            ASSERT_EQ(clusters.root(b), expected.root[b]) << "bin " << b << " n " << n << " w " << w;
    }
}

TEST(HistogramClustering, WindowZeroMakesEveryNonEmptyBinACluster)
{
    const auto h = histogram(256, {{3, 1}, {4, 9}, {5, 2}, {200, 7}});
    HistogramClusters c;
    c.cluster(h.data(), 256, 0, false);
    ASSERT_EQ(c.count(), 4);
    EXPECT_EQ(c.peak(0), 3);
    EXPECT_EQ(c.peak(1), 4);
    EXPECT_EQ(c.peak(3), 200);
    EXPECT_EQ(c.mass(1), 9);
    for (int bin : {3, 4, 5, 200})
        EXPECT_EQ(c.root(bin), bin);
}

TEST(HistogramClustering, NeighbouringBinsJoinTheirLocalMaximum)
{
    const auto h = histogram(256, {{10, 3}, {11, 8}, {12, 5}, {13, 1}, {100, 4}});
    HistogramClusters c;
    c.cluster(h.data(), 256, 1, false);
    ASSERT_EQ(c.count(), 2);
    EXPECT_EQ(c.peak(0), 11);
    EXPECT_EQ(c.mass(0), 17);
    EXPECT_EQ(c.peak(1), 100);
    EXPECT_EQ(c.largest(), 0);
    for (int bin : {10, 11, 12, 13})
        EXPECT_EQ(c.root(bin), 11);
}

TEST(HistogramClustering, HueClusterWrapsFromLastBinToFirst)
{
    const auto h = histogram(360, {{358, 5}, {359, 10}, {0, 3}, {1, 2}, {180, 4}});
    HistogramClusters c;
    c.cluster(h.data(), 360, 3, true);
    ASSERT_EQ(c.count(), 2);
    EXPECT_EQ(c.peak(0), 180);
    EXPECT_EQ(c.peak(1), 359);
    EXPECT_EQ(c.mass(1), 20);
    EXPECT_EQ(c.largest(), 1);
    for (int bin : {358, 359, 0, 1})
        EXPECT_EQ(c.root(bin), 359) << bin;

    // The same bins on a straight histogram: bin 0 is a maximum of its own.
    c.cluster(h.data(), 360, 3, false);
    EXPECT_EQ(c.count(), 3);
    EXPECT_EQ(c.peak(0), 0);
}

TEST(HistogramClustering, TiesGoToTheFirstBinAndTheFirstCluster)
{
    // Equal neighbours: the lower bin is the maximum.
    auto h = histogram(256, {{20, 6}, {21, 6}, {90, 6}, {91, 6}});
    HistogramClusters c;
    c.cluster(h.data(), 256, 2, false);
    ASSERT_EQ(c.count(), 2);
    EXPECT_EQ(c.peak(0), 20);
    EXPECT_EQ(c.peak(1), 90);
    EXPECT_EQ(c.root(21), 20);
    EXPECT_EQ(c.largest(), 0); // equal masses: the first cluster

    // On the circle the order starts at i - w: for bin 0, bin 359 comes before bin 1.
    h = histogram(360, {{359, 5}, {1, 5}});
    std::vector<int> peakOf(360);
    windowPeaks(h.data(), 360, 1, true, peakOf.data());
    EXPECT_EQ(peakOf[0], 359);
    EXPECT_EQ(peakOf[2], 1);
    EXPECT_EQ(peakOf[100], -1);
}

TEST(HistogramClustering, WindowWiderThanTheHistogram)
{
    const auto h = histogram(360, {{10, 2}, {50, 9}, {300, 9}});
    std::vector<int> peakOf(360);
    windowPeaks(h.data(), 360, 65536, true, peakOf.data());
    // Every window holds the whole circle; the first maximum counting from
    // (i - 65536) mod 360 wins.
    for (int i : {0, 10, 200, 359}) {
        const int start = ((i - 65536) % 360 + 360) % 360;
        const int expected = (start > 50 && start <= 300) ? 300 : 50;
        EXPECT_EQ(peakOf[i], expected) << i;
    }
    HistogramClusters c;
    c.cluster(h.data(), 256, 65536, false);
    ASSERT_EQ(c.count(), 1);
    EXPECT_EQ(c.peak(0), 50);
}

TEST(HistogramClustering, EmptyHistogramHasNoCluster)
{
    const std::vector<int> h(256, 0);
    HistogramClusters c;
    c.cluster(h.data(), 256, 3, false);
    EXPECT_EQ(c.count(), 0);
    EXPECT_EQ(c.largest(), -1);
}

} // namespace
