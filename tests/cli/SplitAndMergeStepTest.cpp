// The smg step through the built ivra-cli: defaults, parameters and ranges of the
// Split-And-Merge dialog, result names with the run counter, progress lines on
// standard error.
#include "Npy.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SmgStep : public ::testing::Test {
protected:
    struct Run {
        int status = -1;
        QByteArray out;
        QByteArray err;
        QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
    };

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // 8 x 8: left half dark red, right half light blue with a little noise.
        QImage picture(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                picture.setPixel(x, y, x < 4 ? qRgb(120, 10, 10) : qRgb(30, 60, 200 + (x + y) % 2));
        ASSERT_TRUE(picture.save(path("in.ppm")));
        QImage gray(2, 2, QImage::Format_Grayscale8);
        gray.fill(7);
        ASSERT_TRUE(gray.save(path("gray.pgm")));
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    Run run(const QStringList& args) const
    {
        QProcess p;
        p.start(QStringLiteral(IVRA_CLI_PATH), args);
        Run r;
        if (!p.waitForFinished(60000))
            return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(SmgStep, DefaultsNameAndLabels)
{
    const Run r = run({path("in.ppm"), "smg", "--json", "-o", path("out.npy"), "--labels", path("labels.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QJsonObject o = r.json();
    EXPECT_EQ(o["name"].toString(), "(1) SMG [Split=10, Merge=10, Group=20]");
    EXPECT_EQ(o["type"].toInt(), 3);
    EXPECT_EQ(o["labels"].toInt(), 2);
    EXPECT_EQ(r.err, "split...\nmerge...\nLeaving quadtree...\nQuadTree.GetMaxLevel() 3\nGrouping...\n");

    const ivra::NpyArray labels = ivra::readNpy(path("labels.npy"));
    EXPECT_EQ(labels.shape, (std::vector<std::int64_t>{8, 8}));
    EXPECT_NE(labels.integerAt(0), labels.integerAt(7));
    const ivra::NpyArray out = ivra::readNpy(path("out.npy"));
    EXPECT_EQ(out.integerAt(0), 120);          // R of (0, 0): the left region's mean
    EXPECT_EQ(out.integerAt(2 * 64 + 7), 200); // B of (7, 0): mean 200.5, truncated
}

TEST_F(SmgStep, ParametersAndTheRunCounter)
{
    const Run r = run({path("in.ppm"), "smg:split=0,merge=0,group=0", "smg:group=255", "--json", "-o", path("o.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["name"].toString(), "(2) SMG [Split=10, Merge=10, Group=255]");
    EXPECT_EQ(r.json()["labels"].toInt(), 2); // the halves differ by 330 > 255

    const Run single = run({path("in.ppm"), "smg:split=0,merge=0,group=0", "--json", "-o", path("p.npy")});
    ASSERT_EQ(single.status, 0) << single.err.toStdString();
    EXPECT_EQ(single.json()["name"].toString(), "(1) SMG [Split=0, Merge=0, Group=0]");
    EXPECT_GT(single.json()["labels"].toInt(), 32);
}

TEST_F(SmgStep, RefusesWhatTheDialogWouldNot)
{
    for (const QStringList& args : {QStringList{path("in.ppm"), "smg:split=256", "-o", path("x.npy")},
                                    QStringList{path("in.ppm"), "smg:merge=-1", "-o", path("x.npy")},
                                    QStringList{path("in.ppm"), "smg:group=1.5", "-o", path("x.npy")},
                                    QStringList{path("in.ppm"), "smg:size=3", "-o", path("x.npy")},
                                    QStringList{path("gray.pgm"), "smg", "-o", path("x.npy")},
                                    QStringList{path("in.ppm"), "hsv", "smg", "-o", path("x.npy")}}) {
        const Run r = run(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("x.npy")));
    }
}
