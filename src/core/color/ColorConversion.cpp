#include "ColorConversion.h"

#include "HsvTables.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ivra {

namespace {

// Row of the hue/saturation table for a packed hue: hue + 1, so the undefined hue -1 uses row 0.
// A hue outside -1..359 would index past the table; it is clamped to the nearest row.
inline int hueRow(std::int16_t hue)
{
    return std::clamp(static_cast<int>(hue) + 1, 0, 360);
}

inline void hsvPixelToRgb(const HSVPixel& p, std::uint8_t* rgb)
{
    const std::uint8_t* c = kHueSatTable[hueRow(p.hue)][p.sat];
    rgb[0] = kScaleTable[c[0]][p.val];
    rgb[1] = kScaleTable[c[1]][p.val];
    rgb[2] = kScaleTable[c[2]][p.val];
}

} // namespace

void pixelRgbToHsv(const std::uint8_t* rgb, HSVPixel& hsv)
{
    double h, s, v;
    rgbToHsv(rgb[0] * kUnit, rgb[1] * kUnit, rgb[2] * kUnit, h, s, v);
    hsv = packHsv(h, s, v);
}

void pixelHsvToRgb(const HSVPixel& hsv, std::uint8_t* rgb)
{
    hsvPixelToRgb(hsv, rgb);
}

void imageRgbToHsv(int width, int height, const std::uint8_t* rgb, HSVPixel* hsv)
{
    if (width <= 0 || height <= 0)
        return;
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const HSVPixel* table = kHsvFromRgbTable;
    // One lookup per pixel; the index keeps the upper six bits of each component:
    // ((R >> 2) * 64 + (G >> 2)) * 64 + (B >> 2). Four pixels (12 bytes) are read
    // as three words at a time.
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4, rgb += 12) {
        std::uint32_t w0, w1, w2;
        std::memcpy(&w0, rgb, 4);     // R0 G0 B0 R1
        std::memcpy(&w1, rgb + 4, 4); // G1 B1 R2 G2
        std::memcpy(&w2, rgb + 8, 4); // B2 R3 G3 B3
        hsv[i] = table[((w0 & 0xfc) << 10) | ((w0 >> 4) & 0xfc0) | ((w0 >> 18) & 0x3f)];
        hsv[i + 1] = table[((w0 >> 14) & 0x3f000) | ((w1 & 0xfc) << 4) | ((w1 >> 10) & 0x3f)];
        hsv[i + 2] = table[((w1 >> 6) & 0x3f000) | ((w1 >> 20) & 0xfc0) | ((w2 >> 2) & 0x3f)];
        hsv[i + 3] = table[((w2 << 2) & 0x3f000) | ((w2 >> 12) & 0xfc0) | (w2 >> 26)];
    }
    for (; i < n; ++i, rgb += 3)
        hsv[i] = table[(static_cast<unsigned>(rgb[0] >> 2) << 12) | (static_cast<unsigned>(rgb[1] >> 2) << 6) |
                       static_cast<unsigned>(rgb[2] >> 2)];
}

void imageHsvToRgb(int width, int height, const HSVPixel* hsv, std::uint8_t* rgb)
{
    if (width <= 0 || height <= 0)
        return;
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < n; ++i, rgb += 3)
        hsvPixelToRgb(hsv[i], rgb);
}

} // namespace ivra
