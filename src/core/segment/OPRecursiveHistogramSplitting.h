#pragma once

#include "image/ImageRGB.h"
#include "image/ImageSegmented.h"
#include "util/Progress.h"

#include <memory>

namespace ivra {

// Parameters of recursive histogram splitting, each in minValue..maxValue.
struct RHSParameters {
    static constexpr int minValue = 0;
    static constexpr int maxValue = 65536;

    int gtWindow = 3;        // half width of the clustering window: bin i looks at i - gtWindow .. i + gtWindow
    int minSplitPeak = 200;  // a region whose largest cluster has at most this many pixels is not split
    int minRegionSize = 300; // a region of at most this many pixels is not split
};

// Recursive histogram splitting: a region is split along the largest cluster of
// whichever of its nine feature histograms (R, G, B, H, S, V, Y, I, Q) has the
// largest one, the two pixel sets are cut into 4-connected pieces, and each piece
// is treated the same way until it is too small or shows no split worth making.
// Final regions are labelled 1, 2, ... in the order they become final and painted
// in the mean colour of their source pixels.
class OPRecursiveHistogramSplitting {
public:
    // Throws std::invalid_argument for a parameter outside its range and
    // std::length_error for a picture with a side above 32767 (region masks take
    // 16-bit coordinates); ivra::Cancelled when the progress callback cancels.
    std::unique_ptr<ImageSegmented> execute(const ImageRGB& source, const RHSParameters& parameters,
                                            const ivra::Progress& progress = {}) const;
};

} // namespace ivra
