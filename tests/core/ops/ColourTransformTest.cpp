#include "colour/ColourConversion.h"
#include "ops/OPColorTransform.h"
#include "ops/OPSplit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <cmath>
#include <random>
#include <set>

using namespace ivra;

namespace {

template <typename ImageT>
std::unique_ptr<ImageT> row(std::initializer_list<std::array<int, 3>> pixels)
{
    auto image = std::make_unique<ImageT>(static_cast<int>(pixels.size()), 1);
    int i = 0;
    for (const auto& p : pixels) {
        for (int c = 0; c < 3; ++c)
            image->plane(c)[i] = p[c];
        ++i;
    }
    return image;
}

std::unique_ptr<ImageRGB> rgbImage(std::initializer_list<std::array<int, 3>> pixels) { return row<ImageRGB>(pixels); }
std::unique_ptr<ImageHSV> hsvImage(std::initializer_list<std::array<int, 3>> pixels) { return row<ImageHSV>(pixels); }

std::array<int, 3> at(const ImageColor& image, int x) { return image.pixel(x, 0); }

} // namespace

TEST(OPColorTransform, RgbToHsvExamples)
{
    const auto hsv = OPColorTransform().RGB2HSV(*rgbImage({{255, 0, 0}, {0, 0, 0}, {128, 128, 128}, {0, 0, 255}}));
    EXPECT_EQ(hsv->type(), 4);
    EXPECT_EQ(at(*hsv, 0), (std::array<int, 3>{0, 255, 255}));
    EXPECT_EQ(at(*hsv, 1), (std::array<int, 3>{-1, 0, 0})); // only black is undefined
    EXPECT_EQ(at(*hsv, 2), (std::array<int, 3>{0, 0, 128})); // other grays get hue 0
    EXPECT_EQ(at(*hsv, 3), (std::array<int, 3>{240, 255, 255}));
}

TEST(OPColorTransform, ExactlyTheListedGraysComeBackOneLower)
{
    const std::set<int> oneLower = {33,  37,  41,  45,  49,  53,  57,  61,  66,  74,  82,  90,
                                    98,  106, 114, 122, 132, 148, 164, 180, 196, 212, 228, 244};
    ImageRGB grays(256, 1);
    for (int u = 0; u < 256; ++u)
        grays.red()[u] = grays.green()[u] = grays.blue()[u] = u;
    const auto hsv = OPColorTransform().RGB2HSV(grays);
    for (int u = 0; u < 256; ++u)
        EXPECT_EQ(hsv->value()[u], oneLower.count(u) ? u - 1 : u) << "gray " << u;
}

TEST(OPColorTransform, LargeImagesGiveThePerPixelResults)
{
    // Large images run through per-value tables; every pixel must still get what
    // the per-pixel arithmetic of a small image gives, values out of 0..255 included.
    constexpr int w = 300, h = 300;
    std::mt19937 random(3);
    ImageRGB big(w, h);
    for (int i = 0; i < w * h; ++i)
        for (int c = 0; c < 3; ++c)
            big.plane(c)[i] = static_cast<int>(random() % 256);
    for (int u = 0; u < 256; ++u) // every gray, black included
        big.red()[u] = big.green()[u] = big.blue()[u] = u;
    big.red()[300] = 300;
    big.green()[301] = -5;
    big.blue()[302] = 1 << 20;
    const OPColorTransform op;
    const auto hsv = op.RGB2HSV(big);
    for (int y = 0; y < h; ++y) {
        ImageRGB row(w, 1);
        for (int c = 0; c < 3; ++c)
            std::copy_n(big.plane(c) + y * w, w, row.plane(c));
        const auto expected = op.RGB2HSV(row);
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(hsv->plane(c)[y * w + x], expected->plane(c)[x]) << "pixel " << x << "," << y << " plane " << c;
    }
    // Chromatic pixels agree with the exact single-pixel conversion as well.
    for (int i = 256; i < 5000; ++i) {
        if (i >= 300 && i <= 302)
            continue;
        const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(big.red()[i]),
                                     static_cast<std::uint8_t>(big.green()[i]),
                                     static_cast<std::uint8_t>(big.blue()[i])};
        HSVPixel p;
        pixelRgbToHsv(rgb, p);
        if (p.sat == 0)
            continue;
        ASSERT_EQ(hsv->hue()[i], p.hue) << i;
        ASSERT_EQ(hsv->saturation()[i], p.sat) << i;
        ASSERT_EQ(hsv->value()[i], p.val) << i;
    }
    EXPECT_EQ(hsv->hue()[0], -1);
    EXPECT_EQ(hsv->hue()[128], 0);
    EXPECT_EQ(hsv->value()[33], 32);
}

