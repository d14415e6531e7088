#include "RHSFeatures.h"

#include "color/ColorConversion.h"

namespace ivra::rhs {

std::array<int, featureCount> pixelFeatures(std::uint8_t r8, std::uint8_t g8, std::uint8_t b8)
{
    const float r = static_cast<float>(r8) * unitFloat;
    const float g = static_cast<float>(g8) * unitFloat;
    const float b = static_cast<float>(b8) * unitFloat;

    double h = 0.0;
    double s = 0.0;
    double v = 0.0;
    rgbToHsv(r, g, b, h, s, v);
    // rgbToHsv reports an undefined hue (black or gray) as -1; here it counts as 0.
    const int hue = h < 0.0 ? 0 : static_cast<int>(h);

    const float y = (0.299f * r + 0.587f * g + 0.114f * b) * 255.0f;
    const float i = (0.5f * r - 0.23f * g - 0.27f * b + 1.0f) * 127.0f;
    const float q = (0.202f * r - 0.5f * g + 0.298f * b + 1.0f) * 127.0f;

    return {r8,
            g8,
            b8,
            hue,
            static_cast<int>(s * 255.0),
            static_cast<int>(v * 255.0),
            static_cast<int>(y),
            static_cast<int>(i),
            static_cast<int>(q)};
}

} // namespace ivra::rhs
