#include "colour/HsvSinglePrecision.h"
#include "ops/OPKuwaharaNagao.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace ivra;

using namespace testpictures;
using Space = OPKuwaharaNagao::Space;

namespace {

// The filter written out plainly, pixel by pixel in single precision, to hold the
// optimised kernel to.
void referenceIteration(const Array2D<RGB24>& src, Array2D<RGB24>& dst, bool hsv)
{
    const int w = src.width(), h = src.height();
    for (int y = 1; y <= h - 2; ++y) {
        for (int x = 1; x <= w - 2; ++x) {
            const int x0[4] = {x - 1, x, x, x - 1};
            const int y0[4] = {y - 1, y - 1, y, y};
            int best = 0;
            float bestVariance = 0;
            QuadrantStatistics bestStats{};
            for (int k = 0; k < 4; ++k) {
                const QuadrantStatistics s = quadrantStatistics(src, x0[k], y0[k], x0[k] + 1, y0[k] + 1);
                const float variance = s.variance[0] + s.variance[1] + s.variance[2];
                if (k == 0 || variance < bestVariance) {
                    best = k;
                    bestVariance = variance;
                    bestStats = s;
                }
            }
            if (!hsv) {
                dst.at(x, y) = RGB24{static_cast<std::uint8_t>(bestStats.mean[0]),
                                     static_cast<std::uint8_t>(bestStats.mean[1]),
                                     static_cast<std::uint8_t>(bestStats.mean[2])};
                continue;
            }
            const float k = 0.003921569f;
            int hueSum = 0, low = 0, sSum = 0, vSum = 0;
            bool high = false;
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const RGB24 p = src.at(x0[best] + dx, y0[best] + dy);
                    float hf, sf, vf;
                    rgbToHsvF(p.r * k, p.g * k, p.b * k, -1, hf, sf, vf);
                    const int H = hf >= 0 ? static_cast<int>(hf) : -1;
                    hueSum += H;
                    low += H < 61;
                    high = high || H >= 300;
                    sSum += static_cast<int>(sf * 255);
                    vSum += static_cast<int>(vf * 255);
                }
            }
            int hueMean = (2 + hueSum + (high ? 360 * low : 0)) / 4;
            if (hueMean >= 360)
                hueMean -= 360;
            float r, g, b;
            hsvToRgbF(static_cast<float>(hueMean), static_cast<float>((sSum / 4) * (1.0 / 255)),
                      static_cast<float>((vSum / 4) * (1.0 / 255)), r, g, b);
            dst.at(x, y) = RGB24{static_cast<std::uint8_t>(r * 255), static_cast<std::uint8_t>(g * 255),
                                 static_cast<std::uint8_t>(b * 255)};
        }
    }
}

std::unique_ptr<ImageRGB> reference(const ImageRGB& image, int iterations, bool hsv)
{
    const int w = image.width(), h = image.height();
    Array2D<RGB24> buffers[2];
    for (auto& b : buffers) {
        b.resize(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                b.at(x, y) = pixelOf(image, x, y);
    }
    int cur = 0;
    for (int i = 0; i < iterations; ++i, cur = 1 - cur)
        referenceIteration(buffers[cur], buffers[1 - cur], hsv);
    std::vector<RGB24> pixels(buffers[cur].data(), buffers[cur].data() + buffers[cur].size());
    return rgbFrom(w, h, pixels);
}

RGB24 centreOf3x3(const std::vector<RGB24>& pixels, Space space = Space::RGB)
{
    return pixelOf(*OPKuwaharaNagao().execute(*rgbFrom(3, 3, pixels), 1, space), 1, 1);
}

RGB24 gray(std::uint8_t v)
{
    return RGB24{v, v, v};
}

} // namespace

TEST(KuwaharaNagao, UniformPicturesStayUnchangedInRgb)
{
    const auto image = uniformRgb(9, 7, {12, 200, 77});
    EXPECT_TRUE(samePixels(*image, *OPKuwaharaNagao().execute(*image, 5, Space::RGB)));
}

TEST(KuwaharaNagao, StepEdgesStaySharp)
{
    const auto image = rgbWhere(8, 6, [](int x, int) { return x < 4 ? RGB24{200, 30, 30} : RGB24{20, 40, 220}; });
    EXPECT_TRUE(samePixels(*image, *OPKuwaharaNagao().execute(*image, 4, Space::RGB)));
}

