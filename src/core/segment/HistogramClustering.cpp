#include "HistogramClustering.h"

#include <algorithm>

namespace ivra::rhs {

namespace {

// Orders bins by count and, among equal counts, by position: the largest key is
// the largest count at the lowest position. Keys of real bins are never negative.
std::int64_t key(int count, int position)
{
    return (static_cast<std::int64_t>(count) << 32) | (0xffffffffLL - position);
}
int keyPosition(std::int64_t k)
{
    return static_cast<int>(0xffffffffLL - (k & 0xffffffffLL));
}
int keyCount(std::int64_t k)
{
    return static_cast<int>(k >> 32);
}

// out[a] = largest of keys[a .. a + width - 1] for a = 0 .. length - width, by the
// van Herk / Gil-Werman scheme: running maxima forward and backward within blocks
// of the window's width, so any window is the join of one suffix and one prefix.
void slidingMax(const std::vector<std::int64_t>& keys, int width, WindowPeakScratch& s, std::int64_t* out)
{
    const int length = static_cast<int>(keys.size());
    s.prefix.resize(keys.size());
    s.suffix.resize(keys.size());
    for (int blockStart = 0; blockStart < length; blockStart += width) {
        const int blockEnd = std::min(blockStart + width, length);
        s.prefix[blockStart] = keys[blockStart];
        for (int j = blockStart + 1; j < blockEnd; ++j)
            s.prefix[j] = std::max(s.prefix[j - 1], keys[j]);
        s.suffix[blockEnd - 1] = keys[blockEnd - 1];
        for (int j = blockEnd - 2; j >= blockStart; --j)
            s.suffix[j] = std::max(s.suffix[j + 1], keys[j]);
    }
    for (int a = 0; a + width <= length; ++a)
        out[a] = std::max(s.suffix[a], s.prefix[a + width - 1]);
}

} // namespace

void windowPeaks(const int* h, int binCount, int window, bool circular, int* peakOf, WindowPeakScratch& scratch)
{
    if (binCount <= 0)
        return;
    const int n = binCount;
    const long long w = std::max(window, 0);

    if (circular && 2 * w + 1 >= n) {
        // The window covers the whole circle: the answer is the first global maximum
        // met when counting forward from (i - w) mod n.
        const int top = *std::max_element(h, h + n);
        if (top == 0) {
            std::fill_n(peakOf, n, -1);
            return;
        }
        std::vector<int>& firstMaxFrom = scratch.firstMax;
        firstMaxFrom.resize(static_cast<std::size_t>(n));
        int nextMax = -1;
        for (int pass = 0; pass < 2; ++pass) {
            for (int s = n - 1; s >= 0; --s) {
                if (h[s] == top)
                    nextMax = s;
                firstMaxFrom[s] = nextMax;
            }
        }
        for (int i = 0; i < n; ++i)
            peakOf[i] = firstMaxFrom[static_cast<std::size_t>(((i - w) % n + n) % n)];
        return;
    }

    // Lay the bins out in window order: the window of bin i is positions i .. i + 2w.
    // On a straight histogram the ends are padded with keys below every bin (a
    // window of n - 1 already reaches every bin, so wider ones change nothing); a
    // circular one is unrolled, position k standing for bin (k - w) mod n.
    const int ww = circular ? static_cast<int>(w) : static_cast<int>(std::min<long long>(w, n - 1));
    std::vector<std::int64_t>& keys = scratch.keys;
    keys.resize(static_cast<std::size_t>(n) + 2 * static_cast<std::size_t>(ww));
    for (int k = 0; k < static_cast<int>(keys.size()); ++k) {
        if (circular)
            keys[k] = key(h[(k - ww + n) % n], k);
        else
            keys[k] = (k < ww || k >= ww + n) ? -1 : key(h[k - ww], k);
    }
    scratch.best.resize(static_cast<std::size_t>(n));
    slidingMax(keys, 2 * ww + 1, scratch, scratch.best.data());
    for (int i = 0; i < n; ++i) {
        const std::int64_t best = scratch.best[i];
        peakOf[i] = keyCount(best) > 0 ? (keyPosition(best) - ww + n) % n : -1;
    }
}

void HistogramClusters::cluster(const int* h, int binCount, int window, bool circular)
{
    const auto n = static_cast<std::size_t>(std::max(binCount, 0));
    peakOf_.resize(n);
    root_.resize(n);
    mass_.resize(n);
    peaks_.clear();
    clusters_.clear();
    if (n == 0)
        return;

    windowPeaks(h, binCount, window, circular, peakOf_.data(), scratch_);
    for (int i = 0; i < binCount; ++i) {
        root_[i] = i;
        mass_[i] = h[i];
    }

    // Bins on the way down to the left of a peak that is yet to come wait in
    // [pending, i) and are given to that peak once it is found.
    int pending = -1;
    for (int i = 0; i < binCount; ++i) {
        const int j = peakOf_[i];
        if (j == -1)
            continue;
        if (j == i) {
            peaks_.push_back(i);
            if (pending != -1) {
                for (int t = pending; t < i; ++t)
                    root_[t] = i;
                pending = -1;
            }
        } else {
            const int r = root_[j];
            mass_[r] += mass_[i];
            root_[i] = root_[r];
            if (pending == -1 && i < r && r - i < window)
                pending = i;
        }
    }
    if (pending != -1) {
        for (int t = pending; t < binCount; ++t)
            root_[t] = root_[binCount - 1];
    }

    for (int p : peaks_) {
        if (mass_[p] > 0)
            clusters_.push_back(p);
    }
}

int HistogramClusters::largest() const
{
    int best = -1;
    for (int k = 0; k < count(); ++k) {
        if (best == -1 || mass(k) > mass(best))
            best = k;
    }
    return best;
}

} // namespace ivra::rhs
