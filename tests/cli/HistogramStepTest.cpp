// The histogram steps through the built ivra-cli: defaults, names and shapes as
// the dialogs give them, and refusals of what the dialogs would not offer.
#include "Npy.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class HistogramStepTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // 4 x 1 RGB: black, white, (127, 128, 0), (0, 255, 0).
        QImage picture(4, 1, QImage::Format_RGB32);
        picture.setPixel(0, 0, qRgb(0, 0, 0));
        picture.setPixel(1, 0, qRgb(255, 255, 255));
        picture.setPixel(2, 0, qRgb(127, 128, 0));
        picture.setPixel(3, 0, qRgb(0, 255, 0));
        ASSERT_TRUE(picture.save(path("in.ppm")));
        QImage gray(3, 1, QImage::Format_Grayscale8);
        gray.scanLine(0)[0] = 0;
        gray.scanLine(0)[1] = 15;
        gray.scanLine(0)[2] = 16;
        ASSERT_TRUE(gray.save(path("gray.pgm")));
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    // Runs the CLI with --json; returns the summary, or an empty object on failure.
    QJsonObject run(QStringList args, int* status = nullptr, QByteArray* err = nullptr) const
    {
        args << "--json";
        QProcess p;
        p.start(QStringLiteral(IVRA_CLI_PATH), args);
        p.waitForFinished(60000);
        if (status)
            *status = p.exitCode();
        if (err)
            *err = p.readAllStandardError();
        return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    }

    QTemporaryDir dir;
};

TEST_F(HistogramStepTest, GrayHistogramDefaultsTo256BinsAndTakesTheDialogsChoices)
{
    QJsonObject o = run({path("gray.pgm"), "histogram", "-o", path("h.npy")});
    EXPECT_EQ(o["type"].toInt(), 6);
    EXPECT_EQ(o["bins"].toInt(), 256);
    EXPECT_EQ(o["name"].toString(), "Histogram");

    o = run({path("gray.pgm"), "histogram:bins=16", "-o", path("h16.npy")});
    EXPECT_EQ(o["bins"].toInt(), 16);
    const ivra::NpyArray a = ivra::readNpy(path("h16.npy"));
    EXPECT_EQ(a.shape, (std::vector<std::int64_t>{16}));
    EXPECT_EQ(a.integerAt(0), 2);
    EXPECT_EQ(a.integerAt(1), 1);

    int status = 0;
    run({path("gray.pgm"), "histogram:bins=8", "-o", path("bad.npy")}, &status);
    EXPECT_EQ(status, 2); // the gray dialog offers 16..256 only
    run({path("in.ppm"), "histogram", "-o", path("bad.npy")}, &status);
    EXPECT_EQ(status, 2);
}

TEST_F(HistogramStepTest, ColourHistogramOfAnRGBPictureStartsWithThreeChannels)
{
    const QJsonObject o = run({path("in.ppm"), "color-histogram", "-o", path("c.npy")});
    EXPECT_EQ(o["type"].toInt(), 6);
    EXPECT_EQ(o["name"].toString(), "Histogram Red 256");
    const QJsonArray names = o["names"].toArray();
    ASSERT_EQ(names.size(), 3);
    EXPECT_EQ(names[1].toString(), "Histogram Green 256");
    EXPECT_EQ(names[2].toString(), "Histogram Blue 256");
    const ivra::NpyArray a = ivra::readNpy(path("c.npy"));
    EXPECT_EQ(a.shape, (std::vector<std::int64_t>{3, 256}));
    EXPECT_EQ(a.integerAt(256 + 255), 2); // green 255 twice

    const QJsonObject o4 = run({path("in.ppm"), "color-histogram:bins=4", "-o", path("c4.png")});
    EXPECT_EQ(o4["name"].toString(), "Histogram Red 4");
    EXPECT_EQ(QImage(path("c4.png")).size(), QSize(276, 3 * 190));
}

TEST_F(HistogramStepTest, StaticAndFuzzyRGBOnTheChosenCube)
{
    QJsonObject o = run({path("in.ppm"), "color-histogram:kind=static", "-o", path("s.npy")});
    EXPECT_EQ(o["type"].toInt(), 8);
    EXPECT_EQ(o["bins"].toInt(), 8);
    EXPECT_EQ(o["name"].toString(), "Static RGB-Histogram 2x2x2");
    const ivra::NpyArray s = ivra::readNpy(path("s.npy"));
    EXPECT_EQ(s.type, ivra::NpyType::Float32);
    EXPECT_EQ(s.realAt(0), 1.0); // black
    EXPECT_EQ(s.realAt(2), 2.0); // (127, 128, 0) and (0, 255, 0)
    EXPECT_EQ(s.realAt(7), 1.0); // white

    o = run({path("in.ppm"), "color-histogram:kind=fuzzy,cube=8", "-o", path("f.png")});
    EXPECT_EQ(o["bins"].toInt(), 512);
    EXPECT_EQ(o["name"].toString(), "Fuzzy RGB-Histogram 8x8x8");
    EXPECT_EQ(QImage(path("f.png")).size(), QSize(532, 190));

    int status = 0;
    QByteArray err;
    run({path("in.ppm"), "color-histogram:kind=static,layout=6x2+4", "-o", path("x.npy")}, &status, &err);
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(err.contains("layout")) << err.toStdString();
    run({path("in.ppm"), "color-histogram:kind=static,cube=3", "-o", path("x.npy")}, &status);
    EXPECT_EQ(status, 2);
    run({path("in.ppm"), "color-histogram:kind=dynamic", "-o", path("x.npy")}, &status);
    EXPECT_EQ(status, 2);
}

TEST_F(HistogramStepTest, HSVPictureStartsWithTheFuzzyHistogram)
{
    QJsonObject o = run({path("in.ppm"), "hsv", "color-histogram", "-o", path("h.npy")});
    EXPECT_EQ(o["type"].toInt(), 7);
    EXPECT_EQ(o["bins"].toInt(), 16);
    EXPECT_EQ(o["name"].toString(), "Fuzzy HSV-Histogram 6x2+4");
    const ivra::NpyArray h = ivra::readNpy(path("h.npy"));
    EXPECT_EQ(h.type, ivra::NpyType::Float64);
    EXPECT_EQ(h.realAt(0), 1.0); // black in gray bin 0

    o = run({path("in.ppm"), "hsv", "color-histogram:kind=static,layout=6x2+8", "-o", path("s.png")});
    EXPECT_EQ(o["bins"].toInt(), 20);
    EXPECT_EQ(o["name"].toString(), "Static HSV-Histogram 6x2+8");
    EXPECT_EQ(QImage(path("s.png")).size(), QSize(500, 300));

    o = run({path("in.ppm"), "hsv", "color-histogram:kind=channel,bins=16", "-o", path("ch.npy")});
    EXPECT_EQ(o["name"].toString(), "Histogram Hue 16");
    EXPECT_EQ(o["names"].toArray()[2].toString(), "Histogram Value 16");

    int status = 0;
    run({path("in.ppm"), "hsv", "color-histogram:cube=2", "-o", path("x.npy")}, &status);
    EXPECT_EQ(status, 2);
    run({path("gray.pgm"), "color-histogram", "-o", path("x.npy")}, &status);
    EXPECT_EQ(status, 2);
}

} // namespace
