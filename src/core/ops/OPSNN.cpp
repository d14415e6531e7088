#include "OPSNN.h"

#include "IterativeFilter.h"

#include "image/LowBytes.h"
#include "image/Array2D.h"
#include "image/RGB24.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ivra {

// Inner rows run on one int per channel and pixel, and every distance between two
// neighbouring pixels is computed once: the distance to the right neighbour of x is
// the distance to the left neighbour of x + 1, and the distances to the row below
// are those to the row above when the next row is filtered. The outermost rows and
// columns take the plain per-pixel path.

namespace {

using Plane = std::vector<std::int32_t>;

// Three planes of one picture (the source, the result or the scratch picture) and
// their width; the filter reads the low byte of each value.
template <class T>
struct PlanesOf {
    T* c[3];
    int width;
    T* row(int k, int y) const { return c[k] + static_cast<std::size_t>(y) * width; }
    std::int32_t at(int k, int x, int y) const { return row(k, y)[x] & 0xFF; }
};
using Planes = PlanesOf<const std::int32_t>;
using OutPlanes = PlanesOf<std::int32_t>;

struct PlanarRow {
    Plane c[3];

    void load(const Planes& planes, int y)
    {
        for (int k = 0; k < 3; ++k) {
            c[k].resize(static_cast<std::size_t>(planes.width));
            const std::int32_t* __restrict in = planes.row(k, y);
            std::int32_t* __restrict out = c[k].data();
            for (int x = 0; x < planes.width; ++x)
                out[x] = in[x] & 0xFF;
        }
    }
};

// dist[x] = distance between a[x] and b[x + shift], for x in first .. last - 1.
void distances(const PlanarRow& a, const PlanarRow& b, int shift, int first, int last, Plane& dist)
{
    std::int32_t* __restrict d = dist.data();
    const std::int32_t* __restrict ar = a.c[0].data();
    const std::int32_t* __restrict ag = a.c[1].data();
    const std::int32_t* __restrict ab = a.c[2].data();
    const std::int32_t* __restrict br = b.c[0].data();
    const std::int32_t* __restrict bg = b.c[1].data();
    const std::int32_t* __restrict bb = b.c[2].data();
    for (int x = first; x < last; ++x) {
        const std::int32_t dr = ar[x] - br[x + shift];
        const std::int32_t dg = ag[x] - bg[x + shift];
        const std::int32_t db = ab[x] - bb[x + shift];
        d[x] = dr * dr + dg * dg + db * db;
    }
}

// Distances from one row to the next: straight down, down-right (from x to x + 1)
// and down-left (from x to x - 1).
struct DownDistances {
    Plane down, downRight, downLeft;

    void compute(const PlanarRow& top, const PlanarRow& bottom, int width)
    {
        for (Plane* p : {&down, &downRight, &downLeft})
            p->resize(static_cast<std::size_t>(width));
        distances(top, bottom, 0, 0, width, down);
        distances(top, bottom, 1, 0, width - 1, downRight);
        distances(top, bottom, -1, 1, width, downLeft);
    }
};

// The plain rule for one pixel; used at the picture's border.
void filterPixel(int height, const Planes& src, const OutPlanes& dst, int x, int y)
{
    const int width = src.width;
    const auto at = [&](int px, int py) {
        return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(src.at(0, px, py)),
                                           static_cast<std::uint8_t>(src.at(1, px, py)),
                                           static_cast<std::uint8_t>(src.at(2, px, py))};
    };
    const auto pixel = at(x, y);
    const std::uint8_t* p = pixel.data();
    int sum[3] = {0, 0, 0};
    int count = 0;
    const auto takeNearer = [&](const std::array<std::uint8_t, 3>& a, const std::array<std::uint8_t, 3>& b) {
        const std::uint8_t *first = a.data(), *second = b.data();
        const std::uint8_t* taken = colorDistance(p, first) > colorDistance(p, second) ? second : first;
        for (int k = 0; k < 3; ++k)
            sum[k] += taken[k];
        ++count;
    };
    const bool horizontal = x >= 1 && x <= width - 2;
    const bool vertical = y >= 1 && y <= height - 2;
    if (horizontal)
        takeNearer(at(x - 1, y), at(x + 1, y));
    if (vertical)
        takeNearer(at(x, y - 1), at(x, y + 1));
    if (horizontal && vertical) {
        takeNearer(at(x - 1, y - 1), at(x + 1, y + 1));
        takeNearer(at(x + 1, y - 1), at(x - 1, y + 1));
    }
    for (int k = 0; k < 3; ++k)
        dst.row(k, y)[x] = count > 0 ? static_cast<std::uint8_t>(sum[k] / count) : p[k];
}

