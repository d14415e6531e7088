// The input side of ivra-cli: which names and contents it loads, --max-pixels,
// and the memory a load takes.
#include "CliTestSupport.h"
#include "io/ChildProcess.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ivra;

namespace {

class CliInput : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        writeRgb("in.ppm", 3, 2, [](int x, int y) { return qRgb(x, y, 7); });
    }

    // The peak resident memory of an ivra-cli run that loads `input`, in bytes.
    long long peakMemory(const QString& input) const
    {
        const QByteArray in = QFile::encodeName(input), out = QFile::encodeName(path("peak.npy"));
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl(IVRA_CLI_PATH, IVRA_CLI_PATH, in.constData(), "-o", out.constData(), nullptr);
            ::_exit(127);
        }
        int status = 0;
        rusage usage {};
        ::wait4(pid, &status, 0, &usage);
        EXPECT_EQ(status, 0) << input.toStdString();
        return usage.ru_maxrss * 1024LL;
    }
};

} // namespace

TEST_F(CliInput, NamesAndContentsMustAgree)
{
    const QString out = path("out.npy");
    ASSERT_TRUE(QFile::copy(path("in.ppm"), path("x.ppm.txt")));
    expectRefused({path("x.ppm.txt"), "-o", out}, "x.ppm.txt: not a PNG, JPEG, BMP, TIFF, PBM, PGM, PPM, XPM or .npy");
    writeGray("IN.JPG", 3, 2, [](int, int) { return 9; });
    ASSERT_EQ(run({path("IN.JPG"), "-o", out}).status, 0);
    EXPECT_EQ(npy("out.npy").shape, (std::vector<std::int64_t>{2, 3})); // gray by the gray rule
}

TEST_F(CliInput, MaxPixelsRefusesLargerPicturesBeforeDecoding)
{
    const QString out = path("out.npy");
    for (const char* bad : {"0", "-5", "12x", ""})
        expectRefused({path("in.ppm"), "--max-pixels", bad, "-o", out}, "--max-pixels needs a positive whole number");
    expectRefused({path("in.ppm"), "-o", out, "--max-pixels"}, "--max-pixels");
    expectRefused({path("in.ppm"), "--max-pixels", "9", "--max-pixels", "9", "-o", out}, "given twice");
    expectRefused({path("in.ppm"), "--max-pixels", "5", "-o", out}, "3 x 2 pixels, more than the 5 pixels allowed");
    ASSERT_EQ(run({path("in.ppm"), "--max-pixels", "6", "-o", out}).status, 0);
}

// Loading keeps the peak within about 1.5 times the loaded image (12 bytes a pixel):
// the decoded picture and the image's planes, with nothing the size of either beside them.
TEST_F(CliInput, LoadingPeakStaysNearTheImageItself)
{
    IVRA_SKIP_WITHOUT_MEMORY_LIMITS();
    const int side = 3000;
    QImage big(side, side, QImage::Format_RGB32);
    big.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(big.save(path("big.png")));
    writeRgb("small.png", 1, 1, [](int, int) { return qRgb(1, 2, 3); });
    const long long base = peakMemory(path("small.png"));
    const long long loaded = peakMemory(path("big.png"));
    const long long image = 12LL * side * side;
    EXPECT_LT(loaded - base, image * 3 / 2) << "peak " << (loaded - base) / 1e6 << " MB for an image of " << image / 1e6;
    EXPECT_GT(loaded - base, image) << (loaded - base) / 1e6;
}
