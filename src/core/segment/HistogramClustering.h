#pragma once

#include <cstdint>
#include <vector>

// Graph-theoretical clustering of a one-dimensional histogram: every bin points to
// the largest bin of the window around it, and the bins that lead to the same local
// maximum form one cluster.
namespace ivra::rhs {

// Working storage of windowPeaks, kept by the caller from call to call.
struct WindowPeakScratch {
    std::vector<std::int64_t> keys, prefix, suffix, best;
    std::vector<int> firstMax;
};

// For every bin i of h[0..binCount-1], the largest bin of the window i - window ..
// i + window (lowest index among equal maxima; on a circular histogram the window
// wraps and the first maximum counting from i - window wins), or -1 when the whole
// window is empty. Writes binCount values to peakOf. O(binCount) whatever the window.
void windowPeaks(const int* h, int binCount, int window, bool circular, int* peakOf, WindowPeakScratch& scratch);

class HistogramClusters {
public:
    // Clusters h[0..binCount-1]; the storage is reused from call to call.
    void cluster(const int* h, int binCount, int window, bool circular);

    // Clusters in ascending bin order of their peaks.
    int count() const { return static_cast<int>(clusters_.size()); }
    int peak(int cluster) const { return clusters_[cluster]; }
    std::int64_t mass(int cluster) const { return mass_[clusters_[cluster]]; }
    // The cluster with the largest mass (the first one on a tie), -1 when there is none.
    int largest() const;

    // The bin a bin leads to: a pixel belongs to the cluster of peak p when the root
    // of its feature value is p.
    int root(int bin) const { return root_[bin]; }

private:
    WindowPeakScratch scratch_;
    std::vector<int> peakOf_;
    std::vector<int> root_;
    std::vector<std::int64_t> mass_;
    std::vector<int> peaks_;
    std::vector<int> clusters_;
};

} // namespace ivra::rhs
