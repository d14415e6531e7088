#pragma once

#include "ImageColor.h"

namespace ivra {

// Planes R, G, B (0..255 for a loaded picture).
class ImageRGB : public ImageColor {
public:
    ImageRGB(int width, int height) : ImageColor(width, height) {}

    int type() const override { return TypeImageRGB; }
    virtual bool isSegmented() const { return false; }

    std::int32_t* red() { return plane(0); }
    std::int32_t* green() { return plane(1); }
    std::int32_t* blue() { return plane(2); }
    const std::int32_t* red() const { return plane(0); }
    const std::int32_t* green() const { return plane(1); }
    const std::int32_t* blue() const { return plane(2); }
};

} // namespace ivra
