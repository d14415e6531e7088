#pragma once

#include "image/ImageRGB.h"
#include "image/ImageSegmented.h"
#include "util/Progress.h"

#include <cstdint>
#include <memory>

namespace ivra {

// Split-and-merge with grouping on a quadtree. The covering square is split
// top-down wherever a block's colour variance (sum over R, G, B) reaches the split
// threshold; groups of four siblings whose neighbouring mean colours lie closer
// than the merge threshold (L1) are merged bottom-up into their parent; the
// maximal homogeneous blocks become regions 0, 1, ... in quadtree leaf order; then
// each region absorbs bordering regions closer than the group threshold, nearest
// first. Regions are painted in their area-weighted mean colour; labels keep the
// numbers of the regions that survived (with gaps for absorbed ones).
//
// Statistics are exact: colour sums are 64-bit integers, means, variances and
// distances are doubles. A block of a single pixel is homogeneous whatever the
// threshold, so every pixel lies in a region. Progress lines ("split...",
// "merge...", "Leaving quadtree...", "QuadTree.GetMaxLevel() N", "Grouping...")
// go to the process's message handler.
class OPSplitAndMerge {
public:
    // The dialog's initial values and range (the CLI uses the same).
    static constexpr int defaultSplitThreshold = 10;
    static constexpr int defaultMergeThreshold = 10;
    static constexpr int defaultGroupThreshold = 20;
    static constexpr int maxThreshold = 255;

    // Throws std::invalid_argument for an empty picture and std::length_error for a
    // picture so elongated that its quadtree would dwarf the picture. Throws
    // ivra::Cancelled when the progress callback asks to stop.
    std::unique_ptr<ImageSegmented> execute(const ImageRGB& source, double splitThreshold, double mergeThreshold,
                                            double groupThreshold, const ivra::Progress& progress = {}) const;

    // The colour of two grouped regions: per channel (a * areaA + b * areaB) / (areaA + areaB),
    // truncating, in 64 bits so that large regions do not overflow.
    static RGB24 areaWeightedMean(RGB24 a, std::int64_t areaA, RGB24 b, std::int64_t areaB);
};

} // namespace ivra
