#pragma once

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <memory>

namespace ivra {

// The Colour Transform operator: RGB -> HSV, HSV -> RGB and gray -> RGB on whole
// images, per pixel in double precision. Stateless. For large images RGB -> HSV
// takes V and S from per-call tables of the same arithmetic (bit-identical), so
// only the hue costs a division per pixel.
//
// RGB2HSV gives the undefined hue -1 to black only; every other gray gets hue 0.
// HSV2RGB treats hue 360 as 0, gives black for a hue past the six sectors, and
// the gray of V for S = 0 or H = -1.
class OPColorTransform {
public:
    std::unique_ptr<ImageHSV> RGB2HSV(const ImageRGB& image) const;
    std::unique_ptr<ImageRGB> HSV2RGB(const ImageHSV& image) const;
    std::unique_ptr<ImageRGB> Gray2RGB(const ImageGray& image) const;
};

} // namespace ivra