// Inner pixels x = 1 .. width - 2 of one inner row.
void filterInner(const PlanarRow& above, const PlanarRow& row, const PlanarRow& below, const DownDistances& up,
                 const DownDistances& down, const Plane& across, int width, Plane (&masks)[4],
                 std::int32_t* const (&dstRow)[3])
{
    const std::int32_t* __restrict dH = across.data();
    const std::int32_t* __restrict dUp = up.down.data();
    const std::int32_t* __restrict dUpLeft = up.downRight.data(); // at x - 1
    const std::int32_t* __restrict dUpRight = up.downLeft.data(); // at x + 1
    const std::int32_t* __restrict dDown = down.down.data();
    const std::int32_t* __restrict dDownRight = down.downRight.data();
    const std::int32_t* __restrict dDownLeft = down.downLeft.data();
    // Which neighbour of each pair is taken, as all-ones masks for the second one;
    // blending with masks keeps the loops free of branches.
    std::int32_t* __restrict takeRight = masks[0].data();
    std::int32_t* __restrict takeBelow = masks[1].data();
    std::int32_t* __restrict takeBelowRight = masks[2].data();
    std::int32_t* __restrict takeBelowLeft = masks[3].data();
    for (int x = 1; x + 1 < width; ++x) {
        takeRight[x] = -static_cast<std::int32_t>(dH[x - 1] > dH[x]);
        takeBelow[x] = -static_cast<std::int32_t>(dUp[x] > dDown[x]);
        takeBelowRight[x] = -static_cast<std::int32_t>(dUpLeft[x - 1] > dDownRight[x]);
        takeBelowLeft[x] = -static_cast<std::int32_t>(dUpRight[x + 1] > dDownLeft[x]);
    }
    for (int k = 0; k < 3; ++k) {
        const std::int32_t* __restrict a = above.c[k].data();
        const std::int32_t* __restrict m = row.c[k].data();
        const std::int32_t* __restrict b = below.c[k].data();
        std::int32_t* __restrict o = dstRow[k];
        for (int x = 1; x + 1 < width; ++x) {
            const std::int32_t horizontal = m[x - 1] ^ ((m[x - 1] ^ m[x + 1]) & takeRight[x]);
            const std::int32_t vertical = a[x] ^ ((a[x] ^ b[x]) & takeBelow[x]);
            const std::int32_t diagonal = a[x - 1] ^ ((a[x - 1] ^ b[x + 1]) & takeBelowRight[x]);
            const std::int32_t antiDiagonal = a[x + 1] ^ ((a[x + 1] ^ b[x - 1]) & takeBelowLeft[x]);
            o[x] = (horizontal + vertical + diagonal + antiDiagonal) >> 2; // non-negative: truncates
        }
    }
}

