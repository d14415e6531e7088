#include "color/ColorConversion.h"
#include "ops/OPColorHistogram.h"
#include "ops/OPColorTransform.h"
#include "ops/OPHistogram.h"
#include "ops/OPSplit.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

using namespace ivra;
using namespace testpictures;

namespace {

using Triple = ImageColor::Triple;

// RGB -> HSV per pixel through the double-precision pair: only black has the
// undefined hue, every other gray hue 0.
Triple plainRgbToHsv(int r, int g, int b)
{
    double h, s, v;
    rgbToHsv(r * kUnit, g * kUnit, b * kUnit, h, s, v);
    if (v == 0)
        return {-1, 0, 0};
    return {s == 0 ? 0 : static_cast<int>(h), static_cast<int>(s * 255), static_cast<int>(v * 255)};
}

} // namespace

TEST(ColorTransform, RgbToHsvOfSmallAndLargePicturesMatchesThePixelRule)
{
    // Large pictures take V and S from per-call tables; values outside 0..255 take the pixel path.
    unsigned seed = 0;
    for (const int levels : {2, 3, 256})
        for (const auto& [w, h] : {std::pair{37, 23}, std::pair{300, 300}}) {
            auto image = rgbFrom(w, h, randomPixels(w, h, levels, ++seed));
            image->red()[5] = 300;
            image->green()[6] = -5;
            image->blue()[7] = 1 << 20;
            const auto hsv = OPColorTransform().RGB2HSV(*image);
            for (int i = 0; i < w * h; ++i)
                ASSERT_EQ(hsv->pixel(i % w, i / w), plainRgbToHsv(image->red()[i], image->green()[i], image->blue()[i]))
                    << "pixel " << i << " of " << w << "x" << h << ", " << levels << " levels";
        }
}

TEST(ColorTransform, HsvToRgbMatchesTheDoublePairAndItsSpecialHues)
{
    // S = 0 or H = -1 give the gray of V, hue 360 is 0, hues outside the six sectors
    // give black; values far out of range saturate instead of wrapping.
    const int w = 361 + 4;
    ImageHSV hsv(w, 64);
    std::mt19937 random(9);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < w; ++x) {
            const int hue = x < 361 ? x - 1 : std::array{360, 400, -60, -2147483647}[x - 361];
            const Triple p = {hue, y == 0 ? 0 : static_cast<int>(random() % 256), static_cast<int>(random() % 256)};
            for (int c = 0; c < 3; ++c)
                hsv.plane(c)[y * w + x] = p[c];
        }
    hsv.saturation()[0] = -2147483647;
    hsv.value()[0] = 2147483647;
    hsv.hue()[0] = 200;
    const auto rgb = OPColorTransform().HSV2RGB(hsv);
    for (int i = 1; i < w * 64; ++i) {
        const int H = hsv.hue()[i], S = hsv.saturation()[i], V = hsv.value()[i];
        double c[3] = {V * kUnit, V * kUnit, V * kUnit};
        const bool gray = S == 0 || H == -1;
        if (!gray && (H == 400 || H < -1))
            c[0] = c[1] = c[2] = 0;
        else if (!gray)
            hsvToRgb(H == 360 ? 0 : H, S * kUnit, V * kUnit, c[0], c[1], c[2]);
        const Triple want = {static_cast<int>(c[0] * 255), static_cast<int>(c[1] * 255), static_cast<int>(c[2] * 255)};
        ASSERT_EQ(rgb->pixel(i % w, i / w), want) << "H " << H << " S " << S << " V " << V;
    }
    EXPECT_EQ(rgb->red()[0], 2147483647);
    EXPECT_EQ(rgb->green()[0], 2147483647);
    EXPECT_GT(rgb->blue()[0], 2147483000);
}

TEST(ColorTransform, GrayToRgbAndSplitCopyPlanesValueForValue)
{
    // Nothing is scaled or clamped: -1 and 299 stay as they are.
    const auto gray = grayWhere(3, 2, [](int x, int y) { return x * 40 + y * 300 - 1; });
    const auto rgb = OPColorTransform().Gray2RGB(*gray);
    ImageHSV hsv(3, 2);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(rgb->plane(c)[i], gray->data()[i]);
            hsv.plane(c)[i] = rgb->plane(c)[i] += 7 * c;
        }
    for (const ImageColor* image : std::initializer_list<const ImageColor*>{rgb.get(), &hsv})
        for (int plane = 0; plane < 3; ++plane)
            EXPECT_TRUE(
                std::equal(image->plane(plane), image->plane(plane) + 6, OPSplit().execute(*image, {plane})->data()))
                << "type " << image->type() << " plane " << plane;
}

