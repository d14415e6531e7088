#include "OPKuwaharaNagao.h"

#include "IterativeFilter.h"

#include "image/LowBytes.h"
#include "color/HsvSinglePrecision.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ivra {

// The filter works on 2 x 2 blocks: the four sub-windows of the pixel (x, y) are the
// blocks whose top left corners are (x-1, y-1), (x, y-1), (x, y) and (x-1, y), and
// each block serves four pixels. So every iteration computes, row of blocks by row of
// blocks, each block's variance and the colour it hands on, and then lets every inner
// pixel pick among its four blocks.
//
// With four pixels per block all single-precision statistics are exact: sum / 4,
// sumsq / 4 and mean^2 are multiples of 1/16 below 2^16. Hence 16 x (summed channel
// variances) = 4 x (summed squares) - (sum of squared channel sums) is an exact
// integer ordered as the float variance is, and the truncated float mean is sum / 4.

namespace {

constexpr float kUnitF = 1.0f / 255.0f; // single-precision 1/255
constexpr double kUnitD = 1.0 / 255.0;  // double-precision 1/255

// The colour of four pixels given their hues and their summed saturations and values.
RGB24 hsvMeanColor(const int (&hues)[4], int sSum, int vSum)
{
    float r = 0, g = 0, b = 0;
    hsvToRgbF(static_cast<float>(kuwaharaHueMean(hues)), static_cast<float>((sSum / 4) * kUnitD),
              static_cast<float>((vSum / 4) * kUnitD), r, g, b);
    return {static_cast<std::uint8_t>(r * 255.0f), static_cast<std::uint8_t>(g * 255.0f),
            static_cast<std::uint8_t>(b * 255.0f)};
}

// Three planes of one picture: the source, the result or the scratch buffer.
struct Planes {
    const std::int32_t* c[3];
    const std::int32_t* row(int k, int y, int width) const { return c[k] + static_cast<std::size_t>(y) * width; }
};
struct OutPlanes {
    std::int32_t* c[3];
    std::int32_t* row(int k, int y, int width) const { return c[k] + static_cast<std::size_t>(y) * width; }
};

// One image row, one int per channel and pixel (the low byte of the plane value),
// plus the HSV of each pixel in HSV mode.
struct PlanarRow {
    std::vector<std::int32_t> c[3];
    std::vector<std::int32_t> h, s, v;

    void load(const Planes& planes, int y, int width, bool hsv)
    {
        for (int k = 0; k < 3; ++k) {
            c[k].resize(static_cast<std::size_t>(width));
            const std::int32_t* __restrict in = planes.row(k, y, width);
            std::int32_t* __restrict out = c[k].data();
            for (int x = 0; x < width; ++x)
                out[x] = in[x] & 0xFF;
        }
        if (!hsv)
            return;
        h.resize(static_cast<std::size_t>(width));
        s.resize(static_cast<std::size_t>(width));
        v.resize(static_cast<std::size_t>(width));
        for (int x = 0; x < width; ++x) {
            const KuwaharaHsv p = kuwaharaPixelHsv(RGB24{static_cast<std::uint8_t>(c[0][x]),
                                                         static_cast<std::uint8_t>(c[1][x]),
                                                         static_cast<std::uint8_t>(c[2][x])});
            h[x] = p.h;
            s[x] = p.s;
            v[x] = p.v;
        }
    }
};

// The blocks whose top row is one image row: 16 x variance and the colour handed on.
struct BlockRow {
    std::vector<std::int32_t> var;
    std::vector<std::int32_t> c[3];
    // Column pairs: per-channel sums and the squares summed over all channels.
    std::vector<std::int32_t> pairSum[3];
    std::vector<std::int32_t> pairSq;

