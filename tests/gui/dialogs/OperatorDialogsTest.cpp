// Every operator dialog through its menu entry: what it lists, the box without a selection,
// tab order, help, results against the core; refused, cancelled, incomplete runs; progress.

#include "gui/GuiTestSupport.h"

#include <QStatusBar>

#include "app/HelpDialog.h"
#include "app/IterationClock.h"
#include "app/OperatorDialog.h"
#include "app/ProgressRunner.h"
#include "dialogs/CscDialog.h"

#include "csc/OPCSC.h"
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

#include <QElapsedTimer>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QThread>

#include <optional>
#include <tuple>

using namespace guitest;

namespace {

QList<QWidget*> tabOrder(const OperatorDialog& d)
{
    QList<QWidget*> order;
    QWidget* w = d.listView();
    do {
        if (w->focusPolicy() & Qt::TabFocus)
            order << w;
        w = w->nextInFocusChain();
    } while (w != d.listView());
    return order;
}

// ------------------------------------------------------------ what every dialog shares

struct DialogCase {
    const char* menu;
    QStringList listed; // of the pictures gray, rgb, hsv
};

void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.menu; }

const DialogCase dialogCases[] = {
    {"Split", {"rgb", "hsv"}},
    {"Color &Transform", {"gray", "rgb", "hsv"}},
    {"Statistics/Histogram", {"gray"}},
    {"Statistics/Color &Histogram", {"rgb", "hsv"}},
    {"Segmentation/Region Growing", {"gray", "rgb"}},
    {"Segmentation/Color Structure Code", {"rgb"}},
    {"Segmentation/Split-And-Merge", {"rgb"}},
    {"Segmentation/Recursive Histogram Splitting", {"rgb"}},
    {"Filter/SNN", {"rgb"}},
    {"Filter/Kuwahara-Nagao", {"rgb"}},
    {"Noise/Gauss", {"gray", "rgb"}},
    {"Noise/Salt-and-Pepper", {"gray", "rgb"}},
};

class EveryDialog : public ::testing::TestWithParam<DialogCase> {};

TEST_P(EveryDialog, ListsItsTypesRefusesOkWithoutSelectionAndShowsItsHelp)
{
    MainWindow app;
    app.show();
    app.showEntry(addTopLevel(app, grayImage(2, 2, 1), "gray")); // takes the focus
    addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "rgb");
    addTopLevel(app, OPColorTransform().RGB2HSV(*rgbImage(2, 2, 1, 2, 3)), "hsv");
    openFromMenu(app, GetParam().menu, [&](OperatorDialog& d) {
        QStringList listed;
        for (int i = 0; i < d.listView()->topLevelItemCount(); ++i)
            listed << d.listView()->topLevelItem(i)->text(0);
        EXPECT_EQ(listed, GetParam().listed);
        // The active window's picture comes preselected where the dialog takes it.
        EXPECT_EQ(d.selectedEntry() == app.entryAt(0), listed.contains("gray"));

        d.listView()->clearSelection();
        MessageBoxCatcher boxes;
        d.execute();
        EXPECT_EQ(boxes.count, 1);
        EXPECT_EQ(boxes.title, "Error !");
        EXPECT_TRUE(d.isVisible());

        // Tab runs list, parameters, then Info, OK, Cancel.
        const QList<QWidget*> order = tabOrder(d);
        ASSERT_GE(order.size(), 5);
        EXPECT_EQ(order.first(), d.listView());
        EXPECT_EQ(order.mid(order.size() - 3), (QList<QWidget*>{d.infoButton(), d.okButton(), d.cancelButton()}));

        // Info shows the dialog's help; Close closes it.
        driveModal([&d] { d.infoButton()->click(); }, [&d] {
            auto* help = d.findChild<HelpDialog*>();
            ASSERT_NE(help, nullptr);
            EXPECT_FALSE(help->textView()->toPlainText().isEmpty());
            help->findChild<QPushButton*>()->click();
            EXPECT_FALSE(help->isVisible());
            help->reject();
        });
    });
    for (const auto& e : app.root()->children())
        EXPECT_TRUE(e->children().empty()) << e->name().toStdString();
    // Keyboard input returns to the image list.
    EXPECT_EQ(app.focusWidget(), app.dataList());
}

INSTANTIATE_TEST_SUITE_P(All, EveryDialog, ::testing::ValuesIn(dialogCases));

// ------------------------------------------------------------ results against the core

using Results = std::vector<std::pair<QString, std::unique_ptr<DataObject>>>;

