#include "OPColorTransform.h"

#include "color/ColorConversion.h"
#include "util/HugePages.h"
#include "util/ParallelRows.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>

namespace ivra {

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

// One pixel of RGB2HSV in double precision, for any plane values.
inline void rgbPixelToHsv(std::int32_t R, std::int32_t G, std::int32_t B, std::int32_t& H, std::int32_t& S,
                          std::int32_t& V)
{
    const double r = R * kUnit, g = G * kUnit, b = B * kUnit;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double delta = max - min;
    V = trunc32(max * 255);
    if (max == 0) {
        H = -1;
        S = 0;
        return;
    }
    const double s255 = delta / max * 255;
    S = trunc32(s255);
    if (s255 == 0) {
        H = 0;
        return;
    }
    H = trunc32(hueDegrees(r, g, b, max, delta));
}

// One pixel of HSV2RGB in double precision, for any plane values.
inline void hsvPixelToRgb(std::int32_t H, std::int32_t S, std::int32_t V, std::int32_t& R, std::int32_t& G,
                          std::int32_t& B)
{
    const double s = S * kUnit, v = V * kUnit;
    double h = H;
    if (s == 0 || H == -1) {
        R = G = B = trunc32(v * 255);
        return;
    }
    if (h == 360)
        h = 0;
    h = h * kSixtieth;
    const std::int32_t sector = trunc32(h);
    if (sector < 0 || sector > 5) {
        R = G = B = 0;
        return;
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
    R = trunc32(r * 255);
    G = trunc32(g * 255);
    B = trunc32(b * 255);
}

// Per-value tables for 8-bit planes, holding exactly what rgbPixelToHsv computes:
// V depends on the largest component alone and S on the largest and the smallest,
// so only the hue needs the per-pixel division. Components scale to distinct
// doubles, so comparing the integers picks the same maximum as comparing the
// scaled values.
struct EightBitTables {
    std::int32_t value[256];
    std::int32_t saturation[256][256]; // [max][min]
    double unit[256];

    EightBitTables()
    {
        for (int u = 0; u < 256; ++u) {
            unit[u] = u * kUnit;
            value[u] = trunc32(unit[u] * 255);
        }
        for (int mx = 0; mx < 256; ++mx)
            for (int mn = 0; mn <= mx; ++mn)
                saturation[mx][mn] = mx == 0 ? 0 : trunc32((unit[mx] - unit[mn]) / unit[mx] * 255);
    }
};

static_assert(std::is_trivially_destructible_v<EightBitTables>);

} // namespace

std::unique_ptr<ImageHSV> OPColorTransform::RGB2HSV(const ImageRGB& image) const
{
    auto out = std::make_unique<ImageHSV>(image.width(), image.height());
    const std::int32_t *R = image.red(), *G = image.green(), *B = image.blue();
    std::int32_t *H = out->hue(), *S = out->saturation(), *V = out->value();
    const std::size_t n = image.pixelCount();
    const std::size_t w = static_cast<std::size_t>(image.width());
    // Building the tables costs about as much as 30000 pixels; small images skip them.
    if (n < 65536) {
        for (std::size_t i = 0; i < n; ++i)
            rgbPixelToHsv(R[i], G[i], B[i], H[i], S[i], V[i]);
        return out;
    }
    // A large block: one page fault instead of one per small page (~65).
    const LargeArray<std::byte> block = allocateLarge<std::byte>(sizeof(EightBitTables));
    const EightBitTables* const t = new (block.get()) EightBitTables; // trivially destructible
    parallelRows(0, image.height(), rowsPerPiece(image.width()), [&](int y0, int y1) {
        for (std::size_t i = y0 * w; i < y1 * w; ++i) {
            const std::int32_t ri = R[i], gi = G[i], bi = B[i];
            if (static_cast<std::uint32_t>(ri | gi | bi) > 255) {
                rgbPixelToHsv(ri, gi, bi, H[i], S[i], V[i]);
                continue;
            }
            const std::int32_t mx = std::max({ri, gi, bi});
            const std::int32_t mn = std::min({ri, gi, bi});
            V[i] = t->value[mx];
            S[i] = t->saturation[mx][mn];
            if (mx == mn) {
                H[i] = mx == 0 ? -1 : 0; // black is undefined, every other gray hue 0
                continue;
            }
            const double r = t->unit[ri], g = t->unit[gi], b = t->unit[bi];
            const double delta = t->unit[mx] - t->unit[mn];
            // The unit table is injective, so comparing unit values picks the same branch
            // as comparing the 8-bit components.
            H[i] = static_cast<std::int32_t>(hueDegrees(r, g, b, t->unit[mx], delta));
        }
    });
    return out;
}

std::unique_ptr<ImageRGB> OPColorTransform::HSV2RGB(const ImageHSV& image) const
{
    auto out = std::make_unique<ImageRGB>(image.width(), image.height());
    const std::int32_t *H = image.hue(), *S = image.saturation(), *V = image.value();
    std::int32_t *R = out->red(), *G = out->green(), *B = out->blue();
    const std::size_t w = static_cast<std::size_t>(image.width());
    parallelRows(0, image.height(), rowsPerPiece(image.width()), [&](int y0, int y1) {
        for (std::size_t i = y0 * w; i < y1 * w; ++i)
            hsvPixelToRgb(H[i], S[i], V[i], R[i], G[i], B[i]);
    });
    return out;
}

std::unique_ptr<ImageRGB> OPColorTransform::Gray2RGB(const ImageGray& image) const
{
    auto out = std::make_unique<ImageRGB>(image.width(), image.height());
    const std::size_t w = static_cast<std::size_t>(image.width());
    parallelRows(0, image.height(), rowsPerPiece(image.width()), [&](int y0, int y1) {
        for (int c = 0; c < 3; ++c)
            std::memcpy(out->plane(c) + y0 * w, image.data() + y0 * w, (y1 - y0) * w * sizeof(std::int32_t));
    });
    return out;
}

std::unique_ptr<Image> OPColorTransform::execute(const Image& image, const ColorTransformParams& params,
                                                 const ivra::Progress&) const
{
    const bool toHsv = params.target == ColorTransformParams::Target::HSV;
    if (toHsv && image.type() == TypeImageRGB)
        return RGB2HSV(static_cast<const ImageRGB&>(image));
    if (!toHsv && image.type() == TypeImageHSV)
        return HSV2RGB(static_cast<const ImageHSV&>(image));
    if (!toHsv && image.type() == TypeImageGray)
        return Gray2RGB(static_cast<const ImageGray&>(image));
    throw UnacceptedInput(toHsv ? "RGB -> HSV" : "-> RGB", image.type());
}

std::string OPColorTransform::resultName(const ColorTransformParams& params)
{
    return params.target == ColorTransformParams::Target::HSV ? "HSV" : "RGB";
}

} // namespace ivra
