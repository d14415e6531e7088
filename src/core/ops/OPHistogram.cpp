#include "OPHistogram.h"

#include "util/ParallelRows.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

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

    // Each thread counts into its own row of tallies; integer sums do not depend on
    // the order they are added in.
    const int threads = std::max(1, threadCount());
    std::vector<std::int32_t> tallies(static_cast<std::size_t>(threads) * static_cast<std::size_t>(bins), 0);
    parallelRows(
        0, height, 1,
        [&](int y0, int y1) {
            std::int32_t* tally = tallies.data() + static_cast<std::size_t>(omp_get_thread_num()) * bins;
            for (int y = y0; y < y1; ++y) {
                const std::int32_t* row = plane + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
                for (int x = 0; x < width; ++x) {
                    const std::int32_t v = row[x];
                    int bin;
                    if (static_cast<std::uint32_t>(v) < 256u)
                        bin = binOf[static_cast<std::size_t>(v)];
                    else
                        bin = v / binWidth;
                    if (bin >= 0 && bin < bins)
                        ++tally[bin];
                }
            }
        },
        [&](int done) { progress.update(done, height); });
    for (int t = 0; t < threads; ++t)
        for (int b = 0; b < bins; ++b)
            counts[b] += tallies[static_cast<std::size_t>(t) * bins + b];
    return histogram;
}

std::unique_ptr<HistogramGray> OPHistogram::execute(const Image& src, const HistogramParams& params,
                                                    const ivra::Progress& progress)
{
    if (src.type() != TypeImageGray)
        throw UnacceptedInput("Histogram", src.type());
    return execute(static_cast<const ImageGray&>(src), params.bins, progress);
}

std::string OPHistogram::resultName(const HistogramParams&)
{
    return "Histogram";
}

} // namespace ivra