TEST(GrayHistogram, CountsEachValueInBinValueOverWidthWhenThatIsABin)
{
    // Bin width 256 / bins, truncating toward zero: -1 lands in bin 0 of wide bins,
    // 256 and above never count, nor do values past the last bin when bins does not divide 256.
    std::mt19937 random(5);
    const auto image = grayWhere(41, 13, [&](int, int) { return static_cast<int>(random() % 320) - 20; });
    for (const int bins : {1, 2, 3, 5, 16, 100, 255, 256}) {
        std::vector<int> expected(static_cast<std::size_t>(bins), 0);
        for (std::size_t i = 0; i < image->pixelCount(); ++i) {
            const int bin = image->data()[i] / (256 / bins);
            if (bin >= 0 && bin < bins)
                ++expected[static_cast<std::size_t>(bin)];
        }
        const auto h = OPHistogram::execute(*image, bins);
        EXPECT_EQ(std::vector<int>(h->counts(), h->counts() + bins), expected) << bins << " bins";
    }
}

namespace {

// Random channel values with a few outside 0..255, as other operators may leave them.
std::unique_ptr<ImageRGB> picture(int levels, unsigned seed)
{
    auto image = rgbFrom(33, 21, randomPixels(33, 21, levels, seed));
    const int wild[][2] = {{0, -300}, {1, 600}, {2, 256}, {0, -1}, {1, -2147483647}, {2, 2147483647}};
    for (int k = 0; k < 6; ++k)
        image->plane(wild[k][0])[3 + 5 * k] = wild[k][1];
    return image;
}

// Bin colours: the centre of each cell, red fastest.
void expectCellCentres(const HistogramRGB& h, int nR, int nG, int nB)
{
    const int wR = 256 / nR, wG = 256 / nG, wB = 256 / nB;
    for (int i = 0; i < nR * nG * nB; ++i) {
        const int r = i % nR, g = i / nR % nG, b = i / nR / nG;
        ASSERT_EQ(h.colors()[i],
                  (HistogramRGB::Color{r * wR + wR / 2 - 1, g * wG + wG / 2 - 1, b * wB + wB / 2 - 1}));
    }
}

// Trilinear sharing pixel by pixel: each channel value x lies between the centres
// c0 <= x < c1 (c0 = c1 - w); at the ends of the axis both become the end centre.
// The lower corner weighs c1 - x, the upper x - c0; products over w^3 as floats.
std::vector<float> plainFuzzyRGB(const ImageRGB& image, int n)
{
    std::vector<float> counts(static_cast<std::size_t>(n * n * n), 0.0f);
    const long long w = 256 / n, half = w / 2;
    for (std::size_t p = 0; p < image.pixelCount(); ++p) {
        long long centre[3][2], weight[3][2];
        for (int c = 0; c < 3; ++c) {
            const long long x = image.plane(c)[p];
            const long long c0 = ((x + half + 1) / w) * w - half - 1, c1 = c0 + w;
            centre[c][0] = c0 < 0 ? c1 : c0;
            centre[c][1] = c1 > 255 ? c0 : c1;
            weight[c][0] = c1 - x;
            weight[c][1] = x - c0;
        }
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                for (int k = 0; k < 2; ++k) {
                    const long long index = ((centre[2][k] / w) * n + centre[1][j] / w) * n + centre[0][i] / w;
                    const auto product = static_cast<__int128>(weight[0][i]) * weight[1][j] * weight[2][k];
                    if (index >= 0 && index < n * n * n)
                        counts[static_cast<std::size_t>(index)] +=
                            static_cast<float>(product) / static_cast<float>(w * w * w);
                }
    }
    return counts;
}

} // namespace