TEST(OPColorTransform, HsvToRgbExamples)
{
    const auto rgb = OPColorTransform().HSV2RGB(
        *hsvImage({{0, 255, 255}, {360, 255, 255}, {420, 255, 255}, {123, 0, 77}, {-1, 200, 91}, {120, 255, 255}}));
    EXPECT_EQ(rgb->type(), 3);
    EXPECT_EQ(at(*rgb, 0), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(at(*rgb, 1), at(*rgb, 0)); // 360 is treated as 0
    EXPECT_EQ(at(*rgb, 2), (std::array<int, 3>{0, 0, 0})); // past the six sectors
    EXPECT_EQ(at(*rgb, 3), (std::array<int, 3>{77, 77, 77})); // S = 0: the gray V
    EXPECT_EQ(at(*rgb, 4), (std::array<int, 3>{91, 91, 91})); // undefined hue: the gray V
    EXPECT_EQ(at(*rgb, 5), (std::array<int, 3>{0, 255, 0}));
}

TEST(OPColorTransform, RoundTripOfRedBlackAndGray)
{
    const OPColorTransform op;
    const auto back = op.HSV2RGB(*op.RGB2HSV(*rgbImage({{255, 0, 0}, {0, 0, 0}, {200, 200, 200}, {33, 33, 33}})));
    EXPECT_EQ(at(*back, 0), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(at(*back, 1), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(at(*back, 2), (std::array<int, 3>{200, 200, 200}));
    // 33 is one of the grays that lose one on the way to V; V = 32 comes back unchanged.
    EXPECT_EQ(at(*back, 3), (std::array<int, 3>{32, 32, 32}));
}

TEST(OPColorTransform, ValuesFarOutOfRangeDoNotOverflow)
{
    ImageHSV wild(2, 1);
    wild.hue()[0] = 10;
    wild.saturation()[0] = 2147483647;
    wild.value()[0] = 2147483647;
    wild.hue()[1] = -2147483647;
    wild.saturation()[1] = 5;
    wild.value()[1] = -2147483647;
    const auto out = OPColorTransform().HSV2RGB(wild);
    EXPECT_EQ(out->width(), 2);
    EXPECT_EQ(at(*out, 1), (std::array<int, 3>{0, 0, 0}));
}

TEST(OPColorTransform, GrayToRgbCopiesIntoAllPlanes)
{
    ImageGray gray(3, 2);
    for (int i = 0; i < 6; ++i)
        gray.data()[i] = i * 40 - 1;
    const auto rgb = OPColorTransform().Gray2RGB(gray);
    ASSERT_EQ(rgb->width(), 3);
    ASSERT_EQ(rgb->height(), 2);
    for (int i = 0; i < 6; ++i)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(rgb->plane(c)[i], i * 40 - 1);
}

TEST(OPSplit, EachExtractorCopiesItsPlane)
{
    ImageRGB rgb(2, 2);
    ImageHSV hsv(2, 2);
    for (int i = 0; i < 4; ++i)
        for (int c = 0; c < 3; ++c) {
            rgb.plane(c)[i] = 100 * c + i;
            hsv.plane(c)[i] = c == 0 ? (i == 0 ? -1 : 359 - i) : 100 * c + i;
        }
    const OPSplit split;
    const auto check = [](const ImageGray& gray, const ImageColor& from, int plane) {
        ASSERT_EQ(gray.width(), from.width());
        ASSERT_EQ(gray.height(), from.height());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(gray.data()[i], from.plane(plane)[i]) << "plane " << plane << " pixel " << i;
    };
    check(*split.red(rgb), rgb, 0);
    check(*split.green(rgb), rgb, 1);
    check(*split.blue(rgb), rgb, 2);
    check(*split.hue(hsv), hsv, 0);
    check(*split.saturation(hsv), hsv, 1);
    check(*split.value(hsv), hsv, 2);
    EXPECT_EQ(split.hue(hsv)->data()[0], -1); // no clamping
    EXPECT_EQ(split.hue(hsv)->data()[1], 358);
}
