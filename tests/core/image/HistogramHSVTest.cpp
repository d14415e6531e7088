#include "image/HistogramHSV.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <numeric>
#include <vector>

using namespace ivra;

namespace {

// The layouts the program offers: 6 sectors x 2 rings + 4 or 8 grays, minimum saturation 15.
HistogramHSV histogram(int grays)
{
    return HistogramHSV(std::make_shared<const HSVBinLayout>(6, 2, grays, 15));
}

double total(const HistogramHSV& h)
{
    return std::accumulate(h.counts(), h.counts() + h.binCount(), 0.0);
}

} // namespace

TEST(HistogramHSV, EachPixelIsSharedAmongItsBinsByItsMemberships)
{
    // Gray bins come first, then ring r, sector s at grays + 6 r + s.
    struct Case {
        int grays, h, s, v;
        std::map<int, double> shares;
    };
    const std::vector<Case> cases = {
        {4, -1, 0, 0, {{0, 1.0}}},                            // black: the first gray bin
        {4, 0, 0, 128, {{1, 0.5}, {2, 0.5}}},                 // mid gray: the two middle gray bins
        {4, 30, 255, 200, {{10, 0.5}, {11, 0.5}}},            // outer ring, between two sectors
        {4, 330, 255, 200, {{15, 0.5}, {10, 0.5}}},           // the same across hue 0
        {8, 0, 30, 16, {{0, 0.375}, {8, 0.625}}},             // pale: gray bin and inner ring
        {8, 120, 100, 77, {{10, 95.0 / 120}, {16, 25.0 / 120}}}, // between the rings
    };
    for (const Case& c : cases) {
        HistogramHSV h = histogram(c.grays);
        h.addPixel(c.h, c.s, c.v);
        for (int bin = 0; bin < h.binCount(); ++bin)
            EXPECT_NEAR(h.counts()[bin], c.shares.count(bin) ? c.shares.at(bin) : 0.0, 1e-12)
                << "hsv " << c.h << "," << c.s << "," << c.v << " bin " << bin;
    }
}

TEST(HistogramHSV, EveryPixelWeighsOneAndOutOfRangeValuesNothing)
{
    for (const int grays : {4, 8}) {
        HistogramHSV h = histogram(grays);
        for (int hue = 0; hue < 360; hue += 7)
            for (int s = 0; s < 256; s += 5)
                for (int v = 0; v < 256; v += 17) {
                    const double before = total(h);
                    h.addPixel(hue, s, v);
                    ASSERT_NEAR(total(h) - before, 1.0, 1e-9) << hue << " " << s << " " << v;
                }
        const double before = total(h);
        const int outside[][3] = {{360, 10, 10}, {10, 256, 10}, {10, 10, -1}, {-2, 0, 0}, {10, -1, 10}, {10, 10, 256}};
        const std::int32_t planes[3][6] = {{360, 10, 10, -2, 10, 10}, {10, 256, 10, 0, -1, 10}, {10, 10, -1, 0, 10, 256}};
        for (const auto& p : outside)
            h.addPixel(p[0], p[1], p[2]);
        h.addPixels(planes[0], planes[1], planes[2], 6);
        EXPECT_EQ(total(h), before);
        EXPECT_EQ(h.pixelCount(), 52 * 52 * 16 + 12);
    }
}

TEST(HistogramHSV, BinColoursSitInTheMiddleOfTheirBands)
{
    const HistogramHSV h = histogram(4);
    const int grayValue[] = {31, 95, 159, 223};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(h.colours()[i], (HistogramHSV::Colour{-1, 0, grayValue[i]}));
    for (int s = 0; s < 6; ++s) {
        EXPECT_EQ(h.colours()[4 + s], (HistogramHSV::Colour{60 * s, 75, 127}));
        EXPECT_EQ(h.colours()[10 + s], (HistogramHSV::Colour{60 * s, 195, 127}));
    }
    EXPECT_EQ(HistogramHSV(std::make_shared<const HSVBinLayout>(1, 1, 1, 15)).colours()[0],
              (HistogramHSV::Colour{-1, 0, 127}));
}
