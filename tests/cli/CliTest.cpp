// Runs the built ivra-cli binary and checks its contract: outputs, JSON summary,
// and for every kind of error exit status 2, one line on standard error and no
// output file.
#include "CliTestSupport.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>

#include <initializer_list>

using namespace ivra;

using clitest::CliRun;

namespace {

class CliTest : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        // A 3 x 2 RGB picture: red, green, blue / black, gray 128, (10, 200, 30).
        const QRgb colours[] = {qRgb(255, 0, 0), qRgb(0, 255, 0),     qRgb(0, 0, 255),
                                qRgb(0, 0, 0),   qRgb(128, 128, 128), qRgb(10, 200, 30)};
        writeRgb("in.ppm", 3, 2, [&](int x, int y) { return colours[3 * y + x]; });
        writeGray("gray.pgm", 2, 1, [](int x, int) { return x ? 250 : 7; });
    }

    // A refusal that writes none of the given files and leaves no temporary files behind.
    void expectError(const QStringList& args, const char* mention, std::initializer_list<QString> absent = {})
    {
        expectRefused(args, mention);
        for (const QString& f : absent)
            EXPECT_FALSE(QFile::exists(f)) << f.toStdString();
        const QStringList left = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        for (const QString& f : left)
            EXPECT_TRUE(f == "in.ppm" || f == "gray.pgm" || f == "keep.npy" || f.startsWith("input"))
                << "left over: " << f.toStdString();
    }
};

} // namespace

