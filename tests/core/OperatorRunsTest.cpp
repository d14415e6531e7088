#include "image/BitImage32.h"
#include "image/HistogramGray.h"
#include "image/HistogramRGB.h"
#include "ops/OPColorHistogram.h"
#include "ops/OPColorTransform.h"
#include "ops/OPGauss.h"
#include "ops/OPHistogram.h"
#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"
#include "ops/OPSaltAndPepper.h"
#include "ops/OPSplit.h"
#include "segment/OPRecursiveHistogramSplitting.h"
#include "segment/OPRegionGrowing.h"
#include "segment/OPSplitAndMerge.h"
#include "segment/QuadTree.h"
#include "util/RandomGenerator.h"

#include "core/CapturedMessages.h"
#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>

using namespace ivra;
using namespace testpictures;

namespace {

enum class Refusal { None, Invalid, Length, Range };

Refusal refusalOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::invalid_argument&) {
        return Refusal::Invalid;
    } catch (const std::length_error&) {
        return Refusal::Length;
    } catch (const std::out_of_range&) {
        return Refusal::Range;
    }
    return Refusal::None;
}

struct Check {
    const char* what;
    Refusal refusal;
    std::function<void(int)> call;
    std::vector<int> refused, accepted; // just outside and just inside the range
};

} // namespace