Results made(const QString& name, std::unique_ptr<DataObject> data)
{
    Results r;
    r.emplace_back(name, std::move(data));
    return r;
}

QString n(const char* format, int run) { return QString::fromLatin1(format).arg(run); }

struct WiringCase {
    const char* id;
    const char* menu;
    const char* source;   // "gray", "rgb" or "hsv"
    const char* settings; // see setWidgets()
    // The results of the run-th run (1 or 2), from the core.
    std::function<Results(const DataObject& source, int run)> expected;
};

void PrintTo(const WiringCase& c, std::ostream* os) { *os << c.id; }

using S = const DataObject&;
using SP = SaltAndPepperParams::Mode;
using K = ColorHistogramParams::Kind;
using Target = ColorTransformParams::Target;
using KNSpace = KuwaharaNagaoParams::Space;

const Image& image(S s) { return static_cast<const Image&>(s); }

// An operator's one entry point with the parameters a row sets.
template <class Op, class Params>
std::unique_ptr<DataObject> run(S s, Params p) { return Op().execute(image(s), p); }

// The colour histograms of one run, named as the core names them.
std::function<Results(S, int)> histograms(K kind, int bins, int cube, int grays)
{
    return [=](S s, int) {
        ColorHistogramParams p;
        std::tie(p.kind, p.bins, p.cube, p.grays) = std::tuple(kind, bins, cube, grays);
        auto h = OPColorHistogram::execute(image(s), p);
        const auto names = OPColorHistogram::resultNames(s.type(), p);
        Results r;
        for (std::size_t i = 0; i < h.size(); ++i)
            r.emplace_back(QString::fromStdString(names[i]), std::move(h[i]));
        return r;
    };
}

// The first run's channels of Split (name, channel index); a second run finds them there and adds nothing.
std::function<Results(S, int)> channels(std::vector<std::pair<const char*, int>> wanted)
{
    return [=](S s, int r) {
        Results out;
        for (const auto& [name, c] : wanted)
            if (r == 1)
                out.emplace_back(name, run<OPSplit>(s, SplitParams{c}));
        return out;
    };
}

std::function<Results(S, int)> cscRun(const char* format, CscParams::Space space, int threshold)
{
    return [=](S s, int r) { return made(n(format, r), OPCSC().execute(image(s), {space, threshold}).image); };
}

// A row's one result of Op, named by format (with the run number for %1).
template <class Op, class Params>
std::function<Results(S, int)> one(const char* format, Params p)
{
    return [=](S s, int r) { return made(QString(format).contains("%1") ? n(format, r) : format, run<Op>(s, p)); };
}

std::function<Results(S, int)> histogram(int bins)
{
    return [=](S s, int) { return made("Histogram", OPHistogram::execute(image(s), {bins})); };
}

const char* const colorHist = "Statistics/Color &Histogram";

