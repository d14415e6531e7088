#include "segment/HistogramClustering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

using namespace ivra::rhs;

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
        int largest = -1;
        for (int k = 0; k < clusters.count(); ++k) {
            ASSERT_EQ(clusters.peak(k), want.clusters[k]);
            ASSERT_EQ(clusters.mass(k), want.mass[want.clusters[k]]);
            if (largest == -1 || clusters.mass(k) > clusters.mass(largest))
                largest = k;
        }
        ASSERT_EQ(clusters.largest(), largest);
        for (int b = 0; b < n; ++b)
            ASSERT_EQ(clusters.root(b), want.root[b]) << "bin " << b;
    }
}
