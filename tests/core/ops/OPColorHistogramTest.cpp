#include "ops/OPColorHistogram.h"

#include "core/CapturedMessages.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numeric>
#include <stdexcept>
#include <vector>

using namespace ivra;

namespace {

using Pixel = std::array<int, 3>;

template <class ImageT> std::unique_ptr<ImageT> make(const std::vector<Pixel>& pixels)
{
    auto image = std::make_unique<ImageT>(static_cast<int>(pixels.size()), 1);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        for (int c = 0; c < 3; ++c)
            image->plane(c)[i] = pixels[i][static_cast<std::size_t>(c)];
    return image;
}

std::unique_ptr<ImageRGB> rgbNoise(int width, int height)
{
    auto image = std::make_unique<ImageRGB>(width, height);
    unsigned state = 12345;
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < image->size(); ++i) {
            state = state * 1103515245u + 12345u;
            image->plane(c)[i] = static_cast<int>((state >> 16) & 0xff);
        }
    return image;
}

// --- per-channel ---------------------------------------------------------

TEST(OPColorHistogramChannels, OneGrayHistogramPerPlaneInPlaneOrder)
{
    const auto imageP = make<ImageRGB>({{0, 100, 255}, {0, 200, 255}});
    const auto& image = *imageP;
    const auto h = OPColorHistogram::channels(image, 2);
    ASSERT_EQ(h[0]->binCount(), 2);
    EXPECT_EQ(h[0]->counts()[0], 2); // red 0, 0
    EXPECT_EQ(h[1]->counts()[0], 1); // green 100
    EXPECT_EQ(h[1]->counts()[1], 1); // green 200
    EXPECT_EQ(h[2]->counts()[1], 2); // blue 255, 255
}

TEST(OPColorHistogramChannels, HueChannelCountsOnlyHuesThatFallIntoBins)
{
    // Undefined hue -1 lands in bin 0 when bins are wider than 1; 256..359 never count.
    const auto imageP = make<ImageHSV>({{-1, 0, 0}, {300, 0, 0}, {255, 0, 0}});
    const auto& image = *imageP;
    const auto h16 = OPColorHistogram::channels(image, 16);
    EXPECT_EQ(h16[0]->counts()[0], 1);
    EXPECT_EQ(h16[0]->counts()[15], 1);
    EXPECT_EQ(std::accumulate(h16[0]->counts(), h16[0]->counts() + 16, 0), 2);
    const auto h256 = OPColorHistogram::channels(image, 256);
    EXPECT_EQ(std::accumulate(h256[0]->counts(), h256[0]->counts() + 256, 0), 1);
}

// --- static RGB ----------------------------------------------------------

TEST(OPColorHistogramStaticRGB, BinIndexHasRedFastestAndBlueSlowest)
{
    const auto h = OPColorHistogram::staticRGB(*make<ImageRGB>({{127, 128, 0}, {255, 255, 255}, {0, 0, 200}}), 2, 2, 2);
    ASSERT_EQ(h->binCount(), 8);
    EXPECT_EQ(h->counts()[2], 1.0f);
    EXPECT_EQ(h->counts()[7], 1.0f);
    EXPECT_EQ(h->counts()[4], 1.0f);
    EXPECT_EQ(std::accumulate(h->counts(), h->counts() + 8, 0.0f), 3.0f);
}

TEST(OPColorHistogramStaticRGB, BinColoursAreCellCentres)
{
    const auto h2 = OPColorHistogram::staticRGB(*make<ImageRGB>({{0, 0, 0}}), 2, 2, 2);
    EXPECT_EQ(h2->colours()[0], (HistogramRGB::Colour{63, 63, 63}));
    EXPECT_EQ(h2->colours()[1], (HistogramRGB::Colour{191, 63, 63}));
    EXPECT_EQ(h2->colours()[6], (HistogramRGB::Colour{63, 191, 191}));
    const auto h4 = OPColorHistogram::staticRGB(*make<ImageRGB>({{0, 0, 0}}), 4, 4, 4);
    EXPECT_EQ(h4->colours()[(3 * 4 + 2) * 4 + 1], (HistogramRGB::Colour{95, 159, 223}));
    EXPECT_EQ(h4->colours()[0], (HistogramRGB::Colour{31, 31, 31}));
}

