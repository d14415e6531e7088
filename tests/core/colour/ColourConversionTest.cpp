#include "colour/ColourConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <array>
#include <cmath>
#include <random>
#include <set>
#include <vector>

using namespace ivra;

namespace {

struct Hsv {
    double h, s, v;
};

Hsv toHsv(double r, double g, double b)
{
    Hsv out;
    rgbToHsv(r, g, b, out.h, out.s, out.v);
    return out;
}

HSVPixel exactPixel(int r, int g, int b)
{
    const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                 static_cast<std::uint8_t>(b)};
    HSVPixel p;
    pixelRgbToHsv(rgb, p);
    return p;
}

HSVPixel tablePixel(int r, int g, int b)
{
    const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                                 static_cast<std::uint8_t>(b)};
    HSVPixel p;
    imageRgbToHsv(1, 1, rgb, &p);
    return p;
}

std::array<int, 3> backToRgb(int hue, int sat, int val)
{
    HSVPixel p{static_cast<std::int16_t>(hue), static_cast<std::uint8_t>(sat), static_cast<std::uint8_t>(val)};
    std::uint8_t rgb[3];
    pixelHsvToRgb(p, rgb);
    return {rgb[0], rgb[1], rgb[2]};
}

// The gray levels that come back one lower after scaling by the double nearest
// 1/255 and truncating.
const std::set<int> kOneLower = {33,  37,  41,  45,  49,  53,  57,  61,  66,  74,  82,  90,
                                 98,  106, 114, 122, 132, 148, 164, 180, 196, 212, 228, 244};

} // namespace

TEST(RgbToHsv, PrimariesSecondariesGraysAndWrappedHues)
{
    // r, g, b -> h, s, v. Achromatic colours have the undefined hue -1. Red max with
    // blue above green makes (g - b) / delta negative, so 360 is added.
    const double cases[][6] = {{1, 0, 0, 0, 1, 1},   {0, 1, 0, 120, 1, 1},         {0, 0, 1, 240, 1, 1},
                               {1, 0, 1, 300, 1, 1}, {1, 1, 0, 60, 1, 1},          {0, 0, 0, -1, 0, 0},
                               {0.5, 0.5, 0.5, -1, 0, 0.5}, {1, 0, 0.5, 330, 1, 1}};
    for (const auto& c : cases) {
        const Hsv hsv = toHsv(c[0], c[1], c[2]);
        EXPECT_EQ(hsv.h, c[3]) << c[0] << " " << c[1] << " " << c[2];
        EXPECT_EQ(hsv.s, c[4]) << c[0] << " " << c[1] << " " << c[2];
        EXPECT_EQ(hsv.v, c[5]) << c[0] << " " << c[1] << " " << c[2];
    }
}

TEST(HsvToRgb, SectorsAndGray)
{
    double r, g, b;
    hsvToRgb(123, 0, 0.25, r, g, b); // saturation 0 ignores the hue
    EXPECT_EQ(r, 0.25);
    EXPECT_EQ(g, 0.25);
    EXPECT_EQ(b, 0.25);
    hsvToRgb(-1, 1, 1, r, g, b); // a negative hue counts as 0
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    const double expected[6][3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}};
    for (int sector = 0; sector < 6; ++sector) {
        hsvToRgb(60 * sector, 1, 1, r, g, b);
        EXPECT_NEAR(r, expected[sector][0], 1e-12) << "sector " << sector;
        EXPECT_NEAR(g, expected[sector][1], 1e-12) << "sector " << sector;
        EXPECT_NEAR(b, expected[sector][2], 1e-12) << "sector " << sector;
    }
    hsvToRgb(30, 1, 1, r, g, b); // half way between red and yellow
    EXPECT_DOUBLE_EQ(g, 0.5);
}

