#include "image/HSVBinLayout.h"
#include "image/HistogramHSV.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <stdexcept>

using namespace ivra;

namespace {

std::unique_ptr<HistogramHSV> histogram(int grays)
{
    return std::make_unique<HistogramHSV>(std::make_shared<const HSVBinLayout>(6, 2, grays, 15));
}

// Bin of ring r, sector s in the 6x2 layouts.
int chromatic(int grays, int ring, int sector) { return grays + ring * 6 + sector; }

double total(const HistogramHSV& h) { return std::accumulate(h.counts(), h.counts() + h.binCount(), 0.0); }

TEST(HSVBinLayout, DerivedWidthsOfTheOfferedLayouts)
{
    const HSVBinLayout four(6, 2, 4, 15);
    EXPECT_EQ(four.binCount, 16);
    EXPECT_EQ(four.ringWidth, 120);
    EXPECT_EQ(four.ringHalf, 60);
    EXPECT_EQ(four.sectorWidth, 60);
    EXPECT_EQ(four.grayWidth, 64);
    EXPECT_EQ(four.grayHalf, 32);
    const HSVBinLayout eight(6, 2, 8, 15);
    EXPECT_EQ(eight.binCount, 20);
    EXPECT_EQ(eight.grayWidth, 32);
    EXPECT_EQ(eight.grayHalf, 16);
}

TEST(HSVBinLayout, SaturationMembershipsSplitBetweenGrayAndRings)
{
    const HSVBinLayout layout(6, 2, 4, 15);
    const int gray = 0, ring0 = chromatic(4, 0, 0), ring1 = chromatic(4, 1, 0);
    EXPECT_DOUBLE_EQ(layout.saturationMembership(gray, 30), 0.375);
    EXPECT_DOUBLE_EQ(layout.saturationMembership(ring0, 30), 0.625);
    EXPECT_DOUBLE_EQ(layout.saturationMembership(ring1, 30), 0.0);
    EXPECT_NEAR(layout.saturationMembership(ring0, 100), 0.7917, 1e-4);
    EXPECT_NEAR(layout.saturationMembership(ring1, 100), 0.2083, 1e-4);
    EXPECT_DOUBLE_EQ(layout.saturationMembership(gray, 100), 0.0);
    EXPECT_DOUBLE_EQ(layout.saturationMembership(gray, 0), 1.0);
    EXPECT_DOUBLE_EQ(layout.saturationMembership(ring1, 255), 1.0);
    // Gray and ring memberships of every saturation add to 1.
    for (int s = 0; s < 256; ++s)
        EXPECT_NEAR(layout.saturationMembership(gray, s) + layout.saturationMembership(ring0, s) +
                        layout.saturationMembership(ring1, s),
                    1.0, 1e-12)
            << s;
}

TEST(HSVBinLayout, HueTrianglesAreSixtyDegreesWideAndWrapAround)
{
    const HSVBinLayout layout(6, 2, 4, 15);
    EXPECT_DOUBLE_EQ(layout.hueMembership(chromatic(4, 0, 0), 0), 1.0);
    EXPECT_DOUBLE_EQ(layout.hueMembership(chromatic(4, 0, 0), 330), 0.5);
    EXPECT_DOUBLE_EQ(layout.hueMembership(chromatic(4, 0, 5), 330), 0.5);
    EXPECT_DOUBLE_EQ(layout.hueMembership(chromatic(4, 0, 1), 90), 0.5);
    EXPECT_DOUBLE_EQ(layout.hueMembership(chromatic(4, 0, 2), 90), 0.5);
    EXPECT_DOUBLE_EQ(layout.hueMembership(chromatic(4, 1, 3), 180), 1.0);
    EXPECT_DOUBLE_EQ(layout.hueMembership(chromatic(4, 0, 0), -1), 0.0);
    EXPECT_DOUBLE_EQ(layout.hueMembership(0, -1), 1.0); // gray bins ignore hue
}

TEST(HSVBinLayout, CandidatesOfTheThreeSaturationCases)
{
    const HSVBinLayout layout(6, 2, 4, 15);
    const auto& undefined = layout.candidates(-1, 0);
    EXPECT_TRUE(undefined.usesGrayPair);
    EXPECT_EQ(undefined.bins[2], layout.binCount);
    const auto& pale = layout.candidates(359, 74); // below 15 + 60: gray pair and ring 0
    EXPECT_TRUE(pale.usesGrayPair);
    EXPECT_EQ(pale.bins[2], chromatic(4, 0, 5));
    EXPECT_EQ(pale.bins[3], chromatic(4, 0, 0));
    const auto& vivid = layout.candidates(70, 200); // ring 1, then ring 0 wrapping round
    EXPECT_FALSE(vivid.usesGrayPair);
    EXPECT_EQ(vivid.bins[0], chromatic(4, 1, 1));
    EXPECT_EQ(vivid.bins[1], chromatic(4, 1, 2));
    EXPECT_EQ(vivid.bins[2], chromatic(4, 0, 1));
    EXPECT_EQ(vivid.bins[3], chromatic(4, 0, 2));
    EXPECT_EQ(layout.grayPair(10)[0], 0);
    EXPECT_EQ(layout.grayPair(10)[1], layout.binCount);
    EXPECT_EQ(layout.grayPair(128)[0], 1);
    EXPECT_EQ(layout.grayPair(128)[1], 2);
    EXPECT_EQ(layout.grayPair(255)[0], 3);
}

TEST(HistogramHSV, EachPixelIsSharedAsItsMembershipsSay)
{
    auto black = histogram(4); // entirely gray bin 0
    black->addPixel(-1, 0, 0);
    EXPECT_DOUBLE_EQ(black->counts()[0], 1.0);
    EXPECT_DOUBLE_EQ(total(*black), 1.0);
    EXPECT_EQ(black->pixelCount(), 1);

    auto midGray = histogram(4); // the two middle gray bins
    midGray->addPixel(0, 0, 128);
    EXPECT_DOUBLE_EQ(midGray->counts()[1], 0.5);
    EXPECT_DOUBLE_EQ(midGray->counts()[2], 0.5);
    EXPECT_DOUBLE_EQ(total(*midGray), 1.0);

    auto saturated = histogram(4); // two sectors of the outer ring
    saturated->addPixel(30, 255, 200);
    EXPECT_DOUBLE_EQ(saturated->counts()[chromatic(4, 1, 0)], 0.5);
    EXPECT_DOUBLE_EQ(saturated->counts()[chromatic(4, 1, 1)], 0.5);
    EXPECT_DOUBLE_EQ(total(*saturated), 1.0);

    auto pale = histogram(8); // gray bin 0 at full value membership, sector 0 alone
    pale->addPixel(0, 30, 16);
    EXPECT_DOUBLE_EQ(pale->counts()[0], 0.375);
    EXPECT_DOUBLE_EQ(pale->counts()[chromatic(8, 0, 0)], 0.625);
    EXPECT_DOUBLE_EQ(total(*pale), 1.0);

    auto mid = histogram(8); // between the rings
    mid->addPixel(120, 100, 77);
    EXPECT_NEAR(mid->counts()[chromatic(8, 0, 2)], 0.7917, 1e-4);
    EXPECT_NEAR(mid->counts()[chromatic(8, 1, 2)], 0.2083, 1e-4);
    EXPECT_NEAR(total(*mid), 1.0, 1e-12);
}

TEST(HistogramHSV, EveryPixelOfTheColourConversionWeighsOne)
{
    // The conversion gives an undefined hue only to black (saturation 0).
    for (int grays : {4, 8}) {
        auto h = histogram(grays);
        h->addPixel(-1, 0, 0);
        EXPECT_DOUBLE_EQ(total(*h), 1.0);
        for (int hue = 0; hue < 360; hue += 7)
            for (int s = 0; s < 256; s += 5)
                for (int v = 0; v < 256; v += 17) {
                    const double before = total(*h);
                    h->addPixel(hue, s, v);
                    ASSERT_NEAR(total(*h) - before, 1.0, 1e-9) << hue << " " << s << " " << v;
                }
    }
}

TEST(HistogramHSV, OutOfRangeValuesAddNoWeight)
{
    auto h = histogram(4);
    h->addPixel(360, 10, 10);
    h->addPixel(10, 256, 10);
    h->addPixel(10, 10, -1);
    h->addPixel(-2, 0, 0);
    EXPECT_DOUBLE_EQ(total(*h), 0.0);
    EXPECT_EQ(h->pixelCount(), 4);
}

TEST(HSVBinLayout, RefusesLayoutsItCannotTabulate)
{
    EXPECT_THROW(HSVBinLayout(0, 2, 4, 15), std::invalid_argument);
    EXPECT_THROW(HSVBinLayout(7, 2, 4, 15), std::invalid_argument);   // 360 not divisible
    EXPECT_THROW(HSVBinLayout(6, 0, 4, 15), std::invalid_argument);
    EXPECT_THROW(HSVBinLayout(6, 241, 4, 15), std::invalid_argument); // ring width 0
    EXPECT_THROW(HSVBinLayout(6, 2, 0, 15), std::invalid_argument);
    EXPECT_THROW(HSVBinLayout(6, 2, 257, 15), std::invalid_argument);
    EXPECT_THROW(HSVBinLayout(6, 2, 4, -1), std::invalid_argument);
    EXPECT_THROW(HSVBinLayout(6, 2, 4, 256), std::invalid_argument);
    EXPECT_THROW(HSVBinLayout(360, 200, 4, 15), std::invalid_argument); // too many bins
    EXPECT_THROW(HSVBinLayout(2147483647, 2147483647, 4, 15), std::invalid_argument);
    EXPECT_NO_THROW(HSVBinLayout(1, 1, 1, 0));
}

} // namespace