TEST(OPColorHistogramStaticRGB, CountsSumToThePixelCountAndMatchADirectCount)
{
    const auto imageP = rgbNoise(61, 17);
    const auto& image = *imageP;
    for (int n : {2, 4, 8}) {
        const auto h = OPColorHistogram::staticRGB(image, n, n, n);
        std::vector<float> expected(static_cast<std::size_t>(n * n * n), 0.0f);
        const int w = 256 / n;
        for (int i = 0; i < image.size(); ++i)
            expected[static_cast<std::size_t>(((image.blue()[i] / w) * n + image.green()[i] / w) * n +
                                              image.red()[i] / w)] += 1.0f;
        for (int b = 0; b < n * n * n; ++b)
            EXPECT_EQ(h->counts()[b], expected[static_cast<std::size_t>(b)]) << n << " bin " << b;
        EXPECT_EQ(std::accumulate(h->counts(), h->counts() + n * n * n, 0.0), image.size());
    }
}

TEST(OPColorHistogramStaticRGB, OutOfRangeValuesUseTheSameFormulaAndMayFallOutside)
{
    // 256 in blue is cell 2 on a 2-cell axis: index 8, past the last bin.
    // Red 256 spills into the next green cell: index ((0*2)+0)*2 + 2 = 2.
    // Red -1 truncates to cell 0.
    const auto h = OPColorHistogram::staticRGB(*make<ImageRGB>({{0, 0, 256}, {256, 0, 0}, {-1, 0, 0}}), 2, 2, 2);
    EXPECT_EQ(h->counts()[2], 1.0f);
    EXPECT_EQ(h->counts()[0], 1.0f);
    EXPECT_EQ(std::accumulate(h->counts(), h->counts() + 8, 0.0f), 2.0f);
}

TEST(OPColorHistogramStaticRGB, RefusesBadCellCounts)
{
    const auto imageP = make<ImageRGB>({{0, 0, 0}});
    const auto& image = *imageP;
    EXPECT_THROW(OPColorHistogram::staticRGB(image, 0, 2, 2), std::invalid_argument);
    EXPECT_THROW(OPColorHistogram::staticRGB(image, 2, 257, 2), std::invalid_argument);
    EXPECT_THROW(OPColorHistogram::staticRGB(image, 256, 256, 256), std::invalid_argument);
    EXPECT_THROW(OPColorHistogram::fuzzyRGB(image, 0), std::invalid_argument);
    EXPECT_THROW(OPColorHistogram::fuzzyRGB(image, 100), std::invalid_argument);
}

// --- fuzzy RGB -----------------------------------------------------------

// Weight of each of the two bins on the red axis (n = 2) when green and blue sit
// on the lower centre 63.
std::array<float, 2> redShare(int red)
{
    const auto h = OPColorHistogram::fuzzyRGB(*make<ImageRGB>({{red, 63, 63}}), 2);
    return {h->counts()[0], h->counts()[1]};
}

TEST(OPColorHistogramFuzzyRGB, AxisExamples)
{
    EXPECT_EQ(redShare(63), (std::array<float, 2>{1.0f, 0.0f}));   // on the lower centre
    EXPECT_EQ(redShare(127), (std::array<float, 2>{0.5f, 0.5f}));  // midway, d0 = d1 = 64
    EXPECT_EQ(redShare(10), (std::array<float, 2>{1.0f, 0.0f}));   // below the first centre
    EXPECT_EQ(redShare(250), (std::array<float, 2>{0.0f, 1.0f}));  // above the last centre
    EXPECT_EQ(redShare(191), (std::array<float, 2>{0.0f, 1.0f}));
    EXPECT_EQ(redShare(95), (std::array<float, 2>{0.75f, 0.25f}));
}

