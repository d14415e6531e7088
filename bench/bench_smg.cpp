// Split-and-merge on a one-megapixel photo, one thread, with the dialog's
// defaults; compared with SLICO superpixels (region size 50, 10 iterations)
// when OpenCV's extra modules are installed.
#include "BenchPhotos.h"
#include "image/ImageRGB.h"
#include "segment/OPSplitAndMerge.h"
#include "util/MessageSink.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <stdexcept>
#include <string>

#ifdef IVRA_HAVE_OPENCV_XIMGPROC
#include <opencv2/core.hpp>
#include <opencv2/ximgproc.hpp>

#endif
using namespace ivra;

namespace {

class Silent : public ivra::MessageSink {
public:
    void message(const std::string&) override {}
};

// rocket.ppm resampled (nearest neighbour) to 1024 x 1024.
const ImageRGB& photo()
{
    static const std::unique_ptr<ImageRGB> picture = bench::resampled(*bench::loadSample("rocket.ppm"), 1024, 1024);
    return *picture;
}

void BM_SplitAndMerge(benchmark::State& state)
{
    ivra::MessageSink::install(std::make_unique<Silent>());
    const ImageRGB& image = photo();
    std::size_t regions = 0;
    for (auto _ : state) {
        auto result = OPSplitAndMerge().execute(image, SplitAndMergeParams{}.split,
                                                SplitAndMergeParams{}.merge,
                                                SplitAndMergeParams{}.group);
        benchmark::DoNotOptimize(result.get());
        if (regions == 0) {
            std::vector<char> used(result->pixelCount(), 0);
            for (std::size_t i = 0; i < result->labels.size(); ++i)
                if (!used[result->labels[i]]++)
                    ++regions;
        }
    }
    state.counters["regions"] = static_cast<double>(regions);
    state.counters["MPixel/s"] =
        benchmark::Counter(static_cast<double>(image.pixelCount()) * state.iterations() / 1e6, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_SplitAndMerge)->Unit(benchmark::kMillisecond);

#ifdef IVRA_HAVE_OPENCV_XIMGPROC
void BM_OpenCV_SLICO(benchmark::State& state)
{
    cv::setNumThreads(1);
    const ImageRGB& image = photo();
    const cv::Mat mat = bench::bgrOf(image);
    int regions = 0;
    for (auto _ : state) {
        auto slic = cv::ximgproc::createSuperpixelSLIC(mat, cv::ximgproc::SLICO, 50);
        slic->iterate(10);
        regions = slic->getNumberOfSuperpixels();
        benchmark::DoNotOptimize(regions);
    }
    state.counters["regions"] = regions;
}
BENCHMARK(BM_OpenCV_SLICO)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
