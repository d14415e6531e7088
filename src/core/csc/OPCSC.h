#pragma once

#include "image/ImageRGB.h"
#include "image/ImageSegmented.h"
#include "util/Progress.h"

#include <memory>
#include <string>

namespace ivra {

// The Colour Structure Code on an RGB picture (or a segmentation result, whose planes
// are its picture): regions of similar colour grown over a hexagonal island pyramid,
// painted in their mean colour and numbered 1, 2, ... in root order; pixels in no
// region are black with label 0. The dialog, the CLI and the benchmarks call this.
class OPCSC {
public:
    enum class Space { RGB, HSV };

    // The dialog's initial threshold and range (RGB only).
    static constexpr int defaultThreshold = 25;
    static constexpr int minThreshold = 0;
    static constexpr int maxThreshold = 255;

    struct Result {
        std::unique_ptr<ImageSegmented> image;
        // False when the element store overflowed: the picture is then black with every
        // label 0, and message holds the reason (also written to standard error).
        bool complete = true;
        std::string message;
    };

    // Throws std::invalid_argument for a threshold outside 0..255, std::length_error
    // for a picture too large for the element store (longest side above 16384) or for
    // which the memory cannot be had, and ivra::Cancelled when the progress callback
    // asks to stop.
    Result execute(const ImageRGB& source, Space space, int threshold = defaultThreshold,
                   const ivra::Progress& progress = {}) const;
    // The same with another store capacity than the standard 4 elements per island
    // (tests use a small one to provoke an overrun).
    Result execute(const ImageRGB& source, Space space, int threshold, const ivra::Progress& progress,
                   double elementsPerIsland) const;

    // "(counter) CSC RGB [Threshold=t]" or "(counter) CSC HSV".
    static std::string resultName(int counter, Space space, int threshold);

    // Whether a picture of this size fits the element store.
    static bool fits(int width, int height);
};

} // namespace ivra
