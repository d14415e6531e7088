#include "RegionBorders.h"

#include <algorithm>
#include <stdexcept>

namespace ivra {

namespace {

// Calls mark(i) for both pixels of every pair of 4-neighbours with different labels.
template <class Mark>
void forEachBorderPair(const Array2D<std::uint32_t>& labels, Mark mark)
{
    const std::size_t w = static_cast<std::size_t>(labels.width());
    const std::size_t h = static_cast<std::size_t>(labels.height());
    const std::uint32_t* l = labels.data();
    for (std::size_t y = 0; y < h; ++y) {
        const std::size_t row = y * w;
        for (std::size_t x = 0; x + 1 < w; ++x)
            if (l[row + x] != l[row + x + 1]) {
                mark(row + x);
                mark(row + x + 1);
            }
        if (y + 1 < h)
            for (std::size_t i = row; i < row + w; ++i)
                if (l[i] != l[i + w]) {
                    mark(i);
                    mark(i + w);
                }
    }
}

} // namespace

Array2D<std::uint8_t> borderMask(const Array2D<std::uint32_t>& labels)
{
    Array2D<std::uint8_t> mask(labels.width(), labels.height());
    std::fill_n(mask.data(), mask.size(), std::uint8_t{0});
    std::uint8_t* m = mask.data();
    forEachBorderPair(labels, [m](std::size_t i) { m[i] = 1; });
    return mask;
}

void paintBorders(const Array2D<std::uint32_t>& labels, const Array2D<RGB24>& source, RGB24 color,
                  Array2D<RGB24>& out)
{
    if (source.width() != labels.width() || source.height() != labels.height())
        throw std::invalid_argument("paintBorders: labels and source differ in size");
    out.resize(labels.width(), labels.height());
    std::copy_n(source.data(), source.size(), out.data());
    RGB24* o = out.data();
    forEachBorderPair(labels, [o, color](std::size_t i) { o[i] = color; });
}

Array2D<RGB24> paintBorders(const Array2D<std::uint32_t>& labels, const Array2D<RGB24>& source, RGB24 color)
{
    Array2D<RGB24> out;
    paintBorders(labels, source, color, out);
    return out;
}

} // namespace ivra
