#include "colour/ColourConversion.h"
#include "ops/OPColorTransform.h"
#include "ops/OPHistogram.h"
#include "ops/OPSplit.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <vector>

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

TEST(ColourTransform, RgbToHsvOfSmallAndLargePicturesMatchesThePixelRule)
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

TEST(ColourTransform, HsvToRgbMatchesTheDoublePairAndItsSpecialHues)
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

TEST(ColourTransform, GrayToRgbAndSplitCopyPlanesValueForValue)
{
    const auto gray = grayWhere(3, 2, [](int x, int y) { return x * 40 + y * 300 - 1; });
    const auto rgb = OPColorTransform().Gray2RGB(*gray);
    ImageHSV hsv(3, 2);
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(rgb->plane(c)[i], gray->data()[i]);
            hsv.plane(c)[i] = 100 * c + i - 1; // hue -1 stays -1: no clamping
        }
        rgb->plane(c)[0] = 7 * c;
    }
    const OPSplit split;
    const std::unique_ptr<ImageGray> planes[6] = {split.red(*rgb), split.green(*rgb),     split.blue(*rgb),
                                                  split.hue(hsv),  split.saturation(hsv), split.value(hsv)};
    for (int k = 0; k < 6; ++k)
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(planes[k]->data()[i], (k < 3 ? rgb->plane(k) : hsv.plane(k - 3))[i]) << "extractor " << k;
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
