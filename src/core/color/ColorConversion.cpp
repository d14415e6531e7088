#include "ColorConversion.h"

#include "util/HugePages.h"
#include "util/ParallelRows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace ivra {

namespace {

// The double nearest to 1/63, for the six-bit components of hsvFromRgb().
constexpr double kUnit63 = 1.0 / 63.0;
// The double nearest to 1/60, by which hues become sector positions.
constexpr double kSixtieth = 1.0 / 60.0;

// Lazily built tables, built once for the process on first use (a function-local
// static: safe when several threads ask first). They live in large blocks, which
// cost one page fault each rather than one per small page of static storage.
// hsvFromRgb(): the packed HSV of (r6, g6, b6) / 63 at (r6 * 64 + g6) * 64 + b6,
// r6 = R >> 2 and so on.
// hueSatScale().hueSat: row n holds hue n - 1 (row 0 the undefined hue), column j
// saturation j / 255, value 1; each entry R, G, B. scale[a][b] = floor(a * b / 255).
struct HueSatScale {
    std::uint8_t hueSat[361][256][3];
    std::uint8_t scale[256][256];
};

HSVPixel packHsv(double h, double s, double v)
{
    HSVPixel p;
    // An undefined hue is stored as 0: only a caller packing an HSV plane stores -1.
    p.hue = static_cast<std::int16_t>(h >= 0 ? std::floor(h) : 0.0);
    p.sat = static_cast<std::uint8_t>(std::floor(s * 255));
    p.val = static_cast<std::uint8_t>(std::floor(v * 255));
    return p;
}

// Entries are independent: each thread fills its own slices of red.
LargeArray<HSVPixel> buildHsvFromRgb()
{
    auto table = allocateLarge<HSVPixel>(64 * 64 * 64);
    HSVPixel* const t = table.get();
    parallelRows(0, 64, 1, [t](int r0, int r1) {
        for (int r6 = r0; r6 < r1; ++r6)
            for (int g6 = 0; g6 < 64; ++g6)
                for (int b6 = 0; b6 < 64; ++b6) {
                    double h, s, v;
                    rgbToHsv(r6 * kUnit63, g6 * kUnit63, b6 * kUnit63, h, s, v);
                    t[(r6 * 64 + g6) * 64 + b6] = packHsv(h, s, v);
                }
    });
    return table;
}

const HSVPixel* hsvFromRgb()
{
    static const LargeArray<HSVPixel> table = buildHsvFromRgb();
    return table.get();
}

LargeArray<HueSatScale> buildHueSatAndScale()
{
    auto tables = allocateLarge<HueSatScale>(1);
    HueSatScale& t = *tables.get();
    for (int n = 0; n <= 360; ++n)
        for (int j = 0; j < 256; ++j) {
            double r, g, b;
            hsvToRgb(n - 1, j * kUnit, 1.0, r, g, b);
            t.hueSat[n][j][0] = static_cast<std::uint8_t>(std::floor(r * 255));
            t.hueSat[n][j][1] = static_cast<std::uint8_t>(std::floor(g * 255));
            t.hueSat[n][j][2] = static_cast<std::uint8_t>(std::floor(b * 255));
        }
    for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b)
            t.scale[a][b] = static_cast<std::uint8_t>(a * b / 255);
    return tables;
}

const HueSatScale& hueSatScale()
{
    static const LargeArray<HueSatScale> tables = buildHueSatAndScale();
    return *tables.get();
}

// Row of hueSat for a packed hue: hue + 1, so the undefined hue -1 uses row 0.
// A hue outside -1..359 would index past the table; it is clamped to the nearest row.
inline int hueRow(std::int16_t hue)
{
    return std::clamp(static_cast<int>(hue) + 1, 0, 360);
}

inline void hsvPixelToRgb(const HueSatScale& t, const HSVPixel& p, std::uint8_t* rgb)
{
    const std::uint8_t* c = t.hueSat[hueRow(p.hue)][p.sat];
    rgb[0] = t.scale[c[0]][p.val];
    rgb[1] = t.scale[c[1]][p.val];
    rgb[2] = t.scale[c[2]][p.val];
}

} // namespace

void rgbToHsv(double r, double g, double b, double& h, double& s, double& v)
{
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    v = max;
    const double delta = max - min;
    s = max != 0 ? delta / max : 0.0;
    if (s == 0) {
        h = -1.0;
        return;
    }
    h = hueDegrees(r, g, b, max, delta);
}

void hsvToRgb(double h, double s, double v, double& r, double& g, double& b)
{
    if (s == 0) {
        r = g = b = v;
        return;
    }
    if (h < 0)
        h = 0;
    h = h * kSixtieth;
    const double i = std::floor(h);
    const double f = h - i;
    const double p = v * (1 - s);
    const double q = v * (1 - s * f);
    const double t = v * (1 - (1 - f) * s);
    switch (static_cast<int>(i)) {
    case 0: r = v; g = t; b = p; break;
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    default: r = v; g = p; b = q; break; // sector 5 (callers pass hues below 360)
    }
}

void pixelRgbToHsv(const std::uint8_t* rgb, HSVPixel& hsv)
{
    double h, s, v;
    rgbToHsv(rgb[0] * kUnit, rgb[1] * kUnit, rgb[2] * kUnit, h, s, v);
    hsv = packHsv(h, s, v);
}

void pixelHsvToRgb(const HSVPixel& hsv, std::uint8_t* rgb)
{
    hsvPixelToRgb(hueSatScale(), hsv, rgb);
}

void imageRgbToHsv(int width, int height, const std::uint8_t* rgb, HSVPixel* hsv)
{
    if (width <= 0 || height <= 0)
        return;
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const HSVPixel* table = hsvFromRgb();
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
    const HueSatScale& tables = hueSatScale();
    const std::size_t n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    for (std::size_t i = 0; i < n; ++i, rgb += 3)
        hsvPixelToRgb(tables, hsv[i], rgb);
}

} // namespace ivra
