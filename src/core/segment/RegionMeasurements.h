#pragma once

#include "image/Array2D.h"
#include "image/RGB24.h"

#include <cstdint>
#include <vector>

namespace ivra {

class ImageRGB;
class ImageSegmented;

// What is known of one region (one label other than 0) of a segmentation result.
// Coordinates are pixel centres: x the column, y the row; the box is inclusive.
struct RegionMeasurement {
    std::uint32_t label = 0;
    std::uint64_t pixels = 0;
    int xMin = 0;
    int yMin = 0;
    int xMax = 0;
    int yMax = 0;
    double centroidX = 0;
    double centroidY = 0;
    // Mean of the source pixels of the region.
    double meanRed = 0;
    double meanGreen = 0;
    double meanBlue = 0;
    // The colour the result planes give the region (at its first pixel in raster order).
    std::int32_t regionRed = 0;
    std::int32_t regionGreen = 0;
    std::int32_t regionBlue = 0;
    // Pixel edges between the region and another label or the picture's border.
    std::uint64_t perimeter = 0;
};

// Measures every region of a label picture in one pass over the labels and the
// source pixels; `result` gives the region colours. All three have the same size
// (std::invalid_argument otherwise). Rows come in increasing label order; label 0
// ("in no region") has none, but its edges count in its neighbours' perimeters.
std::vector<RegionMeasurement> measureRegions(const Array2D<std::uint32_t>& labels, const Array2D<RGB24>& source,
                                              const ImageRGB& result);
std::vector<RegionMeasurement> measureRegions(const ImageSegmented& segmentation);

// The number of regions: distinct labels other than 0.
std::size_t countRegions(const Array2D<std::uint32_t>& labels);

} // namespace ivra
