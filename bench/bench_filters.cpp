// Speed of the noise generators and the two smoothing filters on a 1-megapixel
// photograph (the rocket sample tiled up to 1024 x 1024), one thread. Beside the
// Kuwahara-Nagao step, the same 2 x 2 step formulated with OpenCV box filters.

#include "PictureReader.h"
#include "image/Array2D.h"
#include "image/ImageRGB.h"
#include "image/RGB24.h"
#include "ops/OPGauss.h"
#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"
#include "ops/OPSaltAndPepper.h"
#include "util/MessageSink.h"

#include <benchmark/benchmark.h>

#ifdef IVRA_HAVE_OPENCV
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

using namespace ivra;

namespace {

constexpr int kSide = 1024;

// The sample photograph resampled (nearest neighbour) to kSide x kSide.
const ImageRGB& photo()
{
    static const std::unique_ptr<ImageRGB> image = [] {
        // IVRA_SAMPLES in the environment overrides the build's sample directory.
        const char* dir = std::getenv("IVRA_SAMPLES");
        auto loaded = ivra::readPicture(QString::fromUtf8(dir ? dir : IVRA_SAMPLES_DIR) + "/rocket.ppm");
        const auto* rgb = dynamic_cast<const ImageRGB*>(loaded.get());
        if (!rgb) {
            std::fprintf(stderr, "rocket.ppm is not an RGB picture\n");
            std::exit(1);
        }
        auto scaled = std::make_unique<ImageRGB>(kSide, kSide);
        for (int y = 0; y < kSide; ++y) {
            for (int x = 0; x < kSide; ++x) {
                const auto p = rgb->pixel(x * rgb->width() / kSide, y * rgb->height() / kSide);
                const std::size_t i = static_cast<std::size_t>(y) * kSide + x;
                scaled->red()[i] = p[0];
                scaled->green()[i] = p[1];
                scaled->blue()[i] = p[2];
            }
        }
        return scaled;
    }();
    return *image;
}

Array2D<RGB24> photoBuffer()
{
    const ImageRGB& image = photo();
    Array2D<RGB24> buffer(image.width(), image.height());
    for (std::size_t i = 0; i < image.pixelCount(); ++i)
        buffer[i] = RGB24{static_cast<std::uint8_t>(image.red()[i]), static_cast<std::uint8_t>(image.green()[i]),
                          static_cast<std::uint8_t>(image.blue()[i])};
    return buffer;
}

void perMegapixel(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kSide) * kSide);
}

// One iteration of each filter kernel; the time per iteration is the figure per megapixel.
void BM_KuwaharaRGB(benchmark::State& state)
{
    const Array2D<RGB24> src = photoBuffer();
    Array2D<RGB24> dst = photoBuffer();
    for (auto _ : state) {
        kuwaharaRGB(src, dst);
        benchmark::DoNotOptimize(dst.data());
    }
    perMegapixel(state);
}

void BM_KuwaharaHSV(benchmark::State& state)
{
    const Array2D<RGB24> src = photoBuffer();
    Array2D<RGB24> dst = photoBuffer();
    for (auto _ : state) {
        kuwaharaHSV(src, dst);
        benchmark::DoNotOptimize(dst.data());
    }
    perMegapixel(state);
}

void BM_SNN(benchmark::State& state)
{
    const Array2D<RGB24> src = photoBuffer();
    Array2D<RGB24> dst = photoBuffer();
    for (auto _ : state) {
        snnFilter(kSide, kSide, reinterpret_cast<const std::uint8_t*>(src.data()),
                  reinterpret_cast<std::uint8_t*>(dst.data()));
        benchmark::DoNotOptimize(dst.data());
    }
    perMegapixel(state);
}

// Whole operator runs, including the copies in and out of the working buffers.
void BM_KuwaharaNagaoOperator10(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(OPKuwaharaNagao().execute(photo(), 10, OPKuwaharaNagao::Space::RGB));
    perMegapixel(state);
}

void BM_SNNOperator10(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(OPSNN().execute(photo(), 10));
    perMegapixel(state);
}

void BM_GaussNoise(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(OPGauss().execute(photo(), 0, 10));
    perMegapixel(state);
}

void BM_SaltAndPepperNoise(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(OPSaltAndPepper().execute(photo(), OPSaltAndPepper::SaltAndPepper, 10));
    perMegapixel(state);
}

#ifdef IVRA_HAVE_OPENCV
// The same 2 x 2 Kuwahara step as a user would write it with OpenCV: box filters
// give every block's channel means and mean squares, the per-pixel choice is made
// with comparisons and masked copies over the four shifted block grids.
void BM_OpenCVKuwaharaStep(benchmark::State& state)
{
    cv::setNumThreads(1);
    const ImageRGB& image = photo();
    cv::Mat src(kSide, kSide, CV_8UC3);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const auto p = image.pixel(x, y);
            src.at<cv::Vec3b>(y, x) = cv::Vec3b(static_cast<uchar>(p[0]), static_cast<uchar>(p[1]),
                                                static_cast<uchar>(p[2]));
        }
    cv::Mat dst = src.clone();
    cv::Mat f, mean, meanSq, variance3, variance, best, bestMean, mask, out;
    const cv::Size inner(kSide - 2, kSide - 2);
    for (auto _ : state) {
        src.convertTo(f, CV_32F);
        // Block with top left corner (x, y) covers x..x+1, y..y+1.
        cv::boxFilter(f, mean, CV_32F, cv::Size(2, 2), cv::Point(0, 0), true, cv::BORDER_REPLICATE);
        cv::sqrBoxFilter(f, meanSq, CV_32F, cv::Size(2, 2), cv::Point(0, 0), true, cv::BORDER_REPLICATE);
        variance3 = meanSq - mean.mul(mean);
        cv::transform(variance3, variance, cv::Matx13f(1, 1, 1));
        const cv::Rect blocks[4] = {cv::Rect(cv::Point(0, 0), inner), cv::Rect(cv::Point(1, 0), inner),
                                    cv::Rect(cv::Point(1, 1), inner), cv::Rect(cv::Point(0, 1), inner)};
        variance(blocks[0]).copyTo(best);
        mean(blocks[0]).copyTo(bestMean);
        for (int k = 1; k < 4; ++k) {
            cv::compare(variance(blocks[k]), best, mask, cv::CMP_LT);
            variance(blocks[k]).copyTo(best, mask);
            mean(blocks[k]).copyTo(bestMean, mask);
        }
        bestMean.convertTo(out, CV_8U);
        out.copyTo(dst(cv::Rect(1, 1, kSide - 2, kSide - 2)));
        benchmark::DoNotOptimize(dst.data);
    }
    perMegapixel(state);
}
BENCHMARK(BM_OpenCVKuwaharaStep)->Unit(benchmark::kMillisecond);
#endif

} // namespace

BENCHMARK(BM_KuwaharaRGB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KuwaharaHSV)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SNN)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KuwaharaNagaoOperator10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SNNOperator10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GaussNoise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaltAndPepperNoise)->Unit(benchmark::kMillisecond);

// The salt-and-pepper operator's diagnostic line would flood the report.
class Silent : public ivra::MessageSink {
public:
    void message(const std::string&) override {}
};

int main(int argc, char** argv)
{
    ivra::MessageSink::install(std::make_unique<Silent>());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