TEST(ColorHistogram, EntryPointGivesTheChosenKind)
{
    // Gray histograms of `bins` bins per plane in plane order, RGB cubes of `cube`
    // cells a side, the 6 x 2 HSV layout with `grays` gray bins.
    const auto rgb = picture(256, 1);
    const auto hsv = OPColorTransform().RGB2HSV(*rgb);
    const auto counts = [](const DataObject& h) {
        const auto all = [](const auto& of) { return std::vector<double>(of.counts(), of.counts() + of.binCount()); };
        if (h.type() == TypeHistogramGray)
            return all(static_cast<const HistogramGray&>(h));
        if (h.type() == TypeHistogramRGB)
            return all(static_cast<const HistogramRGB&>(h));
        return all(static_cast<const HistogramHSV&>(h));
    };
    using Kind = ColorHistogramParams::Kind;
    const auto channels = OPColorHistogram::execute(*rgb, {Kind::Channel, 16, 4, 8});
    ASSERT_EQ(channels.size(), 3u);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(counts(*channels[c]), counts(*OPHistogram::execute(*OPSplit::channel(*rgb, c), 16))) << c;
    EXPECT_EQ(counts(*OPColorHistogram::execute(*rgb, {Kind::Static, 16, 4, 8})[0]),
              counts(*OPColorHistogram::staticRGB(*rgb, 4, 4, 4)));
    EXPECT_EQ(counts(*OPColorHistogram::execute(*rgb, {Kind::Fuzzy, 16, 4, 8})[0]),
              counts(*OPColorHistogram::fuzzyRGB(*rgb, 4)));
    // Both HSV kinds enter every pixel into the layout with minimum saturation 15.
    HistogramHSV layout(std::make_shared<const HSVBinLayout>(6, 2, 8, 15));
    layout.addPixels(hsv->hue(), hsv->saturation(), hsv->value(), hsv->pixelCount());
    for (const Kind kind : {Kind::Static, Kind::Fuzzy})
        EXPECT_EQ(counts(*OPColorHistogram::execute(*hsv, {kind, 16, 4, 8})[0]), counts(layout));
}

TEST(ColorHistogram, StaticRGBCountsEachPixelInItsCell)
{
    // Cell ((B / wB) * nG + G / wG) * nR + R / wR; a pixel whose index is no bin is not counted.
    for (const int levels : {2, 3, 256})
        for (const auto& [nR, nG, nB] : {std::array{2, 2, 2}, std::array{2, 4, 8}, std::array{3, 5, 7},
                                         std::array{256, 16, 16}, std::array{1, 1, 1}}) {
            const auto image = picture(levels, static_cast<unsigned>(nR + nG));
            const int wR = 256 / nR, wG = 256 / nG, wB = 256 / nB, bins = nR * nG * nB;
            std::vector<float> expected(static_cast<std::size_t>(bins), 0.0f);
            for (std::size_t i = 0; i < image->pixelCount(); ++i) {
                const long long index =
                    ((image->blue()[i] / wB) * static_cast<long long>(nG) + image->green()[i] / wG) * nR +
                    image->red()[i] / wR;
                if (index >= 0 && index < bins)
                    expected[static_cast<std::size_t>(index)] += 1;
            }
            const auto h = OPColorHistogram::staticRGB(*image, nR, nG, nB);
            EXPECT_EQ(std::vector<float>(h->counts(), h->counts() + bins), expected) << nR << "x" << nG << "x" << nB;
            expectCellCentres(*h, nR, nG, nB);
        }
}

TEST(ColorHistogram, StaticRGBCountsStayExactPastTwoToTheTwentyFour)
{
    // 2^24 + 4096 black pixels: a float tally would stop at 2^24.
    ImageRGB image(4097, 4096);
    std::fill_n(image.plane(0), 3 * image.pixelCount(), 0);
    EXPECT_EQ(OPColorHistogram::staticRGB(image, 2, 2, 2)->counts()[0], 16781312.0f);
}

TEST(ColorHistogram, FuzzyRGBMatchesThePlainTrilinearSharing)
{
    for (const int levels : {2, 3, 256})
        for (const int n : {1, 2, 3, 4, 5, 8, 16, 36}) {
            const auto image = picture(levels, static_cast<unsigned>(n));
            const auto h = OPColorHistogram::fuzzyRGB(*image, n);
            EXPECT_EQ(std::vector<float>(h->counts(), h->counts() + n * n * n), plainFuzzyRGB(*image, n))
                << n << " cells, " << levels << " levels";
            expectCellCentres(*h, n, n, n);
        }
}
