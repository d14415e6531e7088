// Recipes through ivra-cli: a command line becomes a recipe that gives the same
// files, recorded generator states reproduce the noise, and bad recipes are refused
// naming the step and key.
#include "CliTestSupport.h"

#include "PictureReader.h"

#include "ops/OPSaltAndPepper.h"
#include "util/RandomGenerator.h"

#include <QBuffer>

using namespace ivra;

namespace {

class RecipeTest : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        writeRgb("in.ppm", 9, 7, [](int x, int y) { return qRgb(25 * x + 3 * y, 240 - 31 * y, 19 * (x ^ y)); });
    }
    // Writes the recipe document with these steps (JSON text).
    void writeRecipe(const QString& name, const QByteArray& steps, const QByteArray& head = "\"version\": 1")
    {
        writeFile(name, "{\"format\": \"ivra-recipe\", " + head + ", \"steps\": [" + steps + "]}");
    }
};

const char* const steps = R"({"step": "csc", "space": "rgb", "threshold": 25})";

struct BadRecipe {
    QByteArray head;
    QByteArray steps;
    const char* mention;
};

const BadRecipe badRecipes[] = {
    {"\"version\": 2", steps, "version 2"},
    {"\"version\": \"1\"", steps, "version"},
    {"\"version\": 1", R"({"step": "blur"})", "unknown step 'blur'"},
    {"\"version\": 1", R"({"space": "rgb"})", "step 1"},
    {"\"version\": 1", R"({"step": "csc", "thresold": 25})", "step 'csc': unknown key 'thresold'"},
    {"\"version\": 1", R"({"step": "csc", "threshold": 256})", "step 'csc': threshold"},
    {"\"version\": 1", R"({"step": "csc", "threshold": "25"})", "step 'csc': threshold"},
    {"\"version\": 1", R"({"step": "csc", "threshold": 2.5})", "step 'csc': threshold"},
    {"\"version\": 1", R"({"step": "csc", "space": true})", "step 'csc': space"},
    {"\"version\": 1", R"({"step": "csc", "space": "lab"})", "step 'csc': space"},
    {"\"version\": 1", R"({"step": "csc", "random_state": 3})", "step 'csc': unknown key 'random_state'"},
    {"\"version\": 1", R"({"step": "gauss", "random_state": -1})", "step 'gauss': random_state"},
    {"\"version\": 1", R"({"step": "gauss", "random_state": 4294967296})", "step 'gauss': random_state"},
};

} // namespace

TEST_F(RecipeTest, BadRecipesAreRefusedNamingStepAndKey)
{
    for (const BadRecipe& r : badRecipes) {
        SCOPED_TRACE(r.steps.toStdString());
        writeRecipe("bad.json", r.steps, r.head);
        expectRefused({"--recipe", path("bad.json"), path("in.ppm"), "-o", path("out.npy")}, r.mention);
        EXPECT_FALSE(QFile::exists(path("out.npy")));
    }
    writeFile("bad.json", R"({"format": "other", "version": 1, "steps": []})");
    expectRefused({"--recipe", path("bad.json"), path("in.ppm"), "-o", path("out.npy")}, "format");
    writeFile("bad.json", "[1, 2");
    expectRefused({"--recipe", path("bad.json"), path("in.ppm"), "-o", path("out.npy")}, "bad.json");
    writeRecipe("good.json", steps);
    expectRefused({"--recipe", path("good.json"), path("in.ppm"), "hsv", "-o", path("out.npy")}, "--recipe");
}

TEST_F(RecipeTest, CommandLineBecomesARecipeThatGivesTheSameFiles)
{
    const QStringList line{"salt-pepper:percent=20", "gauss:variance=40", "kuwahara", "csc:threshold=30"};
    const clitest::CliRun printed = run(line + QStringList{"--print-recipe"});
    ASSERT_EQ(printed.status, 0) << printed.err.toStdString();
    EXPECT_TRUE(printed.err.isEmpty()) << printed.err.toStdString();
    // Every parameter, defaults too; the first noise step starts from state 1.
    EXPECT_TRUE(printed.out.contains(R"({"step": "salt-pepper", "mode": "both", "percent": 20, "random_state": 1})"))
        << printed.out.toStdString();
    EXPECT_TRUE(printed.out.contains(R"({"step": "csc", "space": "rgb", "threshold": 30})"));
    // The second noise step goes on from where the first stopped: that depends on the picture.
    EXPECT_TRUE(printed.out.contains(R"({"step": "gauss", "mean": 0, "variance": 40})"));
    EXPECT_TRUE(run({"--print-recipe", "gauss", "gauss:random_state=9"}).out.contains(R"("variance": 10, "random_state": 9})"));
    EXPECT_TRUE(run({"--print-recipe", "color-histogram:result=2"}).out.contains(R"("bins": "256", "result": 2})"));
    writeFile("r.json", printed.out);
    ASSERT_EQ(run(QStringList{path("in.ppm")} + line + QStringList{"-o", path("a.npy"), "--labels", path("a.l.npy")})
                  .status,
              0);
    const clitest::CliRun fromRecipe =
        run({"--recipe", path("r.json"), path("in.ppm"), "-o", path("b.npy"), "--labels", path("b.l.npy")});
    ASSERT_EQ(fromRecipe.status, 0) << fromRecipe.err.toStdString();
    EXPECT_EQ(fileBytes("a.npy"), fileBytes("b.npy"));
    EXPECT_EQ(fileBytes("a.l.npy"), fileBytes("b.l.npy"));
    // The recipe of a recipe is the recipe.
    EXPECT_EQ(run({"--recipe", path("r.json"), "--print-recipe"}).out, printed.out);
}

TEST_F(RecipeTest, NoiseStartsFromTheRecordedState)
{
    writeRecipe("r.json", R"({"step": "salt-pepper", "mode": "salt", "percent": 30, "random_state": 4711})");
    ASSERT_EQ(run({"--recipe", path("r.json"), path("in.ppm"), "-o", path("a.npy")}).status, 0);
    ASSERT_EQ(run({path("in.ppm"), "salt-pepper:mode=salt,percent=30,random_state=4711", "-o", path("b.npy")}).status,
              0);
    RandomGenerator::instance().setState(4711);
    const auto picture = readPicture(path("in.ppm"));
    const auto expected = OPSaltAndPepper().execute(static_cast<const Image&>(*picture),
                                                    SaltAndPepperParams{SaltAndPepperParams::Mode::Salt, 30});
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    encodeNpy(buffer, *expected);
    EXPECT_EQ(fileBytes("a.npy"), buffer.data());
    EXPECT_EQ(fileBytes("b.npy"), buffer.data());
}
