#include "image/Array2D.h"
#include "image/BitImage32.h"
#include "image/ImageGray.h"
#include "image/HistogramHSV.h"
#include "image/ImageHSV.h"
#include "image/LowBytes.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>

using namespace ivra;
using namespace testpictures;

TEST(Image, SetPixelSignExtendsSixteenBitValues)
{
    ImageHSV image(2, 1);
    image.setPixel(1, -1, 255, 300);
    EXPECT_EQ(image.pixel(1, 0), (ImageColor::Triple{-1, 255, 300}));
}

TEST(Image, LowBytesOfThePlanesAndBack)
{
    // Sizes around the blocks of four and eight pixels the copy works in; nothing
    // is written past the last pixel.
    std::mt19937 random(3);
    for (int n = 0; n <= 21; ++n) {
        ImageRGB image(n, 1);
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < n; ++i)
                image.plane(c)[i] = static_cast<int>(random());
        Pixels bytes(static_cast<std::size_t>(n) + 1, RGB24{1, 2, 3});
        copyLowBytes(image, bytes.data());
        EXPECT_EQ(bytes.back(), (RGB24{1, 2, 3})) << n;
        bytes.pop_back();
        EXPECT_EQ(bytes, pixelsOf(image)) << n;
        ImageRGB back(n, 1);
        copyToPlanes(bytes.data(), back);
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(back.pixel(i, 0), (ImageColor::Triple{bytes[i].r, bytes[i].g, bytes[i].b}));
    }
}

// Large planes and label arrays start on a 2 MiB boundary, where huge pages can map them.
TEST(Image, LargeArraysStartOnHugePageBoundaries)
{
    const ImageRGB planes(1024, 1024);
    const ImageGray gray(1024, 600);
    const Array2D<std::uint32_t> labels(1024, 1024);
    for (const void* p : {static_cast<const void*>(planes.plane(0)), static_cast<const void*>(gray.data()),
                          static_cast<const void*>(labels.data())})
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % (std::uintptr_t{2} << 20), 0u);
}

TEST(BitImage32, BitsAreLowestFirstWithRowsOnWordBoundaries)
{
    BitImage32 bits(33, 3);
    bits.set(32, 1, 1);
    bits.set(1, 2, 5);
    EXPECT_EQ((std::vector<std::uint32_t>(bits.data(), bits.data() + 6)),
              (std::vector<std::uint32_t>{0, 0, 0, 1, 2, 0}));
    EXPECT_TRUE(bits.get(32, 1));
    bits.set(32, 1, 0);
    EXPECT_FALSE(bits.get(32, 1));
    // Outside the picture: writes do nothing, reads give false.
    for (const auto& [x, y] : {std::pair{33, 0}, std::pair{-1, 0}, std::pair{0, -1}, std::pair{0, 3}})
        bits.set(x, y, 1);
    EXPECT_EQ(bits.data()[1], 0u);
    bits.fill(1);
    EXPECT_EQ(bits.data()[5], ~0u); // spare bits too
    EXPECT_TRUE(bits.get(32, 2));
    EXPECT_FALSE(bits.get(33, 0) || bits.get(-1, 0) || bits.get(0, -1) || bits.get(0, 3));
}

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
        std::int32_t grays, h, s, v;
        std::map<int, double> shares;
    };
    const std::vector<Case> cases = {
        {4, -1, 0, 0, {{0, 1.0}}},                               // black: the first gray bin
        {4, 0, 0, 128, {{1, 0.5}, {2, 0.5}}},                    // mid gray: the two middle gray bins
        {4, 30, 255, 200, {{10, 0.5}, {11, 0.5}}},               // outer ring, between two sectors
        {4, 330, 255, 200, {{15, 0.5}, {10, 0.5}}},              // the same across hue 0
        {8, 0, 30, 16, {{0, 0.375}, {8, 0.625}}},                // pale: gray bin and inner ring
        {8, 120, 100, 77, {{10, 95.0 / 120}, {16, 25.0 / 120}}}, // between the rings
    };
    for (const Case& c : cases) {
        HistogramHSV h = histogram(c.grays);
        h.addPixels(&c.h, &c.s, &c.v, 1);
        for (int bin = 0; bin < h.binCount(); ++bin)
            EXPECT_NEAR(h.counts()[bin], c.shares.count(bin) ? c.shares.at(bin) : 0.0, 1e-12)
                << "hsv " << c.h << "," << c.s << "," << c.v << " bin " << bin;
    }
}

TEST(HistogramHSV, EveryPixelWeighsOneAndOutOfRangeValuesNothing)
{
    for (const int grays : {4, 8}) {
        HistogramHSV h = histogram(grays);
        for (std::int32_t hue = 0; hue < 360; hue += 7)
            for (std::int32_t s = 0; s < 256; s += 5)
                for (std::int32_t v = 0; v < 256; v += 17) {
                    const double before = total(h);
                    h.addPixels(&hue, &s, &v, 1);
                    ASSERT_NEAR(total(h) - before, 1.0, 1e-9) << hue << " " << s << " " << v;
                }
        const double before = total(h);
        const std::int32_t planes[3][6] = {
            {360, 10, 10, -2, 10, 10}, {10, 256, 10, 0, -1, 10}, {10, 10, -1, 0, 10, 256}};
        h.addPixels(planes[0], planes[1], planes[2], 6);
        EXPECT_EQ(total(h), before);
        EXPECT_EQ(h.pixelCount(), 52 * 52 * 16 + 6);
    }
}

TEST(HistogramHSV, BinColorsSitInTheMiddleOfTheirBands)
{
    const HistogramHSV h = histogram(4);
    const std::pair<int, HistogramHSV::Color> colors[] = {{0, {-1, 0, 31}},    {3, {-1, 0, 223}},
                                                            {4, {0, 75, 127}},   {9, {300, 75, 127}},
                                                            {10, {0, 195, 127}}, {15, {300, 195, 127}}};
    for (const auto& [bin, color] : colors)
        EXPECT_EQ(h.colors()[bin], color) << bin;
    EXPECT_EQ(HistogramHSV(std::make_shared<const HSVBinLayout>(1, 1, 1, 15)).colors()[0],
              (HistogramHSV::Color{-1, 0, 127}));
}