TEST(OPColorHistogramFuzzyRGB, TrilinearWeightsOverTheEightCorners)
{
    // Red 95 (0.75 / 0.25), green 127 (0.5 / 0.5), blue 63 (all lower).
    const auto h = OPColorHistogram::fuzzyRGB(*make<ImageRGB>({{95, 127, 63}}), 2);
    EXPECT_EQ(h->counts()[0], 0.375f);
    EXPECT_EQ(h->counts()[1], 0.125f);
    EXPECT_EQ(h->counts()[2], 0.375f);
    EXPECT_EQ(h->counts()[3], 0.125f);
    for (int b = 4; b < 8; ++b)
        EXPECT_EQ(h->counts()[b], 0.0f);
}

TEST(OPColorHistogramFuzzyRGB, CountsSumToThePixelCount)
{
    const auto imageP = rgbNoise(40, 25);
    const auto& image = *imageP;
    for (int n : {2, 4, 8}) {
        const auto h = OPColorHistogram::fuzzyRGB(image, n);
        const double sum = std::accumulate(h->counts(), h->counts() + n * n * n, 0.0);
        EXPECT_NEAR(sum, image.size(), 1e-3) << n;
        EXPECT_EQ(h->colours()[n * n * n - 1][0], 256 - 256 / n / 2 - 1);
    }
}

TEST(OPColorHistogramFuzzyRGB, EachCubeSizeSharesBetweenNeighbouringCentres)
{
    // n = 4: centres 31, 95, 159, 223; 127 sits midway between 95 and 159.
    const auto h = OPColorHistogram::fuzzyRGB(*make<ImageRGB>({{127, 31, 31}}), 4);
    EXPECT_EQ(h->counts()[1], 0.5f);
    EXPECT_EQ(h->counts()[2], 0.5f);
    // n = 8: w = 32, centres 15, 47, ...; 23 is a quarter of the way from 15 to 47.
    const auto h8 = OPColorHistogram::fuzzyRGB(*make<ImageRGB>({{15, 15, 23}}), 8);
    EXPECT_EQ(h8->counts()[0], 0.75f);
    EXPECT_EQ(h8->counts()[64], 0.25f);
}

TEST(OPColorHistogramFuzzyRGB, OutOfRangeValuesAreNotCountedOutsideTheBins)
{
    // Blue 1000 sits past every centre: its corners name cells past the cube.
    const auto h = OPColorHistogram::fuzzyRGB(*make<ImageRGB>({{63, 63, 1000}, {63, 63, 63}}), 2);
    EXPECT_EQ(h->counts()[0], 1.0f);
    EXPECT_EQ(std::accumulate(h->counts(), h->counts() + 8, 0.0f), 1.0f);
}

// --- HSV -----------------------------------------------------------------

TEST(OPColorHistogramHSV, StaticAndFuzzyAreTheSameHistogram)
{
    auto imageP = std::make_unique<ImageHSV>(30, 20);
    ImageHSV& image = *imageP;
    for (int i = 0; i < image.size(); ++i) {
        image.hue()[i] = i % 50 == 0 ? -1 : (i * 37) % 360;
        image.saturation()[i] = i % 50 == 0 ? 0 : (i * 11) % 256;
        image.value()[i] = (i * 13) % 256;
    }
    const auto a = OPColorHistogram::staticHSV(image, 6, 2, 8);
    const auto b = OPColorHistogram::fuzzyHSV(image, 6, 2, 8);
    ASSERT_EQ(a->binCount(), 20);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(a->counts()[i], b->counts()[i]);
    EXPECT_EQ(a->pixelCount(), 600);
    const double sum = std::accumulate(a->counts(), a->counts() + 20, 0.0);
    EXPECT_NEAR(sum, 600.0, 1e-9);
}