    void compute(const PlanarRow& top, const PlanarRow& bottom, int width, bool hsv)
    {
        const std::size_t n = static_cast<std::size_t>(width);
        pairSq.resize(n);
        var.resize(n - 1);
        for (int k = 0; k < 3; ++k) {
            pairSum[k].resize(n);
            c[k].resize(n - 1);
        }
        std::int32_t* __restrict sq = pairSq.data();
        for (std::size_t x = 0; x < n; ++x)
            sq[x] = 0;
        for (int k = 0; k < 3; ++k) {
            const std::int32_t* __restrict a = top.c[k].data();
            const std::int32_t* __restrict b = bottom.c[k].data();
            std::int32_t* __restrict sum = pairSum[k].data();
            for (std::size_t x = 0; x < n; ++x) {
                sum[x] = a[x] + b[x];
                sq[x] += a[x] * a[x] + b[x] * b[x];
            }
        }
        const std::int32_t* __restrict sr = pairSum[0].data();
        const std::int32_t* __restrict sg = pairSum[1].data();
        const std::int32_t* __restrict sb = pairSum[2].data();
        std::int32_t* __restrict out = var.data();
        for (std::size_t x = 0; x + 1 < n; ++x) {
            const std::int32_t r = sr[x] + sr[x + 1];
            const std::int32_t g = sg[x] + sg[x + 1];
            const std::int32_t b = sb[x] + sb[x + 1];
            out[x] = 4 * (sq[x] + sq[x + 1]) - (r * r + g * g + b * b);
        }
        if (!hsv) {
            for (int k = 0; k < 3; ++k) {
                const std::int32_t* __restrict sum = pairSum[k].data();
                std::int32_t* __restrict mean = c[k].data();
                for (std::size_t x = 0; x + 1 < n; ++x)
                    mean[x] = (sum[x] + sum[x + 1]) >> 2;
            }
            return;
        }
        for (std::size_t x = 0; x + 1 < n; ++x) {
            const int hues[4] = {top.h[x], top.h[x + 1], bottom.h[x], bottom.h[x + 1]};
            const RGB24 color = hsvMeanColor(hues, top.s[x] + top.s[x + 1] + bottom.s[x] + bottom.s[x + 1],
                                               top.v[x] + top.v[x + 1] + bottom.v[x] + bottom.v[x + 1]);
            c[0][x] = color.r;
            c[1][x] = color.g;
            c[2][x] = color.b;
        }
    }
};

// Blends with all-ones masks keep the loops free of branches.
inline std::int32_t blend(std::int32_t kept, std::int32_t taken, std::int32_t mask)
{
    return kept ^ ((kept ^ taken) & mask);
}

// For the centre pixels x = 1 .. width - 2: masks telling whether the upper right,
// the lower right or the lower left block is the least varying one, the earlier
// block winning on equal variance (none set: the upper left).
void chooseBlocks(int width, const std::int32_t* __restrict above, const std::int32_t* __restrict below,
                  std::int32_t* __restrict upperRight, std::int32_t* __restrict lowerRight,
                  std::int32_t* __restrict lowerLeft)
{
    for (int x = 1; x + 1 < width; ++x) {
        std::int32_t best = above[x - 1];
        const std::int32_t ur = -static_cast<std::int32_t>(above[x] < best);
        best = blend(best, above[x], ur);
        const std::int32_t lr = -static_cast<std::int32_t>(below[x] < best);
        best = blend(best, below[x], lr);
        const std::int32_t ll = -static_cast<std::int32_t>(below[x - 1] < best);
        lowerLeft[x] = ll;
        lowerRight[x] = lr & ~ll;
        upperRight[x] = ur & ~lr & ~ll;
    }
}

// One channel of the centre pixels: the colour of the chosen block.
void takeColor(int width, const std::int32_t* __restrict above, const std::int32_t* __restrict below,
                const std::int32_t* __restrict upperRight, const std::int32_t* __restrict lowerRight,
                const std::int32_t* __restrict lowerLeft, std::int32_t* __restrict out)
{
    for (int x = 1; x + 1 < width; ++x) {
        std::int32_t c = blend(above[x - 1], above[x], upperRight[x]);
        c = blend(c, below[x], lowerRight[x]);
        out[x] = blend(c, below[x - 1], lowerLeft[x]);
    }
}

// Writes the centre pixels of one row: each takes the colour of the least varying of
// its four blocks.
// Writes the centre pixels x = 1 .. width - 2 of one row of each plane.
void pickBlocks(const BlockRow& above, const BlockRow& below, int width, std::vector<std::int32_t> (&masks)[3],
                std::int32_t* const (&dstRow)[3])
{
    chooseBlocks(width, above.var.data(), below.var.data(), masks[0].data(), masks[1].data(), masks[2].data());
    for (int k = 0; k < 3; ++k)
        takeColor(width, above.c[k].data(), below.c[k].data(), masks[0].data(), masks[1].data(), masks[2].data(),
                   dstRow[k]);
}

// One iteration over the centre rows yBegin..yEnd-1 (within 1..height-2).
void filterRows(const Planes& src, const OutPlanes& dst, int width, int height, bool hsv, int yBegin, int yEnd)
{
    if (width < 3 || height < 3 || yBegin >= yEnd)
        return;
    PlanarRow upper, lower;
    BlockRow above, below;
    std::vector<std::int32_t> masks[3];
    for (auto& plane : masks)
        plane.resize(static_cast<std::size_t>(width));

    upper.load(src, yBegin - 1, width, hsv);
    lower.load(src, yBegin, width, hsv);
    above.compute(upper, lower, width, hsv);
    for (int y = yBegin; y < yEnd; ++y) {
        std::swap(upper, lower);
        lower.load(src, y + 1, width, hsv);
        below.compute(upper, lower, width, hsv);
        std::int32_t* const rows[3] = {dst.row(0, y, width), dst.row(1, y, width), dst.row(2, y, width)};
        pickBlocks(above, below, width, masks, rows);
        std::swap(above, below);
    }
}

// The pixels no iteration changes (the outermost rows and columns, or all of a
// picture under three pixels a side) keep the low bytes of the source.
void copyBorder(const ImageRGB& src, const OutPlanes& dst)
{
    const int width = src.width(), height = src.height();
    const bool all = width < 3 || height < 3;
    for (int k = 0; k < 3; ++k) {
        const auto take = [&](int x, int y) {
            const std::size_t i = static_cast<std::size_t>(y) * width + x;
            dst.c[k][i] = src.plane(k)[i] & 0xFF;
        };
        for (int y = 0; y < height; ++y) {
            if (all || y == 0 || y == height - 1) {
                for (int x = 0; x < width; ++x)
                    take(x, y);
            } else {
                take(0, y);
                take(width - 1, y);
            }
        }
    }
}

// The filter over planes: `iterations` passes from the source, the last one into the
// result; passes before it alternate between the result and one scratch picture.
void filterPlanes(const ImageRGB& src, ImageRGB& result, int iterations, bool hsv, const Progress& progress)
{
    const int width = src.width(), height = src.height();
    std::unique_ptr<ImageRGB> scratch;
    const OutPlanes out{{result.red(), result.green(), result.blue()}};
    OutPlanes spare = out;
    if (iterations > 1) {
        scratch = std::make_unique<ImageRGB>(width, height);
        spare = OutPlanes{{scratch->red(), scratch->green(), scratch->blue()}};
        copyBorder(src, spare);
    }
    copyBorder(src, out);
    // Pass i writes the result when iterations - 1 - i is even, else the scratch.
    const auto target = [&](int i) { return (iterations - 1 - i) % 2 == 0 ? out : spare; };
    const auto asInput = [](const OutPlanes& p) { return Planes{{p.c[0], p.c[1], p.c[2]}}; };
    const Planes source{{src.red(), src.green(), src.blue()}};
    repeatFilterPasses(iterations, width, 1, height - 1, progress, [&](int i, int y0, int y1) {
        filterRows(i == 0 ? source : asInput(target(i - 1)), target(i), width, height, hsv, y0, y1);
    });
}

} // namespace

