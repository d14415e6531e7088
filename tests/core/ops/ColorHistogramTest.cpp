#include "ops/OPColorHistogram.h"
#include "ops/OPHistogram.h"
#include "ops/OPSplit.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

using namespace ivra;
using namespace testpictures;

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
        ASSERT_EQ(h.colours()[i],
                  (HistogramRGB::Colour{r * wR + wR / 2 - 1, g * wG + wG / 2 - 1, b * wB + wB / 2 - 1}));
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

TEST(ColorHistogram, ChannelsAreTheGrayHistogramsOfThePlanesInOrder)
{
    const auto image = picture(256, 1);
    const auto h = OPColorHistogram::channels(*image, 16);
    for (int c = 0; c < 3; ++c) {
        const auto want = OPHistogram::execute(*OPSplit::channel(*image, c), 16);
        EXPECT_TRUE(std::equal(h[c]->counts(), h[c]->counts() + 16, want->counts())) << "plane " << c;
    }
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
    // Red 95 shares 0.75 / 0.25, green 127 halves, blue 63 sits on the lower centre.
    const auto one = OPColorHistogram::fuzzyRGB(*rgbFrom(1, 1, {RGB24{95, 127, 63}}), 2);
    EXPECT_EQ(std::vector<float>(one->counts(), one->counts() + 8),
              (std::vector<float>{0.375f, 0.125f, 0.375f, 0.125f, 0, 0, 0, 0}));
    for (const int levels : {2, 3, 256})
        for (const int n : {1, 2, 3, 4, 5, 8, 16, 36}) {
            const auto image = picture(levels, static_cast<unsigned>(n));
            const auto h = OPColorHistogram::fuzzyRGB(*image, n);
            EXPECT_EQ(std::vector<float>(h->counts(), h->counts() + n * n * n), plainFuzzyRGB(*image, n))
                << n << " cells, " << levels << " levels";
            expectCellCentres(*h, n, n, n);
        }
}

TEST(ColorHistogram, HSVHistogramsEnterEveryPixelIntoALayoutWithMinimumSaturation15)
{
    ImageHSV image(30, 20);
    for (int i = 0; i < 600; ++i) {
        image.hue()[i] = i % 50 == 0 ? -1 : (i * 37) % 362 - 1;
        image.saturation()[i] = i % 50 == 0 ? 0 : (i * 11) % 260;
        image.value()[i] = (i * 13) % 256;
    }
    HistogramHSV expected(std::make_shared<const HSVBinLayout>(6, 2, 8, 15));
    expected.addPixels(image.hue(), image.saturation(), image.value(), 600);
    for (const auto& h : {OPColorHistogram::staticHSV(image, 6, 2, 8), OPColorHistogram::fuzzyHSV(image, 6, 2, 8)}) {
        EXPECT_EQ(h->pixelCount(), 600);
        EXPECT_EQ(h->minSaturation(), 15);
        EXPECT_TRUE(std::equal(h->counts(), h->counts() + 20, expected.counts()));
    }
}