// One iteration over the rows yBegin .. yEnd - 1.
void filterRows(int height, const Planes& src, const OutPlanes& dst, int yBegin, int yEnd)
{
    const int width = src.width;
    const auto borderRow = [&](int y) {
        for (int x = 0; x < width; ++x)
            filterPixel(height, src, dst, x, y);
    };

    // Rows without an inner pixel.
    const int innerBegin = std::max(yBegin, 1);
    const int innerEnd = std::min(yEnd, height - 1);
    if (width < 3 || innerBegin >= innerEnd) {
        for (int y = yBegin; y < yEnd; ++y)
            borderRow(y);
        return;
    }
    for (int y = yBegin; y < innerBegin; ++y)
        borderRow(y);

    PlanarRow above, centre, below;
    DownDistances up, down;
    Plane across(static_cast<std::size_t>(width));
    Plane masks[4];
    for (auto& plane : masks)
        plane.resize(static_cast<std::size_t>(width));
    above.load(src, innerBegin - 1);
    centre.load(src, innerBegin);
    up.compute(above, centre, width);
    for (int y = innerBegin; y < innerEnd; ++y) {
        below.load(src, y + 1);
        down.compute(centre, below, width);
        distances(centre, centre, 1, 0, width - 1, across);
        std::int32_t* const rows[3] = {dst.row(0, y), dst.row(1, y), dst.row(2, y)};
        filterInner(above, centre, below, up, down, across, width, masks, rows);
        filterPixel(height, src, dst, 0, y);
        filterPixel(height, src, dst, width - 1, y);
        std::swap(above, centre);
        std::swap(centre, below);
        std::swap(up, down);
    }

    for (int y = innerEnd; y < yEnd; ++y)
        borderRow(y);
}

} // namespace

int colorDistance(const std::uint8_t* a, const std::uint8_t* b)
{
    const int dr = a[0] - b[0];
    const int dg = a[1] - b[1];
    const int db = a[2] - b[2];
    return dr * dr + dg * dg + db * db;
}

void snnFilter(int width, int height, const std::uint8_t* src, std::uint8_t* dst)
{
    if (width <= 0 || height <= 0)
        return;
    ImageRGB in(width, height), out(width, height);
    copyToPlanes(reinterpret_cast<const RGB24*>(src), in);
    filterRows(height, Planes{{in.red(), in.green(), in.blue()}, width},
               OutPlanes{{out.red(), out.green(), out.blue()}, width}, 0, height);
    copyLowBytes(out, reinterpret_cast<RGB24*>(dst));
}

std::string OPSNN::resultName(int run, int iterations)
{
    // Appended piece by piece: GCC 12 warns falsely about "(" + std::string.
    std::string name = "(";
    name += std::to_string(run);
    name += ") SNN [Iterations=";
    name += std::to_string(iterations);
    name += "]";
    return name;
}

std::unique_ptr<ImageRGB> OPSNN::execute(const ImageRGB& src, int iterations, const ivra::Progress& progress) const
{
    if (iterations < SnnParams::minIterations || iterations > SnnParams::maxIterations)
        throw std::invalid_argument("SNN: iteration count " + std::to_string(iterations) + " is outside " +
                                    std::to_string(SnnParams::minIterations) + ".." + std::to_string(SnnParams::maxIterations));
    const int width = src.width();
    const int height = src.height();
    auto result = std::make_unique<ImageRGB>(width, height);
    if (width == 0 || height == 0)
        return result;

    // The last pass writes the result; passes before it alternate between the result
    // and one scratch picture.
    std::unique_ptr<ImageRGB> scratch = iterations > 1 ? std::make_unique<ImageRGB>(width, height) : nullptr;
    const OutPlanes out{{result->red(), result->green(), result->blue()}, width};
    const OutPlanes spare = scratch ? OutPlanes{{scratch->red(), scratch->green(), scratch->blue()}, width} : out;
    const auto target = [&](int i) { return (iterations - 1 - i) % 2 == 0 ? out : spare; };
    const Planes source{{src.red(), src.green(), src.blue()}, width};
    repeatFilterPasses(iterations, width, 0, height, progress, [&](int i, int y0, int y1) {
        const OutPlanes from = i == 0 ? OutPlanes{} : target(i - 1);
        filterRows(height, i == 0 ? source : Planes{{from.c[0], from.c[1], from.c[2]}, width}, target(i), y0, y1);
    });
    return result;
}

std::unique_ptr<ImageRGB> OPSNN::execute(const Image& src, const SnnParams& params,
                                         const ivra::Progress& progress) const
{
    if (src.type() != TypeImageRGB)
        throw UnacceptedInput("SNN", src.type());
    return execute(static_cast<const ImageRGB&>(src), params.iterations, progress);
}

} // namespace ivra
