// The region-growing step through the built ivra-cli: parameters, accepted
// inputs, result name and labels.
#include "Npy.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliOutcome {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

class RegionGrowingStep : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // 4 x 1: two equal reds, then (200, 0, 0) and (200, 0, 60).
        QImage picture(4, 1, QImage::Format_RGB32);
        picture.setPixel(0, 0, qRgb(255, 0, 0));
        picture.setPixel(1, 0, qRgb(255, 0, 0));
        picture.setPixel(2, 0, qRgb(200, 0, 0));
        picture.setPixel(3, 0, qRgb(200, 0, 60));
        ASSERT_TRUE(picture.save(path("in.ppm")));
        QImage gray(3, 1, QImage::Format_Grayscale8);
        gray.scanLine(0)[0] = 10;
        gray.scanLine(0)[1] = 20;
        gray.scanLine(0)[2] = 100;
        ASSERT_TRUE(gray.save(path("gray.pgm")));
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    CliOutcome run(const QStringList& args) const
    {
        QProcess p;
        p.start(QStringLiteral(IVRA_CLI_PATH), args);
        CliOutcome r;
        if (!p.waitForFinished(60000))
            return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }

    std::vector<std::int64_t> values(const QString& name) const
    {
        const ivra::NpyArray a = ivra::readNpy(path(name));
        std::vector<std::int64_t> v;
        for (std::int64_t i = 0; i < static_cast<std::int64_t>(a.data.size()) / 4; ++i)
            v.push_back(a.integerAt(i));
        return v;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(RegionGrowingStep, SpanDecidesTheRegionsAndTheResultIsNamedLikeTheDialogs)
{
    CliOutcome r = run({path("in.ppm"), "region-growing:span=0", "--json", "-o", path("s0.npy"), "--labels",
                 path("l0.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(values("l0.npy"), (std::vector<std::int64_t>{1, 1, 2, 3}));
    const QJsonObject o = QJsonDocument::fromJson(r.out).object();
    EXPECT_EQ(o["name"].toString(), "Region Growing");
    EXPECT_EQ(o["type"].toInt(), 3);
    EXPECT_EQ(o["labels"].toInt(), 3);

    // The default span (50) joins nothing more here: the steps of 55 and 60 are both above it.
    ASSERT_EQ(run({path("in.ppm"), "region-growing", "-o", path("d.npy"), "--labels", path("ld.npy")}).status, 0);
    EXPECT_EQ(values("ld.npy"), (std::vector<std::int64_t>{1, 1, 2, 3}));
    // Span 60 takes (200, 0, 0) into the red region, but not (200, 0, 60): it is
    // 60 from its neighbour yet 81 from the seed.
    ASSERT_EQ(run({path("in.ppm"), "region-growing:span=60", "-o", path("s60.npy"), "--labels", path("l60.npy")})
                  .status,
              0);
    EXPECT_EQ(values("l60.npy"), (std::vector<std::int64_t>{1, 1, 1, 2}));
    // Planes R, G, B: the mean (236, 0, 0) of 255, 255, 200, and (200, 0, 60).
    EXPECT_EQ(values("s60.npy"), (std::vector<std::int64_t>{236, 236, 236, 200, 0, 0, 0, 0, 0, 0, 0, 60}));
}

TEST_F(RegionGrowingStep, GrayInputGivesAGraySegmentation)
{
    CliOutcome r = run({path("gray.pgm"), "region-growing:span=10", "-o", path("g.npy"), "--labels", path("gl.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(values("gl.npy"), (std::vector<std::int64_t>{1, 1, 2}));
    EXPECT_EQ(values("g.npy"), (std::vector<std::int64_t>{15, 15, 100, 15, 15, 100, 15, 15, 100}));
}

TEST_F(RegionGrowingStep, RefusesSpansOutsideTheDialogsRangeAndHsvInput)
{
    for (const char* step : {"region-growing:span=256", "region-growing:span=-1", "region-growing:spam=3"}) {
        const CliOutcome r = run({path("in.ppm"), step, "-o", path("x.npy")});
        EXPECT_EQ(r.status, 2) << step;
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    }
    const CliOutcome r = run({path("in.ppm"), "hsv", "region-growing", "-o", path("x.npy")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("region-growing")) << r.err.toStdString();
}
