#include "OPColorTransform.h"

#include "colour/ColourConversion.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr double kSixtieth = 1.0 / 60.0;

// Truncation toward zero. Planes may hold any int (a loaded .npy file), so values
// beyond the int range saturate instead of overflowing; in range this is a plain cast.
inline std::int32_t trunc32(double x)
{
    if (!(x > -2147483649.0))
        return std::numeric_limits<std::int32_t>::min();
    if (!(x < 2147483648.0))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(x);
}

} // namespace

std::unique_ptr<ImageHSV> OPColorTransform::RGB2HSV(const ImageRGB& image) const
{
    auto out = std::make_unique<ImageHSV>(image.width(), image.height());
    const std::int32_t *R = image.red(), *G = image.green(), *B = image.blue();
    std::int32_t *H = out->hue(), *S = out->saturation(), *V = out->value();
    const std::size_t n = image.pixelCount();
    for (std::size_t i = 0; i < n; ++i) {
        const double r = R[i] * kUnit, g = G[i] * kUnit, b = B[i] * kUnit;
        const double max = std::max({r, g, b});
        const double min = std::min({r, g, b});
        const double delta = max - min;
        V[i] = trunc32(max * 255);
        if (max == 0) {
            H[i] = -1;
            S[i] = 0;
            continue;
        }
        const double s255 = delta / max * 255;
        S[i] = trunc32(s255);
        if (s255 == 0) {
            H[i] = 0;
            continue;
        }
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
        H[i] = trunc32(h);
    }
    return out;
}

std::unique_ptr<ImageRGB> OPColorTransform::HSV2RGB(const ImageHSV& image) const
{
    auto out = std::make_unique<ImageRGB>(image.width(), image.height());
    const std::int32_t *H = image.hue(), *S = image.saturation(), *V = image.value();
    std::int32_t *R = out->red(), *G = out->green(), *B = out->blue();
    const std::size_t n = image.pixelCount();
    for (std::size_t i = 0; i < n; ++i) {
        const double s = S[i] * kUnit, v = V[i] * kUnit;
        double h = H[i];
        if (s == 0 || H[i] == -1) {
            R[i] = G[i] = B[i] = trunc32(v * 255);
            continue;
        }
        if (h == 360)
            h = 0;
        h = h * kSixtieth;
        const std::int32_t sector = trunc32(h);
        if (sector < 0 || sector > 5) {
            R[i] = G[i] = B[i] = 0;
            continue;
        }
        const double f = h - sector;
        const double p = v * (1 - s);
        const double q = v * (1 - s * f);
        const double t = v * (1 - s * (1 - f));
        double r, g, b;
        switch (sector) {
        case 0: r = v; g = t; b = p; break;
        case 1: r = q; g = v; b = p; break;
        case 2: r = p; g = v; b = t; break;
        case 3: r = p; g = q; b = v; break;
        case 4: r = t; g = p; b = v; break;
        default: r = v; g = p; b = q; break;
        }
        R[i] = trunc32(r * 255);
        G[i] = trunc32(g * 255);
        B[i] = trunc32(b * 255);
    }
    return out;
}

std::unique_ptr<ImageRGB> OPColorTransform::Gray2RGB(const ImageGray& image) const
{
    auto out = std::make_unique<ImageRGB>(image.width(), image.height());
    const std::size_t bytes = image.pixelCount() * sizeof(std::int32_t);
    for (int c = 0; c < 3; ++c)
        if (bytes)
            std::memcpy(out->plane(c), image.data(), bytes);
    return out;
}
