#pragma once

#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "image/ImageSegmented.h"
#include "util/Progress.h"

#include <memory>

namespace ivra {

// Region growing: the picture is scanned column by column (x outer, y inner) for
// the first pixel without a region; it seeds a new region, which grows
// breadth-first over 4-connected pixels whose value lies within `span` of the
// seed's value (Euclidean distance in RGB, absolute difference in gray).
// Regions are numbered 1, 2, ... in the order their seeds are found, every pixel
// ends with a label >= 1, and each region is painted in its mean colour
// (integer division, truncating). A gray source gives a gray-looking result:
// the mean gray in all three planes, and the gray copied into R, G and B of the
// source pixels.
class OPRegionGrowing {
public:
    static constexpr int minSpan = 0;
    static constexpr int maxSpan = 255;
    static constexpr int defaultSpan = 50;

    // Both throw std::invalid_argument for a span outside minSpan..maxSpan and
    // ivra::Cancelled when the progress callback asks to stop.
    std::unique_ptr<ImageSegmented> execute(const ImageRGB& source, int span,
                                            const ivra::Progress& progress = {}) const;
    std::unique_ptr<ImageSegmented> execute(const ImageGray& source, int span,
                                            const ivra::Progress& progress = {}) const;
};

} // namespace ivra
