#pragma once

#include "Image.h"

#include <array>

namespace ivra {

// Three planes of 32-bit signed ints (R, G, B or H, S, V), one after the other in one
// block, so that an operator may use the block as scratch memory before it writes
// its result there.
class ImageColor : public Image {
public:
    using Triple = std::array<std::int32_t, 3>;

    std::int32_t* plane(int channel) { return planes_[channel]; }
    const std::int32_t* plane(int channel) const { return planes_[channel]; }

    // Pixel (x, y) as the triple of the three plane values.
    Triple pixel(int x, int y) const
    {
        const std::size_t i = static_cast<std::size_t>(y) * width() + x;
        return {planes_[0][i], planes_[1][i], planes_[2][i]};
    }
    // Writes the triple at a linear index; values arrive as 16-bit signed numbers
    // and are stored sign-extended.
    void setPixel(std::size_t index, std::int16_t c0, std::int16_t c1, std::int16_t c2)
    {
        planes_[0][index] = c0;
        planes_[1][index] = c1;
        planes_[2][index] = c2;
    }

protected:
    ImageColor(int width, int height);

private:
    LargeArray<std::int32_t> block_;
    std::int32_t* planes_[3];
};

} // namespace ivra
