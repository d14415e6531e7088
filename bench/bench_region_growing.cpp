// Region growing on a one-megapixel photo (the rocket sample scaled to 1024 x 1024
// by nearest neighbour), one thread, at spans 0, 50 and 255, colour and gray.
#include "PictureReader.h"
#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "segment/OPRegionGrowing.h"
#include "util/MessageSink.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <set>
#include <string>

using namespace ivra;

namespace {

constexpr int side = 1024;

class Silent : public ivra::MessageSink {
public:
    void message(const std::string&) override {}
};

const ImageRGB& photo()
{
    static const std::unique_ptr<ImageRGB> scaled = [] {
        auto loaded = ivra::readPicture(IVRA_SAMPLES_DIR "/rocket.ppm");
        const auto& src = dynamic_cast<const ImageRGB&>(*loaded);
        auto out = std::make_unique<ImageRGB>(side, side);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const auto p = src.pixel(x * src.width() / side, y * src.height() / side);
                out->setPixel(static_cast<std::size_t>(y) * side + x, static_cast<std::int16_t>(p[0]),
                              static_cast<std::int16_t>(p[1]), static_cast<std::int16_t>(p[2]));
            }
        return out;
    }();
    return *scaled;
}

const ImageGray& grayPhoto()
{
    static const std::unique_ptr<ImageGray> gray = [] {
        const ImageRGB& rgb = photo();
        auto out = std::make_unique<ImageGray>(side, side);
        for (std::size_t i = 0; i < rgb.pixelCount(); ++i)
            out->data()[i] = (rgb.red()[i] * 299 + rgb.green()[i] * 587 + rgb.blue()[i] * 114) / 1000;
        return out;
    }();
    return *gray;
}

std::uint32_t regionCount(const ImageSegmented& s)
{
    std::uint32_t most = 0;
    for (std::size_t i = 0; i < s.labels.size(); ++i)
        most = std::max(most, s.labels[i]);
    return most;
}

// Megapixels per second; 1000 / this is milliseconds per megapixel.
benchmark::Counter megapixelRate(const Image& image)
{
    return benchmark::Counter(static_cast<double>(image.pixelCount()) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_RegionGrowingColor(benchmark::State& state)
{
    const ImageRGB& image = photo();
    const int span = static_cast<int>(state.range(0));
    std::uint32_t regions = 0;
    for (auto _ : state) {
        auto result = OPRegionGrowing().execute(image, span);
        benchmark::DoNotOptimize(result->labels.data());
        regions = regionCount(*result);
    }
    state.counters["regions"] = regions;
    state.counters["MP_per_s"] = megapixelRate(image);
}
BENCHMARK(BM_RegionGrowingColor)->Arg(0)->Arg(50)->Arg(255)->Unit(benchmark::kMillisecond);

void BM_RegionGrowingGray(benchmark::State& state)
{
    auto previous = ivra::MessageSink::install(std::make_unique<Silent>());
    const ImageGray& image = grayPhoto();
    const int span = static_cast<int>(state.range(0));
    std::uint32_t regions = 0;
    for (auto _ : state) {
        auto result = OPRegionGrowing().execute(image, span);
        benchmark::DoNotOptimize(result->labels.data());
        regions = regionCount(*result);
    }
    state.counters["regions"] = regions;
    state.counters["MP_per_s"] = megapixelRate(image);
    ivra::MessageSink::install(std::move(previous));
}
BENCHMARK(BM_RegionGrowingGray)->Arg(0)->Arg(50)->Arg(255)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
