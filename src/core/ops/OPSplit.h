#pragma once

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <memory>

namespace ivra {

// The Split operator: one gray image per channel, a value-for-value copy of one
// plane (no scaling or clamping, so a hue channel holds -1..359). Stateless.
class OPSplit {
public:
    virtual ~OPSplit() = default;

    std::unique_ptr<ImageGray> red(const ImageRGB& image) const { return channel(image, 0); }
    std::unique_ptr<ImageGray> green(const ImageRGB& image) const { return channel(image, 1); }
    std::unique_ptr<ImageGray> blue(const ImageRGB& image) const { return channel(image, 2); }
    std::unique_ptr<ImageGray> hue(const ImageHSV& image) const { return channel(image, 0); }
    std::unique_ptr<ImageGray> saturation(const ImageHSV& image) const { return channel(image, 1); }
    std::unique_ptr<ImageGray> value(const ImageHSV& image) const { return channel(image, 2); }

    // The one copying routine: plane 0 (R or H), 1 (G or S) or 2 (B or V).
    static std::unique_ptr<ImageGray> channel(const ImageColor& image, int plane);
};

} // namespace ivra
