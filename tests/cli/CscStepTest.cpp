// The csc step through the built ivra-cli: the dialog's defaults and result names
// (one counter per process for both variants), labels of the segmentation.
#include "CliTestSupport.h"

using namespace ivra;

namespace {

class CscStepTest : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        // 20 x 12: left nine columns red, the rest blue.
        writeRgb("in.ppm", 20, 12, [](int x, int) { return x < 9 ? qRgb(200, 10, 10) : qRgb(10, 10, 200); });
        writeGray("gray.pgm", 2, 2, [](int, int) { return 9; });
    }
};

TEST_F(CscStepTest, SegmentsWithTheDialogsDefaultsAndNamesTheResult)
{
    const auto r = run({"--json", path("in.ppm"), "csc", "-o", path("out.npy"), "--labels", path("labels.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["name"].toString(), "(1) CSC RGB [Threshold=25]");
    const ivra::NpyArray labels = npy("labels.npy");
    ASSERT_EQ(labels.shape, (std::vector<std::int64_t>{12, 20}));
    const std::int64_t red = labels.integerAt(5 * 20 + 3), blue = labels.integerAt(5 * 20 + 15);
    EXPECT_NE(red, 0);
    EXPECT_NE(blue, 0);
    EXPECT_NE(red, blue);
    const ivra::NpyArray out = npy("out.npy");
    EXPECT_EQ(out.integerAt(5 * 20 + 3), 200);           // R of (3, 5); planes one after another
    EXPECT_EQ(out.integerAt(2 * 240 + 5 * 20 + 15), 200); // B of (15, 5)
}

TEST_F(CscStepTest, OneCounterForBothVariantsAndThresholdZero)
{
    const auto r = run({"--json", path("in.ppm"), "csc:space=hsv", "csc:threshold=0", "-o", path("out.npy"),
                        "--labels", path("labels.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["name"].toString(), "(2) CSC RGB [Threshold=0]");
    // Threshold 0: no two pixels are similar, so nothing is labelled and all is black.
    const ivra::NpyArray labels = npy("labels.npy");
    const ivra::NpyArray out = npy("out.npy");
    for (int i = 0; i < 240; ++i) {
        ASSERT_EQ(labels.integerAt(i), 0);
        ASSERT_EQ(out.integerAt(i), 0);
    }
}

} // namespace
