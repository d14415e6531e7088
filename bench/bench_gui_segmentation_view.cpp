// The segmentation result viewer on a 12-megapixel result (the rocket sample
// scaled to 4000 x 3000 and segmented by region growing at span 50): showing or
// hiding one region by a click, for a small, a middle-sized and the largest
// region, against opening the viewer and a whole-picture repaint.
#include "PictureReader.h"
#include "app/DataEntry.h"
#include "image/ImageSegmented.h"
#include "segment/OPRegionGrowing.h"
#include "view/SegmentationViewer.h"

#include <QApplication>
#include <QRadioButton>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace ivra;

namespace {

constexpr int width = 4000;
constexpr int height = 3000;

ivra::DataEntry& segmentedEntry()
{
    static const std::unique_ptr<ivra::DataEntry> entry = [] {
        auto loaded = ivra::readPicture(IVRA_SAMPLES_DIR "/rocket.ppm");
        const auto& src = dynamic_cast<const ImageRGB&>(*loaded);
        ImageRGB big(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const auto p = src.pixel(x * src.width() / width, y * src.height() / height);
                big.setPixel(static_cast<std::size_t>(y) * width + x, static_cast<std::int16_t>(p[0]),
                             static_cast<std::int16_t>(p[1]), static_cast<std::int16_t>(p[2]));
            }
        return std::make_unique<ivra::DataEntry>(OPRegionGrowing().execute(big, 50), QStringLiteral("Region Growing"));
    }();
    return *entry;
}

const ImageSegmented& segmented()
{
    return static_cast<const ImageSegmented&>(*segmentedEntry().data());
}

// A pixel of a region of about `share` of the largest region's size (1.0 = the largest).
std::pair<int, int> pixelOfRegion(double share)
{
    const ImageSegmented& s = segmented();
    std::vector<std::size_t> counts;
    for (std::size_t i = 0; i < s.labels.size(); ++i) {
        const std::uint32_t l = s.labels[i];
        if (l >= counts.size())
            counts.resize(l + 1, 0);
        ++counts[l];
    }
    const std::size_t largest = *std::max_element(counts.begin(), counts.end());
    const auto target = static_cast<std::size_t>(static_cast<double>(largest) * share);
    std::uint32_t best = 1;
    for (std::uint32_t l = 1; l < counts.size(); ++l)
        if (counts[l] && (counts[best] < target ? counts[l] > counts[best] : counts[l] >= target && counts[l] < counts[best]))
            best = l;
    for (std::size_t i = 0; i < s.labels.size(); ++i)
        if (s.labels[i] == best)
            return {static_cast<int>(i % width), static_cast<int>(i / width)};
    return {0, 0};
}

void BM_ToggleRegion(benchmark::State& state)
{
    ivra::SegmentationViewer view(nullptr, &segmentedEntry());
    const double share = static_cast<double>(state.range(0)) / 1000.0;
    const auto [x, y] = pixelOfRegion(share);
    std::size_t pixels = 0;
    const std::uint32_t label = segmented().labels.at(x, y);
    for (std::size_t i = 0; i < segmented().labels.size(); ++i)
        pixels += segmented().labels[i] == label;
    for (auto _ : state) // alternately hides and shows the region
        view.onDisplayMousePressEvent(x, y, Qt::LeftButton, Qt::NoModifier);
    state.counters["region_pixels"] = static_cast<double>(pixels);
}
// Argument: the region's size in thousandths of the largest region's.
BENCHMARK(BM_ToggleRegion)->Arg(1)->Arg(100)->Arg(1000)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_OpenViewer(benchmark::State& state)
{
    for (auto _ : state) {
        ivra::SegmentationViewer view(nullptr, &segmentedEntry());
        benchmark::DoNotOptimize(view.canvas().data());
    }
}
BENCHMARK(BM_OpenViewer)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void BM_SwitchBackground(benchmark::State& state)
{
    ivra::SegmentationViewer view(nullptr, &segmentedEntry());
    bool white = false;
    for (auto _ : state) {
        white = !white;
        (white ? view.whiteRadio() : view.blackRadio())->click();
    }
}
BENCHMARK(BM_SwitchBackground)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