// Every size and parameter check at its boundaries. A refused noise run draws no number.
TEST(OperatorRuns, RefuseValuesJustOutsideTheirRanges)
{
    using enum Refusal;
    using Color = OPColorHistogram;
    const auto rgb = rgbFrom(2, 2, randomPixels(2, 2, 256, 1));
    const auto gray = grayWhere(2, 2, [](int x, int y) { return x + y; });
    ImageHSV hsv(1, 1);
    hsv.setPixel(0, -1, 0, 0);
    const auto segment = [](int w, int h) {
        OPSplitAndMerge().execute(*rgbFrom(w, h, Pixels(static_cast<std::size_t>(w) * h)), SplitAndMergeParams{});
    };
    const auto split = [&](int w, int p, int r) { OPRecursiveHistogramSplitting().execute(*rgb, RhsParams{w, p, r}); };
    const auto grow = [](const Image& image, int span) { OPRegionGrowing().execute(image, RegionGrowingParams{span}); };
    const auto gauss = [](const Image& image, int mean, int variance) { OPGauss().execute(image, {mean, variance}); };
    const auto noise = [&](const Image& image, int mode, int percent) {
        OPSaltAndPepper().execute(image, {static_cast<SaltAndPepperParams::Mode>(mode), percent});
    };
    const std::vector<Check> checks = {
        {"image width", Length, [](int v) { ImageGray(v, 1); }, {-1, 32768}, {0, 32767}},
        {"image height", Length, [](int v) { ImageRGB(1, v); }, {-1, 32768}, {0, 32767}},
        {"bit image width", Length, [](int v) { BitImage32(v, 1); }, {-1, 32768}, {0, 32767}},
        {"bit image height", Length, [](int v) { BitImage32(1, v); }, {-1, 32768}, {0, 32767}},
        {"quadtree width", Length, [](int v) { QuadTree::sizeFor(v, 1); }, {-1, 32768}, {0, 32767}},
        {"quadtree height", Length, [](int v) { QuadTree::sizeFor(1, v); }, {-1, 32768}, {0, 32767}},
        {"gray histogram size", Length, [](int v) { HistogramGray{v}; }, {-1}, {0}},
        {"RGB histogram size", Length, [](int v) { HistogramRGB{v}; }, {-1}, {0}},
        {"HSV layout sectors", Invalid, [](int v) { HSVBinLayout(v, 2, 4, 15); }, {0, 7, 720}, {1, 360}},
        {"HSV layout rings", Invalid, [](int v) { HSVBinLayout(1, v, 4, 15); }, {0, 241}, {1, 240}},
        {"HSV layout grays", Invalid, [](int v) { HSVBinLayout(6, 2, v, 15); }, {0, 257}, {1, 256}},
        {"HSV layout saturation", Invalid, [](int v) { HSVBinLayout(6, 1, 4, v); }, {-1, 255}, {0, 254}},
        {"HSV layout bins", Invalid, [](int v) { HSVBinLayout(180, 5, v, 0); }, {125}, {124}},
        {"HSV layout overflow", Invalid, [](int v) { HSVBinLayout(v, v, 4, 15); }, {2147483647}, {1}},
        {"split plane", Range, [&](int v) { OPSplit().execute(hsv, {v}); }, {-1, 3}, {0, 2}},
        {"histogram", Invalid, [&](int v) { OPHistogram::execute(*gray, HistogramParams{v}); }, {0, 257}, {1, 256}},
        {"channel histograms", Invalid, [&](int v) { Color::channels(hsv, v); }, {0, 257}, {1, 256}},
        {"static RGB red", Invalid, [&](int v) { Color::staticRGB(*rgb, v, 1, 1); }, {0, 257}, {1, 256}},
        {"static RGB green", Invalid, [&](int v) { Color::staticRGB(*rgb, 1, v, 1); }, {0, 257}, {1, 256}},
        {"static RGB blue", Invalid, [&](int v) { Color::staticRGB(*rgb, 1, 1, v); }, {0, 257}, {1, 256}},
        {"static RGB bins", Invalid, [&](int v) { Color::staticRGB(*rgb, 256, v, 256); }, {2}, {1}},
        {"fuzzy RGB", Invalid, [&](int v) { Color::fuzzyRGB(*rgb, v); }, {0, 41, 257}, {1, 40}},
        {"fuzzy HSV", Invalid, [&](int v) { Color::fuzzyHSV(hsv, v, 2, 4); }, {7}, {6}},
        {"SNN", Invalid, [&](int v) { OPSNN().execute(*rgb, SnnParams{v}); }, {0, 65537}, {1, 65536}},
        {"Kuwahara", Invalid, [&](int v) { OPKuwaharaNagao().execute(*rgb, {v}); }, {0, 65537}, {1, 65536}},
        {"salt and pepper mode", Invalid, [&](int v) { noise(*rgb, v, 10); }, {-1, 3}, {0, 2}},
        {"salt and pepper %", Invalid, [&](int v) { noise(*gray, 0, v); }, {-1, 51}, {0, 50}},
        {"Gauss mean", Invalid, [&](int v) { gauss(*gray, v, 0); }, {-256, 256}, {-255, 255}},
        {"Gauss variance", Invalid, [&](int v) { gauss(*rgb, 0, v); }, {-1, 256}, {0, 255}},
        {"split and merge width", Invalid, [&](int v) { segment(v, 2); }, {0}, {1}},
        {"split and merge height", Invalid, [&](int v) { segment(2, v); }, {0}, {1}},
        {"split and merge strip", Length, [&](int v) { segment(v, 1); }, {2049}, {2048}},
        {"region growing", Invalid, [&](int v) { grow(*rgb, v); }, {-1, 256}, {0, 255}},
        {"gray region growing", Invalid, [&](int v) { grow(*gray, v); }, {-1, 256}, {0, 255}},
        {"splitting window", Invalid, [&](int v) { split(v, 0, 0); }, {-1, 65537}, {0, 65536}},
        {"splitting peak", Invalid, [&](int v) { split(0, v, 0); }, {-1, 65537}, {0, 65536}},
        {"splitting region", Invalid, [&](int v) { split(0, 0, v); }, {-1, 65537}, {0, 65536}},
    };
    CapturedMessages quiet;
    for (const Check& c : checks) {
        const std::uint32_t state = RandomGenerator::instance().state();
        for (const int v : c.refused)
            EXPECT_EQ(refusalOf([&] { c.call(v); }), c.refusal) << c.what << " " << v;
        EXPECT_EQ(RandomGenerator::instance().state(), state) << c.what;
        for (const int v : c.accepted)
            EXPECT_EQ(refusalOf([&] { c.call(v); }), None) << c.what << " " << v;
    }
}

