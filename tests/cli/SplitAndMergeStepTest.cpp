// The smg step through the built ivra-cli: defaults and parameters of the
// Split-And-Merge dialog, result names with the run counter, progress lines on
// standard error.
#include "CliTestSupport.h"

using namespace ivra;

namespace {

class SmgStep : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        // 8 x 8: left half dark red, right half light blue with a little noise.
        writeRgb("in.ppm", 8, 8,
                 [](int x, int y) { return x < 4 ? qRgb(120, 10, 10) : qRgb(30, 60, 200 + (x + y) % 2); });
        writeGray("gray.pgm", 2, 2, [](int, int) { return 7; });
    }
};

} // namespace

TEST_F(SmgStep, DefaultsNameAndLabels)
{
    const clitest::CliRun r = run({path("in.ppm"), "smg", "--json", "-o", path("out.npy"), "--labels", path("labels.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = r.json();
    EXPECT_EQ(o["name"].toString(), "(1) SMG [Split=10, Merge=10, Group=20]");
    EXPECT_EQ(o["type"].toInt(), 3);
    EXPECT_EQ(o["labels"].toInt(), 2);
    EXPECT_EQ(r.err, "split...\nmerge...\nLeaving quadtree...\nQuadTree.GetMaxLevel() 3\nGrouping...\n");

    const ivra::NpyArray labels = npy("labels.npy");
    EXPECT_EQ(labels.shape, (std::vector<std::int64_t>{8, 8}));
    EXPECT_NE(labels.integerAt(0), labels.integerAt(7));
    const ivra::NpyArray out = npy("out.npy");
    EXPECT_EQ(out.integerAt(0), 120);          // R of (0, 0): the left region's mean
    EXPECT_EQ(out.integerAt(2 * 64 + 7), 200); // B of (7, 0): mean 200.5, truncated
}

TEST_F(SmgStep, ParametersAndTheRunCounter)
{
    const clitest::CliRun r = run({path("in.ppm"), "smg:split=0,merge=0,group=0", "smg:group=255", "--json", "-o", path("o.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["name"].toString(), "(2) SMG [Split=10, Merge=10, Group=255]");
    EXPECT_EQ(r.json()["labels"].toInt(), 2); // the halves differ by 330 > 255

    const clitest::CliRun single = run({path("in.ppm"), "smg:split=0,merge=0,group=0", "--json", "-o", path("p.npy")});
    ASSERT_EQ(single.status, 0) << single.err.toStdString();
    EXPECT_EQ(single.json()["name"].toString(), "(1) SMG [Split=0, Merge=0, Group=0]");
    EXPECT_GT(single.json()["labels"].toInt(), 32);
}
