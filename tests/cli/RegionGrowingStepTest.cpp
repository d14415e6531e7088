// The region-growing step through the built ivra-cli: its parameter, gray and
// colour input, result name and labels.
#include "CliTestSupport.h"

using namespace ivra;

namespace {

class RegionGrowingStep : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        // 4 x 1: two equal reds, then (200, 0, 0) and (200, 0, 60).
        const QRgb colours[] = {qRgb(255, 0, 0), qRgb(255, 0, 0), qRgb(200, 0, 0), qRgb(200, 0, 60)};
        writeRgb("in.ppm", 4, 1, [&](int x, int) { return colours[x]; });
        const int grays[] = {10, 20, 100};
        writeGray("gray.pgm", 3, 1, [&](int x, int) { return grays[x]; });
    }
};

} // namespace

TEST_F(RegionGrowingStep, SpanDecidesTheRegionsAndTheResultIsNamedLikeTheDialogs)
{
    const clitest::CliRun r = run({path("in.ppm"), "region-growing:span=0", "--json", "-o", path("s0.npy"), "--labels",
                 path("l0.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(values("l0.npy"), (std::vector<std::int64_t>{1, 1, 2, 3}));
    const QJsonObject o = r.json();
    EXPECT_EQ(o["name"].toString(), "Region Growing");
    EXPECT_EQ(o["type"].toInt(), 3);
    EXPECT_EQ(o["labels"].toInt(), 3);

    // The default span (50) joins nothing more here: the steps of 55 and 60 are both above it.
    ASSERT_EQ(run({path("in.ppm"), "region-growing", "-o", path("d.npy"), "--labels", path("ld.npy")}).status, 0);
    EXPECT_EQ(values("ld.npy"), (std::vector<std::int64_t>{1, 1, 2, 3}));
    // Span 60 takes (200, 0, 0) into the red region (how regions grow and their
    // means are the core's tests).
    ASSERT_EQ(run({path("in.ppm"), "region-growing:span=60", "-o", path("s60.npy"), "--labels", path("l60.npy")})
                  .status,
              0);
    EXPECT_EQ(values("l60.npy"), (std::vector<std::int64_t>{1, 1, 1, 2}));
}

TEST_F(RegionGrowingStep, GrayInputGivesAGraySegmentation)
{
    const clitest::CliRun r = run({path("gray.pgm"), "region-growing:span=10", "-o", path("g.npy"), "--labels", path("gl.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(values("gl.npy"), (std::vector<std::int64_t>{1, 1, 2}));
    EXPECT_EQ(values("g.npy"), (std::vector<std::int64_t>{15, 15, 100, 15, 15, 100, 15, 15, 100}));
}
