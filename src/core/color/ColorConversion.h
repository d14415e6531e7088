#pragma once

#include <cstdint>

namespace ivra {

// The one HSV convention: hue in degrees (-1 = undefined), saturation and value
// as unit values in the double-precision pair and 0..255 everywhere else.

// Packed 8-bit HSV value, one 32-bit word: bits 0..15 hue (signed), 16..23 sat, 24..31 val.
struct HSVPixel {
    std::int16_t hue;
    std::uint8_t sat;
    std::uint8_t val;
};
static_assert(sizeof(HSVPixel) == 4);

// The double nearest to 1/255: an 8-bit value u becomes the unit value u * kUnit.
inline constexpr double kUnit = 1.0 / 255.0;

// Hue in degrees [0, 360) of a chromatic unit colour with the given largest component
// and max - min > 0. The equality tests run red, green, blue.
inline double hueDegrees(double r, double g, double b, double max, double delta)
{
    double h;
    if (r == max)
        h = (g - b) / delta;
    else if (g == max)
        h = 2 + (b - r) / delta;
    else
        h = 4 + (r - g) / delta;
    h = h * 60;
    if (h < 0)
        h = h + 360;
    return h;
}

void rgbToHsv(double r, double g, double b, double& h, double& s, double& v);
void hsvToRgb(double h, double s, double v, double& r, double& g, double& b);

// Exact single-pixel conversion (no table); an undefined hue is stored as 0.
void pixelRgbToHsv(const std::uint8_t* rgb, HSVPixel& hsv);
// Through the hue/saturation and scale tables; hue -1 uses the table's row 0.
void pixelHsvToRgb(const HSVPixel& hsv, std::uint8_t* rgb);

// Whole buffers: width * height pixels, nothing when that is not positive.
// RGB buffers hold 3 bytes per pixel (R, G, B), row after row.
void imageRgbToHsv(int width, int height, const std::uint8_t* rgb, HSVPixel* hsv);
void imageHsvToRgb(int width, int height, const HSVPixel* hsv, std::uint8_t* rgb);

} // namespace ivra