namespace {

// One pass on packed pixels, through the planes the operator filters.
void filterPacked(const Array2D<RGB24>& src, Array2D<RGB24>& dst, bool hsv)
{
    ImageRGB in(src.width(), src.height());
    copyToPlanes(src.data(), in);
    ImageRGB out(src.width(), src.height());
    filterPlanes(in, out, 1, hsv, {});
    dst.resize(src.width(), src.height());
    copyLowBytes(out, dst.data());
}

} // namespace

void kuwaharaRGB(const Array2D<RGB24>& src, Array2D<RGB24>& dst) { filterPacked(src, dst, false); }

void kuwaharaHSV(const Array2D<RGB24>& src, Array2D<RGB24>& dst) { filterPacked(src, dst, true); }

KuwaharaHsv kuwaharaPixelHsv(RGB24 pixel)
{
    float h = 0, s = 0, v = 0;
    rgbToHsvF(pixel.r * kUnitF, pixel.g * kUnitF, pixel.b * kUnitF, -1.0f, h, s, v);
    return {h >= 0.0f ? static_cast<int>(h) : -1, static_cast<int>(s * 255.0f), static_cast<int>(v * 255.0f)};
}

int kuwaharaHueMean(const int (&hues)[4])
{
    int sum = 0;
    int low = 0;
    bool high = false;
    for (const int hue : hues) {
        sum += hue;
        low += hue < 61 ? 1 : 0;
        high = high || hue >= 300;
    }
    // Half the pixel count rounds; integer division truncates toward zero, so four
    // undefined hues (sum -4) give 0.
    int mean = (2 + sum + (high ? 360 * low : 0)) / 4;
    if (mean >= 360)
        mean -= 360;
    return mean;
}

std::string OPKuwaharaNagao::resultName(int run, int iterations)
{
    // Appended piece by piece: GCC 12 warns falsely about "(" + std::string.
    std::string name = "(";
    name += std::to_string(run);
    name += ") Kuwahara-Nagao [Iterations=";
    name += std::to_string(iterations);
    name += "]";
    return name;
}

std::unique_ptr<ImageRGB> OPKuwaharaNagao::execute(const ImageRGB& src, int iterations, Space space,
                                                   const ivra::Progress& progress) const
{
    if (iterations < KuwaharaNagaoParams::minIterations || iterations > KuwaharaNagaoParams::maxIterations)
        throw std::invalid_argument("Kuwahara-Nagao: iteration count " + std::to_string(iterations) +
                                    " is outside " + std::to_string(KuwaharaNagaoParams::minIterations) + ".." +
                                    std::to_string(KuwaharaNagaoParams::maxIterations));
    const int width = src.width();
    const int height = src.height();
    auto result = std::make_unique<ImageRGB>(width, height);
    if (width == 0 || height == 0)
        return result;

    filterPlanes(src, *result, iterations, space == Space::HSV, progress);
    return result;
}

std::unique_ptr<ImageRGB> OPKuwaharaNagao::execute(const Image& src, const KuwaharaNagaoParams& params,
                                                   const ivra::Progress& progress) const
{
    if (src.type() != TypeImageRGB)
        throw UnacceptedInput("Kuwahara-Nagao", src.type());
    return execute(static_cast<const ImageRGB&>(src), params.iterations, params.space, progress);
}

} // namespace ivra
