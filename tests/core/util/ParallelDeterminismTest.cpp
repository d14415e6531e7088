// Every parallel operator gives, through its one entry point, exactly the values of
// its one-thread run whatever the thread count.
#include "csc/OPCSC.h"
#include "image/HistogramGray.h"
#include "image/HistogramRGB.h"
#include "image/ImageHSV.h"
#include "image/ImageSegmented.h"
#include "ops/OPColorHistogram.h"
#include "ops/OPColorTransform.h"
#include "ops/OPHistogram.h"
#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"
#include "ops/OPSplit.h"
#include "segment/OPRecursiveHistogramSplitting.h"
#include "segment/OPRegionGrowing.h"
#include "segment/OPSplitAndMerge.h"
#include "util/ParallelRows.h"
#include "util/Threads.h"

#include "core/CapturedMessages.h"
#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

namespace ivra {
namespace {

using Values = std::vector<std::int64_t>;

// Every value of a result: planes, labels and source of a segmentation, the bits of
// histogram counts.
void appendValues(const DataObject& d, Values& v)
{
    const auto add = [&](const auto* p, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) {
            std::int64_t bits = 0;
            std::memcpy(&bits, p + i, sizeof p[i]);
            v.push_back(bits);
        }
    };
    if (const auto* h = dynamic_cast<const HistogramGray*>(&d))
        return add(h->counts(), static_cast<std::size_t>(h->binCount()));
    if (const auto* h = dynamic_cast<const HistogramRGB*>(&d))
        return add(h->counts(), static_cast<std::size_t>(h->binCount()));
    if (const auto* c = dynamic_cast<const ImageColor*>(&d))
        add(c->plane(0), 3 * c->pixelCount());
    else if (const auto* g = dynamic_cast<const ImageGray*>(&d))
        add(g->data(), g->pixelCount());
    if (const ImageSegmented* s = segmentationOf(d)) {
        add(s->labels.data(), s->labels.size());
        add(reinterpret_cast<const std::uint8_t*>(s->sourcePixels.data()), 3 * s->sourcePixels.size());
    }
}

template <class T>
Values valuesOf(const T& result)
{
    Values v;
    appendValues(*result, v);
    return v;
}

TEST(ParallelDeterminism, EveryOperatorGivesItsOneThreadValuesOnAnyThreadCount)
{
    using namespace testpictures;
    // Tall enough that seven threads each get rows, large enough for the 8-bit tables
    // of the colour transform; few levels give ties, many give fine detail.
    const auto rgb = rgbFrom(301, 241, randomPixels(301, 241, 256, 7));
    const auto flat = rgbFrom(301, 241, cellPixels(301, 241, 9, 8));
    const auto hsv = OPColorTransform().RGB2HSV(*rgb);
    const auto gray = OPSplit::channel(*rgb, 1);
    using Kind = ColorHistogramParams::Kind;
    const auto histograms = [](const Image& i, Kind kind) {
        Values v;
        for (const auto& h : OPColorHistogram::execute(i, {kind, 16}))
            appendValues(*h, v);
        return v;
    };
    const auto csc = [](const Image& i, CscParams::Space space, int t) {
        return valuesOf(OPCSC().execute(i, {space, t}).image);
    };
    const std::vector<std::pair<const char*, std::function<Values()>>> runs = {
        {"to HSV", [&] { return valuesOf(OPColorTransform().execute(*rgb, {})); }},
        {"HSV to RGB", [&] { return valuesOf(OPColorTransform().execute(*hsv, {ColorTransformParams::Target::RGB})); }},
        {"gray to RGB", [&] { return valuesOf(OPColorTransform().execute(*gray, {ColorTransformParams::Target::RGB})); }},
        {"split", [&] { return valuesOf(OPSplit().execute(*hsv, {2})); }},
        {"histogram", [&] { return valuesOf(OPHistogram::execute(*gray, HistogramParams{64})); }},
        {"channel histograms", [&] { return histograms(*rgb, Kind::Channel); }},
        {"static histogram", [&] { return histograms(*rgb, Kind::Static); }},
        {"Kuwahara RGB", [&] { return valuesOf(OPKuwaharaNagao().execute(*rgb, {3})); }},
        {"Kuwahara HSV", [&] { return valuesOf(OPKuwaharaNagao().execute(*rgb, {2, KuwaharaNagaoParams::Space::HSV})); }},
        {"SNN", [&] { return valuesOf(OPSNN().execute(*rgb, SnnParams{2})); }},
        {"CSC RGB", [&] { return csc(*flat, CscParams::Space::RGB, 20); }},
        {"CSC RGB fine", [&] { return csc(*rgb, CscParams::Space::RGB, 60); }},
        {"CSC HSV", [&] { return csc(*flat, CscParams::Space::HSV, 0); }},
        {"RHS", [&] { return valuesOf(OPRecursiveHistogramSplitting().execute(*flat, {})); }},
        {"RHS fine", [&] { return valuesOf(OPRecursiveHistogramSplitting().execute(*rgb, {})); }},
        {"split and merge", [&] { return valuesOf(OPSplitAndMerge().execute(*flat, {})); }},
        {"region growing", [&] { return valuesOf(OPRegionGrowing().execute(*flat, {})); }},
    };
    CapturedMessages quiet;
    for (const auto& [what, run] : runs) {
        Values one;
        {
            ThreadLimit limit(1);
            one = run();
        }
        ASSERT_FALSE(one.empty()) << what;
        for (const int threads : {2, 3, 7}) {
            ThreadLimit limit(threads);
            EXPECT_TRUE(run() == one) << what << " on " << threads << " threads";
        }
    }
}

// Pieces are dealt whole and in order; an exception on any thread reaches the caller.
TEST(ParallelDeterminism, RowsAreDealtOnceAndErrorsComeBack)
{
    ThreadLimit limit(3);
    std::vector<int> hits(100, 0);
    parallelRows(3, 100, 7, [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y)
            ++hits[static_cast<std::size_t>(y)];
    });
    EXPECT_EQ(std::count(hits.begin(), hits.begin() + 3, 0), 3);
    EXPECT_EQ(std::count(hits.begin() + 3, hits.end(), 1), 97);
    EXPECT_THROW(parallelRows(0, 50, 1, [](int y0, int) {
        if (y0 == 40)
            throw Cancelled();
    }), Cancelled);
    // Pieces: each of first .. end - 1 once, an error back to the caller.
    parallelPieces(5, 12, 3, [&](int i) { hits[static_cast<std::size_t>(i)] += 10; });
    EXPECT_EQ(std::count(hits.begin() + 5, hits.begin() + 12, 11), 7);
    EXPECT_EQ(hits[4] + hits[12], 2);
    EXPECT_THROW(parallelPieces(0, 4, 2, [](int i) {
        if (i == 3)
            throw Cancelled();
    }), Cancelled);
}

// Progress reaches the caller on its own thread only, growing to 1, and a cancel
// stops every thread.
TEST(ParallelDeterminism, ProgressStaysOnTheCallingThread)
{
    const auto rgb = testpictures::rgbFrom(200, 700, testpictures::randomPixels(200, 700, 256, 3));
    ThreadLimit limit(3);
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<double> fractions;
    bool elsewhere = false;
    OPSNN().execute(*rgb, 2, Progress([&](double f) {
        elsewhere = elsewhere || std::this_thread::get_id() != caller;
        return fractions.push_back(f), true;
    }));
    EXPECT_FALSE(elsewhere);
    ASSERT_FALSE(fractions.empty());
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_EQ(fractions.back(), 1.0);
    EXPECT_THROW(OPKuwaharaNagao().execute(*rgb, {3}, Progress([](double f) { return f < 0.5; })), Cancelled);
}

} // namespace
} // namespace ivra
