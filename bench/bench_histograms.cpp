// Histogram speed on a 1-megapixel photo (rocket.ppm resampled to 1000 x 1000
// by nearest neighbour), one thread. Time per iteration is ms per megapixel.
#include "HistogramPainter.h"
#include "PictureReader.h"
#include "image/HSVBinLayout.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"
#include "ops/OPColorHistogram.h"
#include "ops/OPHistogram.h"

#include <QColor>
#include <benchmark/benchmark.h>

#ifdef IVRA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

#include <cstdlib>
#include <iostream>
#include <memory>

using namespace ivra;

namespace {

constexpr int side = 1000;

struct Photo {
    std::unique_ptr<ImageRGB> rgb;
    std::unique_ptr<ImageHSV> hsv;
    std::unique_ptr<ImageGray> gray;
#ifdef IVRA_HAVE_OPENCV
    cv::Mat mat;
#endif
};

const Photo& photo()
{
    static const Photo p = [] {
        Photo out;
        // IVRA_SAMPLES_DIR in the environment overrides the build's directory
        // (a work tree may sit elsewhere than the samples' neighbour).
        const char* dir = std::getenv("IVRA_SAMPLES_DIR");
        const QString path = QString::fromLocal8Bit(dir ? dir : IVRA_SAMPLES_DIR) + QStringLiteral("/rocket.ppm");
        auto loaded = ivra::readPicture(path);
        if (!loaded || loaded->type() != TypeImageRGB) {
            std::cerr << "cannot read rocket.ppm\n";
            std::exit(1);
        }
        const auto& src = static_cast<const ImageRGB&>(*loaded);
        out.rgb = std::make_unique<ImageRGB>(side, side);
        out.hsv = std::make_unique<ImageHSV>(side, side);
        out.gray = std::make_unique<ImageGray>(side, side);
#ifdef IVRA_HAVE_OPENCV
        out.mat.create(side, side, CV_8UC3);
#endif
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const int sx = x * src.width() / side, sy = y * src.height() / side;
                const auto px = src.pixel(sx, sy);
                const std::size_t i = static_cast<std::size_t>(y) * side + x;
                for (int c = 0; c < 3; ++c)
                    out.rgb->plane(c)[i] = px[static_cast<std::size_t>(c)];
                int h, s, v;
                QColor(px[0], px[1], px[2]).getHsv(&h, &s, &v);
                out.hsv->hue()[i] = h;
                out.hsv->saturation()[i] = s;
                out.hsv->value()[i] = v;
                out.gray->data()[i] = (px[0] * 299 + px[1] * 587 + px[2] * 114) / 1000;
#ifdef IVRA_HAVE_OPENCV
                out.mat.at<cv::Vec3b>(y, x) = cv::Vec3b(static_cast<uchar>(px[2]), static_cast<uchar>(px[1]),
                                                        static_cast<uchar>(px[0]));
#endif
            }
        return out;
    }();
    return p;
}

void StaticRGB(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(OPColorHistogram::staticRGB(*photo().rgb, n, n, n));
}
BENCHMARK(StaticRGB)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

#ifdef IVRA_HAVE_OPENCV
void OpenCVCalcHist(benchmark::State& state)
{
    cv::setNumThreads(1);
    const int n = static_cast<int>(state.range(0));
    const int channels[] = {0, 1, 2};
    const int sizes[] = {n, n, n};
    const float range[] = {0, 256};
    const float* ranges[] = {range, range, range};
    cv::Mat hist;
    for (auto _ : state) {
        cv::calcHist(&photo().mat, 1, channels, cv::Mat(), hist, 3, sizes, ranges);
        benchmark::DoNotOptimize(hist.data);
    }
}
BENCHMARK(OpenCVCalcHist)->Arg(8)->Unit(benchmark::kMillisecond);
#endif

void FuzzyRGB(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(OPColorHistogram::fuzzyRGB(*photo().rgb, n));
}
BENCHMARK(FuzzyRGB)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// The fuzzy HSV histogram once its layout and tables exist.
void FuzzyHSVCounting(benchmark::State& state)
{
    const auto layout = std::make_shared<const HSVBinLayout>(6, 2, static_cast<int>(state.range(0)), 15);
    const ImageHSV& img = *photo().hsv;
    for (auto _ : state) {
        HistogramHSV h(layout);
        h.addPixels(img.hue(), img.saturation(), img.value(), img.pixelCount());
        benchmark::DoNotOptimize(h.counts());
    }
}
BENCHMARK(FuzzyHSVCounting)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

void HSVLayoutTables(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(std::make_shared<const HSVBinLayout>(6, 2, static_cast<int>(state.range(0)), 15));
}
BENCHMARK(HSVLayoutTables)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

// The whole operator: tables and counting.
void FuzzyHSV(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(OPColorHistogram::fuzzyHSV(*photo().hsv, 6, 2, static_cast<int>(state.range(0))));
}
BENCHMARK(FuzzyHSV)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond);

void GrayHistogram(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(OPHistogram::execute(*photo().gray, static_cast<int>(state.range(0))));
}
BENCHMARK(GrayHistogram)->Arg(16)->Arg(256)->Unit(benchmark::kMillisecond);

void ChannelHistograms(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(OPColorHistogram::channels(*photo().rgb, 256));
}
BENCHMARK(ChannelHistograms)->Unit(benchmark::kMillisecond);

void DrawHSV(benchmark::State& state)
{
    const auto h = OPColorHistogram::fuzzyHSV(*photo().hsv, 6, 2, 8);
    for (auto _ : state)
        benchmark::DoNotOptimize(ivra::drawHistogram(*h));
}
BENCHMARK(DrawHSV)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
