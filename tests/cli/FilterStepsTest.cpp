// The noise and filter steps of ivra-cli: names and run counters as the workbench
// gives them, the dialogs' defaults, and a fresh random sequence per run.
#include "CliTestSupport.h"

#include "image/ImageRGB.h"
#include "ops/OPGauss.h"
#include "util/RandomGenerator.h"

using namespace ivra;

namespace {

QRgb colourAt(int x, int y)
{
    return qRgb(20 * x + 60 * y, 200 - 30 * x, 17 * (x + y));
}

class FilterStepsTest : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        writeRgb("in.ppm", 4, 3, colourAt);
        writeGray("gray.pgm", 3, 2, [](int x, int y) { return 40 * x + 100 * y; });
    }

    // The name of the final result of a run on `input` with the given steps.
    QString resultName(const QString& input, const QStringList& steps) const
    {
        const clitest::CliRun r = run(QStringList{path(input)} + steps + QStringList{"--json", "-o", path("out.npy")});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return r.json()["name"].toString();
    }
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
    const ivra::NpyArray a = npy("a.npy");
    EXPECT_EQ(a.data, npy("b.npy").data);

    // The values are those of the first run in a fresh workbench.
    ImageRGB source(4, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const QRgb p = colourAt(x, y);
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
    const clitest::CliRun r = run({path("in.ppm"), "salt-pepper", "--json", "-o", path("out.npy")});
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.err.contains("OPSaltAndPepper::execute(const ImageRGB& src, int mode, int value)"));
    EXPECT_FALSE(r.out.contains("OPSaltAndPepper"));
}