const WiringCase wiringCases[] = {
    {"SplitRGB", "Split", "rgb", "checkBox1 checkBox3", channels({{"Red", 0}, {"Blue", 2}})},
    {"SplitHSV", "Split", "hsv", "checkBox1 checkBox2 checkBox3", channels({{"Hue", 0}, {"Saturation", 1}, {"Value", 2}})},
    {"TransformRGB", "Color &Transform", "rgb", "", one<OPColorTransform>("HSV", ColorTransformParams{Target::HSV})},
    {"TransformHSV", "Color &Transform", "hsv", "", one<OPColorTransform>("RGB", ColorTransformParams{Target::RGB})},
    {"TransformGray", "Color &Transform", "gray", "", one<OPColorTransform>("RGB", ColorTransformParams{Target::RGB})},
    {"Histogram256", "Statistics/Histogram", "gray", "", histogram(256)},
    {"Histogram32", "Statistics/Histogram", "gray", "RadioButton32", histogram(32)},
    {"Histogram128", "Statistics/Histogram", "gray", "RadioButton128", histogram(128)},
    {"ChannelsRGB", colorHist, "rgb", "ComboBoxChannelRGB=16", histograms(K::Channel, 16, 2, 4)},
    {"StaticRGB", colorHist, "rgb", "RadioButtonStaticRGB ComboBoxStaticRGB=4x4x4", histograms(K::Static, 256, 4, 4)},
    {"FuzzyRGB", colorHist, "rgb", "RadioButtonFuzzyRGB ComboBoxFuzzyRGB=2x2x2", histograms(K::Fuzzy, 256, 2, 4)},
    {"DynamicRGB", colorHist, "rgb", "RadioButtonDynamicRGB", [](S, int) { return Results{}; }},
    {"FuzzyHSV", colorHist, "hsv", "", histograms(K::Fuzzy, 256, 2, 4)},
    {"StaticHSV", colorHist, "hsv", "RadioButtonStaticHSV ComboBoxStaticHSV=6x2+8", histograms(K::Static, 256, 2, 8)},
    {"ChannelsHSV", colorHist, "hsv", "RadioButtonChannelHSV ComboBoxChannelHSV=64", histograms(K::Channel, 64, 2, 4)},
    {"RegionGrowingGray", "Segmentation/Region Growing", "gray", "SpinBoxSpan=20",
     one<OPRegionGrowing>("Region Growing", RegionGrowingParams{20})},
    {"RegionGrowingRGB", "Segmentation/Region Growing", "rgb", "",
     one<OPRegionGrowing>("Region Growing", RegionGrowingParams{50})},
    {"CscRGB", "Segmentation/Color Structure Code", "rgb", "thresholdSpin=40",
     cscRun("(%1) CSC RGB [Threshold=40]", CscParams::Space::RGB, 40)},
    {"CscHSV", "Segmentation/Color Structure Code", "rgb", "hsvButton", cscRun("(%1) CSC HSV", CscParams::Space::HSV, 25)},
    {"SplitAndMerge", "Segmentation/Split-And-Merge", "rgb", "splitSpin=5 mergeSpin=15 groupSpin=30",
     one<OPSplitAndMerge>("(%1) SMG [Split=5, Merge=15, Group=30]", SplitAndMergeParams{5, 15, 30})},
    {"HistogramSplitting", "Segmentation/Recursive Histogram Splitting", "rgb",
     "gtWindowSpin=2 minRegionSizeSpin=5 minSplitPeakSpin=7",
     one<OPRecursiveHistogramSplitting>("(%1) RHS [GT=2, MinSplitPeak=7, MinRegionSize=5]", RhsParams{2, 7, 5})},
    {"Snn", "Filter/SNN", "rgb", "iterationSpin=2", one<OPSNN>("(%1) SNN [Iterations=2]", SnnParams{2})},
    {"KuwaharaNagaoRGB", "Filter/Kuwahara-Nagao", "rgb", "",
     one<OPKuwaharaNagao>("(%1) Kuwahara-Nagao [Iterations=1]", KuwaharaNagaoParams{1, KNSpace::RGB})},
    {"KuwaharaNagaoHSV", "Filter/Kuwahara-Nagao", "rgb", "iterationSpin=2 hsvButton",
     one<OPKuwaharaNagao>("(%1) Kuwahara-Nagao [Iterations=2]", KuwaharaNagaoParams{2, KNSpace::HSV})},
    {"GaussGray", "Noise/Gauss", "gray", "SpinBoxMue=20 SpinBoxSigma=5",
     one<OPGauss>("Gauss Noise [mean=20, variance=5]", GaussParams{20, 5})},
    {"GaussRGB", "Noise/Gauss", "rgb", "", one<OPGauss>("Gauss Noise [mean=0, variance=10]", GaussParams{0, 10})},
    {"PepperGray", "Noise/Salt-and-Pepper", "gray", "RadioButtonPepper SliderNoiseLevel=30",
     one<OPSaltAndPepper>("(%1) Pepper [Percent=30%]", SaltAndPepperParams{SP::Pepper, 30})},
    {"SaltRGB", "Noise/Salt-and-Pepper", "rgb", "RadioButtonSalt",
     one<OPSaltAndPepper>("(%1) Salt [Percent=10%]", SaltAndPepperParams{SP::Salt, 10})},
    {"SaltAndPepperRGB", "Noise/Salt-and-Pepper", "rgb", "",
     one<OPSaltAndPepper>("(%1) Salt and Pepper [Percent=10%]", SaltAndPepperParams{SP::SaltAndPepper, 10})},
};

class DialogResults : public ::testing::TestWithParam<WiringCase> {};

