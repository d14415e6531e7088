// What a user waits for: each operator's step on two one-megapixel photographs (the
// rocket scaled up, and a natural photograph), with fresh result memory in every
// iteration ("cold", as in ivra-cli and the workbench, which keep every result)
// beside reused memory ("warm"), on one and on two threads. Where OpenCV is found,
// its graph segmentation and SLICO superpixels (one thread) run on the same photos.
#include "BenchPhotos.h"
#include "csc/OPCSC.h"
#include "image/ImageRGB.h"
#include "ops/OPColorTransform.h"
#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"
#include "segment/OPRecursiveHistogramSplitting.h"
#include "segment/OPRegionGrowing.h"
#include "segment/OPSplitAndMerge.h"
#include "util/MessageSink.h"
#include "util/Threads.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#ifdef IVRA_HAVE_OPENCV_XIMGPROC
#include <opencv2/core.hpp>
#include <opencv2/ximgproc/segmentation.hpp>
#include <opencv2/ximgproc/slic.hpp>
#endif

using namespace ivra;

namespace {

const ImageRGB& photo(int which)
{
    // The rocket resampled to 1024 x 1024, and a natural one-megapixel photograph.
    static const std::unique_ptr<ImageRGB> rocket = bench::resampled(*bench::loadSample("rocket.ppm"), 1024, 1024);
    static const std::unique_ptr<ImageRGB> retina = bench::loadSample("retina-1mp.png");
    return which == 0 ? *rocket : *retina;
}
const char* const photoNames[] = {"rocket", "retina"};

// Cold: blocks of 64 KiB and more are mapped fresh and returned on release, so every
// result is new memory. Warm: the allocator keeps and reuses them.
void setMemory(bool cold)
{
    mallopt(M_MMAP_THRESHOLD, cold ? 64 * 1024 : 1 << 30);
    mallopt(M_TRIM_THRESHOLD, cold ? 128 * 1024 : 1 << 30);
}

class QuietSink : public MessageSink {
public:
    void message(const std::string&) override {}
};

using Step = std::function<void(const ImageRGB&)>;

const std::vector<std::pair<const char*, Step>> steps = {
    {"kuwahara", [](const ImageRGB& i) { benchmark::DoNotOptimize(OPKuwaharaNagao().execute(i, KuwaharaNagaoParams{})); }},
    {"snn", [](const ImageRGB& i) { benchmark::DoNotOptimize(OPSNN().execute(i, SnnParams{})); }},
    {"rgb-to-hsv", [](const ImageRGB& i) { benchmark::DoNotOptimize(OPColorTransform().execute(i, {})); }},
    {"region-growing", [](const ImageRGB& i) { benchmark::DoNotOptimize(OPRegionGrowing().execute(i, {50})); }},
    {"split-and-merge", [](const ImageRGB& i) { benchmark::DoNotOptimize(OPSplitAndMerge().execute(i, {})); }},
    {"rhs", [](const ImageRGB& i) { benchmark::DoNotOptimize(OPRecursiveHistogramSplitting().execute(i, {})); }},
    {"csc-rgb", [](const ImageRGB& i) { benchmark::DoNotOptimize(OPCSC().execute(i, {CscParams::Space::RGB, 25})); }},
    {"csc-hsv", [](const ImageRGB& i) { benchmark::DoNotOptimize(OPCSC().execute(i, {CscParams::Space::HSV})); }},
};

void runStep(benchmark::State& state, const Step& step, int which, bool cold, int threads)
{
    const ImageRGB& image = photo(which);
    ThreadLimit limit(threads);
    setMemory(cold);
    step(image); // the photo and the runtime's threads ready before timing
    for (auto _ : state)
        step(image);
    setMemory(false);
}

#ifdef IVRA_HAVE_OPENCV_XIMGPROC
void runOpenCvGraph(benchmark::State& state, int which)
{
    cv::setNumThreads(1);
    const cv::Mat mat = bench::bgrOf(photo(which));
    auto segmenter = cv::ximgproc::segmentation::createGraphSegmentation(0.5, 300, 100);
    for (auto _ : state) {
        cv::Mat labels;
        segmenter->processImage(mat, labels);
        benchmark::DoNotOptimize(labels.data);
    }
}

void runOpenCvSlico(benchmark::State& state, int which)
{
    cv::setNumThreads(1);
    const cv::Mat mat = bench::bgrOf(photo(which));
    for (auto _ : state) {
        auto slic = cv::ximgproc::createSuperpixelSLIC(mat, cv::ximgproc::SLICO, 50);
        slic->iterate(10);
        cv::Mat labels;
        slic->getLabels(labels);
        benchmark::DoNotOptimize(labels.data);
    }
}
#endif

void registerAll()
{
    for (int which = 0; which < 2; ++which) {
        for (const auto& [name, step] : steps)
            for (const bool cold : {true, false})
                for (const int threads : {1, 2}) {
                    const std::string label = std::string(name) + "/" + photoNames[which] + (cold ? "/cold" : "/warm") +
                                              "/threads:" + std::to_string(threads);
                    benchmark::RegisterBenchmark(label.c_str(), runStep, step, which, cold, threads)
                        ->Unit(benchmark::kMillisecond)
                        ->UseRealTime();
                }
#ifdef IVRA_HAVE_OPENCV_XIMGPROC
        const std::string photoName = photoNames[which];
        benchmark::RegisterBenchmark(("opencv-graph/" + photoName).c_str(), runOpenCvGraph, which)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("opencv-slico/" + photoName).c_str(), runOpenCvSlico, which)
            ->Unit(benchmark::kMillisecond);
#endif
    }
}

} // namespace

int main(int argc, char** argv)
{
    MessageSink::install(std::make_unique<QuietSink>());
    registerAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
