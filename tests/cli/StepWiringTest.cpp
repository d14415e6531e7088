// Every step once: the CLI must hand its parameters to the same core call the
// dialogs make, give the workbench's result name and type, number counted steps
// per run and report labels for segmentations. The core call is the oracle; its
// values are the core tests' business.
#include "CliTestSupport.h"

#include "PictureReader.h"

#include "csc/OPCSC.h"
#include "image/ImageSegmented.h"
#include "ops/OPColorHistogram.h"
#include "ops/OPColorTransform.h"
#include "ops/OPGauss.h"
#include "ops/OPHistogram.h"
#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"
#include "ops/OPSaltAndPepper.h"
#include "ops/OPSplit.h"
#include "segment/OPRecursiveHistogramSplitting.h"
#include "segment/OPRegionGrowing.h"
#include "segment/OPSplitAndMerge.h"
#include "util/RandomGenerator.h"

#include <QBuffer>
#include <QJsonArray>

#include <algorithm>
#include <set>

using namespace ivra;

namespace {

using Objects = std::vector<std::unique_ptr<DataObject>>;
using Oracle = std::function<Objects(const Image&)>;

template <class T>
Objects one(std::unique_ptr<T> object)
{
    Objects v;
    v.push_back(std::move(object));
    return v;
}

struct Wiring {
    const char* input; // picture file the test writes
    QStringList steps;
    Oracle oracle;     // the last step's result from the core, on the previous steps' result
    int type;
    QStringList names; // the name, or the three names of per-channel histograms
    int labels = -1;   // distinct labels of a segmentation, -1: none
};

Objects hsvOf(const Image& rgb) { return one(OPColorTransform().RGB2HSV(static_cast<const ImageRGB&>(rgb))); }

const std::vector<Wiring>& wirings()
{
    static const std::vector<Wiring> rows = {
        {"rgb.ppm", {"split:channel=green"}, [](const Image& i) { return one(OPSplit().execute(i, SplitParams{1})); },
         TypeImageGray, {"Green"}},
        {"rgb.ppm", {"hsv", "split:channel=value"},
         [](const Image& i) { return one(OPSplit::channel(static_cast<const ImageColor&>(*hsvOf(i)[0]), 2)); },
         TypeImageGray, {"Value"}},
        {"rgb.ppm", {"hsv"}, hsvOf, TypeImageHSV, {"HSV"}},
        {"gray.pgm", {"rgb"}, [](const Image& i) { return one(OPColorTransform().Gray2RGB(static_cast<const ImageGray&>(i))); },
         TypeImageRGB, {"RGB"}},
        {"gray.pgm", {"histogram:bins=32"},
         [](const Image& i) { return one(OPHistogram::execute(i, HistogramParams{32})); }, TypeHistogramGray,
         {"Histogram"}},
        {"rgb.ppm", {"color-histogram:bins=4"},
         [](const Image& i) { return OPColorHistogram::execute(i, {ColorHistogramParams::Kind::Channel, 4, 2, 4}); },
         TypeHistogramGray, {"Histogram Red 4", "Histogram Green 4", "Histogram Blue 4"}},
        {"rgb.ppm", {"color-histogram:kind=fuzzy,cube=4"},
         [](const Image& i) { return OPColorHistogram::execute(i, {ColorHistogramParams::Kind::Fuzzy, 256, 4, 4}); },
         TypeHistogramRGB, {"Fuzzy RGB-Histogram 4x4x4"}},
        {"rgb.ppm", {"hsv", "color-histogram:kind=static,layout=6x2+8"},
         [](const Image& i) {
             return OPColorHistogram::execute(*static_cast<Image*>(hsvOf(i)[0].get()),
                                              {ColorHistogramParams::Kind::Static, 256, 2, 8});
         },
         TypeHistogramHSV, {"Static HSV-Histogram 6x2+8"}},
        {"gray.pgm", {"gauss:mean=-5,variance=40"}, [](const Image& i) { return one(OPGauss().execute(i, {-5, 40})); },
         TypeImageGray, {"Gauss Noise [mean=-5, variance=40]"}},
        {"rgb.ppm", {"salt-pepper:mode=pepper,percent=30"},
         [](const Image& i) { return one(OPSaltAndPepper().execute(i, {SaltAndPepperParams::Mode::Pepper, 30})); },
         TypeImageRGB, {"(1) Pepper [Percent=30%]"}},
        {"rgb.ppm", {"kuwahara:space=hsv,iterations=2"},
         [](const Image& i) { return one(OPKuwaharaNagao().execute(i, {2, KuwaharaNagaoParams::Space::HSV})); },
         TypeImageRGB, {"(1) Kuwahara-Nagao [Iterations=2]"}},
        {"rgb.ppm", {"snn:iterations=3"}, [](const Image& i) { return one(OPSNN().execute(i, SnnParams{3})); },
         TypeImageRGB, {"(1) SNN [Iterations=3]"}},
        {"rgb.ppm", {"csc:threshold=40"},
         [](const Image& i) { return one(OPCSC().execute(i, {CscParams::Space::RGB, 40}).image); }, TypeImageRGB,
         {"(1) CSC RGB [Threshold=40]"}, 0},
        {"rgb.ppm", {"csc:space=hsv"},
         [](const Image& i) { return one(OPCSC().execute(i, {CscParams::Space::HSV, 25}).image); }, TypeImageRGB,
         {"(1) CSC HSV"}, 0},
        {"rgb.ppm", {"rhs:gt=2,min-peak=1,min-region=4"},
         [](const Image& i) { return one(OPRecursiveHistogramSplitting().execute(i, RhsParams{2, 1, 4})); },
         TypeImageRGB, {"(1) RHS [GT=2, MinSplitPeak=1, MinRegionSize=4]"}, 0},
        {"rgb.ppm", {"smg:split=30,merge=20,group=40"},
         [](const Image& i) { return one(OPSplitAndMerge().execute(i, {30, 20, 40})); }, TypeImageRGB,
         {"(1) SMG [Split=30, Merge=20, Group=40]"}, 0},
        // A one-pixel region right after a run of eight pixels (labels are counted in blocks).
        {"dot.ppm", {"region-growing:span=0"},
         [](const Image& i) { return one(OPRegionGrowing().execute(i, RegionGrowingParams{0})); }, TypeImageRGB,
         {"Region Growing"}, 0},
        {"gray.pgm", {"region-growing:span=70"},
         [](const Image& i) { return one(OPRegionGrowing().execute(i, RegionGrowingParams{70})); }, TypeImageRGB,
         {"Region Growing"}, 0},
    };
    return rows;
}

QByteArray npyBytes(const Objects& objects)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (objects.size() == 1) {
        encodeNpy(buffer, *objects[0]);
    } else {
        std::vector<const Histogram*> histograms;
        for (const auto& o : objects)
            histograms.push_back(&static_cast<const Histogram&>(*o));
        encodeNpy(buffer, histograms);
    }
    return buffer.data();
}

