#include "OPHistogram.h"

#include <array>
#include <stdexcept>

namespace ivra {

std::unique_ptr<HistogramGray> OPHistogram::execute(const ImageGray& src, int bins, const ivra::Progress& progress)
{
    const std::int32_t* plane = src.data();
    const int width = src.width();
    const int height = src.height();
    if (bins < 1 || bins > 256)
        throw std::invalid_argument("histogram bin count must lie in 1..256");
    auto histogram = std::make_unique<HistogramGray>(bins);
    std::int32_t* counts = histogram->counts();
    const int binWidth = 256 / bins;

    // Values 0..255 go through a table (-1 means "not a bin", possible when bins
    // does not divide 256); anything else takes the division itself.
    std::array<int, 256> binOf{};
    for (int v = 0; v < 256; ++v)
        binOf[v] = v / binWidth < bins ? v / binWidth : -1;

    for (int y = 0; y < height; ++y) {
        const std::int32_t* row = plane + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        for (int x = 0; x < width; ++x) {
            const std::int32_t v = row[x];
            int bin;
            if (static_cast<std::uint32_t>(v) < 256u)
                bin = binOf[static_cast<std::size_t>(v)];
            else
                bin = v / binWidth;
            if (bin >= 0 && bin < bins)
                ++counts[bin];
        }
        progress.update(y + 1, height);
    }
    return histogram;
}

} // namespace ivra
