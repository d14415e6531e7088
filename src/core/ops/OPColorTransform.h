#pragma once

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include "util/Progress.h"

#include <memory>
#include <string>

namespace ivra {

// The Colour Transform operator: RGB -> HSV, HSV -> RGB and gray -> RGB on whole
// images, per pixel in double precision. Stateless. For large images RGB -> HSV
// takes V and S from per-call tables of the same arithmetic (bit-identical), so
// only the hue costs a division per pixel.
//
// RGB2HSV gives the undefined hue -1 to black only; every other gray gets hue 0.
// HSV2RGB treats hue 360 as 0, gives black for a hue past the six sectors, and
// the gray of V for S = 0 or H = -1.
// Colour transform: the colour space of the result. The command line names the
// target by the step (hsv, rgb), so there is no key to read.
struct ColorTransformParams {
    enum class Target { HSV, RGB };
    Target target = Target::HSV;

    template <class Visitor>
    void visit(Visitor&)
    {
    }
};

class OPColorTransform {
public:
    std::unique_ptr<ImageHSV> RGB2HSV(const ImageRGB& image) const;
    std::unique_ptr<ImageRGB> HSV2RGB(const ImageHSV& image) const;
    std::unique_ptr<ImageRGB> Gray2RGB(const ImageGray& image) const;

    // RGB -> HSV for an RGB image, HSV -> RGB or Gray -> RGB for an HSV or gray
    // image; throws std::invalid_argument for any other pairing.
    std::unique_ptr<Image> execute(const Image& image, const ColorTransformParams& params,
                                   const ivra::Progress& progress = {}) const;
    // "HSV" or "RGB".
    static std::string resultName(const ColorTransformParams& params);
};

} // namespace ivra