TEST(KuwaharaNagao, EqualVariancesPreferTheEarlierSubWindow)
{
    // Rows of the 3 x 3 picture; the centre's sub-windows are upper left (0),
    // upper right (1), lower right (2), lower left (3).
    const RGB24 c = gray(10);
    const RGB24 far = RGB24{255, 0, 255};

    // 0 and 1 tie (one channel 10, 10, 12, 12 / 10, 10, 8, 8); 2 and 3 hold a far colour.
    EXPECT_EQ(centreOf3x3({gray(12), gray(10), gray(8), gray(12), c, gray(8), far, gray(10), far}), gray(11));
    // 1 and 2 tie with means differing in red and green; 0 and 3 hold a far colour.
    const RGB24 redder{12, 10, 10}, greener{10, 12, 10};
    EXPECT_EQ(centreOf3x3({far, redder, redder, c, c, c, far, greener, greener}), (RGB24{11, 10, 10}));
    // 2 and 3 tie; 0 and 1 hold a far colour. Swapping the colours shows the place decides.
    EXPECT_EQ(centreOf3x3({far, far, far, greener, c, redder, greener, c, redder}), (RGB24{11, 10, 10}));
    EXPECT_EQ(centreOf3x3({far, far, far, redder, c, greener, redder, c, greener}), (RGB24{10, 11, 10}));
    // 0 and 2 tie (they share only the centre); 1 and 3 hold a far colour.
    EXPECT_EQ(centreOf3x3({redder, redder, far, c, c, greener, far, c, greener}), (RGB24{11, 10, 10}));
    // All four tie: the left ones have mean 11, the right ones 9.
    EXPECT_EQ(centreOf3x3({gray(12), gray(10), gray(8), gray(12), c, gray(8), gray(12), gray(10), gray(8)}),
              gray(11));
    // A strictly smaller variance wins whatever its place.
    EXPECT_EQ(centreOf3x3({far, far, far, far, c, gray(12), far, gray(12), gray(12)}), gray(11));
}

TEST(KuwaharaNagao, PicturesWithoutInnerPixelsStayUnchanged)
{
    for (const auto& [w, h] : {std::pair{2, 2}, std::pair{1, 9}, std::pair{9, 1}, std::pair{2, 5}, std::pair{1, 1}}) {
        const auto image = rgbFrom(w, h, randomPixels(w, h, 256, 7));
        EXPECT_TRUE(samePixels(*image, *OPKuwaharaNagao().execute(*image, 3, Space::RGB))) << w << "x" << h;
        EXPECT_TRUE(samePixels(*image, *OPKuwaharaNagao().execute(*image, 3, Space::HSV))) << w << "x" << h;
    }
}

TEST(KuwaharaNagao, BorderPixelsKeepTheSourceValues)
{
    const int w = 6, h = 5;
    const auto image = rgbFrom(w, h, randomPixels(w, h, 256, 3));
    for (const Space space : {Space::RGB, Space::HSV}) {
        for (const int iterations : {1, 2, 3}) {
            const auto result = OPKuwaharaNagao().execute(*image, iterations, space);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                        EXPECT_EQ(pixelOf(*result, x, y), pixelOf(*image, x, y));
                    }
                }
            }
        }
    }
}

TEST(KuwaharaNagao, AgreesWithThePlainFilterOnRandomPictures)
{
    unsigned seed = 1;
    for (const int levels : {2, 3, 256}) {
        for (const auto& [w, h] : {std::pair{3, 3}, std::pair{17, 11}, std::pair{4, 30}, std::pair{40, 3}}) {
            const auto image = rgbFrom(w, h, randomPixels(w, h, levels, ++seed));
            for (const Space space : {Space::RGB, Space::HSV}) {
                const bool hsv = space == Space::HSV;
                EXPECT_TRUE(samePixels(*reference(*image, 3, hsv), *OPKuwaharaNagao().execute(*image, 3, space)))
                    << w << "x" << h << " levels " << levels << (hsv ? " HSV" : " RGB");
            }
        }
    }
}

TEST(KuwaharaNagao, LargePicturesFilteredInChunksMatchOneSweep)
{
    // Wide enough that progress is reported several times per iteration.
    const int w = 16384, h = 100;
    const auto pixels = randomPixels(w, h, 4, 99);
    Array2D<RGB24> src, dst;
    src.resize(w, h);
    std::copy(pixels.begin(), pixels.end(), src.data());
    dst.resize(w, h);
    std::copy(pixels.begin(), pixels.end(), dst.data());
    kuwaharaRGB(src, dst);

    int reports = 0;
    const auto result =
        OPKuwaharaNagao().execute(*rgbFrom(w, h, pixels), 1, Space::RGB, ivra::Progress([&](double) {
                                      ++reports;
                                      return true;
                                  }));
    EXPECT_GT(reports, 1);
    EXPECT_TRUE(samePixels(*result, *rgbFrom(w, h, std::vector<RGB24>(dst.data(), dst.data() + dst.size()))));
}

TEST(KuwaharaNagao, ReportsEveryIterationAndCanBeCancelled)
{
    const auto image = uniformRgb(2, 2, {0, 0, 0});
    int reports = 0;
    OPKuwaharaNagao().execute(*image, 5, Space::RGB, ivra::Progress([&](double) {
                                  ++reports;
                                  return true;
                              }));
    EXPECT_EQ(reports, 5);
    EXPECT_THROW(OPKuwaharaNagao().execute(*image, 65536, Space::RGB, ivra::Progress([](double) { return false; })),
                 ivra::Cancelled);
}