// Two runs with the same settings: the second names its result with the next
// run number. The noise operators draw from the process-wide generator, so the
// core call gets the numbers the dialog got.
TEST_P(DialogResults, MatchTheCoreCalledDirectly)
{
    const WiringCase& c = GetParam();
    MainWindow app;
    const std::map<QString, DataEntry*> sources{
        {"gray", addTopLevel(app, busyGrayImage(12, 10), "gray")},
        {"rgb", addTopLevel(app, busyRgbImage(12, 10), "rgb")},
        {"hsv", addTopLevel(app, OPColorTransform().RGB2HSV(*busyRgbImage(12, 10)), "hsv")}};
    DataEntry* source = sources.at(c.source);
    RandomGenerator& random = RandomGenerator::instance();
    for (int run = 1; run <= 2; ++run) {
        const std::size_t before = source->children().size();
        const std::uint32_t state = random.state();
        EXPECT_FALSE(runFromMenu(app, c.menu, source, c.settings)) << "run " << run;
        const std::uint32_t after = random.state();
        random.setState(state);
        const Results expected = c.expected(*source->data(), run);
        random.setState(after);
        ASSERT_EQ(source->children().size(), before + expected.size()) << "run " << run;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const DataEntry& result = *source->children()[before + i];
            EXPECT_EQ(result.name(), expected[i].first) << "run " << run;
            EXPECT_TRUE(sameData(*result.data(), *expected[i].second)) << result.name().toStdString();
        }
    }
    // The main list shows the results under their source.
    EXPECT_EQ(app.itemOf(source)->childCount(), static_cast<int>(source->children().size()));
}

INSTANTIATE_TEST_SUITE_P(All, DialogResults, ::testing::ValuesIn(wiringCases),
                         [](const ::testing::TestParamInfo<WiringCase>& info) { return info.param.id; });

const QString smg = QStringLiteral("Segmentation/Split-And-Merge");
const QString csc = QStringLiteral("Segmentation/Color Structure Code");
const QString snn = QStringLiteral("Filter/SNN");
const QString kuwahara = QStringLiteral("Filter/Kuwahara-Nagao");

} // namespace

TEST(RunCounters, RefusedOrCancelledRunsAddNothingKeepTheDialogOpenAndDoNotCount)
{
    MainWindow app;
    // Too elongated for the split-and-merge quadtree.
    DataEntry* strip = addTopLevel(app, rgbImage(3000, 1, 1, 2, 3), "strip");
    DataEntry* square = addTopLevel(app, rgbImage(8, 8, 1, 2, 3), "square");
    {
        MessageBoxCatcher refusal;
        testing::internal::CaptureStderr();
        EXPECT_TRUE(runFromMenu(app, smg, strip));
        EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
        EXPECT_EQ(refusal.count, 1);
        EXPECT_EQ(refusal.title, "Error !");
        EXPECT_TRUE(strip->children().empty());
        // Split with no channel ticked says so and stays open.
        EXPECT_TRUE(runFromMenu(app, QStringLiteral("Split"), square, ""));
        EXPECT_EQ(refusal.count, 2);
    }
    EXPECT_FALSE(runFromMenu(app, smg, square));
    EXPECT_EQ(childNames(square), QStringList({"(1) SMG [Split=10, Merge=10, Group=20]"}));
    // The status bar reports the result: a uniform square is one region.
    const QString report = app.statusBar()->currentMessage();
    EXPECT_TRUE(report.startsWith("(1) SMG [Split=10, Merge=10, Group=20]: 1 region, ")) << report.toStdString();

    // A cancelled run likewise.
    DataEntry* source = addTopLevel(app, rgbImage(200, 200, 1, 2, 3), "big");
    {
        ProgressCanceller canceller;
        EXPECT_TRUE(runFromMenu(app, snn, source, "iterationSpin=65536"));
        EXPECT_TRUE(canceller.sawDialog);
    }
    EXPECT_TRUE(source->children().empty());
    EXPECT_FALSE(runFromMenu(app, snn, source, "iterationSpin=1"));
    EXPECT_EQ(childNames(source), QStringList({"(1) SNN [Iterations=1]"}));

    // One run counter per operator, kept across Clear All.
    {
        MessageBoxCatcher yes(QMessageBox::Yes);
        app.slotFileClearAll();
    }
    DataEntry* second = addTopLevel(app, rgbImage(4, 4, 9, 8, 7), "second");
    for (const QString& path : {snn, csc, smg, QStringLiteral("Segmentation/Recursive Histogram Splitting"),
                                QStringLiteral("Filter/Kuwahara-Nagao"), QStringLiteral("Noise/Salt-and-Pepper")})
        runFromMenu(app, path, second);
    EXPECT_EQ(childNames(second),
              QStringList({"(2) SNN [Iterations=1]", "(1) CSC RGB [Threshold=25]", "(2) SMG [Split=10, Merge=10, "
                           "Group=20]", "(1) RHS [GT=3, MinSplitPeak=200, MinRegionSize=300]",
                           "(1) Kuwahara-Nagao [Iterations=1]", "(1) Salt and Pepper [Percent=10%]"}));
}