std::size_t distinctLabels(const ImageSegmented& s)
{
    return std::set<std::uint32_t>(s.labels.data(), s.labels.data() + s.labels.size()).size();
}

class StepWiring : public clitest::CliFixture {
protected:
    void SetUp() override
    {
        CliFixture::SetUp();
        writeRgb("rgb.ppm", 13, 9, [](int x, int y) {
            return qRgb((37 * x + 11 * y * y) % 256, x < 6 ? 40 : 210, (x * y * 29) % 256);
        });
        writeRgb("dot.ppm", 3, 3, [](int x, int y) { return x + y == 4 ? qRgb(9, 9, 9) : qRgb(200, 100, 0); });
        writeGray("gray.pgm", 7, 5, [](int x, int y) { return x < 3 ? 20 + y : 200 - 9 * x; });
    }
};

} // namespace

TEST_F(StepWiring, EveryStepRunsItsCoreCallAndNamesTheResult)
{
    for (const Wiring& w : wirings()) {
        SCOPED_TRACE(w.steps.join(' ').toStdString());
        QStringList args{path(w.input)};
        args << w.steps << "-o" << path("out.npy") << "--json";
        if (w.labels >= 0)
            args << "--labels" << path("labels.npy");
        const clitest::CliRun r = run(args);
        ASSERT_EQ(r.status, 0) << r.err.toStdString();

        // The oracle: the same chain through the core, the random generator fresh as in a new process.
        RandomGenerator::instance().setState(RandomGenerator::initialState);
        std::unique_ptr<Image> input = readPicture(path(w.input));
        const Objects expected = w.oracle(*input);
        EXPECT_EQ(fileBytes("out.npy"), npyBytes(expected));

        const QJsonObject o = r.json();
        EXPECT_EQ(o["type"].toInt(), w.type);
        EXPECT_EQ(o["name"].toString(), w.names[0]);
        if (w.names.size() > 1) {
            const QJsonArray names = o["names"].toArray();
            ASSERT_EQ(names.size(), w.names.size());
            for (int i = 0; i < names.size(); ++i)
                EXPECT_EQ(names[i].toString(), w.names[i]);
        }
        EXPECT_EQ(o.contains("labels"), w.labels >= 0);
        if (const ImageSegmented* s = segmentationOf(*expected[0])) {
            EXPECT_EQ(o["labels"].toInt(), static_cast<int>(distinctLabels(*s)));
            const bool zero = std::find(s->labels.data(), s->labels.data() + s->labels.size(), 0u) !=
                              s->labels.data() + s->labels.size();
            EXPECT_EQ(o["regions"].toInt(), o["labels"].toInt() - (zero ? 1 : 0));
            QBuffer labels;
            labels.open(QIODevice::WriteOnly);
            encodeNpyLabels(labels, s->labels);
            EXPECT_EQ(fileBytes("labels.npy"), labels.data());
        }
        QFile::remove(path("out.npy"));
        QFile::remove(path("labels.npy"));
    }
}