TEST(PixelRgbToHsv, Examples)
{
    const HSVPixel white = exactPixel(255, 255, 255);
    EXPECT_EQ(white.hue, 0); // undefined is stored as 0
    EXPECT_EQ(white.sat, 0);
    EXPECT_EQ(white.val, 255);
    const HSVPixel red = exactPixel(255, 0, 0);
    EXPECT_EQ(red.hue, 0);
    EXPECT_EQ(red.sat, 255);
    EXPECT_EQ(red.val, 255);
    EXPECT_EQ(exactPixel(0, 0, 255).hue, 240);
    EXPECT_EQ(exactPixel(0, 0, 0).hue, 0);
}

TEST(PixelRgbToHsv, ExactlyTheListedGraysComeBackOneLower)
{
    for (int u = 0; u < 256; ++u) {
        const int expected = kOneLower.count(u) ? u - 1 : u;
        EXPECT_EQ(exactPixel(u, u, u).val, expected) << "gray " << u;
    }
}

TEST(PixelRgbToHsv, PackedLayoutIsHueSatVal)
{
    const HSVPixel p = exactPixel(0, 0, 255);
    std::uint32_t word;
    static_assert(sizeof word == sizeof p);
    std::memcpy(&word, &p, sizeof word);
    EXPECT_EQ(word & 0xffff, 240u);
    EXPECT_EQ((word >> 16) & 0xff, 255u);
    EXPECT_EQ(word >> 24, 255u);
}

TEST(ImageRgbToHsv, QuantisesToSixBitsPerComponent)
{
    EXPECT_EQ(tablePixel(3, 3, 3).val, 0);
    EXPECT_EQ(tablePixel(4, 4, 4).val, 4);
    EXPECT_EQ(tablePixel(255, 255, 255).val, 255);
    EXPECT_EQ(tablePixel(252, 252, 252).val, 255);
    const HSVPixel red = tablePixel(255, 1, 2);
    EXPECT_EQ(red.hue, 0);
    EXPECT_EQ(red.sat, 255);
}

TEST(ImageRgbToHsv, TableHoldsTheExactConversionOfSixBitValues)
{
    const HSVPixel* table = hsvFromRgbTable();
    const double k63 = 1.0 / 63.0;
    for (int r6 = 0; r6 < 64; r6 += 7)
        for (int g6 = 0; g6 < 64; g6 += 5)
            for (int b6 = 0; b6 < 64; b6 += 3) {
                double h, s, v;
                rgbToHsv(r6 * k63, g6 * k63, b6 * k63, h, s, v);
                const HSVPixel& p = table[(r6 * 64 + g6) * 64 + b6];
                ASSERT_EQ(p.hue, h < 0 ? 0 : static_cast<int>(std::floor(h)));
                ASSERT_EQ(p.sat, static_cast<int>(std::floor(s * 255)));
                ASSERT_EQ(p.val, static_cast<int>(std::floor(v * 255)));
            }
}

TEST(ImageRgbToHsv, WholeBuffersMatchOneLookupPerPixel)
{
    // Odd sizes exercise the tail after the four-pixel blocks.
    std::mt19937 random(7);
    for (const auto& [w, h] : {std::pair{7, 3}, std::pair{1, 1}, std::pair{5, 1}, std::pair{64, 17}}) {
        const std::size_t n = static_cast<std::size_t>(w) * h;
        std::vector<std::uint8_t> rgb(n * 3);
        for (auto& byte : rgb)
            byte = static_cast<std::uint8_t>(random());
        std::vector<HSVPixel> out(n + 1, HSVPixel{-7, 7, 7});
        imageRgbToHsv(w, h, rgb.data(), out.data());
        const HSVPixel* table = hsvFromRgbTable();
        for (std::size_t i = 0; i < n; ++i) {
            const HSVPixel& want = table[((rgb[3 * i] >> 2) * 64 + (rgb[3 * i + 1] >> 2)) * 64 + (rgb[3 * i + 2] >> 2)];
            ASSERT_EQ(out[i].hue, want.hue) << "pixel " << i << " of " << w << "x" << h;
            ASSERT_EQ(out[i].sat, want.sat);
            ASSERT_EQ(out[i].val, want.val);
        }
        EXPECT_EQ(out[n].hue, -7) << "wrote past the buffer";
    }
}

