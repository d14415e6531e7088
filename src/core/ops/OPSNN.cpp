#include "OPSNN.h"

#include "IterativeFilter.h"

#include "image/LowBytes.h"
#include "image/Array2D.h"
#include "image/RGB24.h"

#include <algorithm>
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

struct PlanarRow {
    Plane c[3];

    void load(const std::uint8_t* row, int width)
    {
        for (auto& plane : c)
            plane.resize(static_cast<std::size_t>(width));
        std::int32_t* __restrict r = c[0].data();
        std::int32_t* __restrict g = c[1].data();
        std::int32_t* __restrict b = c[2].data();
        for (int x = 0; x < width; ++x) {
            r[x] = row[3 * x];
            g[x] = row[3 * x + 1];
            b[x] = row[3 * x + 2];
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
void filterPixel(int width, int height, const std::uint8_t* src, std::uint8_t* dst, int x, int y)
{
    const std::size_t w = static_cast<std::size_t>(width);
    const auto at = [&](int px, int py) { return src + 3 * (static_cast<std::size_t>(py) * w + px); };
    const std::uint8_t* p = at(x, y);
    int sum[3] = {0, 0, 0};
    int count = 0;
    const auto takeNearer = [&](const std::uint8_t* first, const std::uint8_t* second) {
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
    std::uint8_t* out = dst + 3 * (static_cast<std::size_t>(y) * w + x);
    for (int k = 0; k < 3; ++k)
        out[k] = count > 0 ? static_cast<std::uint8_t>(sum[k] / count) : p[k];
}

// Inner pixels x = 1 .. width - 2 of one inner row.
void filterInner(const PlanarRow& above, const PlanarRow& row, const PlanarRow& below, const DownDistances& up,
                 const DownDistances& down, const Plane& across, int width, Plane (&masks)[4], Plane (&out)[3],
                 std::uint8_t* dstRow)
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
        std::int32_t* __restrict o = out[k].data();
        for (int x = 1; x + 1 < width; ++x) {
            const std::int32_t horizontal = m[x - 1] ^ ((m[x - 1] ^ m[x + 1]) & takeRight[x]);
            const std::int32_t vertical = a[x] ^ ((a[x] ^ b[x]) & takeBelow[x]);
            const std::int32_t diagonal = a[x - 1] ^ ((a[x - 1] ^ b[x + 1]) & takeBelowRight[x]);
            const std::int32_t antiDiagonal = a[x + 1] ^ ((a[x + 1] ^ b[x - 1]) & takeBelowLeft[x]);
            o[x] = (horizontal + vertical + diagonal + antiDiagonal) >> 2; // non-negative: truncates
        }
    }
    for (int x = 1; x + 1 < width; ++x) {
        dstRow[3 * x] = static_cast<std::uint8_t>(out[0][x]);
        dstRow[3 * x + 1] = static_cast<std::uint8_t>(out[1][x]);
        dstRow[3 * x + 2] = static_cast<std::uint8_t>(out[2][x]);
    }
}

// One iteration over the rows yBegin .. yEnd - 1.
void filterRows(int width, int height, const std::uint8_t* src, std::uint8_t* dst, int yBegin, int yEnd)
{
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(width);
    const auto row = [&](int y) { return src + static_cast<std::size_t>(y) * rowBytes; };
    const auto borderRow = [&](int y) {
        for (int x = 0; x < width; ++x)
            filterPixel(width, height, src, dst, x, y);
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
    Plane out[3];
    for (auto& plane : masks)
        plane.resize(static_cast<std::size_t>(width));
    for (auto& plane : out)
        plane.resize(static_cast<std::size_t>(width));
    above.load(row(innerBegin - 1), width);
    centre.load(row(innerBegin), width);
    up.compute(above, centre, width);
    for (int y = innerBegin; y < innerEnd; ++y) {
        below.load(row(y + 1), width);
        down.compute(centre, below, width);
        distances(centre, centre, 1, 0, width - 1, across);
        filterInner(above, centre, below, up, down, across, width, masks, out,
                    dst + static_cast<std::size_t>(y) * rowBytes);
        filterPixel(width, height, src, dst, 0, y);
        filterPixel(width, height, src, dst, width - 1, y);
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
    filterRows(width, height, src, dst, 0, height);
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

    Array2D<RGB24> buffers[2];
    buffers[0].resize(width, height);
    buffers[1].resize(width, height);
    copyLowBytes(src, buffers[0].data());

    const int cur = repeatFilterPasses(iterations, width, 0, height, progress, [&](int from, int y0, int y1) {
        filterRows(width, height, reinterpret_cast<const std::uint8_t*>(buffers[from].data()),
                   reinterpret_cast<std::uint8_t*>(buffers[1 - from].data()), y0, y1);
    });

    copyToPlanes(buffers[cur].data(), *result);
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