TEST_F(StepWiring, CountedStepsNumberTheirRunsPerProcessAndNoiseStartsAfresh)
{
    const clitest::CliRun r = run({path("rgb.ppm"), "kuwahara", "salt-pepper", "snn", "kuwahara", "csc", "csc:space=hsv",
                                   "smg", "smg", "rhs", "rhs", "salt-pepper:mode=salt", "-o", path("a.npy"), "--json"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["name"].toString(), "(2) Salt [Percent=10%]");
    for (const auto& [steps, name] :
         std::vector<std::pair<QStringList, QString>>{{{"kuwahara", "kuwahara:iterations=3"}, "(2) Kuwahara-Nagao [Iterations=3]"},
                                                      {{"snn", "snn"}, "(2) SNN [Iterations=1]"},
                                                      {{"csc", "csc:space=hsv"}, "(2) CSC HSV"},
                                                      {{"rhs", "rhs"}, "(2) RHS [GT=3, MinSplitPeak=200, MinRegionSize=300]"},
                                                      {{"smg", "smg"}, "(2) SMG [Split=10, Merge=10, Group=20]"},
                                                      {{"gauss", "gauss"}, "Gauss Noise [mean=0, variance=10]"}}) {
        const clitest::CliRun two = run(QStringList{path("rgb.ppm")} + steps + QStringList{"-o", path("b.npy"), "--json"});
        EXPECT_EQ(two.json()["name"].toString(), name);
    }
    // Two processes draw the same noise.
    ASSERT_EQ(run({path("rgb.ppm"), "gauss:variance=90", "-o", path("g1.npy")}).status, 0);
    ASSERT_EQ(run({path("rgb.ppm"), "gauss:variance=90", "-o", path("g2.npy")}).status, 0);
    EXPECT_EQ(fileBytes("g1.npy"), fileBytes("g2.npy"));
}

TEST_F(StepWiring, OperatorDiagnosticsGoToStandardErrorOnly)
{
    clitest::CliRun r = run({path("rgb.ppm"), "salt-pepper", "-o", path("o.npy"), "--json"});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "OPSaltAndPepper::execute(const ImageRGB& src, int mode, int value)\n");
    EXPECT_TRUE(r.out.startsWith("{"));
    r = run({path("rgb.ppm"), "smg", "-o", path("o.npy")});
    EXPECT_EQ(r.err, "split...\nmerge...\nLeaving quadtree...\nQuadTree.GetMaxLevel() 4\nGrouping...\n");
}

TEST_F(StepWiring, HelpListsEveryStepWithItsKeysAndVersionPrintsOne)
{
    const clitest::CliRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.startsWith("usage: ivra-cli"));
    for (const char* line : {"  csc               on RGB image (type 3): space=rgb|hsv (default rgb), threshold=0..255 (default 25)",
                             "  salt-pepper       on RGB image (type 3) or gray image (type 2): mode=salt|pepper|both (default both), percent=0..50 (default 10)",
                             "cube=2|4|8 (default 2)", "layout=6x2+4|6x2+8 (default 6x2+4)",
                             "on HSV image (type 4): channel=hue|saturation|value (default hue)",
                             "  rgb               on HSV image (type 4) or gray image (type 2)\n"})
        EXPECT_TRUE(help.out.contains(line)) << line;
    const clitest::CliRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.startsWith("ivra-cli ")) << version.out.toStdString();
    EXPECT_EQ(version.out.count('\n'), 1);
}
