#pragma once

#include "RHSFeatures.h"

#include <array>
#include <cstdint>
#include <vector>

// The pixel sets of recursive histogram splitting and how a split cuts them.
// Pixels are addressed in a frame padded by one pixel on every side, so consecutive
// addresses of a set never run from one row into the next.
namespace ivra::rhs {

using HistogramSet = std::array<std::array<int, maxFeatureBins>, featureCount>;

// A candidate region: its pixels are arena[offset .. offset + count), sorted in
// row-major order.
struct Region {
    std::uint32_t offset;
    std::uint32_t count;
    int histogramSlot = -1; // its histograms, when already known: a pool slot, or ready
    int subtree = -1;       // >= 0: a stand-in for a region handed to another worker
};
inline constexpr int histogramsReady = -2;

// Adds the features of pixels[0 .. count) to the nine histograms.
void countPixels(HistogramSet& histograms, const FeatureVector* features, const std::uint32_t* pixels,
                 std::uint32_t count);

// Cuts a region along a set of bins of one feature into the 4-connected pieces of
// each side. Its working arrays are indexed like the arena (a set of n pixels has at
// most n runs), so regions in disjoint segments may be cut at the same time.
class PieceCutter {
public:
    struct Arrays {
        std::uint32_t* arena;
        std::uint32_t* runs; // two values per pixel
        std::uint32_t* runParent;
        std::uint32_t* runComponent;
        std::uint32_t* componentSizes;
    };
    PieceCutter(const FeatureVector* features, const Arrays& arrays, int stride)
        : features_(features), arrays_(arrays), stride_(static_cast<std::uint32_t>(stride))
    {
    }

    // The pixels whose feature value v has inA[v] (countA of them), then the others,
    // each cut into 4-connected pieces; every piece is written back contiguously into
    // the region's segment in that order and appended to pieces.
    void cut(const Region& region, int feature, const std::array<bool, maxFeatureBins>& inA, std::uint32_t countA,
             std::vector<Region>& pieces) const;

private:
    struct Run {
        std::uint32_t start; // pixels [start, end)
        std::uint32_t end;
    };
    template <class Value>
    void partition(const Region& region, Value value, const std::array<bool, maxFeatureBins>& inA,
                   std::uint32_t countA, std::uint32_t& runsA, std::uint32_t& runsB) const;
    Run* runsAt(std::uint32_t offset) const { return reinterpret_cast<Run*>(arrays_.runs) + offset; }
    void linkRuns(std::uint32_t offset, std::uint32_t count) const;
    void writeComponents(std::uint32_t offset, std::uint32_t count, std::vector<Region>& pieces) const;

    const FeatureVector* features_;
    Arrays arrays_;
    std::uint32_t stride_;
};

} // namespace ivra::rhs
