// Runs the built ivra-cli binary and checks its contract: outputs, JSON summary,
// and for every kind of error exit status 2, one line on standard error and no
// output file.
#include "CliTestSupport.h"

#include <QDir>
#include <QJsonArray>

#include <initializer_list>

#include <sys/stat.h>

using namespace ivra;

using clitest::CliRun;

namespace {

class CliTest : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        // A 3 x 2 RGB picture: red, green, blue / black, gray 128, (10, 200, 30).
        const QRgb colors[] = {qRgb(255, 0, 0), qRgb(0, 255, 0),     qRgb(0, 0, 255),
                                qRgb(0, 0, 0),   qRgb(128, 128, 128), qRgb(10, 200, 30)};
        writeRgb("in.ppm", 3, 2, [&](int x, int y) { return colors[3 * y + x]; });
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

TEST_F(CliTest, JsonSummaryIsOneLineWithEveryStepTimed)
{
    ASSERT_TRUE(QFile::copy(path("in.ppm"), path("input.PPM"))); // extensions in any case
    const CliRun plain = run({path("input.PPM"), "--json", "-o", path("o.npy")});
    EXPECT_EQ(plain.json()["name"].toString(), "input.PPM") << plain.err.toStdString();
    const CliRun r = run({"--json", path("input.PPM"), "hsv", "split:channel=value", "-o", path("v.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count('\n'), 1);
    const QJsonObject o = r.json();
    EXPECT_EQ(o["width"].toInt(), 3);
    EXPECT_EQ(o["height"].toInt(), 2);
    const QJsonArray steps = o["steps"].toArray();
    ASSERT_EQ(steps.size(), 2);
    EXPECT_EQ(steps[1].toObject()["name"].toString(), "split");
    EXPECT_GE(steps[0].toObject()["ms"].toDouble(-1), 0.0);
    EXPECT_EQ(run({path("in.ppm"), "--threads", "3", "--json", "-o", path("t.npy")}).json()["threads"].toInt(), 3);
}

TEST_F(CliTest, HsvPlanesComeBackThroughHsvInput)
{
    ASSERT_EQ(run({path("in.ppm"), "hsv", "-o", path("hsv.npy")}).status, 0);
    const CliRun r = run({path("hsv.npy"), "--hsv-input", "rgb", "-o", path("back.npy")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(npy("back.npy").integerAt(0), 255); // red again
    EXPECT_EQ(npy("back.npy").integerAt(4), 128); // gray 128 comes back as its V
}

TEST_F(CliTest, SeveralOutputsAreWrittenAllOrNone)
{
    const QString out = path("keep.npy");
    writeFile("keep.npy", "precious");
    // A failed step or labels that cannot be written: the result is not replaced either.
    expectError({path("gray.pgm"), "hsv", "-o", out}, "hsv");
    expectError({path("in.ppm"), "region-growing", "-o", out, "--labels", path("no/dir/l.npy")}, "l.npy");
    expectError({path("in.ppm"), "region-growing", "-o", path("new.npy"), "--labels", path("no/dir/l.npy")}, "l.npy",
                {path("new.npy")});
    EXPECT_EQ(fileBytes("keep.npy"), "precious");
    // Output and labels must be two files.
    expectError({path("in.ppm"), "region-growing", "-o", out, "--labels", out}, "differ");
    expectError({path("in.ppm"), "region-growing", "-o", out, "--labels", path("l.png")}, "l.png", {path("l.png")});
    // Both written when both can be.
    ASSERT_EQ(run({path("in.ppm"), "region-growing", "-o", path("r.png"), "--labels", path("r.npy")}).status, 0);
    EXPECT_EQ(QImage(path("r.png")).size(), QSize(3, 2));
    EXPECT_EQ(npy("r.npy").shape, (std::vector<std::int64_t>{2, 3}));
    EXPECT_EQ(npy("r.npy").type, ivra::NpyType::UInt32);
}

TEST_F(CliTest, OutputsThatAreNoRegularFileOrOneFileTwiceAreRefusedBeforeAnyStep)
{
    // A named pipe (made here, in the test's own directory) stays a pipe.
    const QByteArray fifo = QFile::encodeName(path("pipe.npy"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    expectRefused({path("in.ppm"), "-o", path("pipe.npy")}, "not a regular file");
    struct stat st {};
    ASSERT_EQ(::stat(fifo.constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    expectRefused({path("in.ppm"), "region-growing", "-o", path("o.npy"), "--labels", path("pipe.npy")},
                  "not a regular file");
    EXPECT_FALSE(QFile::exists(path("o.npy")));
    ASSERT_TRUE(QFile::remove(path("pipe.npy")));
    // Labels that reach the output through a link, or through another spelling.
    ASSERT_EQ(run({path("in.ppm"), "-o", path("o.npy")}).status, 0);
    ASSERT_TRUE(QFile::link(path("o.npy"), path("link.npy")));
    expectRefused({path("in.ppm"), "region-growing", "-o", path("o.npy"), "--labels", path("link.npy")}, "differ");
    expectRefused({path("in.ppm"), "region-growing", "-o", path("new.npy"), "--labels", dir.path() + "/./new.npy"},
                  "differ");
    // A missing output directory is one line at once, before the steps' progress lines.
    const CliRun r = run({path("in.ppm"), "smg", "-o", path("no/dir/o.npy")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
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
    for (const char* n : {"0", "-2", "2x", ""})
        expectError({path("in.ppm"), "--threads", n, "-o", out}, "--threads", {out});
    expectError({path("in.ppm"), "-o", out, "--threads"}, "--threads", {out});

    writeFile("input-corrupt.png", "\x89PNG\r\n\x1a\nthis is not the rest of a png file");
    expectError({path("input-corrupt.png"), "-o", out}, "input-corrupt.png", {out});
    writeFile("input.txt", "");
    expectError({path("input.txt"), "-o", out}, "input.txt", {out});
}
