// The histogram steps through the built ivra-cli: defaults, names and shapes as
// the dialogs give them.
#include "CliTestSupport.h"

#include <QJsonArray>

using namespace ivra;

namespace {

class HistogramStepTest : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        // 4 x 1 RGB: black, white, (127, 128, 0), (0, 255, 0).
        const QRgb colours[] = {qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(127, 128, 0), qRgb(0, 255, 0)};
        writeRgb("in.ppm", 4, 1, [&](int x, int) { return colours[x]; });
        writeGray("gray.pgm", 3, 1, [](int x, int) { return x == 0 ? 0 : 14 + x; });
    }

    // The --json summary of a successful run.
    QJsonObject summary(QStringList args) const
    {
        const clitest::CliRun r = run(args << "--json");
        EXPECT_EQ(r.status, 0) << args.join(' ').toStdString() << ": " << r.err.toStdString();
        return r.json();
    }
};

TEST_F(HistogramStepTest, GrayHistogramDefaultsTo256BinsAndTakesTheDialogsChoices)
{
    QJsonObject o = summary({path("gray.pgm"), "histogram", "-o", path("h.npy")});
    EXPECT_EQ(o["type"].toInt(), 6);
    EXPECT_EQ(o["bins"].toInt(), 256);
    EXPECT_EQ(o["name"].toString(), "Histogram");

    o = summary({path("gray.pgm"), "histogram:bins=16", "-o", path("h16.npy")});
    EXPECT_EQ(o["bins"].toInt(), 16);
    const ivra::NpyArray a = npy("h16.npy");
    EXPECT_EQ(a.shape, (std::vector<std::int64_t>{16}));
    EXPECT_EQ(a.integerAt(0), 2);
    EXPECT_EQ(a.integerAt(1), 1);
}

TEST_F(HistogramStepTest, ColourHistogramOfAnRGBPictureStartsWithThreeChannels)
{
    const QJsonObject o = summary({path("in.ppm"), "color-histogram", "-o", path("c.npy")});
    EXPECT_EQ(o["type"].toInt(), 6);
    EXPECT_EQ(o["name"].toString(), "Histogram Red 256");
    const QJsonArray names = o["names"].toArray();
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(names[1].toString(), "Histogram Green 256");
    EXPECT_EQ(names[2].toString(), "Histogram Blue 256");
    const ivra::NpyArray a = npy("c.npy");
    EXPECT_EQ(a.shape, (std::vector<std::int64_t>{3, 256}));
    EXPECT_EQ(a.integerAt(256 + 255), 2); // green 255 twice

    const QJsonObject o4 = summary({path("in.ppm"), "color-histogram:bins=4", "-o", path("c4.png")});
    EXPECT_EQ(o4["name"].toString(), "Histogram Red 4");
    EXPECT_EQ(QImage(path("c4.png")).size(), QSize(276, 3 * 190));
}

TEST_F(HistogramStepTest, StaticAndFuzzyRGBOnTheChosenCube)
{
    QJsonObject o = summary({path("in.ppm"), "color-histogram:kind=static", "-o", path("s.npy")});
    EXPECT_EQ(o["type"].toInt(), 8);
    EXPECT_EQ(o["bins"].toInt(), 8);
    EXPECT_EQ(o["name"].toString(), "Static RGB-Histogram 2x2x2");
    const ivra::NpyArray s = npy("s.npy");
    EXPECT_EQ(s.type, ivra::NpyType::Float32);
    EXPECT_EQ(s.realAt(0), 1.0); // black
    EXPECT_EQ(s.realAt(2), 2.0); // (127, 128, 0) and (0, 255, 0)
    EXPECT_EQ(s.realAt(7), 1.0); // white

    o = summary({path("in.ppm"), "color-histogram:kind=fuzzy,cube=8", "-o", path("f.png")});
    EXPECT_EQ(o["bins"].toInt(), 512);
    EXPECT_EQ(o["name"].toString(), "Fuzzy RGB-Histogram 8x8x8");
    EXPECT_EQ(QImage(path("f.png")).size(), QSize(532, 190));
}

TEST_F(HistogramStepTest, HSVPictureStartsWithTheFuzzyHistogram)
{
    QJsonObject o = summary({path("in.ppm"), "hsv", "color-histogram", "-o", path("h.npy")});
    EXPECT_EQ(o["type"].toInt(), 7);
    EXPECT_EQ(o["bins"].toInt(), 16);
    EXPECT_EQ(o["name"].toString(), "Fuzzy HSV-Histogram 6x2+4");
    const ivra::NpyArray h = npy("h.npy");
    EXPECT_EQ(h.type, ivra::NpyType::Float64);
    EXPECT_EQ(h.realAt(0), 1.0); // black in gray bin 0

    o = summary({path("in.ppm"), "hsv", "color-histogram:kind=static,layout=6x2+8", "-o", path("s.png")});
    EXPECT_EQ(o["bins"].toInt(), 20);
    EXPECT_EQ(o["name"].toString(), "Static HSV-Histogram 6x2+8");
    EXPECT_EQ(QImage(path("s.png")).size(), QSize(500, 300));

    o = summary({path("in.ppm"), "hsv", "color-histogram:kind=channel,bins=16", "-o", path("ch.npy")});
    EXPECT_EQ(o["name"].toString(), "Histogram Hue 16");
    EXPECT_EQ(o["names"].toArray()[2].toString(), "Histogram Value 16");
}

} // namespace
