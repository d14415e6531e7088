// Regions as data on a 12-megapixel (4000 x 3000) Colour Structure Code result of
// the rocket photo: the measurements of every region and the border picture, each
// on one thread.
#include "PictureReader.h"
#include "csc/OPCSC.h"
#include "image/ImageRGB.h"
#include "segment/RegionBorders.h"
#include "segment/RegionMeasurements.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace ivra;

namespace {

const ImageSegmented& cscResult()
{
    static const std::unique_ptr<ImageSegmented> result = [] {
        const char* dir = std::getenv("IVRA_SAMPLES_DIR");
        auto photo = readPicture(QString(dir ? dir : IVRA_SAMPLES_DIR) + "/rocket.ppm");
        if (!photo || photo->type() != TypeImageRGB) {
            std::fprintf(stderr, "cannot read rocket.ppm\n");
            std::exit(1);
        }
        const auto& p = static_cast<const ImageRGB&>(*photo);
        const int w = 4000, h = 3000;
        ImageRGB big(w, h); // nearest neighbour
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const auto c = p.pixel(static_cast<int>(static_cast<long long>(x) * p.width() / w),
                                       static_cast<int>(static_cast<long long>(y) * p.height() / h));
                big.setPixel(static_cast<std::size_t>(y) * w + x, static_cast<std::int16_t>(c[0]),
                             static_cast<std::int16_t>(c[1]), static_cast<std::int16_t>(c[2]));
            }
        return std::move(OPCSC().execute(big, OPCSC::Space::RGB).image);
    }();
    return *result;
}

void BM_MeasureRegions(benchmark::State& state)
{
    const ImageSegmented& s = cscResult();
    for (auto _ : state)
        benchmark::DoNotOptimize(measureRegions(s));
    state.counters["regions"] = static_cast<double>(countRegions(s.labels));
}
BENCHMARK(BM_MeasureRegions)->Unit(benchmark::kMillisecond);

void BM_PaintBorders(benchmark::State& state)
{
    const ImageSegmented& s = cscResult();
    for (auto _ : state)
        benchmark::DoNotOptimize(paintBorders(s.labels, s.sourcePixels, defaultBorderColor));
}
BENCHMARK(BM_PaintBorders)->Unit(benchmark::kMillisecond);

// Into a picture of the size already there (a viewer repainting its canvas): the
// painting alone, without the first touch of 36 MB of new memory.
void BM_PaintBordersInPlace(benchmark::State& state)
{
    const ImageSegmented& s = cscResult();
    Array2D<RGB24> out(s.width(), s.height());
    for (auto _ : state) {
        paintBorders(s.labels, s.sourcePixels, defaultBorderColor, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_PaintBordersInPlace)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
