#pragma once

#include "Array2D.h"
#include "ImageRGB.h"
#include "RGB24.h"

#include <cstdint>

namespace ivra {

// A segmentation result: the planes hold the result picture (each pixel painted in
// its region's colour), sourcePixels the picture the operator ran on, labels the
// region number of every pixel. Type code 3, so it also serves as an ordinary
// RGB picture.
class ImageSegmented : public ImageRGB {
public:
    ImageSegmented(int width, int height) : ImageRGB(width, height)
    {
        sourcePixels.resize(width, height);
        labels.resize(width, height);
    }

    bool isSegmented() const override { return true; }

    // Member order makes labels go first on destruction, then sourcePixels, then the planes.
    Array2D<RGB24> sourcePixels;
    Array2D<std::uint32_t> labels;
};

} // namespace ivra
