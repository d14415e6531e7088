#pragma once

#include "ImageColor.h"

namespace ivra {

// Planes H (whole degrees 0..359, -1 = undefined), S and V (0..255).
class ImageHSV : public ImageColor {
public:
    ImageHSV(int width, int height) : ImageColor(width, height) {}

    int type() const override { return TypeImageHSV; }

    std::int32_t* hue() { return plane(0); }
    std::int32_t* saturation() { return plane(1); }
    std::int32_t* value() { return plane(2); }
    const std::int32_t* hue() const { return plane(0); }
    const std::int32_t* saturation() const { return plane(1); }
    const std::int32_t* value() const { return plane(2); }
};

} // namespace ivra