TEST(OPColorHistogramHSV, LayoutUsesMinimumSaturation15)
{
    const auto h = OPColorHistogram::fuzzyHSV(*make<ImageHSV>({{0, 0, 0}}), 6, 2, 4);
    EXPECT_EQ(h->minSaturation(), 15);
    EXPECT_EQ(h->binCount(), 16);
    EXPECT_EQ(h->colours()[4], (HistogramHSV::Colour{0, 75, 127}));
    EXPECT_EQ(h->colours()[15], (HistogramHSV::Colour{300, 195, 127}));
}

// --- Dynamic -------------------------------------------------------------

TEST(OPColorHistogramDynamic, PrintsItsMessageThroughTheMessageSink)
{
    CapturedMessages messages;
    OPColorHistogram::dynamic();
    EXPECT_EQ(messages.lines, std::vector<std::string>{"Dynamic Histogram not yet implemented !"});
}

} // namespace

namespace {

TEST(OPColorHistogramStaticRGB, CountsStayExactPastTwoToTheTwentyFour)
{
    // 4097 x 4096 black pixels: 2^24 + 4096, a count a float tally could not reach.
    auto image = std::make_unique<ImageRGB>(4097, 4096);
    for (int c = 0; c < 3; ++c)
        std::fill(image->plane(c), image->plane(c) + image->size(), 0);
    const auto h = OPColorHistogram::staticRGB(*image, 2, 2, 2);
    EXPECT_EQ(h->counts()[0], 16781312.0f);
}

} // namespace

namespace {

// The trilinear sharing written out plainly, pixel by pixel and corner by
// corner, to hold the table-driven version to the same float sums.
std::vector<float> plainFuzzyRGB(const ImageRGB& image, int n)
{
    std::vector<float> counts(static_cast<std::size_t>(n * n * n), 0.0f);
    const long long w = 256 / n, half = w / 2;
    for (int p = 0; p < image.size(); ++p) {
        long long lo[3], hi[3], d0[3], d1[3];
        for (int c = 0; c < 3; ++c) {
            const long long x = image.plane(c)[p];
            long long c0 = ((x + half + 1) / w) * w - half - 1;
            long long c1 = c0 + w;
            d0[c] = x - c0;
            d1[c] = c1 - x;
            if (c0 < 0)
                c0 = c1;
            if (c1 > 255)
                c1 = c0;
            lo[c] = c0;
            hi[c] = c1;
        }
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                for (int k = 0; k < 2; ++k) {
                    const long long cR = i ? hi[0] : lo[0], cG = j ? hi[1] : lo[1], cB = k ? hi[2] : lo[2];
                    const long long product = (i ? d0[0] : d1[0]) * (j ? d0[1] : d1[1]) * (k ? d0[2] : d1[2]);
                    const long long index = ((cB / w) * n + cG / w) * n + cR / w;
                    if (index >= 0 && index < n * n * n)
                        counts[static_cast<std::size_t>(index)] +=
                            static_cast<float>(product) / static_cast<float>(w * w * w);
                }
    }
    return counts;
}

TEST(OPColorHistogramFuzzyRGB, MatchesThePlainFormulaBitForBit)
{
    auto image = rgbNoise(33, 21);
    // A few values outside 0..255, as other operators may leave them.
    image->red()[3] = -300;
    image->green()[4] = 600;
    image->blue()[5] = 256;
    image->red()[6] = -1;
    for (int n : {1, 2, 3, 4, 5, 8, 16}) {
        const auto h = OPColorHistogram::fuzzyRGB(*image, n);
        const auto expected = plainFuzzyRGB(*image, n);
        for (int b = 0; b < n * n * n; ++b)
            ASSERT_EQ(h->counts()[b], expected[static_cast<std::size_t>(b)]) << "n " << n << " bin " << b;
    }
}

} // namespace
