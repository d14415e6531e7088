// Colour conversions per megapixel: the table-driven buffer conversion against
// OpenCV's RGB -> HSV (one thread), and the exact image-level colour transform.
#include "PictureReader.h"

#include "color/ColorConversion.h"
#include "image/ImageRGB.h"
#include "ops/OPColorTransform.h"

#include <benchmark/benchmark.h>

#include <QImage>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <vector>

#ifdef IVRA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#endif
using namespace ivra;

namespace {

constexpr int kSide = 1024; // 1 megapixel

// The sample photo resampled (nearest neighbour) to kSide x kSide as an ImageRGB.
const ImageRGB& photo()
{
    static const std::unique_ptr<ImageRGB> image = [] {
        const QImage picture(QStringLiteral(IVRA_SAMPLES_DIR "/rocket.ppm"));
        if (picture.isNull()) {
            std::cerr << "cannot read " IVRA_SAMPLES_DIR "/rocket.ppm\n";
            std::exit(1);
        }
        const QImage scaled = picture.convertToFormat(QImage::Format_RGB32)
                                  .scaled(kSide, kSide, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        std::unique_ptr<Image> loaded = ivra::imageFromQImage(scaled);
        return std::unique_ptr<ImageRGB>(static_cast<ImageRGB*>(loaded.release()));
    }();
    return *image;
}

const std::vector<std::uint8_t>& photoBytes()
{
    static const std::vector<std::uint8_t> bytes = [] {
        const ImageRGB& image = photo();
        std::vector<std::uint8_t> b(image.pixelCount() * 3);
        for (std::size_t i = 0; i < image.pixelCount(); ++i) {
            b[3 * i] = static_cast<std::uint8_t>(image.red()[i]);
            b[3 * i + 1] = static_cast<std::uint8_t>(image.green()[i]);
            b[3 * i + 2] = static_cast<std::uint8_t>(image.blue()[i]);
        }
        return b;
    }();
    return bytes;
}

// The picture is exactly one megapixel, so the time per iteration (reported in
// milliseconds) is the time per megapixel; the counter records the pixel rate.
void setMegapixels(benchmark::State& state)
{
    state.counters["MP/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * kSide * kSide / 1e6,
                                                benchmark::Counter::kIsRate);
}

void BM_imageRgbToHsv(benchmark::State& state)
{
    const auto& rgb = photoBytes();
    std::vector<HSVPixel> hsv(kSide * kSide);
    imageRgbToHsv(kSide, kSide, rgb.data(), hsv.data()); // builds the table outside the timing
    for (auto _ : state) {
        imageRgbToHsv(kSide, kSide, rgb.data(), hsv.data());
        benchmark::DoNotOptimize(hsv.data());
        benchmark::ClobberMemory();
    }
    setMegapixels(state);
}
BENCHMARK(BM_imageRgbToHsv)->Unit(benchmark::kMillisecond);

void BM_imageHsvToRgb(benchmark::State& state)
{
    const auto& rgb = photoBytes();
    std::vector<HSVPixel> hsv(kSide * kSide);
    imageRgbToHsv(kSide, kSide, rgb.data(), hsv.data());
    std::vector<std::uint8_t> back(rgb.size());
    imageHsvToRgb(kSide, kSide, hsv.data(), back.data());
    for (auto _ : state) {
        imageHsvToRgb(kSide, kSide, hsv.data(), back.data());
        benchmark::DoNotOptimize(back.data());
        benchmark::ClobberMemory();
    }
    setMegapixels(state);
}
BENCHMARK(BM_imageHsvToRgb)->Unit(benchmark::kMillisecond);

#ifdef IVRA_HAVE_OPENCV
void BM_opencvRgbToHsv(benchmark::State& state)
{
    cv::setNumThreads(1);
    auto& rgb = const_cast<std::vector<std::uint8_t>&>(photoBytes());
    const cv::Mat src(kSide, kSide, CV_8UC3, rgb.data());
    cv::Mat dst;
    cv::cvtColor(src, dst, cv::COLOR_RGB2HSV);
    for (auto _ : state) {
        cv::cvtColor(src, dst, cv::COLOR_RGB2HSV);
        benchmark::DoNotOptimize(dst.data);
        benchmark::ClobberMemory();
    }
    setMegapixels(state);
}
BENCHMARK(BM_opencvRgbToHsv)->Unit(benchmark::kMillisecond);
#endif

void BM_OPColorTransform_RGB2HSV(benchmark::State& state)
{
    const ImageRGB& image = photo();
    const OPColorTransform op;
    for (auto _ : state) {
        auto hsv = op.RGB2HSV(image);
        benchmark::DoNotOptimize(hsv->hue());
    }
    setMegapixels(state);
}
BENCHMARK(BM_OPColorTransform_RGB2HSV)->Unit(benchmark::kMillisecond);

void BM_OPColorTransform_HSV2RGB(benchmark::State& state)
{
    const OPColorTransform op;
    const auto hsv = op.RGB2HSV(photo());
    for (auto _ : state) {
        auto rgb = op.HSV2RGB(*hsv);
        benchmark::DoNotOptimize(rgb->red());
    }
    setMegapixels(state);
}
BENCHMARK(BM_OPColorTransform_HSV2RGB)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
