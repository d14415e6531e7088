#include "color/ColorConversion.h"
#include "color/HsvSinglePrecision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <set>
#include <vector>

using namespace ivra;

namespace {

using Bytes = std::array<int, 3>;

// The packed forms written out from the double-precision pair: an undefined hue
// is stored as 0, everything truncates.
Bytes packed(double r, double g, double b)
{
    double h, s, v;
    rgbToHsv(r, g, b, h, s, v);
    return {h < 0 ? 0 : static_cast<int>(std::floor(h)), static_cast<int>(std::floor(s * 255)),
            static_cast<int>(std::floor(v * 255))};
}

Bytes fromPacked(const HSVPixel& p)
{
    return {p.hue, p.sat, p.val};
}

// Hue clamped to -1..359 (-1 taken as 0), full value, then scaled by the value.
Bytes plainHsvToRgb(int hue, int sat, int val)
{
    double rgb[3];
    hsvToRgb(std::clamp(hue, -1, 359), sat * (1.0 / 255), 1.0, rgb[0], rgb[1], rgb[2]);
    Bytes out;
    for (int c = 0; c < 3; ++c)
        out[c] = static_cast<int>(std::floor(rgb[c] * 255)) * val / 255;
    return out;
}

} // namespace

TEST(ColorConversion, DoubleAndSinglePrecisionPairsRoundTripAndAgree)
{
    // Grays (black too) have the undefined hue, -1 in double precision and the
    // caller's choice in single precision.
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                SCOPED_TRACE(::testing::Message() << r << "," << g << "," << b);
                const float in[3] = {r / 255.0f, g / 255.0f, b / 255.0f};
                double h, s, v, back[3];
                float hf, sf, vf, backF[3];
                rgbToHsv(in[0], in[1], in[2], h, s, v);
                rgbToHsvF(in[0], in[1], in[2], -7.0f, hf, sf, vf);
                ASSERT_EQ(h == -1, r == g && g == b);
                ASSERT_TRUE(h == -1 || (h >= 0 && h < 360));
                ASSERT_NEAR(hf, h == -1 ? -7 : h, 1e-3);
                ASSERT_NEAR(sf, s, 1e-6);
                ASSERT_NEAR(vf, v, 1e-6);
                hsvToRgb(h, s, v, back[0], back[1], back[2]);
                hsvToRgbF(std::max(hf, 0.0f), sf, vf, backF[0], backF[1], backF[2]);
                for (int k = 0; k < 3; ++k) {
                    ASSERT_NEAR(back[k], in[k], 1e-12);
                    ASSERT_NEAR(backF[k], in[k], 1e-5);
                }
            }
    // Red with blue above green wraps to 330; a negative hue counts as 0, 360 (single precision) too.
    double h, s, v, rgb[3];
    rgbToHsv(1, 0, 0.5, h, s, v);
    EXPECT_EQ(h, 330);
    hsvToRgb(-1, 1, 1, rgb[0], rgb[1], rgb[2]);
    EXPECT_EQ((std::array{rgb[0], rgb[1], rgb[2]}), (std::array{1.0, 0.0, 0.0}));
    float rgbF[3];
    hsvToRgbF(360, 1, 0.5f, rgbF[0], rgbF[1], rgbF[2]);
    EXPECT_EQ((std::array{rgbF[0], rgbF[1], rgbF[2]}), (std::array{0.5f, 0.0f, 0.0f}));
}

TEST(ColorConversion, PixelConversionScalesByTheDoubleNearestTo255th)
{
    // u * (1/255) * 255 falls just below u for exactly these grays.
    const std::set<int> oneLower = {33, 37,  41,  45,  49,  53,  57,  61,  66,  74,  82,  90,
                                    98, 106, 114, 122, 132, 148, 164, 180, 196, 212, 228, 244};
    HSVPixel p;
    for (int u = 0; u < 256; ++u) {
        const std::uint8_t gray[3] = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u),
                                      static_cast<std::uint8_t>(u)};
        pixelRgbToHsv(gray, p);
        EXPECT_EQ(fromPacked(p), (Bytes{0, 0, oneLower.count(u) ? u - 1 : u})) << "gray " << u;
    }
    const std::uint8_t blue[3] = {0, 0, 255};
    pixelRgbToHsv(blue, p);
    EXPECT_EQ(fromPacked(p), (Bytes{240, 255, 255}));
}

