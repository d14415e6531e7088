#include "HsvTables.h"

#include <algorithm>
#include <cmath>

// The double-precision conversions and the entries of the tables made from them. The
// build's table generator compiles this file on its own, so it needs nothing else.
namespace ivra {

namespace {

// The double nearest to 1/63, for the six-bit components of the RGB -> HSV table.
constexpr double kUnit63 = 1.0 / 63.0;
// The double nearest to 1/60, by which hues become sector positions.
constexpr double kSixtieth = 1.0 / 60.0;

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

HSVPixel packHsv(double h, double s, double v)
{
    HSVPixel p;
    // An undefined hue is stored as 0: only a caller packing an HSV plane stores -1.
    p.hue = static_cast<std::int16_t>(h >= 0 ? std::floor(h) : 0.0);
    p.sat = static_cast<std::uint8_t>(std::floor(s * 255));
    p.val = static_cast<std::uint8_t>(std::floor(v * 255));
    return p;
}

HSVPixel hsvFromRgbEntry(int r6, int g6, int b6)
{
    double h, s, v;
    rgbToHsv(r6 * kUnit63, g6 * kUnit63, b6 * kUnit63, h, s, v);
    return packHsv(h, s, v);
}

void hueSatEntry(int row, int sat, std::uint8_t* rgb)
{
    double r, g, b;
    hsvToRgb(row - 1, sat * kUnit, 1.0, r, g, b);
    rgb[0] = static_cast<std::uint8_t>(std::floor(r * 255));
    rgb[1] = static_cast<std::uint8_t>(std::floor(g * 255));
    rgb[2] = static_cast<std::uint8_t>(std::floor(b * 255));
}

} // namespace ivra
