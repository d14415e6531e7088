#include "HistogramPainter.h"

#include "image/HSVBinLayout.h"

#include <QColor>
#include <gtest/gtest.h>

#include <memory>

using namespace ivra;

namespace {

constexpr QRgb white = 0xffffffffu;
constexpr QRgb black = 0xff000000u;

QRgb grayRgb(int v) { return qRgb(v, v, v); }

// --- gray-level --------------------------------------------------------------

TEST(DrawGrayHistogram, SixteenBinsGiveSixteenGrayStepsAndBarsSixteenWide)
{
    HistogramGray h(16);
    h.counts()[0] = 100;
    h.counts()[1] = 50;
    const QImage p = ivra::drawGrayHistogram(h);
    ASSERT_EQ(p.size(), QSize(276, 190));
    EXPECT_EQ(p.pixel(10, 180), grayRgb(0));
    EXPECT_EQ(p.pixel(10 + 17, 175), grayRgb(16));
    EXPECT_EQ(p.pixel(10 + 255, 171), grayRgb(240));
    EXPECT_EQ(p.pixel(10 + 255, 170), white);
    EXPECT_EQ(p.pixel(10, 181), white);
    // The largest bar is 150 high: rows 160 up to 11.
    EXPECT_EQ(p.pixel(10, 160), black);
    EXPECT_EQ(p.pixel(25, 11), black);
    EXPECT_EQ(p.pixel(10, 10), white);
    // Half the count, half the height; bars touch.
    EXPECT_EQ(p.pixel(26, 86), black);
    EXPECT_EQ(p.pixel(26, 85), white);
    EXPECT_EQ(p.pixel(42, 160), white);
    EXPECT_EQ(p.pixel(9, 160), white);
}

TEST(DrawGrayHistogram, EmptyHistogramDrawsOnlyTheRamp)
{
    HistogramGray h(256);
    const QImage p = ivra::drawGrayHistogram(h);
    for (int x = 0; x < 276; ++x)
        ASSERT_EQ(p.pixel(x, 160), white) << x;
    EXPECT_EQ(p.pixel(10 + 77, 180), grayRgb(77));
}

TEST(DrawGrayHistogram, BarHeightsDoNotOverflowForHugeCounts)
{
    HistogramGray h(16);
    h.counts()[0] = 20000000; // 20e6 * 150 does not fit 32 bits
    h.counts()[1] = 10000000;
    const QImage p = ivra::drawGrayHistogram(h);
    EXPECT_EQ(p.pixel(10, 11), black);
    EXPECT_EQ(p.pixel(10, 10), white);
    EXPECT_EQ(p.pixel(26, 86), black);
    EXPECT_EQ(p.pixel(26, 85), white);
}

// --- RGB -----------------------------------------------------------------------

TEST(DrawRGBHistogram, EightBinsAreThirtyTwoWideWithTwentySixColouredColumns)
{
    HistogramRGB h(8);
    for (int i = 0; i < 8; ++i)
        h.colours()[i] = {(i & 1) ? 191 : 63, (i & 2) ? 191 : 63, (i & 4) ? 191 : 63};
    h.counts()[0] = 4.0f;
    h.counts()[1] = 2.0f;
    const QImage p = ivra::drawRGBHistogram(h);
    ASSERT_EQ(p.size(), QSize(276, 190));
    // Strip: bin 1 from x = 42, columns 0..25 coloured, then a gap.
    EXPECT_EQ(p.pixel(42, 180), qRgb(191, 63, 63));
    EXPECT_EQ(p.pixel(42 + 25, 171), qRgb(191, 63, 63));
    EXPECT_EQ(p.pixel(42 + 26, 180), white);
    EXPECT_EQ(p.pixel(41, 180), white);
    EXPECT_EQ(p.pixel(42, 170), white);
    EXPECT_EQ(p.pixel(10 + 7 * 32, 175), qRgb(191, 191, 191));
    // Bars over the same 26 columns; the largest 150 high.
    EXPECT_EQ(p.pixel(10, 11), black);
    EXPECT_EQ(p.pixel(10, 10), white);
    EXPECT_EQ(p.pixel(35, 100), black);
    EXPECT_EQ(p.pixel(36, 100), white);
    EXPECT_EQ(p.pixel(42, 86), black);
    EXPECT_EQ(p.pixel(42, 85), white);
    EXPECT_EQ(p.pixel(74, 160), white);
}

TEST(DrawRGBHistogram, FiveHundredTwelveBinsAreOnePixelEach)
{
    HistogramRGB h(512);
    h.colours()[511] = {239, 239, 239};
    h.colours()[0] = {15, 15, 15};
    h.counts()[1] = 1.0f;
    const QImage p = ivra::drawRGBHistogram(h);
    ASSERT_EQ(p.size(), QSize(532, 190));
    EXPECT_EQ(p.pixel(10, 180), qRgb(15, 15, 15));
    EXPECT_EQ(p.pixel(10 + 511, 180), qRgb(239, 239, 239));
    EXPECT_EQ(p.pixel(11, 11), black);
    EXPECT_EQ(p.pixel(10, 11), white);
    EXPECT_EQ(p.pixel(12, 11), white);
}

TEST(DrawRGBHistogram, StripColumnsPastTheLastBinAreBlack)
{
    HistogramRGB h(27); // step 9: bins cover 243 columns, 13 remain
    for (int i = 0; i < 27; ++i)
        h.colours()[i] = {200, 100, 50};
    const QImage p = ivra::drawRGBHistogram(h);
    EXPECT_EQ(p.pixel(10 + 242, 180), white);
    EXPECT_EQ(p.pixel(10 + 236, 180), qRgb(200, 100, 50));
    EXPECT_EQ(p.pixel(10 + 243, 180), black);
    EXPECT_EQ(p.pixel(10 + 249, 180), black);
    EXPECT_EQ(p.pixel(10 + 251, 180), white);
    EXPECT_EQ(p.pixel(10 + 252, 180), black);
    EXPECT_EQ(p.pixel(10 + 9, 160), white); // all counts zero: no bars
}

TEST(DrawRGBHistogram, ColoursUseTheLowEightBits)
{
    HistogramRGB h(8);
    h.colours()[0] = {256, 257, -1};
    const QImage p = ivra::drawRGBHistogram(h);
    EXPECT_EQ(p.pixel(10, 180), qRgb(0, 1, 255));
}

// --- HSV -----------------------------------------------------------------------

std::unique_ptr<HistogramHSV> hsv(int grays)
{
    return std::make_unique<HistogramHSV>(std::make_shared<const HSVBinLayout>(6, 2, grays, 15));
}

QRgb wheel(int hue, int saturation) { return QColor::fromHsv(hue, saturation, 255).rgb(); }

TEST(DrawHSVHistogram, WheelHasCirclesAtMinimumSaturationRingsAndRim)
{
    const auto h = hsv(4);
    const QImage p = ivra::drawHSVHistogram(*h);
    ASSERT_EQ(p.size(), QSize(500, 300));
    // Along the right-hand horizontal r = trunc(1.7 x).
    EXPECT_EQ(p.pixel(150 + 8, 150), wheel(0, 13));
    EXPECT_EQ(p.pixel(150 + 9, 150), black);   // r = 15
    EXPECT_EQ(p.pixel(150 + 79, 150), black);  // r = 134
    EXPECT_EQ(p.pixel(150 + 80, 150), wheel(0, 136));
    EXPECT_EQ(p.pixel(150 + 150, 150), black); // r = 255
    EXPECT_EQ(p.pixel(150 + 106, 150 + 106), black); // r = 254
    EXPECT_EQ(p.pixel(150 + 107, 150 + 107), white); // r = 257
    EXPECT_EQ(p.pixel(150 + 150, 150 + 14), black);  // r = 256
    // Hue grows anticlockwise on screen; the degree factor is slightly above
    // 180 / pi, so straight down truncates to 269.
    EXPECT_EQ(p.pixel(150, 150 + 8), wheel(269, 13));
    EXPECT_EQ(p.pixel(150, 150 - 8), wheel(90, 13));
    EXPECT_EQ(p.pixel(150, 150), wheel(0, 0));
    EXPECT_EQ(p.pixel(0, 0), white);
}

TEST(DrawHSVHistogram, SectorBoundariesRunFromTheInnerCircleOutwards)
{
    const auto h = hsv(4);
    const QImage p = ivra::drawHSVHistogram(*h);
    EXPECT_EQ(p.pixel(200, 120), black); // 30 degrees, rho 100
    EXPECT_EQ(p.pixel(251, 91), black);  // 30 degrees, rho 200
    EXPECT_EQ(p.pixel(149, 91), black);  // 90 degrees lands just left of the centre column
    EXPECT_NE(p.pixel(150, 91), black);
}

TEST(DrawHSVHistogram, GrayStripAndGrayBars)
{
    const auto h = hsv(4);
    h->counts()[0] = 10.0;
    const QImage p = ivra::drawHSVHistogram(*h);
    EXPECT_EQ(p.pixel(300, 290), grayRgb(31));
    EXPECT_EQ(p.pixel(350, 285), grayRgb(95));
    EXPECT_EQ(p.pixel(499, 281), grayRgb(223));
    EXPECT_EQ(p.pixel(499, 291), white);
    // The full gray bar is 50 wide and rises 71 rows (h = 120 x 0.588 = 70.6).
    EXPECT_EQ(p.pixel(300, 270), black);
    EXPECT_EQ(p.pixel(349, 200), black);
    EXPECT_EQ(p.pixel(300, 199), white);
    EXPECT_EQ(p.pixel(350, 270), white);

    const auto eight = hsv(8);
    eight->counts()[7] = 1.0;
    const QImage q = ivra::drawHSVHistogram(*eight);
    EXPECT_EQ(q.pixel(300, 290), grayRgb(15));
    EXPECT_EQ(q.pixel(300 + 7 * 25, 270), black);
    EXPECT_EQ(q.pixel(300 + 7 * 25 - 1, 270), white);
}

TEST(DrawHSVHistogram, ChromaticBarRunsOneRingWidthAndIsElevenRowsWide)
{
    const auto h = hsv(4);
    h->counts()[4 + 6] = 5.0; // ring 1, sector 0: along the horizontal, from r = 135 outwards
    const QImage p = ivra::drawHSVHistogram(*h);
    // u runs from -5 to 5 inclusive: rows 145..155.
    EXPECT_EQ(p.pixel(240, 145), black);
    EXPECT_EQ(p.pixel(240, 155), black);
    EXPECT_EQ(p.pixel(240, 144), wheel(3, 153));
    EXPECT_NE(p.pixel(240, 156), black);
    EXPECT_EQ(p.pixel(229, 155), black); // inner end, rho = 135 / 1.7
    EXPECT_EQ(p.pixel(299, 155), black); // outer end, just inside the rim
    EXPECT_NE(p.pixel(228, 152), black);
}

TEST(DrawHistogram, DispatchesOnTheHistogramType)
{
    EXPECT_EQ(ivra::drawHistogram(HistogramGray(32)).size(), QSize(276, 190));
    EXPECT_EQ(ivra::drawHistogram(HistogramRGB(64)).size(), QSize(276, 190));
    EXPECT_EQ(ivra::drawHistogram(*hsv(8)).size(), QSize(500, 300));
}

TEST(DrawHistograms, StacksTheDrawingsTopToBottom)
{
    HistogramGray red(16), green(16), blue(16);
    green.counts()[0] = 1;
    const QImage p = ivra::drawHistograms({&red, &green, &blue});
    ASSERT_EQ(p.size(), QSize(276, 3 * 190));
    EXPECT_EQ(p.pixel(10, 160), white);
    EXPECT_EQ(p.pixel(10, 190 + 160), black);
    EXPECT_EQ(p.pixel(10, 380 + 160), white);
    EXPECT_EQ(p.pixel(10 + 17, 380 + 175), grayRgb(16));
    EXPECT_TRUE(ivra::drawHistograms({}).isNull());
}

} // namespace
