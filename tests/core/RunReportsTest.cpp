#include "ops/OPColorHistogram.h"
#include "ops/OPGauss.h"
#include "ops/OPHistogram.h"
#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"
#include "ops/OPSaltAndPepper.h"
#include "segment/OPRecursiveHistogramSplitting.h"
#include "segment/OPRegionGrowing.h"
#include "segment/OPSplitAndMerge.h"

#include "core/CapturedMessages.h"
#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <string>
#include <vector>

using namespace ivra;
using namespace testpictures;

// Every long run reports a growing fraction within 0..1, ending at 1 where the
// last unit of work reports, and stops with Cancelled when the callback says no.
TEST(RunReports, ProgressAndCancellation)
{
    const auto rgb = rgbFrom(130, 40, randomPixels(130, 40, 3, 1));
    const auto gray = grayWhere(130, 40, [](int x, int y) { return (x * 7 + y * 5) % 256; });
    ImageHSV hsv(130, 40);
    std::fill_n(hsv.plane(0), 3 * hsv.pixelCount(), 0);
    const std::vector<std::tuple<const char*, std::function<void(const Progress&)>, bool>> runs = {
        {"gray histogram", [&](const Progress& p) { OPHistogram::execute(*gray, 16, p); }, true},
        {"channel histograms", [&](const Progress& p) { OPColorHistogram::channels(*rgb, 16, p); }, true},
        {"static RGB", [&](const Progress& p) { OPColorHistogram::staticRGB(*rgb, 4, 4, 4, p); }, true},
        {"fuzzy RGB", [&](const Progress& p) { OPColorHistogram::fuzzyRGB(*rgb, 4, p); }, true},
        {"fuzzy HSV", [&](const Progress& p) { OPColorHistogram::fuzzyHSV(hsv, 6, 2, 4, p); }, true},
        {"SNN", [&](const Progress& p) { OPSNN().execute(*rgb, 5, p); }, true},
        {"Kuwahara", [&](const Progress& p) { OPKuwaharaNagao().execute(*rgb, 5, OPKuwaharaNagao::Space::HSV, p); },
         true},
        {"salt and pepper", [&](const Progress& p) { OPSaltAndPepper().execute(*rgb, 2, 10, p); }, false},
        {"gray salt and pepper", [&](const Progress& p) { OPSaltAndPepper().execute(*gray, 2, 10, p); }, false},
        {"Gauss", [&](const Progress& p) { OPGauss().execute(*rgb, 0, 10, p); }, false},
        {"gray Gauss", [&](const Progress& p) { OPGauss().execute(*gray, 0, 10, p); }, false},
        {"split and merge", [&](const Progress& p) { OPSplitAndMerge().execute(*rgb, 10, 10, 20, p); }, true},
        {"region growing", [&](const Progress& p) { OPRegionGrowing().execute(*rgb, 10, p); }, true},
        {"gray region growing", [&](const Progress& p) { OPRegionGrowing().execute(*gray, 10, p); }, true},
        {"histogram splitting", [&](const Progress& p) { OPRecursiveHistogramSplitting().execute(*rgb, {}, p); },
         false},
    };
    CapturedMessages quiet;
    for (const auto& [what, run, endsAtOne] : runs) {
        std::vector<double> fractions;
        run(Progress([&](double f) {
            fractions.push_back(f);
            return true;
        }));
        ASSERT_GE(fractions.size(), 3u) << what;
        EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end())) << what;
        EXPECT_GE(fractions.front(), 0.0) << what;
        EXPECT_LE(fractions.back(), 1.0) << what;
        EXPECT_TRUE(!endsAtOne || fractions.back() == 1.0) << what;
        int calls = 0;
        EXPECT_THROW(run(Progress([&](double) { return ++calls < 3; })), Cancelled) << what;
    }
}

// The diagnostic lines the operators send to the message sink.
TEST(RunReports, Messages)
{
    const auto rgb = rgbFrom(3, 3, randomPixels(3, 3, 256, 2));
    const auto gray = grayWhere(2, 2, [](int, int) { return 9; });
    const std::vector<std::pair<std::function<void()>, std::vector<std::string>>> runs = {
        {[] { OPColorHistogram::dynamic(); }, {"Dynamic Histogram not yet implemented !"}},
        {[&] { OPSaltAndPepper().execute(*rgb, 0, 10); },
         {"OPSaltAndPepper::execute(const ImageRGB& src, int mode, int value)"}},
        {[&] { OPSaltAndPepper().execute(*gray, 0, 10); }, {}},
        {[&] { OPRegionGrowing().execute(*gray, 5); }, {"hier"}},
        {[&] { OPRegionGrowing().execute(*rgb, 5); }, {}},
        {[&] { OPSplitAndMerge().execute(*rgb, 10, 10, 20); },
         {"split...", "merge...", "Leaving quadtree...", "QuadTree.GetMaxLevel() 2", "Grouping..."}},
    };
    for (std::size_t i = 0; i < runs.size(); ++i) {
        CapturedMessages messages;
        runs[i].first();
        EXPECT_EQ(messages.lines, runs[i].second) << "run " << i;
    }
}
