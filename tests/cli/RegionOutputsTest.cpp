// The segmentation outputs of ivra-cli: region table, border picture, "regions" in --json.
#include "CliTestSupport.h"

#include <QDir>

using namespace ivra;

namespace {

class RegionOutputsTest : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        // Two regions: red columns 0-1, blue columns 2-3.
        writeRgb("in.ppm", 4, 2, [](int x, int) { return x < 2 ? qRgb(250, 0, 0) : qRgb(0, 0, 240); });
    }
    QStringList segment(const QStringList& more) const
    {
        return QStringList{path("in.ppm"), "region-growing", "-o", path("out.png")} + more;
    }
};

} // namespace

TEST_F(RegionOutputsTest, TableBordersAndRegionCountOfTheFinalResult)
{
    const clitest::CliRun r = run(segment({"--regions", path("t.csv"), "--borders", path("b.png"), "--border-color",
                                           "1,2,3", "--json"}));
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["regions"].toInt(), 2);
    EXPECT_EQ(fileBytes("t.csv"),
              "label,pixels,x_min,y_min,x_max,y_max,centroid_x,centroid_y,mean_red,mean_green,mean_blue,"
              "region_red,region_green,region_blue,perimeter\n"
              "1,4,0,0,1,1,0.500000,0.500000,250.000000,0.000000,0.000000,250,0,0,8\n"
              "2,4,2,0,3,1,2.500000,0.500000,0.000000,0.000000,240.000000,0,0,240,8\n");
    // Borders over the source, in the colour asked for or yellow, by the extension's format.
    ASSERT_EQ(run(segment({"--borders", path("y.ppm")})).status, 0);
    for (const auto& [file, color] : {std::pair{"b.png", qRgb(1, 2, 3)}, {"y.ppm", qRgb(255, 255, 0)}}) {
        const QImage b(path(file));
        ASSERT_EQ(b.size(), QSize(4, 2)) << file;
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(b.pixel(x, 1), x == 1 || x == 2 ? color : x < 2 ? qRgb(250, 0, 0) : qRgb(0, 0, 240)) << file;
    }
}

TEST_F(RegionOutputsTest, RefusalsWriteNothing)
{
    const QString t = path("t.csv"), b = path("b.png");
    const std::vector<QStringList> refused = {
        {path("in.ppm"), "-o", path("out.png"), "--regions", t}, {path("in.ppm"), "-o", path("o.png"), "--borders", b},
        segment({"--regions", path("t.txt")}),
        segment({"--borders", path("b.bmp")}),
        segment({"--borders", dir.path() + "/./out.png"}),
        segment({"--border-color", "1,2,3"}), // without --borders
        segment({"--borders", b, "--border-color", "256,0,0"}),
        segment({"--borders", b, "--border-color", "1,2"}),
        segment({"--borders", b, "--border-color", "1,2,3,4"}),
        segment({"--borders", b, "--border-color", "-1,2,3"}),
        segment({"--borders", b, "--border-color", "1,,3"}),
        segment({"--borders", b, "--regions", path("no/dir/t.csv")}),
    };
    for (const QStringList& args : refused) {
        expectRefused(args);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"in.ppm"})
            << args.join(' ').toStdString();
    }
    // The table and the border picture reaching one file through a link.
    writeFile("t.csv", "keep");
    ASSERT_TRUE(QFile::link(t, b));
    expectRefused(segment({"--regions", t, "--borders", b}), "two outputs");
    EXPECT_EQ(fileBytes("t.csv"), "keep");
}