TEST(IncompleteRun, CscWithAFullStoreAddsABlackResultAndSaysSo)
{
    MainWindow app;
    auto picture = rgbImage(20, 12, 10, 10, 200);
    for (std::size_t i = 0; i < picture->pixelCount(); ++i)
        if (i % 20 < 9) // the left nine columns red, the rest blue
            picture->setPixel(i, 200, 10, 10);
    DataEntry* source = addTopLevel(app, std::move(picture), "red and blue");
    app.findChild<CscDialog*>()->setElementsPerIsland(0.2);
    MessageBoxCatcher boxes;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(runFromMenu(app, csc, source));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Codeelement overrun...\n");
    EXPECT_EQ(boxes.count, 1);
    EXPECT_EQ(boxes.title, "Error !");
    ASSERT_EQ(childNames(source), QStringList({"(1) CSC RGB [Threshold=25]"}));
    const auto& black = static_cast<const ImageSegmented&>(*source->children()[0]->data());
    for (std::size_t i = 0; i < black.pixelCount(); ++i) {
        ASSERT_EQ(black.labels[i], 0u);
        ASSERT_EQ(black.pixel(static_cast<int>(i % 20), static_cast<int>(i / 20)), (ImageColor::Triple{0, 0, 0}));
    }
}

TEST(Progress, DialogShowsAfterHalfASecondWhateverTheCallReports)
{
    // total 1000 soon looks long, total 100000 looks short at first: either way the dialog comes after 0.5 s.
    for (const int total : {1000, 100000}) {
        qint64 firstSeen = -1;
        QElapsedTimer clock;
        clock.start();
        runWithProgress(nullptr, "long", [&](const Progress& p) {
            for (int i = 0; i < 400 && firstSeen < 0; ++i) {
                QThread::msleep(5);
                p.update(i + 1, total);
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (qobject_cast<QProgressDialog*>(w) && w->isVisible() && firstSeen < 0)
                        firstSeen = clock.elapsed();
            }
            return 0;
        });
        ASSERT_GE(firstSeen, 0) << "total " << total << ": the dialog never showed";
        EXPECT_GE(firstSeen, progressDelayMs) << "total " << total;
        EXPECT_LT(firstSeen, progressDelayMs + 400) << "total " << total;
    }
}

TEST(Progress, IterativeFiltersNameTheIterationAndTheTimeLeftFromTheFinishedOnes)
{
    // iterations, fraction reported, milliseconds elapsed, line; one clock per iteration count
    const std::tuple<int, double, int, const char*> reports[] = {
        {4, 0.2, 1900, "Iteration 1 of 4, estimating the time left"},
        {4, 0.25, 2000, "Iteration 2 of 4, about 6 s left"},
        {4, 0.4, 3500, "Iteration 2 of 4, about 5 s left"},
        {4, 0.75, 7500, "Iteration 4 of 4, about 3 s left"},
        {4, 0.9, 9700, "Iteration 4 of 4, less than a second left"},
        {4, 1.0, 10000, "Iteration 4 of 4"},
        {100, 0.01, 2000, "Iteration 2 of 100, about 3 min 18 s left"},
        {10000, 0.0001, 2000, "Iteration 2 of 10000, about 5 h 33 min left"}};
    std::optional<IterationClock> clock;
    for (int count = 0; const auto& [n, fraction, ms, line] : reports)
        EXPECT_EQ((n == count ? *clock : clock.emplace(count = n)).line(fraction, ms), line);

    // Both dialogs on a small picture: the label as the passes report; one pass keeps the caption alone.
    for (const auto& [path, caption] : {std::pair(snn, "SNN"), std::pair(kuwahara, "Kuwahara-Nagao-Filter")})
        for (const int n : {1, 3}) {
            MainWindow app;
            QStringList seen;
            QTimer spy;
            QObject::connect(&spy, &QTimer::timeout, [&] {
                if (auto* p = app.findChild<QProgressDialog*>("progress"); p && !seen.endsWith(p->labelText()))
                    seen << p->labelText();
            });
            spy.start(0);
            runFromMenu(app, path, addTopLevel(app, busyRgbImage(12, 10), "rgb"), QString("iterationSpin=%1").arg(n));
            seen.replaceInStrings(QRegularExpression(", [^,]* left$"), ", ... left"); // times vary
            const QString head = QString(caption) + "\nIteration ";
            const QStringList three{head + "2 of 3, ... left", head + "3 of 3, ... left", head + "3 of 3"};
            EXPECT_EQ(seen, n == 1 ? QStringList(caption) : three);
        }
}