// Through their parameter structs every operator refuses the picture types it does
// not take; every long run reports a growing fraction within 0..1, ending at 1
// where the last unit of work reports, and stops with Cancelled when told to.
TEST(OperatorRuns, TakeTheirPictureTypesReportProgressAndStopWhenCancelled)
{
    const auto rgb = rgbFrom(130, 40, randomPixels(130, 40, 3, 1));
    const auto gray = grayWhere(130, 40, [](int x, int y) { return (x * 7 + y * 5) % 256; });
    ImageHSV hsv(130, 40);
    std::fill_n(hsv.plane(0), 3 * hsv.pixelCount(), 0);
    const Image *g = gray.get(), *c = rgb.get(), *h = &hsv;
    using Kind = ColorHistogramParams::Kind;
    using Run = std::function<void(const Image&, const Progress&)>;
    enum Reports { None, Some, ToOne };
    const ColorHistogramParams channels{Kind::Channel, 16};
    const ColorTransformParams toRgb{ColorTransformParams::Target::RGB};
    const KuwaharaNagaoParams kuwahara{5, OPKuwaharaNagao::Space::HSV};
    const std::vector<std::tuple<const char*, Run, std::vector<const Image*>, Reports>> runs = {
        {"histogram", [](auto& i, auto& p) { OPHistogram::execute(i, {16}, p); }, {g}, ToOne},
        {"channels", [&](auto& i, auto& p) { OPColorHistogram::execute(i, channels, p); }, {c, h}, ToOne},
        {"static", [](auto& i, auto& p) { OPColorHistogram::execute(i, {Kind::Static}, p); }, {c, h}, ToOne},
        {"fuzzy", [](auto& i, auto& p) { OPColorHistogram::execute(i, {Kind::Fuzzy}, p); }, {c, h}, ToOne},
        {"to HSV", [](auto& i, auto& p) { OPColorTransform().execute(i, {}, p); }, {c}, None},
        {"to RGB", [&](auto& i, auto& p) { OPColorTransform().execute(i, toRgb, p); }, {g, h}, None},
        {"split", [](auto& i, auto& p) { OPSplit().execute(i, {}, p); }, {c, h}, None},
        {"Gauss", [](auto& i, auto& p) { OPGauss().execute(i, {}, p); }, {g, c}, Some},
        {"salt and pepper", [](auto& i, auto& p) { OPSaltAndPepper().execute(i, {}, p); }, {g, c}, Some},
        {"SNN", [](auto& i, auto& p) { OPSNN().execute(i, {5}, p); }, {c}, ToOne},
        {"Kuwahara", [&](auto& i, auto& p) { OPKuwaharaNagao().execute(i, kuwahara, p); }, {c}, ToOne},
        {"split and merge", [](auto& i, auto& p) { OPSplitAndMerge().execute(i, {}, p); }, {c}, ToOne},
        {"region growing", [](auto& i, auto& p) { OPRegionGrowing().execute(i, {}, p); }, {g, c}, ToOne},
        {"splitting", [](auto& i, auto& p) { OPRecursiveHistogramSplitting().execute(i, {}, p); }, {c}, Some},
    };
    CapturedMessages quiet;
    for (const auto& [what, run, accepted, reports] : runs) {
        const Run& call = run; // lambdas cannot capture a structured binding before clang 16
        for (const Image* other : {g, c, h})
            EXPECT_TRUE(std::count(accepted.begin(), accepted.end(), other) ||
                        refusalOf([&] { call(*other, {}); }) == Refusal::Invalid)
                << what << " on type " << other->type();
        for (const Image* image : accepted) {
            std::vector<double> fractions;
            run(*image, Progress([&](double f) { return fractions.push_back(f), true; }));
            if (reports == None)
                continue;
            ASSERT_GE(fractions.size(), 3u) << what;
            EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end())) << what;
            EXPECT_TRUE(fractions.front() >= 0 && fractions.back() <= 1) << what;
            EXPECT_TRUE(reports == Some || fractions.back() == 1.0) << what;
            int calls = 0;
            EXPECT_THROW(run(*image, Progress([&](double) { return ++calls < 3; })), Cancelled) << what;
        }
    }
}

// The diagnostic lines the operators send to the message sink.
TEST(OperatorRuns, SendTheirDiagnosticLines)
{
    const auto rgb = rgbFrom(3, 3, randomPixels(3, 3, 256, 2));
    const auto gray = grayWhere(2, 2, [](int, int) { return 9; });
    const std::vector<std::pair<std::function<void()>, std::vector<std::string>>> runs = {
        {[] { OPColorHistogram::dynamic(); }, {"Dynamic Histogram not yet implemented !"}},
        {[&] { OPSaltAndPepper().execute(*rgb, SaltAndPepperParams{}); },
         {"OPSaltAndPepper::execute(const ImageRGB& src, int mode, int value)"}},
        {[&] { OPSaltAndPepper().execute(*gray, SaltAndPepperParams{}); }, {}},
        {[&] { OPRegionGrowing().execute(*gray, RegionGrowingParams{}); }, {"hier"}},
        {[&] { OPRegionGrowing().execute(*rgb, RegionGrowingParams{}); }, {}},
        {[&] { OPSplitAndMerge().execute(*rgb, SplitAndMergeParams{}); },
         {"split...", "merge...", "Leaving quadtree...", "QuadTree.GetMaxLevel() 2", "Grouping..."}},
    };
    for (std::size_t i = 0; i < runs.size(); ++i) {
        CapturedMessages messages;
        runs[i].first();
        EXPECT_EQ(messages.lines, runs[i].second) << "run " << i;
    }
}
