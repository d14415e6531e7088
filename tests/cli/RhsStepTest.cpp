// The rhs step through the built ivra-cli: defaults of the dialog, the
// dialog's result name with a run counter per process, labels of the segmentation.
#include "CliTestSupport.h"

using namespace ivra;

namespace {

class RhsStepTest : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        // 8 x 4: left five columns red, right three blue.
        writeRgb("in.ppm", 8, 4, [](int x, int) { return x < 5 ? qRgb(255, 0, 0) : qRgb(0, 0, 255); });
        writeGray("gray.pgm", 2, 2, [](int, int) { return 9; });
    }
};

TEST_F(RhsStepTest, SegmentsWithTheGivenParametersAndNamesTheResult)
{
    const auto r = run({"--json", path("in.ppm"), "rhs:gt=3,min-peak=0,min-region=0", "-o", path("out.npy"),
                        "--labels", path("labels.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["name"].toString(), "(1) RHS [GT=3, MinSplitPeak=0, MinRegionSize=0]");
    EXPECT_EQ(r.json()["labels"].toInt(), 2);
    const ivra::NpyArray labels = npy("labels.npy");
    ASSERT_EQ(labels.shape, (std::vector<std::int64_t>{4, 8}));
    // The larger red cluster is split off first and taken last: blue is region 1.
    EXPECT_EQ(labels.integerAt(0), 2);
    EXPECT_EQ(labels.integerAt(7), 1);
    const ivra::NpyArray out = npy("out.npy");
    EXPECT_EQ(out.integerAt(0), 255);          // R of (0, 0)
    EXPECT_EQ(out.integerAt(2 * 32 + 7), 255); // B of (7, 0)
}

TEST_F(RhsStepTest, DefaultsAreTheDialogsAndTheCounterCountsRunsOfTheProcess)
{
    // 32 pixels are below the default Min.Region of 300: one region.
    const auto r = run({"--json", path("in.ppm"), "rhs", "rhs:gt=0", "-o", path("out.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["name"].toString(), "(2) RHS [GT=0, MinSplitPeak=200, MinRegionSize=300]");
    EXPECT_EQ(r.json()["labels"].toInt(), 1);
}

} // namespace