TEST_F(CliTest, NoStepWritesTheLoadedImage)
{
    const CliRun r = run({path("in.ppm"), "-o", path("out.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    const ivra::NpyArray a = npy("out.npy");
    EXPECT_EQ(a.type, ivra::NpyType::Int32);
    EXPECT_EQ(a.shape, (std::vector<std::int64_t>{3, 2, 3}));
    EXPECT_EQ(a.integerAt(0), 255);          // R of (0, 0)
    EXPECT_EQ(a.integerAt(6 + 1), 255);      // G of (1, 0)
    EXPECT_EQ(a.integerAt(12 + 5), 30);      // B of (2, 1)

    ASSERT_EQ(run({path("gray.pgm"), "-o", path("g.npy")}).status, 0);
    EXPECT_EQ(npy("g.npy").shape, (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(npy("g.npy").integerAt(1), 250);
}

TEST_F(CliTest, HsvStepGivesTheColourTransformValues)
{
    const CliRun r = run({"--json", path("in.ppm"), "hsv", "-o", path("hsv.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const ivra::NpyArray a = npy("hsv.npy");
    ASSERT_EQ(a.shape, (std::vector<std::int64_t>{3, 2, 3}));
    // Planes hue, saturation, value, one after another (the values are the core's tests).
    EXPECT_EQ(a.integerAt(1), 120);     // green
    EXPECT_EQ(a.integerAt(3), -1);      // black has no hue
    EXPECT_EQ(a.integerAt(6 + 0), 255); // red is fully saturated
    EXPECT_EQ(a.integerAt(6 + 4), 0);   // gray
    EXPECT_EQ(a.integerAt(12 + 4), 128);

    ASSERT_TRUE(QJsonDocument::fromJson(r.out).isObject()) << r.out.toStdString();
    EXPECT_EQ(r.out.count('\n'), 1);
    const QJsonObject o = r.json();
    EXPECT_EQ(o["type"].toInt(), 4);
    EXPECT_EQ(o["width"].toInt(), 3);
    EXPECT_EQ(o["height"].toInt(), 2);
    EXPECT_EQ(o["name"].toString(), "HSV");
    EXPECT_FALSE(o.contains("labels"));
    const QJsonArray steps = o["steps"].toArray();
    ASSERT_EQ(steps.size(), 1);
    EXPECT_EQ(steps[0].toObject()["name"].toString(), "hsv");
    EXPECT_TRUE(steps[0].toObject()["ms"].isDouble());
    EXPECT_GE(steps[0].toObject()["ms"].toDouble(), 0.0);
}

TEST_F(CliTest, StepsChainAndSplitNamesFollowTheDialog)
{
    CliRun r = run({path("in.ppm"), "hsv", "split:channel=value", "--json", "-o", path("v.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonObject o = r.json();
    EXPECT_EQ(o["type"].toInt(), 2);
    EXPECT_EQ(o["name"].toString(), "Value");
    EXPECT_EQ(o["steps"].toArray().size(), 2);
    EXPECT_EQ(npy("v.npy").shape, (std::vector<std::int64_t>{2, 3}));
    EXPECT_EQ(npy("v.npy").integerAt(4), 128);

    r = run({path("in.ppm"), "split", "--json", "-o", path("red.npy")}); // red by default on RGB
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.json()["name"].toString(), "Red");
    EXPECT_EQ(npy("red.npy").integerAt(0), 255);

    r = run({path("in.ppm"), "hsv", "split", "--json", "-o", path("hue.npy")}); // hue by default on HSV
    EXPECT_EQ(r.json()["name"].toString(), "Hue");
    EXPECT_EQ(npy("hue.npy").integerAt(3), -1);

    r = run({path("in.ppm"), "split:channel=blue", "--json", "-o", path("blue.npy")});
    EXPECT_EQ(r.json()["name"].toString(), "Blue");
    EXPECT_EQ(npy("blue.npy").integerAt(2), 255);
}

TEST_F(CliTest, RgbStepFromHsvAndGrayInputs)
{
    ASSERT_EQ(run({path("in.ppm"), "hsv", "-o", path("hsv.npy")}).status, 0);
    CliRun r = run({path("hsv.npy"), "--hsv-input", "rgb", "--json", "-o", path("back.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["name"].toString(), "RGB");
    const ivra::NpyArray back = npy("back.npy");
    EXPECT_EQ(back.integerAt(0), 255); // red again
    EXPECT_EQ(back.integerAt(6), 0);
    EXPECT_EQ(back.integerAt(4), 128); // gray 128 comes back as its V
    EXPECT_EQ(back.integerAt(3), 0);   // black

    r = run({path("gray.pgm"), "rgb", "--json", "-o", path("g3.npy")});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.json()["type"].toInt(), 3);
    const ivra::NpyArray g3 = npy("g3.npy");
    EXPECT_EQ(g3.shape, (std::vector<std::int64_t>{3, 1, 2}));
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(g3.integerAt(2 * c + 1), 250);
}

TEST_F(CliTest, PictureOutputsGoThroughTheDisplayConversion)
{
    ASSERT_EQ(run({path("in.ppm"), "hsv", "-o", path("shown.png")}).status, 0);
    const QImage shown(path("shown.png"));
    ASSERT_EQ(shown.size(), QSize(3, 2));
    EXPECT_EQ(shown.pixel(1, 0) & 0xffffff, 0x00ff00u);
    ASSERT_EQ(run({path("in.ppm"), "-o", path("copy.PPM")}).status, 0);
    EXPECT_EQ(QImage(path("copy.PPM")).pixel(2, 1) & 0xffffff, qRgb(10, 200, 30) & 0xffffffu);
    ASSERT_EQ(run({path("in.ppm"), "-o", path("gray.xpm")}).status, 0);
    ASSERT_EQ(run({path("in.ppm"), "-o", path("g.pgm")}).status, 0);
    EXPECT_EQ(QImage(path("g.pgm")).format(), QImage::Format_Grayscale8);
}

TEST_F(CliTest, InputExtensionsIgnoreCase)
{
    ASSERT_TRUE(QFile::copy(path("in.ppm"), path("input.PPM")));
    const CliRun r = run({path("input.PPM"), "--json", "-o", path("o.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["name"].toString(), "input.PPM");
}

TEST_F(CliTest, EveryErrorIsOneLineStatusTwoAndNoOutput)
{
    const QString out = path("out.npy");
    expectError({path("in.ppm"), "blur", "-o", out}, "unknown step 'blur'", {out});
    expectError({path("in.ppm"), "split:chanel=red", "-o", out}, "unknown key 'chanel'", {out});
    expectError({path("in.ppm"), "split:channel=hue", "-o", out}, "channel", {out});
    expectError({path("in.ppm"), "split:channel", "-o", out}, "key=value", {out});
    expectError({path("in.ppm"), "hsv:x=1", "-o", out}, "unknown key 'x'", {out});
    expectError({path("gray.pgm"), "hsv", "-o", out}, "does not accept a gray image", {out});
    expectError({path("in.ppm"), "rgb", "-o", out}, "does not accept a RGB image", {out});
    expectError({path("gray.pgm"), "split", "-o", out}, "does not accept", {out});
    expectError({path("missing.ppm"), "-o", out}, "missing.ppm", {out});
    expectError({path("in.ppm"), "-o", path("out.bmp")}, "out.bmp", {path("out.bmp")});
    expectError({path("in.ppm"), "-o", path("no/dir/out.npy")}, "out.npy");
    expectError({path("in.ppm"), "--labels", path("l.npy"), "-o", out}, "segmentation", {out, path("l.npy")});
    expectError({path("in.ppm"), "--hsv-input", "-o", out}, "--hsv-input", {out});
    expectError({path("in.ppm")}, "-o", {});
    expectError({"-o", out}, "input", {out});
    expectError({path("in.ppm"), "--bogus", "-o", out}, "--bogus", {out});

    QFile corrupt(path("input-corrupt.png"));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("\x89PNG\r\n\x1a\nthis is not the rest of a png file");
    corrupt.close();
    expectError({path("input-corrupt.png"), "-o", out}, "input-corrupt.png", {out});
    QFile text(path("input.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.close();
    expectError({path("input.txt"), "-o", out}, "input.txt", {out});
}

TEST_F(CliTest, AFailedRunLeavesAnExistingOutputAlone)
{
    QFile keep(path("keep.npy"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("precious");
    keep.close();
    expectError({path("gray.pgm"), "hsv", "-o", path("keep.npy")}, "hsv");
    ASSERT_TRUE(keep.open(QIODevice::ReadOnly));
    EXPECT_EQ(keep.readAll(), "precious");
}

TEST_F(CliTest, HelpGoesToStandardOutput)
{
    const CliRun r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith("usage: ivra-cli"));
}