TEST(KuwaharaNagao, RefusesIterationCountsOutsideTheDialogRange)
{
    const auto image = uniformRgb(3, 3, {0, 0, 0});
    EXPECT_THROW(OPKuwaharaNagao().execute(*image, 0, Space::RGB), std::invalid_argument);
    EXPECT_THROW(OPKuwaharaNagao().execute(*image, 65537, Space::HSV), std::invalid_argument);
}

// --- HSV mode ----------------------------------------------------------------------

TEST(KuwaharaNagaoHsv, HueMeanWrapsAroundRed)
{
    EXPECT_EQ(kuwaharaHueMean({350, 350, 10, 10}), 0);
    EXPECT_EQ(kuwaharaHueMean({10, 20, 30, 40}), 25);
    EXPECT_EQ(kuwaharaHueMean({300, 60, 60, 60}), 30);    // (2 + 480 + 1080) / 4 = 390 -> 30
    EXPECT_EQ(kuwaharaHueMean({300, 61, 61, 61}), 121);   // 61 does not wrap
    EXPECT_EQ(kuwaharaHueMean({299, 10, 10, 10}), 82);    // nor without a hue of 300 or more
    EXPECT_EQ(kuwaharaHueMean({-1, -1, 300, 300}), 330);  // the undefined hue counts as a low one
    EXPECT_EQ(kuwaharaHueMean({-1, -1, -1, -1}), 0);      // (2 - 4) / 4 truncates to 0
    EXPECT_EQ(kuwaharaHueMean({359, 359, 359, 0}), 359);  // (2 + 1077 + 360) / 4 = 359
    EXPECT_EQ(kuwaharaHueMean({359, 60, 60, 60}), 45);    // (2 + 539 + 1080) / 4 = 405 -> 45
}

TEST(KuwaharaNagaoHsv, PixelConversionTruncatesAndMarksGrays)
{
    const auto hsv = [](RGB24 p) {
        const KuwaharaHsv v = kuwaharaPixelHsv(p);
        return std::vector<int>{v.h, v.s, v.v};
    };
    EXPECT_EQ(hsv({255, 43, 0}), (std::vector<int>{10, 255, 255}));
    EXPECT_EQ(hsv({255, 0, 42}), (std::vector<int>{350, 255, 255}));
    EXPECT_EQ(hsv({0, 0, 255}), (std::vector<int>{240, 255, 255}));
    EXPECT_EQ(hsv({0, 0, 0}), (std::vector<int>{-1, 0, 0}));
    EXPECT_EQ(hsv({128, 128, 128}), (std::vector<int>{-1, 0, 128}));
}

TEST(KuwaharaNagaoHsv, MeanColourOfReddishHuesIsRed)
{
    const RGB24 plus10{255, 43, 0}, minus10{255, 0, 42};
    EXPECT_EQ(kuwaharaHsvMean({minus10, minus10, plus10, plus10}), (RGB24{255, 0, 0}));
    // Through the filter: a 3 x 3 picture of these hues keeps red at its centre.
    EXPECT_EQ(centreOf3x3({minus10, plus10, minus10, plus10, minus10, plus10, minus10, plus10, minus10}, Space::HSV),
              (RGB24{255, 0, 0}));
    // In RGB the mean of the same pixels is not red.
    EXPECT_NE(centreOf3x3({minus10, plus10, minus10, plus10, minus10, plus10, minus10, plus10, minus10}, Space::RGB),
              (RGB24{255, 0, 0}));
}

TEST(KuwaharaNagaoHsv, SinglePrecisionConversions)
{
    float h, s, v;
    rgbToHsvF(1, 0, 0, -1, h, s, v);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(v, 1);
    rgbToHsvF(1, 0, 1, -1, h, s, v);
    EXPECT_EQ(h, 300);
    rgbToHsvF(0.5f, 0.5f, 0.5f, -7, h, s, v);
    EXPECT_EQ(h, -7); // the caller's undefined hue
    EXPECT_EQ(s, 0);

    float r, g, b;
    hsvToRgbF(120, 1, 1, r, g, b);
    EXPECT_EQ(r, 0);
    EXPECT_EQ(g, 1);
    EXPECT_EQ(b, 0);
    hsvToRgbF(360, 1, 0.5f, r, g, b); // 360 is taken as 0
    EXPECT_EQ(r, 0.5f);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
    hsvToRgbF(200, 0, 0.25f, r, g, b);
    EXPECT_EQ(r, 0.25f);
    EXPECT_EQ(g, 0.25f);
    EXPECT_EQ(b, 0.25f);
}
