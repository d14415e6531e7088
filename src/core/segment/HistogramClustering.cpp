#include "HistogramClustering.h"

#include <algorithm>

namespace ivra::rhs {

namespace {

// For i = 0 .. windows - 1, the position of the leftmost maximum of v over the
// window [i + loOffset, i + hiOffset] clipped to [0, length - 1].
void slidingLeftmostMax(const int* v, int length, long long loOffset, long long hiOffset, int windows, int* best,
                        std::vector<int>& queue)
{
    if (hiOffset - loOffset <= 8) {
        // Narrow windows: a direct scan beats the queue's bookkeeping.
        for (int i = 0; i < windows; ++i) {
            const int lo = static_cast<int>(std::max<long long>(i + loOffset, 0));
            const int hi = static_cast<int>(std::min<long long>(i + hiOffset, length - 1));
            int b = lo;
            for (int t = lo + 1; t <= hi; ++t) {
                if (v[t] > v[b])
                    b = t;
            }
            best[i] = b;
        }
        return;
    }
    // A monotonic queue that keeps equal earlier values, so its front is the
    // leftmost maximum of the window.
    queue.resize(static_cast<std::size_t>(length));
    int head = 0;
    int tail = 0;
    int next = 0;
    for (int i = 0; i < windows; ++i) {
        const long long hi = std::min<long long>(i + hiOffset, length - 1);
        const long long lo = std::max<long long>(i + loOffset, 0);
        for (; next <= hi; ++next) {
            while (tail > head && v[queue[tail - 1]] < v[next])
                --tail;
            queue[tail++] = next;
        }
        while (queue[head] < lo)
            ++head;
        best[i] = queue[head];
    }
}

} // namespace

void windowPeaks(const int* h, int binCount, int window, bool circular, int* peakOf)
{
    std::vector<int> scratch;
    std::vector<int> queue;
    windowPeaks(h, binCount, window, circular, peakOf, scratch, queue);
}

void windowPeaks(const int* h, int binCount, int window, bool circular, int* peakOf, std::vector<int>& scratch,
                 std::vector<int>& queue)
{
    if (binCount <= 0)
        return;
    const int n = binCount;
    const long long w = std::max(window, 0);

    if (!circular) {
        slidingLeftmostMax(h, n, -w, w, n, peakOf, queue);
        for (int i = 0; i < n; ++i) {
            if (h[peakOf[i]] == 0)
                peakOf[i] = -1;
        }
        return;
    }

    if (2 * w + 1 >= n) {
        // The window covers the whole circle: the answer is the first global maximum
        // met when counting forward from (i - w) mod n.
        const int top = *std::max_element(h, h + n);
        if (top == 0) {
            std::fill_n(peakOf, n, -1);
            return;
        }
        std::vector<int>& firstMaxFrom = scratch;
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

    // Unroll the circle: position k stands for bin (k - w) mod n, and the window of
    // bin i is positions i .. i + 2w, taken in the same forward order.
    const int ww = static_cast<int>(w);
    const int length = n + 2 * ww;
    scratch.resize(static_cast<std::size_t>(length));
    int* unrolled = scratch.data();
    for (int k = 0; k < length; ++k)
        unrolled[k] = h[(k - ww + n) % n];
    slidingLeftmostMax(unrolled, length, 0, 2 * w, n, peakOf, queue);
    for (int i = 0; i < n; ++i) {
        const int bin = (peakOf[i] - ww + n) % n;
        peakOf[i] = h[bin] > 0 ? bin : -1;
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

    windowPeaks(h, binCount, window, circular, peakOf_.data(), scratch_, queue_);
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
