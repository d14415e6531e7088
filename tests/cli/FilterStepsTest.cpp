// The noise and filter steps of ivra-cli: names and run counters as the workbench
// gives them, the dialogs' defaults and ranges, and a fresh random sequence per run.
#include "Npy.h"

#include "image/ImageRGB.h"
#include "ops/OPGauss.h"
#include "ops/OPSaltAndPepper.h"
#include "util/RandomGenerator.h"

#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct StepRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

class FilterStepsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QImage picture(4, 3, QImage::Format_RGB32);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                picture.setPixel(x, y, qRgb(20 * x + 60 * y, 200 - 30 * x, 17 * (x + y)));
        ASSERT_TRUE(picture.save(path("in.ppm")));
        QImage gray(3, 2, QImage::Format_Grayscale8);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                gray.scanLine(y)[x] = static_cast<uchar>(40 * x + 100 * y);
        ASSERT_TRUE(gray.save(path("gray.pgm")));
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    StepRun run(const QStringList& args) const
    {
        QProcess p;
        p.start(QStringLiteral(IVRA_CLI_PATH), args);
        StepRun r;
        if (!p.waitForFinished(60000))
            return r;
        r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.out = p.readAllStandardOutput();
        r.err = p.readAllStandardError();
        return r;
    }

    // The name of the final result of a run on `input` with the given steps.
    QString resultName(const QString& input, const QStringList& steps) const
    {
        const StepRun r = run(QStringList{path(input)} + steps + QStringList{"--json", "-o", path("out.npy")});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out).object()["name"].toString();
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(FilterStepsTest, NamesAndCountersFollowTheDialogs)
{
    EXPECT_EQ(resultName("in.ppm", {"gauss"}), "Gauss Noise [mean=0, variance=10]");
    EXPECT_EQ(resultName("gray.pgm", {"gauss:mean=-5,variance=0", "gauss:mean=-5,variance=0"}),
              "Gauss Noise [mean=-5, variance=0]"); // no counter

    EXPECT_EQ(resultName("in.ppm", {"salt-pepper"}), "(1) Salt and Pepper [Percent=10%]");
    EXPECT_EQ(resultName("gray.pgm", {"salt-pepper:mode=salt,percent=50", "salt-pepper:mode=pepper,percent=0"}),
              "(2) Pepper [Percent=0%]");

    EXPECT_EQ(resultName("in.ppm", {"kuwahara:iterations=3"}), "(1) Kuwahara-Nagao [Iterations=3]");
    EXPECT_EQ(resultName("in.ppm", {"kuwahara", "kuwahara:space=hsv,iterations=2"}),
              "(2) Kuwahara-Nagao [Iterations=2]");
    EXPECT_EQ(resultName("in.ppm", {"snn"}), "(1) SNN [Iterations=1]");
    // Each dialog counts its own runs.
    EXPECT_EQ(resultName("in.ppm", {"kuwahara", "salt-pepper", "snn:iterations=65536", "snn:iterations=4"}),
              "(2) SNN [Iterations=4]");
}

TEST_F(FilterStepsTest, EveryRunStartsTheRandomSequenceAfresh)
{
    ASSERT_EQ(run({path("in.ppm"), "gauss:mean=3,variance=40", "-o", path("a.npy")}).status, 0);
    ASSERT_EQ(run({path("in.ppm"), "gauss:mean=3,variance=40", "-o", path("b.npy")}).status, 0);
    const ivra::NpyArray a = ivra::readNpy(path("a.npy"));
    EXPECT_EQ(a.data, ivra::readNpy(path("b.npy")).data);

    // The values are those of the first run in a fresh workbench.
    const QImage picture(path("in.ppm"));
    ImageRGB source(4, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const QRgb p = picture.pixel(x, y);
            source.red()[y * 4 + x] = qRed(p);
            source.green()[y * 4 + x] = qGreen(p);
            source.blue()[y * 4 + x] = qBlue(p);
        }
    }
    ivra::RandomGenerator::instance().setState(ivra::RandomGenerator::initialState);
    const auto expected = OPGauss().execute(source, 3, 40);
    ASSERT_EQ(a.elementCount(), 36);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(a.integerAt(c * 12 + i), expected->plane(c)[i]) << c << "/" << i;
}

TEST_F(FilterStepsTest, SaltAndPepperDiagnosticGoesToStandardError)
{
    const StepRun r = run({path("in.ppm"), "salt-pepper", "--json", "-o", path("out.npy")});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.contains("OPSaltAndPepper::execute(const ImageRGB& src, int mode, int value)"));
    EXPECT_FALSE(r.out.contains("OPSaltAndPepper"));
}

TEST_F(FilterStepsTest, RefusesWhatTheDialogsWouldNotOffer)
{
    const QString out = path("out.npy");
    const auto fails = [&](const QString& input, const QString& step, const char* mention) {
        const StepRun r = run({path(input), step, "-o", out});
        EXPECT_EQ(r.status, 2) << step.toStdString();
        EXPECT_TRUE(r.err.contains(mention)) << step.toStdString() << ": " << r.err.toStdString();
    };
    fails("gray.pgm", "kuwahara", "does not accept");
    fails("gray.pgm", "snn", "does not accept");
    fails("in.ppm", "kuwahara:iterations=0", "iterations");
    fails("in.ppm", "snn:iterations=65537", "iterations");
    fails("in.ppm", "kuwahara:space=lab", "space");
    fails("in.ppm", "gauss:mean=256", "mean");
    fails("in.ppm", "gauss:variance=-1", "variance");
    fails("in.ppm", "salt-pepper:percent=51", "percent");
    fails("in.ppm", "salt-pepper:mode=sugar", "mode");
    // HSV images are listed by neither noise dialog.
    const StepRun hsv = run({path("in.ppm"), "hsv", "gauss", "-o", out});
    EXPECT_EQ(hsv.status, 2);
    EXPECT_TRUE(hsv.err.contains("does not accept"));
}