TEST(ColorConversion, WholeBuffersToHsvUseTheSixHighBitsOfEachComponent)
{
    // Odd sizes leave tails after the blocks of four pixels; nothing is written past the end.
    std::mt19937 random(7);
    for (const auto& [w, h] : {std::pair{7, 3}, std::pair{1, 1}, std::pair{5, 1}, std::pair{64, 17}}) {
        const std::size_t n = static_cast<std::size_t>(w) * h;
        std::vector<std::uint8_t> rgb(n * 3);
        for (auto& byte : rgb)
            byte = static_cast<std::uint8_t>(random());
        std::vector<HSVPixel> out(n + 1, HSVPixel{-7, 7, 7});
        imageRgbToHsv(w, h, rgb.data(), out.data());
        for (std::size_t i = 0; i < n; ++i) {
            const Bytes want = packed((rgb[3 * i] >> 2) * (1.0 / 63), (rgb[3 * i + 1] >> 2) * (1.0 / 63),
                                      (rgb[3 * i + 2] >> 2) * (1.0 / 63));
            ASSERT_EQ(fromPacked(out[i]), want) << "pixel " << i << " of " << w << "x" << h;
        }
        EXPECT_EQ(out[n].hue, -7) << "wrote past the buffer";
    }
    // Every entry of the table (it is computed when the project is built): each six-bit
    // triple once.
    std::vector<std::uint8_t> all;
    for (int i = 0; i < 1 << 18; ++i)
        all.insert(all.end(), {static_cast<std::uint8_t>(i >> 12 << 2), static_cast<std::uint8_t>((i >> 6 & 63) << 2),
                               static_cast<std::uint8_t>((i & 63) << 2)});
    std::vector<HSVPixel> table(1 << 18);
    imageRgbToHsv(1 << 9, 1 << 9, all.data(), table.data());
    for (int i = 0; i < 1 << 18; ++i)
        ASSERT_EQ(fromPacked(table[i]), packed((i >> 12) * (1.0 / 63), (i >> 6 & 63) * (1.0 / 63), (i & 63) * (1.0 / 63)))
            << "entry " << i;
    HSVPixel untouched{5, 5, 5}; // nothing for sizes that are not positive
    imageRgbToHsv(0, 5, nullptr, &untouched);
    imageRgbToHsv(-1, -1, nullptr, &untouched);
    EXPECT_EQ(untouched.hue, 5);
}

TEST(ColorConversion, BackToRgbThroughTablesWithClampedHues)
{
    // Hue -1 (undefined) uses the row of hue 0; hues outside -1..359 take the nearest row.
    std::vector<HSVPixel> hsv;
    for (int hue : {-300, -2, 360, 500, 32767})
        hsv.push_back({static_cast<std::int16_t>(hue), 200, 180});
    for (int hue = -1; hue < 360; ++hue)
        for (int sat = 0; sat < 256; ++sat) // every entry of the hue/saturation table, values spread
            for (int val : {0, 255, (hue * 31 + sat * 7) & 255})
                hsv.push_back(
                    {static_cast<std::int16_t>(hue), static_cast<std::uint8_t>(sat), static_cast<std::uint8_t>(val)});
    std::vector<std::uint8_t> rgb(hsv.size() * 3);
    imageHsvToRgb(static_cast<int>(hsv.size()), 1, hsv.data(), rgb.data());
    for (std::size_t i = 0; i < hsv.size(); ++i) {
        const Bytes want = plainHsvToRgb(hsv[i].hue, hsv[i].sat, hsv[i].val);
        ASSERT_EQ((Bytes{rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]}), want) << "hue " << hsv[i].hue;
        std::uint8_t one[3];
        pixelHsvToRgb(hsv[i], one);
        ASSERT_EQ((Bytes{one[0], one[1], one[2]}), want) << "hue " << hsv[i].hue;
    }
    std::uint8_t untouched[3] = {9, 9, 9}; // nothing for sizes that are not positive
    imageHsvToRgb(3, 0, hsv.data(), untouched);
    imageHsvToRgb(-2, -2, hsv.data(), untouched);
    EXPECT_EQ(untouched[0], 9);
}
