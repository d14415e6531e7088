// Recursive histogram splitting on a one-megapixel photograph (rocket.ppm resampled
// to 1024 x 1024 by nearest neighbour), one thread; with OpenCV's contrib modules,
// SLICO superpixels on the same picture for comparison.
#include "PictureReader.h"
#include "image/ImageRGB.h"
#include "segment/OPRecursiveHistogramSplitting.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <memory>

#ifdef IVRA_HAVE_OPENCV_XIMGPROC
#include <opencv2/core.hpp>
#include <opencv2/ximgproc/slic.hpp>

#endif
using namespace ivra;

namespace {

constexpr int side = 1024;

const ImageRGB& photo()
{
    static const std::unique_ptr<ImageRGB> picture = [] {
        // IVRA_SAMPLES_DIR in the environment overrides the build's sample folder.
        const char* dir = std::getenv("IVRA_SAMPLES_DIR");
        auto loaded = ivra::readPicture(QString(dir ? dir : IVRA_SAMPLES_DIR) + "/rocket.ppm");
        const auto* rgb = dynamic_cast<const ImageRGB*>(loaded.get());
        if (!rgb) {
            std::fprintf(stderr, "rocket.ppm did not load as a colour picture\n");
            std::exit(1);
        }
        auto scaled = std::make_unique<ImageRGB>(side, side);
        for (int y = 0; y < side; ++y) {
            const int sy = y * rgb->height() / side;
            for (int x = 0; x < side; ++x) {
                const int sx = x * rgb->width() / side;
                const auto c = rgb->pixel(sx, sy);
                scaled->setPixel(static_cast<std::size_t>(y) * side + x, static_cast<std::int16_t>(c[0]),
                                 static_cast<std::int16_t>(c[1]), static_cast<std::int16_t>(c[2]));
            }
        }
        return scaled;
    }();
    return *picture;
}

void BM_RecursiveHistogramSplitting(benchmark::State& state)
{
    const ImageRGB& picture = photo();
    const RHSParameters parameters; // the dialog's defaults
    std::uint32_t regions = 0;
    for (auto _ : state) {
        auto result = OPRecursiveHistogramSplitting().execute(picture, parameters);
        regions = 0;
        for (std::size_t i = 0; i < result->labels.size(); ++i)
            regions = std::max(regions, result->labels[i]);
        benchmark::DoNotOptimize(result.get());
    }
    state.counters["regions"] = regions;
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_RecursiveHistogramSplitting)->Unit(benchmark::kMillisecond);

#ifdef IVRA_HAVE_OPENCV_XIMGPROC
void BM_OpenCvSlico(benchmark::State& state)
{
    cv::setNumThreads(1);
    const ImageRGB& picture = photo();
    cv::Mat bgr(side, side, CV_8UC3);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const auto c = picture.pixel(x, y);
            bgr.at<cv::Vec3b>(y, x) = cv::Vec3b(static_cast<std::uint8_t>(c[2]), static_cast<std::uint8_t>(c[1]),
                                                static_cast<std::uint8_t>(c[0]));
        }
    }
    int superpixels = 0;
    for (auto _ : state) {
        auto slic = cv::ximgproc::createSuperpixelSLIC(bgr, cv::ximgproc::SLICO, 50);
        slic->iterate(10);
        superpixels = slic->getNumberOfSuperpixels();
        benchmark::DoNotOptimize(superpixels);
    }
    state.counters["regions"] = superpixels;
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_OpenCvSlico)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK_MAIN();
