#include "CSCTestPictures.h"

#include "csc/CSCRegionOutput.h"
#include "csc/OPCSC.h"
#include "csc/ipcCSC.h"

#include <gtest/gtest.h>

#include <set>

using namespace ivra;

namespace {

using csc_test::toImage;

std::vector<RGB24> flat(int w, int h, RGB24 c) { return std::vector<RGB24>(static_cast<std::size_t>(w) * h, c); }

OPCSC::Result run(const std::vector<RGB24>& px, int w, int h, OPCSC::Space space, int threshold = 25)
{
    return OPCSC().execute(*toImage(px, w, h), space, threshold);
}

RGB24 colourAt(const ImageSegmented& s, int i)
{
    return {static_cast<std::uint8_t>(s.red()[i]), static_cast<std::uint8_t>(s.green()[i]),
            static_cast<std::uint8_t>(s.blue()[i])};
}

TEST(OPCSC, UniformPictureIsOneRegionAwayFromTheBorder)
{
    const int w = 37, h = 23;
    for (const auto space : {OPCSC::Space::RGB, OPCSC::Space::HSV}) {
        const RGB24 grey{120, 120, 120};
        const auto result = run(flat(w, h, grey), w, h, space);
        ASSERT_TRUE(result.complete);
        const ImageSegmented& s = *result.image;
        const std::uint32_t inner = s.labels.at(w / 2, h / 2);
        EXPECT_NE(inner, 0u);
        for (int y = 2; y < h - 2; ++y)
            for (int x = 2; x < w - 2; ++x)
                ASSERT_EQ(s.labels.at(x, y), inner) << x << "," << y;
        for (int i = 0; i < w * h; ++i) {
            const RGB24 c = colourAt(s, i);
            if (s.labels[i] == 0)
                EXPECT_EQ(c, (RGB24{0, 0, 0}));
            else if (space == OPCSC::Space::RGB)
                EXPECT_EQ(c, grey);
            else // through the 6-bit HSV table and back
                EXPECT_TRUE(c.r == c.g && c.g == c.b && c.r >= 118 && c.r <= 122) << int(c.r);
            EXPECT_EQ(s.sourcePixels[i], grey);
        }
    }
}

TEST(OPCSC, ThresholdZeroLeavesEverythingBlackAndUnlabelled)
{
    const auto result = run(flat(20, 20, {10, 200, 30}), 20, 20, OPCSC::Space::RGB, 0);
    ASSERT_TRUE(result.complete);
    for (int i = 0; i < 400; ++i) {
        EXPECT_EQ(result.image->labels[i], 0u);
        EXPECT_EQ(colourAt(*result.image, i), (RGB24{0, 0, 0}));
    }
}

TEST(OPCSC, TwoFlatColoursSplitAlongTheirBorder)
{
    const int w = 40, h = 30;
    const RGB24 red{200, 20, 20}, blue{20, 20, 200};
    std::vector<RGB24> px(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[y * w + x] = x < 17 ? red : blue;
    for (const auto space : {OPCSC::Space::RGB, OPCSC::Space::HSV}) {
        const auto result = run(px, w, h, space);
        const ImageSegmented& s = *result.image;
        std::set<std::uint32_t> left, right;
        for (int y = 2; y < h - 2; ++y)
            for (int x = 2; x < w - 2; ++x)
                (x < 17 ? left : right).insert(s.labels.at(x, y));
        ASSERT_EQ(left.size(), 1u);
        ASSERT_EQ(right.size(), 1u);
        EXPECT_NE(*left.begin(), *right.begin());
        for (int i = 0; i < w * h; ++i) {
            if (s.labels[i] == 0)
                continue;
            const RGB24 expected = (i % w) < 17 ? red : blue;
            if (space == OPCSC::Space::RGB) {
                EXPECT_EQ(colourAt(s, i), expected) << i;
            } else { // mean HSV converted back: the same hue, close to the source
                const RGB24 c = colourAt(s, i);
                EXPECT_EQ(c.r > c.b, expected.r > expected.b) << i;
            }
        }
    }
}

TEST(OPCSC, LabelsAreDenseAndInRootOrder)
{
    // A grey field with a small red spot: the field's root lies high in the pyramid and
    // is numbered before the spot's.
    const int w = 32, h = 32;
    auto px = flat(w, h, {90, 90, 90});
    px[10 * w + 9] = px[10 * w + 10] = {250, 0, 0};
    const auto image = toImage(px, w, h);

    ipcCSCRGB csc;
    csc.resize(w, h);
    csc.similarity.squaredThreshold = 25 * 25;
    csc.run(w, h, reinterpret_cast<const std::uint8_t*>(px.data()), 0, 0, w, h);
    std::uint32_t roots = 0;
    for (std::uint32_t e = 0; e < csc.store()->usedElements(); ++e)
        roots += (csc.store()->element(e).flags & ipcCodeelement::rootFlag) != 0;
    std::vector<std::uint32_t> labels(w * h);
    const auto colours = paintRegions(*csc.store(), 0, 0, w, h, labels.data());
    ASSERT_EQ(colours.size(), roots + 1);

    std::set<std::uint32_t> present(labels.begin(), labels.end());
    present.erase(0);
    ASSERT_FALSE(present.empty());
    EXPECT_LE(*present.rbegin(), roots);
    const std::uint32_t field = labels[20 * w + 20], spot = labels[10 * w + 10];
    EXPECT_NE(spot, 0u);
    EXPECT_LT(field, spot);
    EXPECT_EQ(colours[field], packRGB(90, 90, 90));
    EXPECT_EQ(colours[spot], packRGB(250, 0, 0));

    const auto result = OPCSC().execute(*image, OPCSC::Space::RGB, 25);
    EXPECT_EQ(std::vector<std::uint32_t>(result.image->labels.data(), result.image->labels.data() + w * h), labels);
}

// The store may start in memory lent by the caller and move out when it outgrows it;
// where its pools lie must not change a single value.
TEST(OPCSC, LentMemoryChangesNothingWhereverThePoolEnds)
{
    const int w = 120, h = 90;
    const auto px = csc_test::patchyPicture(w, h, 7, 12, 4);
    const auto* rgb = reinterpret_cast<const std::uint8_t*>(px.data());
    const auto paint = [&](std::size_t lentBytes, bool hsv) {
        std::vector<std::uint64_t> block(lentBytes / 8);
        std::vector<HSVPixel> hsvPixels(static_cast<std::size_t>(w) * h);
        imageRgbToHsv(w, h, rgb, hsvPixels.data());
        ipcCSCRGB rgbRun;
        ipcCSCHSV hsvRun;
        ipcCSC& csc = hsv ? static_cast<ipcCSC&>(hsvRun) : rgbRun;
        csc.resize(w, h);
        rgbRun.similarity.squaredThreshold = 25 * 25;
        csc.store()->lend(block.empty() ? nullptr : block.data(), block.size() * 8);
        if (hsv)
            hsvRun.run(w, h, hsvPixels.data(), 0, 0, w, h);
        else
            rgbRun.run(w, h, rgb, 0, 0, w, h);
        std::vector<std::uint32_t> labels(static_cast<std::size_t>(w) * h);
        auto colours = paintRegions(*csc.store(), 0, 0, w, h, labels.data());
        colours.insert(colours.end(), labels.begin(), labels.end());
        return std::make_pair(colours, csc.store()->usedElements());
    };
    const std::size_t table = (static_cast<std::size_t>(ipcIslandHierarchy(w, h).islandCount()) + 1) * 4;
    for (const bool hsv : {false, true}) {
        const auto own = paint(0, hsv);
        ASSERT_GT(own.second, 3000); // so that the small blocks below overflow
        for (const std::size_t lent : {table / 2, table + 256 + 2000 * 20, table + 256 + 3000 * 20,
                                       table + 256 + static_cast<std::size_t>(own.second) * 40})
            EXPECT_EQ(paint(lent, hsv), own) << (hsv ? "HSV " : "RGB ") << lent;
    }
}

TEST(OPCSC, OverrunGivesABlackUnlabelledResultAndReportsIt)
{
    const auto image = toImage(csc_test::patchyPicture(30, 30, 3, 4, 6), 30, 30);
    testing::internal::CaptureStderr();
    const auto result = OPCSC().execute(*image, OPCSC::Space::RGB, 25, {}, 0.3);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.message, "Codeelement overrun...");
    EXPECT_EQ(err, "Codeelement overrun...\n");
    ASSERT_TRUE(result.image);
    for (int i = 0; i < 900; ++i) {
        EXPECT_EQ(result.image->labels[i], 0u);
        EXPECT_EQ(colourAt(*result.image, i), (RGB24{0, 0, 0}));
    }
}

TEST(OPCSC, RefusesBadParametersAndOversizedPictures)
{
    const auto image = toImage(flat(4, 4, {1, 2, 3}), 4, 4);
    EXPECT_THROW(OPCSC().execute(*image, OPCSC::Space::RGB, -1), std::invalid_argument);
    EXPECT_THROW(OPCSC().execute(*image, OPCSC::Space::RGB, 256), std::invalid_argument);
    const ImageRGB strip(16385, 1); // covered square 32768: the store would not fit
    EXPECT_FALSE(OPCSC::fits(16385, 1));
    EXPECT_TRUE(OPCSC::fits(16384, 16384));
    EXPECT_THROW(OPCSC().execute(strip, OPCSC::Space::HSV, 25), std::length_error);
}

TEST(OPCSC, EmptyAndTinyPictures)
{
    const ImageRGB empty(0, 0);
    const auto none = OPCSC().execute(empty, OPCSC::Space::RGB, 25);
    EXPECT_TRUE(none.complete);
    EXPECT_EQ(none.image->width(), 0);

    const auto one = run(flat(1, 1, {5, 5, 5}), 1, 1, OPCSC::Space::RGB);
    EXPECT_EQ(one.image->labels[0], 0u); // a single pixel forms no element
    const auto two = run(flat(2, 1, {5, 5, 5}), 2, 1, OPCSC::Space::RGB);
    EXPECT_NE(two.image->labels[0], 0u);
    EXPECT_EQ(two.image->labels[0], two.image->labels[1]);
}

TEST(OPCSC, CancelStopsTheRun)
{
    const auto image = toImage(flat(64, 64, {5, 5, 5}), 64, 64);
    const ivra::Progress cancel([](double) { return false; });
    EXPECT_THROW(OPCSC().execute(*image, OPCSC::Space::RGB, 25, cancel), ivra::Cancelled);
}

TEST(OPCSC, ResultNames)
{
    EXPECT_EQ(OPCSC::resultName(1, OPCSC::Space::RGB, 25), "(1) CSC RGB [Threshold=25]");
    EXPECT_EQ(OPCSC::resultName(2, OPCSC::Space::HSV, 25), "(2) CSC HSV");
}

} // namespace
