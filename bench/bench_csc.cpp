// Colour Structure Code: RGB (threshold 25) and HSV on a photo scaled to 1 megapixel,
// the growth of the time with the pixel count (0.25, 1, 4 and 12 megapixels), and,
// where OpenCV's contrib modules are installed, its graph-based segmentation on the
// same photo (one thread) for comparison.
#include "BenchPhotos.h"
#include "csc/OPCSC.h"
#include "image/ImageRGB.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <memory>

#ifdef IVRA_HAVE_OPENCV_XIMGPROC
#include <opencv2/core.hpp>
#include <opencv2/ximgproc/segmentation.hpp>

#endif
using namespace ivra;

namespace {

// The photo resampled (nearest neighbour) to w x h.
std::unique_ptr<ImageRGB> scaled(int w, int h)
{
    static const std::unique_ptr<ImageRGB> photo = bench::loadSample("rocket.ppm");
    return bench::resampled(*photo, w, h);
}

const ImageRGB& megapixelPhoto()
{
    static const std::unique_ptr<ImageRGB> image = scaled(1024, 1024);
    return *image;
}

void runCsc(benchmark::State& state, const ImageRGB& image, OPCSC::Space space)
{
    const OPCSC op;
    for (auto _ : state) {
        auto result = op.execute(image, space, 25);
        benchmark::DoNotOptimize(result.image.get());
    }
    state.counters["ns/pixel"] = benchmark::Counter(static_cast<double>(image.pixelCount()),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}

void BM_CscRgb1MP(benchmark::State& state) { runCsc(state, megapixelPhoto(), OPCSC::Space::RGB); }
void BM_CscHsv1MP(benchmark::State& state) { runCsc(state, megapixelPhoto(), OPCSC::Space::HSV); }
BENCHMARK(BM_CscRgb1MP)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CscHsv1MP)->Unit(benchmark::kMillisecond);

// Sizes with a 4:3 aspect: 0.25, 1, 4 and 12 megapixels.
void BM_CscRgbScaling(benchmark::State& state)
{
    const auto image = scaled(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    runCsc(state, *image, OPCSC::Space::RGB);
}
BENCHMARK(BM_CscRgbScaling)
    ->Args({577, 433})
    ->Args({1155, 866})
    ->Args({2309, 1732})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond);

void BM_CscHsvScaling(benchmark::State& state)
{
    const auto image = scaled(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    runCsc(state, *image, OPCSC::Space::HSV);
}
BENCHMARK(BM_CscHsvScaling)
    ->Args({577, 433})
    ->Args({1155, 866})
    ->Args({2309, 1732})
    ->Args({4000, 3000})
    ->Unit(benchmark::kMillisecond);

#ifdef IVRA_HAVE_OPENCV_XIMGPROC
void BM_OpenCvGraphSegmentation1MP(benchmark::State& state)
{
    cv::setNumThreads(1);
    const ImageRGB& image = megapixelPhoto();
    const cv::Mat mat = bench::bgrOf(image);
    auto segmenter = cv::ximgproc::segmentation::createGraphSegmentation(0.5, 300, 100);
    for (auto _ : state) {
        cv::Mat labels;
        segmenter->processImage(mat, labels);
        benchmark::DoNotOptimize(labels.data);
    }
}
BENCHMARK(BM_OpenCvGraphSegmentation1MP)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