TEST(ImageRgbToHsv, NonPositiveSizesDoNothing)
{
    HSVPixel p{5, 5, 5};
    const std::uint8_t rgb[3] = {255, 0, 0};
    imageRgbToHsv(0, 5, rgb, &p);
    imageRgbToHsv(-1, -1, rgb, &p);
    EXPECT_EQ(p.hue, 5);
    std::uint8_t back[3] = {9, 9, 9};
    imageHsvToRgb(3, 0, &p, back);
    EXPECT_EQ(back[0], 9);
}

TEST(PixelHsvToRgb, Examples)
{
    EXPECT_EQ(backToRgb(0, 255, 255), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(backToRgb(120, 255, 255), (std::array<int, 3>{0, 255, 0}));
    for (int hue : {-1, 0, 90, 359})
        for (int sat : {0, 100, 255})
            EXPECT_EQ(backToRgb(hue, sat, 0), (std::array<int, 3>{0, 0, 0})) << hue << " " << sat;
    // The undefined hue uses row 0, which equals the row of hue 0.
    EXPECT_EQ(backToRgb(-1, 200, 180), backToRgb(0, 200, 180));
    // Saturation 0 is white scaled by the value.
    EXPECT_EQ(backToRgb(200, 0, 100), (std::array<int, 3>{100, 100, 100}));
}

TEST(PixelHsvToRgb, HuesOutsideTheTableAreClampedNotReadPastIt)
{
    EXPECT_EQ(backToRgb(-20, 255, 255), backToRgb(-1, 255, 255));
    EXPECT_EQ(backToRgb(500, 255, 255), backToRgb(359, 255, 255));
}

TEST(ColourTables, UndefinedHueRowAndWhiteColumn)
{
    const auto hueSat = hueSatTable();
    for (int j = 0; j < 256; ++j)
        for (int c = 0; c < 3; ++c)
            ASSERT_EQ(hueSat[0][j][c], hueSat[1][j][c]) << "column " << j;
    for (int n = 0; n <= 360; ++n)
        for (int c = 0; c < 3; ++c)
            ASSERT_EQ(hueSat[n][0][c], 255) << "row " << n;
    // Row 360 holds hue 359: red with a little blue.
    EXPECT_EQ(hueSat[360][255][0], 255);
    EXPECT_EQ(hueSat[360][255][1], 0);
    EXPECT_GT(hueSat[360][255][2], 0);

    const auto scale = scaleTable();
    for (int a = 0; a < 256; a += 17)
        for (int b = 0; b < 256; ++b)
            ASSERT_EQ(scale[a][b], a * b / 255);
    EXPECT_EQ(scale[255][200], 200);
}

TEST(ImageHsvToRgb, MatchesThePixelConversion)
{
    std::vector<HSVPixel> hsv;
    for (int hue = -1; hue < 360; hue += 17)
        for (int sat = 0; sat < 256; sat += 51)
            for (int val = 0; val < 256; val += 85)
                hsv.push_back({static_cast<std::int16_t>(hue), static_cast<std::uint8_t>(sat),
                               static_cast<std::uint8_t>(val)});
    std::vector<std::uint8_t> rgb(hsv.size() * 3);
    imageHsvToRgb(static_cast<int>(hsv.size()), 1, hsv.data(), rgb.data());
    for (std::size_t i = 0; i < hsv.size(); ++i) {
        std::uint8_t one[3];
        pixelHsvToRgb(hsv[i], one);
        ASSERT_EQ(rgb[3 * i], one[0]);
        ASSERT_EQ(rgb[3 * i + 1], one[1]);
        ASSERT_EQ(rgb[3 * i + 2], one[2]);
    }
}
