#include "image/CBitImage32.h"
#include "image/HistogramGray.h"
#include "image/HistogramRGB.h"
#include "ops/OPColorHistogram.h"
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

#include <functional>
#include <stdexcept>
#include <tuple>
#include <vector>

using namespace ivra;

namespace {

enum class Refusal { None, InvalidArgument, LengthError, OutOfRange };

Refusal refusalOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const std::invalid_argument&) {
        return Refusal::InvalidArgument;
    } catch (const std::length_error&) {
        return Refusal::LengthError;
    } catch (const std::out_of_range&) {
        return Refusal::OutOfRange;
    }
    return Refusal::None;
}

RHSParameters rhs(int window, int peak, int region)
{
    RHSParameters p;
    p.gtWindow = window;
    p.minSplitPeak = peak;
    p.minRegionSize = region;
    return p;
}

} // namespace

// Every size and parameter check, just outside and just inside its range. A refused
// noise run draws no number.
TEST(Refusals, EveryCheckAtItsBoundaries)
{
    using enum Refusal;
    const auto rgbPicture = testpictures::rgbFrom(1, 1, {RGB24{1, 2, 3}});
    const auto grayPicture = testpictures::grayWhere(1, 1, [](int, int) { return 7; });
    const ImageRGB &rgb = *rgbPicture, empty(0, 0), emptyRows(3, 0);
    const ImageGray &gray = *grayPicture, emptyGray(0, 4);
    ImageHSV hsv(1, 1);
    hsv.setPixel(0, -1, 0, 0);
    const auto strip = [](int width) {
        return [width] { OPSplitAndMerge().execute(*testpictures::rgbFrom(width, 1, testpictures::Pixels(width)), 10, 10, 20); };
    };
    const std::vector<std::tuple<const char*, std::function<void()>, Refusal>> rows = {
        {"image side -1", [] { ImageGray(-1, 3); }, LengthError},
        {"image height -1", [] { ImageRGB(3, -1); }, LengthError},
        {"image side 32768", [] { ImageRGB(32768, 1); }, LengthError},
        {"image height 32768", [] { ImageGray(1, 32768); }, LengthError},
        {"image side 32767", [] { ImageGray(32767, 1); }, None},
        {"bit image side -1", [] { CBitImage32(-1, 1); }, LengthError},
        {"bit image height -1", [] { CBitImage32(1, -1); }, LengthError},
        {"bit image side 32768", [] { CBitImage32(32768, 1); }, LengthError},
        {"bit image height 32768", [] { CBitImage32(1, 32768); }, LengthError},
        {"bit image side 32767", [] { CBitImage32(32767, 1); }, None},
        {"bit image height 32767", [] { CBitImage32(1, 32767); }, None},
        {"histogram of -1 bins", [] { HistogramGray(-1); }, LengthError},
        {"RGB histogram of -1 bins", [] { HistogramRGB(-1); }, LengthError},
        {"HSV layout 0 sectors", [] { HSVBinLayout(0, 2, 4, 15); }, InvalidArgument},
        {"HSV layout 7 sectors", [] { HSVBinLayout(7, 2, 4, 15); }, InvalidArgument},
        {"HSV layout 720 sectors", [] { HSVBinLayout(720, 1, 4, 15); }, InvalidArgument},
        {"HSV layout 0 rings", [] { HSVBinLayout(6, 0, 4, 15); }, InvalidArgument},
        {"HSV layout ring width 0", [] { HSVBinLayout(1, 241, 4, 15); }, InvalidArgument},
        {"HSV layout 240 rings", [] { HSVBinLayout(1, 240, 4, 15); }, None},
        {"HSV layout 0 grays", [] { HSVBinLayout(6, 2, 0, 15); }, InvalidArgument},
        {"HSV layout 257 grays", [] { HSVBinLayout(6, 2, 257, 15); }, InvalidArgument},
        {"HSV layout 256 grays", [] { HSVBinLayout(6, 2, 256, 15); }, None},
        {"HSV layout saturation -1", [] { HSVBinLayout(6, 2, 4, -1); }, InvalidArgument},
        {"HSV layout saturation 255", [] { HSVBinLayout(6, 1, 4, 255); }, InvalidArgument},
        {"HSV layout saturation 254", [] { HSVBinLayout(6, 1, 4, 254); }, None},
        {"HSV layout 1025 bins", [] { HSVBinLayout(180, 5, 125, 0); }, InvalidArgument},
        {"HSV layout 1024 bins", [] { HSVBinLayout(180, 5, 124, 0); }, None},
        {"HSV layout overflowing counts", [] { HSVBinLayout(2147483647, 2147483647, 4, 15); }, InvalidArgument},
        {"split plane -1", [&] { OPSplit::channel(rgb, -1); }, OutOfRange},
        {"split plane 3", [&] { OPSplit::channel(hsv, 3); }, OutOfRange},
        {"split plane 2", [&] { OPSplit::channel(hsv, 2); }, None},
        {"gray histogram 0 bins", [&] { OPHistogram::execute(gray, 0); }, InvalidArgument},
        {"gray histogram 257 bins", [&] { OPHistogram::execute(gray, 257); }, InvalidArgument},
        {"gray histogram 1 bin", [&] { OPHistogram::execute(gray, 1); }, None},
        {"channel histograms 257 bins", [&] { OPColorHistogram::channels(rgb, 257); }, InvalidArgument},
        {"static RGB 0 red cells", [&] { OPColorHistogram::staticRGB(rgb, 0, 2, 2); }, InvalidArgument},
        {"static RGB 257 green cells", [&] { OPColorHistogram::staticRGB(rgb, 2, 257, 2); }, InvalidArgument},
        {"static RGB 0 blue cells", [&] { OPColorHistogram::staticRGB(rgb, 2, 2, 0); }, InvalidArgument},
        {"static RGB 131072 bins", [&] { OPColorHistogram::staticRGB(rgb, 256, 256, 2); }, InvalidArgument},
        {"static RGB 65536 bins", [&] { OPColorHistogram::staticRGB(rgb, 256, 1, 256); }, None},
        {"fuzzy RGB 0 cells", [&] { OPColorHistogram::fuzzyRGB(rgb, 0); }, InvalidArgument},
        {"fuzzy RGB 41^3 bins", [&] { OPColorHistogram::fuzzyRGB(rgb, 41); }, InvalidArgument},
        {"fuzzy RGB 40^3 bins", [&] { OPColorHistogram::fuzzyRGB(rgb, 40); }, None},
        {"fuzzy HSV 7 sectors", [&] { OPColorHistogram::fuzzyHSV(hsv, 7, 2, 4); }, InvalidArgument},
        {"SNN 0 iterations", [&] { OPSNN().execute(rgb, 0); }, InvalidArgument},
        {"SNN 65537 iterations", [&] { OPSNN().execute(rgb, 65537); }, InvalidArgument},
        {"SNN 65536 iterations", [&] { OPSNN().execute(rgb, 65536); }, None},
        {"SNN on nothing", [&] { OPSNN().execute(emptyRows, 1); }, None},
        {"Kuwahara 0 iterations", [&] { OPKuwaharaNagao().execute(rgb, 0, OPKuwaharaNagao::Space::RGB); }, InvalidArgument},
        {"Kuwahara 65537 iterations", [&] { OPKuwaharaNagao().execute(rgb, 65537, OPKuwaharaNagao::Space::HSV); }, InvalidArgument},
        {"Kuwahara 65536 iterations", [&] { OPKuwaharaNagao().execute(rgb, 65536, OPKuwaharaNagao::Space::HSV); }, None},
        {"Kuwahara on nothing", [&] { OPKuwaharaNagao().execute(empty, 1, OPKuwaharaNagao::Space::RGB); }, None},
        {"salt and pepper mode -1", [&] { OPSaltAndPepper().execute(gray, -1, 10); }, InvalidArgument},
        {"salt and pepper mode 3", [&] { OPSaltAndPepper().execute(rgb, 3, 10); }, InvalidArgument},
        {"salt and pepper -1 %", [&] { OPSaltAndPepper().execute(gray, 0, -1); }, InvalidArgument},
        {"salt and pepper 51 %", [&] { OPSaltAndPepper().execute(rgb, 2, 51); }, InvalidArgument},
        {"salt and pepper 50 %", [&] { OPSaltAndPepper().execute(emptyGray, 2, 50); }, None},
        {"Gauss mean -256", [&] { OPGauss().execute(gray, -256, 0); }, InvalidArgument},
        {"Gauss mean 256", [&] { OPGauss().execute(rgb, 256, 0); }, InvalidArgument},
        {"Gauss variance -1", [&] { OPGauss().execute(gray, 0, -1); }, InvalidArgument},
        {"Gauss variance 256", [&] { OPGauss().execute(rgb, 0, 256); }, InvalidArgument},
        {"Gauss extremes", [&] { OPGauss().execute(emptyGray, -255, 255); }, None},
        {"quadtree side -1", [] { QuadTree::sizeFor(1, -1); }, LengthError},
        {"quadtree side 32768", [] { QuadTree::sizeFor(32768, 1); }, LengthError},
        {"quadtree side 32767", [] { QuadTree::sizeFor(32767, 1); }, None},
        {"split and merge on nothing", [&] { OPSplitAndMerge().execute(empty, 10, 10, 20); }, InvalidArgument},
        {"split and merge on no rows", [&] { OPSplitAndMerge().execute(emptyRows, 10, 10, 20); }, InvalidArgument},
        {"split and merge on a 2049 x 1 strip", strip(2049), LengthError},
        {"split and merge on a 2048 x 1 strip", strip(2048), None},
        {"region growing span -1", [&] { OPRegionGrowing().execute(rgb, -1); }, InvalidArgument},
        {"region growing span 256", [&] { OPRegionGrowing().execute(gray, 256); }, InvalidArgument},
        {"region growing span 255", [&] { OPRegionGrowing().execute(gray, 255); }, None},
        {"region growing on nothing", [&] { OPRegionGrowing().execute(emptyRows, 0); }, None},
        {"histogram splitting window -1", [&] { OPRecursiveHistogramSplitting().execute(rgb, rhs(-1, 0, 0)); }, InvalidArgument},
        {"histogram splitting window 65537", [&] { OPRecursiveHistogramSplitting().execute(rgb, rhs(65537, 0, 0)); }, InvalidArgument},
        {"histogram splitting peak -1", [&] { OPRecursiveHistogramSplitting().execute(rgb, rhs(3, -1, 0)); }, InvalidArgument},
        {"histogram splitting peak 65537", [&] { OPRecursiveHistogramSplitting().execute(rgb, rhs(3, 65537, 0)); }, InvalidArgument},
        {"histogram splitting region -1", [&] { OPRecursiveHistogramSplitting().execute(rgb, rhs(3, 0, -1)); }, InvalidArgument},
        {"histogram splitting region 65537", [&] { OPRecursiveHistogramSplitting().execute(rgb, rhs(3, 0, 65537)); }, InvalidArgument},
        {"histogram splitting at the limits", [&] { OPRecursiveHistogramSplitting().execute(empty, rhs(65536, 65536, 65536)); }, None},
    };
    CapturedMessages quiet;
    for (const auto& [what, call, refusal] : rows) {
        const std::uint32_t state = RandomGenerator::instance().state();
        EXPECT_EQ(refusalOf(call), refusal) << what;
        EXPECT_EQ(RandomGenerator::instance().state(), state) << what;
    }
}
