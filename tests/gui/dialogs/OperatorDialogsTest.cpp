// Every operator dialog through its Operator menu entry: what it lists, the
// "Error !" box without a selection, the keyboard order, its help window, and
// its results against the core called directly with the same parameters.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/HelpDialog.h"
#include "app/OperatorDialog.h"

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

#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

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

void PrintTo(const DialogCase& c, std::ostream* os)
{
    *os << c.menu;
}

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

        MessageBoxCatcher boxes;
        d.execute();
        EXPECT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.title(), "Error !");
        EXPECT_TRUE(d.isVisible());

        // Tab runs list, parameters, then Info, OK, Cancel.
        const QList<QWidget*> order = tabOrder(d);
        ASSERT_GE(order.size(), 5);
        EXPECT_EQ(order.first(), d.listView());
        EXPECT_EQ(order.mid(order.size() - 3), (QList<QWidget*>{d.infoButton(), d.okButton(), d.cancelButton()}));

        QString helpTitle;
        QString helpText;
        bool closed = false;
        driveModal([&d] { d.infoButton()->click(); },
                   [&] {
                       auto* help = d.findChild<HelpDialog*>();
                       if (!help)
                           return;
                       helpTitle = help->windowTitle();
                       helpText = help->textView()->toPlainText();
                       help->findChild<QPushButton*>()->click();
                       closed = !help->isVisible();
                   });
        EXPECT_EQ(helpTitle, d.windowTitle());
        EXPECT_FALSE(helpText.isEmpty());
        EXPECT_TRUE(closed);
    });
    for (const auto& e : app.root()->children())
        EXPECT_TRUE(e->children().empty()) << e->name().toStdString();
    // Keyboard input returns to the image list.
    EXPECT_EQ(app.focusWidget(), app.dataList());
}

INSTANTIATE_TEST_SUITE_P(All, EveryDialog, ::testing::ValuesIn(dialogCases),
                         [](const ::testing::TestParamInfo<DialogCase>& info) {
                             QString id = QString::fromLatin1(info.param.menu).section('/', -1);
                             id.remove(QRegularExpression("[^A-Za-z]"));
                             return id.toStdString();
                         });

// ------------------------------------------------------------ results against the core

using Results = std::vector<std::pair<QString, std::unique_ptr<DataObject>>>;

Results made()
{
    return {};
}

template <class D, class... Rest>
Results made(const QString& name, std::unique_ptr<D> data, Rest&&... rest)
{
    Results r = made(std::forward<Rest>(rest)...);
    r.insert(r.begin(), {name, std::move(data)});
    return r;
}

template <class H>
Results channels(std::array<std::unique_ptr<H>, 3> h, const QStringList& names)
{
    return made(names[0], std::move(h[0]), names[1], std::move(h[1]), names[2], std::move(h[2]));
}

const ImageRGB& rgb(const DataObject& d)
{
    return static_cast<const ImageRGB&>(d);
}
const ImageGray& gray(const DataObject& d)
{
    return static_cast<const ImageGray&>(d);
}
const ImageHSV& hsv(const DataObject& d)
{
    return static_cast<const ImageHSV&>(d);
}

QString n(const char* format, int run)
{
    return QString::fromLatin1(format).arg(run);
}

struct WiringCase {
    const char* id;
    const char* menu;
    const char* source; // "gray", "rgb" or "hsv"
    std::function<void(QWidget&)> set;
    // The results of the run-th run (1 or 2), from the core.
    std::function<Results(const DataObject& source, int run)> expected;
};

void PrintTo(const WiringCase& c, std::ostream* os)
{
    *os << c.id;
}

const QStringList rgbChannels = {"Histogram Red 16", "Histogram Green 16", "Histogram Blue 16"};
const QStringList hsvChannels = {"Histogram Hue 64", "Histogram Saturation 64", "Histogram Value 64"};

const WiringCase wiringCases[] = {
    {"SplitRGB", "Split", "rgb", [](QWidget& d) { check(d, "checkBox1"), check(d, "checkBox3"); },
     [](const DataObject& s, int run) {
         // The second run finds both channels there already and adds nothing.
         return run > 1 ? made() : made("Red", OPSplit::channel(rgb(s), 0), "Blue", OPSplit::channel(rgb(s), 2));
     }},
    {"SplitHSV", "Split", "hsv", [](QWidget& d) { check(d, "checkBox1"), check(d, "checkBox2"), check(d, "checkBox3"); },
     [](const DataObject& s, int run) {
         return run > 1 ? made()
                        : made("Hue", OPSplit::channel(hsv(s), 0), "Saturation", OPSplit::channel(hsv(s), 1), "Value",
                               OPSplit::channel(hsv(s), 2));
     }},
    {"TransformRGB", "Color &Transform", "rgb", {},
     [](const DataObject& s, int) { return made("HSV", OPColorTransform().RGB2HSV(rgb(s))); }},
    {"TransformHSV", "Color &Transform", "hsv", {},
     [](const DataObject& s, int) { return made("RGB", OPColorTransform().HSV2RGB(hsv(s))); }},
    {"TransformGray", "Color &Transform", "gray", {},
     [](const DataObject& s, int) { return made("RGB", OPColorTransform().Gray2RGB(gray(s))); }},
    {"Histogram256", "Statistics/Histogram", "gray", {},
     [](const DataObject& s, int) { return made("Histogram", OPHistogram::execute(gray(s), 256)); }},
    {"Histogram32", "Statistics/Histogram", "gray", [](QWidget& d) { check(d, "RadioButton32"); },
     [](const DataObject& s, int) { return made("Histogram", OPHistogram::execute(gray(s), 32)); }},
    {"Histogram128", "Statistics/Histogram", "gray", [](QWidget& d) { check(d, "RadioButton128"); },
     [](const DataObject& s, int) { return made("Histogram", OPHistogram::execute(gray(s), 128)); }},
    {"ChannelsRGB", "Statistics/Color &Histogram", "rgb", [](QWidget& d) { choose(d, "ComboBoxChannelRGB", "16"); },
     [](const DataObject& s, int) { return channels(OPColorHistogram::channels(rgb(s), 16), rgbChannels); }},
    {"StaticRGB", "Statistics/Color &Histogram", "rgb",
     [](QWidget& d) { check(d, "RadioButtonStaticRGB"), choose(d, "ComboBoxStaticRGB", "4x4x4"); },
     [](const DataObject& s, int) {
         return made("Static RGB-Histogram 4x4x4", OPColorHistogram::staticRGB(rgb(s), 4, 4, 4));
     }},
    {"FuzzyRGB", "Statistics/Color &Histogram", "rgb",
     [](QWidget& d) { check(d, "RadioButtonFuzzyRGB"), choose(d, "ComboBoxFuzzyRGB", "2x2x2"); },
     [](const DataObject& s, int) { return made("Fuzzy RGB-Histogram 2x2x2", OPColorHistogram::fuzzyRGB(rgb(s), 2)); }},
    {"DynamicRGB", "Statistics/Color &Histogram", "rgb", [](QWidget& d) { check(d, "RadioButtonDynamicRGB"); },
     [](const DataObject&, int) { return made(); }},
    {"FuzzyHSV", "Statistics/Color &Histogram", "hsv", {},
     [](const DataObject& s, int) {
         return made("Fuzzy HSV-Histogram 6x2+4", OPColorHistogram::fuzzyHSV(hsv(s), 6, 2, 4));
     }},
    {"StaticHSV", "Statistics/Color &Histogram", "hsv",
     [](QWidget& d) { check(d, "RadioButtonStaticHSV"), choose(d, "ComboBoxStaticHSV", "6x2+8"); },
     [](const DataObject& s, int) {
         return made("Static HSV-Histogram 6x2+8", OPColorHistogram::staticHSV(hsv(s), 6, 2, 8));
     }},
    {"ChannelsHSV", "Statistics/Color &Histogram", "hsv",
     [](QWidget& d) { check(d, "RadioButtonChannelHSV"), choose(d, "ComboBoxChannelHSV", "64"); },
     [](const DataObject& s, int) { return channels(OPColorHistogram::channels(hsv(s), 64), hsvChannels); }},
    {"RegionGrowingGray", "Segmentation/Region Growing", "gray", [](QWidget& d) { setValue(d, "SpinBoxSpan", 20); },
     [](const DataObject& s, int) { return made("Region Growing", OPRegionGrowing().execute(gray(s), 20)); }},
    {"RegionGrowingRGB", "Segmentation/Region Growing", "rgb", {},
     [](const DataObject& s, int) { return made("Region Growing", OPRegionGrowing().execute(rgb(s), 50)); }},
    {"CscRGB", "Segmentation/Color Structure Code", "rgb", [](QWidget& d) { setValue(d, "thresholdSpin", 40); },
     [](const DataObject& s, int run) {
         return made(n("(%1) CSC RGB [Threshold=40]", run), OPCSC().execute(rgb(s), OPCSC::Space::RGB, 40).image);
     }},
    {"CscHSV", "Segmentation/Color Structure Code", "rgb", [](QWidget& d) { check(d, "hsvButton"); },
     [](const DataObject& s, int run) {
         return made(n("(%1) CSC HSV", run), OPCSC().execute(rgb(s), OPCSC::Space::HSV).image);
     }},
    {"SplitAndMerge", "Segmentation/Split-And-Merge", "rgb",
     [](QWidget& d) { setValue(d, "splitSpin", 5), setValue(d, "mergeSpin", 15), setValue(d, "groupSpin", 30); },
     [](const DataObject& s, int run) {
         return made(n("(%1) SMG [Split=5, Merge=15, Group=30]", run), OPSplitAndMerge().execute(rgb(s), 5, 15, 30));
     }},
    {"HistogramSplitting", "Segmentation/Recursive Histogram Splitting", "rgb",
     [](QWidget& d) {
         setValue(d, "gtWindowSpin", 2), setValue(d, "minRegionSizeSpin", 5), setValue(d, "minSplitPeakSpin", 7);
     },
     [](const DataObject& s, int run) {
         RHSParameters p;
         p.gtWindow = 2;
         p.minRegionSize = 5;
         p.minSplitPeak = 7;
         return made(n("(%1) RHS [GT=2, MinSplitPeak=7, MinRegionSize=5]", run),
                     OPRecursiveHistogramSplitting().execute(rgb(s), p));
     }},
    {"Snn", "Filter/SNN", "rgb", [](QWidget& d) { setValue(d, "iterationSpin", 2); },
     [](const DataObject& s, int run) { return made(n("(%1) SNN [Iterations=2]", run), OPSNN().execute(rgb(s), 2)); }},
    {"KuwaharaNagaoRGB", "Filter/Kuwahara-Nagao", "rgb", {},
     [](const DataObject& s, int run) {
         return made(n("(%1) Kuwahara-Nagao [Iterations=1]", run),
                     OPKuwaharaNagao().execute(rgb(s), 1, OPKuwaharaNagao::Space::RGB));
     }},
    {"KuwaharaNagaoHSV", "Filter/Kuwahara-Nagao", "rgb",
     [](QWidget& d) { setValue(d, "iterationSpin", 2), check(d, "hsvButton"); },
     [](const DataObject& s, int run) {
         return made(n("(%1) Kuwahara-Nagao [Iterations=2]", run),
                     OPKuwaharaNagao().execute(rgb(s), 2, OPKuwaharaNagao::Space::HSV));
     }},
    {"GaussGray", "Noise/Gauss", "gray", [](QWidget& d) { setValue(d, "SpinBoxMue", 20), setValue(d, "SpinBoxSigma", 5); },
     [](const DataObject& s, int) {
         return made("Gauss Noise [mean=20, variance=5]", OPGauss().execute(gray(s), 20, 5));
     }},
    {"GaussRGB", "Noise/Gauss", "rgb", {},
     [](const DataObject& s, int) { return made("Gauss Noise [mean=0, variance=10]", OPGauss().execute(rgb(s), 0, 10)); }},
    {"PepperGray", "Noise/Salt-and-Pepper", "gray",
     [](QWidget& d) { check(d, "RadioButtonPepper"), setValue(d, "SliderNoiseLevel", 30); },
     [](const DataObject& s, int run) {
         return made(n("(%1) Pepper [Percent=30%]", run), OPSaltAndPepper().execute(gray(s), OPSaltAndPepper::Pepper, 30));
     }},
    {"SaltRGB", "Noise/Salt-and-Pepper", "rgb", [](QWidget& d) { check(d, "RadioButtonSalt"); },
     [](const DataObject& s, int run) {
         return made(n("(%1) Salt [Percent=10%]", run), OPSaltAndPepper().execute(rgb(s), OPSaltAndPepper::Salt, 10));
     }},
    {"SaltAndPepperRGB", "Noise/Salt-and-Pepper", "rgb", {},
     [](const DataObject& s, int run) {
         return made(n("(%1) Salt and Pepper [Percent=10%]", run),
                     OPSaltAndPepper().execute(rgb(s), OPSaltAndPepper::SaltAndPepper, 10));
     }},
};

class DialogResults : public ::testing::TestWithParam<WiringCase> {};

// Two runs with the same settings: the second names its result with the next
// run number. The noise operators draw from the process-wide generator, so the
// core call gets the numbers the dialog got.
TEST_P(DialogResults, MatchTheCoreCalledDirectly)
{
    const WiringCase& c = GetParam();
    MainWindow app;
    std::map<QString, DataEntry*> sources;
    sources["gray"] = addTopLevel(app, busyGrayImage(12, 10), "gray");
    sources["rgb"] = addTopLevel(app, busyRgbImage(12, 10), "rgb");
    sources["hsv"] = addTopLevel(app, OPColorTransform().RGB2HSV(*busyRgbImage(12, 10)), "hsv");
    DataEntry* source = sources.at(c.source);
    RandomGenerator& random = RandomGenerator::instance();
    for (int run = 1; run <= 2; ++run) {
        const std::size_t before = source->children().size();
        const std::uint32_t state = random.state();
        const bool stayedOpen = runFromMenu(app, c.menu, source, c.set);
        EXPECT_FALSE(stayedOpen) << "run " << run;
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

} // namespace
