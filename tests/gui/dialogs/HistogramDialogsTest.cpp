// Histogram and Color Histogram through their dialogs: enabling by selection, the
// bin choices, result names and the windows of the results.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "dialogs/DIColorHistogram.h"
#include "dialogs/DIHistogram.h"
#include "view/IvraViewHistogram.h"

#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace ivra;

using namespace guitest;

namespace {

template <class H>
const H* histogramAt(const DataEntry* e, std::size_t i)
{
    return dynamic_cast<const H*>(e->children().at(i)->data());
}

} // namespace

TEST(HistogramDialog, LevelsAndTheirEnablingBySelection)
{
    IvraApp app;
    DataEntry* gray = addTopLevel(app, grayImage(1, 1, 0), "gray");
    DIHistogram* d = findDialog<DIHistogram>(app);
    EXPECT_EQ(d->RadioButton16->text(), "  16 Levels");
    EXPECT_EQ(d->RadioButton64->text(), "  64 Levels");
    EXPECT_EQ(d->RadioButton128->text(), "128 Levels");
    EXPECT_EQ(d->ButtonGroupLevels->title(), "");
    EXPECT_TRUE(d->RadioButton256->isChecked());
    d->fillList();
    EXPECT_FALSE(d->ButtonGroupLevels->isEnabled());
    d->selectEntry(gray);
    EXPECT_TRUE(d->ButtonGroupLevels->isEnabled());
    d->listView()->clearSelection();
    EXPECT_FALSE(d->okButton()->isEnabled());
}

TEST(HistogramDialog, CountsIntoTheChosenBinsAndNamesEveryResultHistogram)
{
    IvraApp app;
    auto image = grayImage(4, 1, 0);
    image->data()[1] = 15;
    image->data()[2] = 16;
    image->data()[3] = 255;
    DataEntry* source = addTopLevel(app, std::move(image), "g.pgm");
    DIHistogram* d = findDialog<DIHistogram>(app);

    runDialog(d, source);
    runDialog(d, source, [d] { d->RadioButton16->setChecked(true); });
    EXPECT_EQ(childNames(source), QStringList({"Histogram", "Histogram"}));
    const auto* h256 = histogramAt<HistogramGray>(source, 0);
    const auto* h16 = histogramAt<HistogramGray>(source, 1);
    ASSERT_NE(h256, nullptr);
    ASSERT_NE(h16, nullptr);
    EXPECT_EQ(h256->binCount(), 256);
    EXPECT_EQ(h256->counts()[15], 1);
    EXPECT_EQ(h16->binCount(), 16);
    EXPECT_EQ(h16->counts()[0], 2);
    EXPECT_EQ(h16->counts()[1], 1);
    EXPECT_EQ(h16->counts()[15], 1);
    EXPECT_FALSE(d->isVisible());

    // The result opens the histogram window.
    EXPECT_NE(dynamic_cast<IvraViewHistogram*>(app.showEntry(source->children()[1].get())), nullptr);
}

TEST(ColorHistogramDialog, SelectionEnablesTheGroupOfItsTypeAndNeverDynamic)
{
    IvraApp app;
    DataEntry* rgb = addTopLevel(app, rgbImage(1, 1, 0, 0, 0), "rgb");
    DataEntry* hsv = addTopLevel(app, hsvImage(1, 1, 0, 0, 0), "hsv");
    DIColorHistogram* d = findDialog<DIColorHistogram>(app);
    EXPECT_EQ(d->ButtonGroupRGB->title(), "RGB Histogram");
    EXPECT_EQ(d->ButtonGroupHSV->title(), "HSV Histogram");
    d->fillList();
    EXPECT_FALSE(d->ButtonGroupRGB->isEnabled());
    EXPECT_FALSE(d->ButtonGroupHSV->isEnabled());

    d->selectEntry(rgb);
    EXPECT_TRUE(d->ButtonGroupRGB->isEnabled());
    EXPECT_FALSE(d->ButtonGroupHSV->isEnabled());
    EXPECT_FALSE(d->RadioButtonDynamicRGB->isEnabled());

    d->selectEntry(hsv);
    EXPECT_FALSE(d->ButtonGroupRGB->isEnabled());
    EXPECT_TRUE(d->ButtonGroupHSV->isEnabled());
    EXPECT_FALSE(d->RadioButtonDynamicHSV->isEnabled());
    EXPECT_FALSE(d->SpinBoxDynamicHSV->isEnabled());
}

TEST(ColorHistogramDialog, StartsOnThreeChannelsAndStaticFuzzyWithTheirChoosers)
{
    IvraApp app;
    DIColorHistogram* d = findDialog<DIColorHistogram>(app);
    EXPECT_TRUE(d->RadioButtonChannelRGB->isChecked());
    EXPECT_TRUE(d->RadioButtonFuzzyHSV->isChecked());
    EXPECT_EQ(d->RadioButtonFuzzyRGB->text(), "Static Fuzzy");
    EXPECT_EQ(d->RadioButtonChannelHSV->text(), "3-Channel");
    EXPECT_EQ(d->ComboBoxChannelRGB->count(), 8);
    EXPECT_EQ(d->ComboBoxChannelRGB->currentText(), "256");
    EXPECT_EQ(d->ComboBoxChannelHSV->itemText(7), "2");
    EXPECT_EQ(d->ComboBoxStaticRGB->itemText(2), "8x8x8");
    EXPECT_EQ(d->ComboBoxFuzzyHSV->currentText(), "6x2+4");
    expectRange(d->SpinBoxDynamicRGB, 1, 256, 8);
    EXPECT_EQ(d->SpinBoxDynamicHSV->value(), 8);
    // Each radio button drives its own chooser (the groups themselves wait for a selection).
    const auto enabledInRGB = [d](QWidget* w) { return w->isEnabledTo(d->ButtonGroupRGB); };
    const auto enabledInHSV = [d](QWidget* w) { return w->isEnabledTo(d->ButtonGroupHSV); };
    EXPECT_TRUE(enabledInRGB(d->ComboBoxChannelRGB));
    EXPECT_FALSE(enabledInRGB(d->ComboBoxStaticRGB));
    EXPECT_FALSE(enabledInRGB(d->SpinBoxDynamicRGB));
    d->RadioButtonStaticRGB->setChecked(true);
    EXPECT_TRUE(enabledInRGB(d->ComboBoxStaticRGB));
    EXPECT_FALSE(enabledInRGB(d->ComboBoxChannelRGB));
    EXPECT_TRUE(enabledInHSV(d->ComboBoxFuzzyHSV));
    EXPECT_FALSE(enabledInHSV(d->ComboBoxStaticHSV));
    d->RadioButtonChannelHSV->setChecked(true);
    EXPECT_TRUE(enabledInHSV(d->ComboBoxChannelHSV));
    EXPECT_FALSE(enabledInHSV(d->ComboBoxFuzzyHSV));
}

TEST(ColorHistogramDialog, RGBKindsAndTheirNames)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, rgbImage(2, 2, 127, 128, 0), "photo.ppm");
    DIColorHistogram* d = findDialog<DIColorHistogram>(app);

    runDialog(d, source, [d] {
        d->RadioButtonChannelRGB->setChecked(true);
        d->ComboBoxChannelRGB->setCurrentText("16");
    });
    EXPECT_EQ(childNames(source), QStringList({"Histogram Red 16", "Histogram Green 16", "Histogram Blue 16"}));
    const auto* green = histogramAt<HistogramGray>(source, 1);
    ASSERT_NE(green, nullptr);
    EXPECT_EQ(green->binCount(), 16);
    EXPECT_EQ(green->counts()[8], 4);

    runDialog(d, source, [d] {
        d->RadioButtonStaticRGB->setChecked(true);
        d->ComboBoxStaticRGB->setCurrentText("2x2x2");
    });
    runDialog(d, source, [d] {
        d->RadioButtonFuzzyRGB->setChecked(true);
        d->ComboBoxFuzzyRGB->setCurrentText("8x8x8");
    });
    ASSERT_EQ(source->children().size(), 5u);
    EXPECT_EQ(source->children()[3]->name(), "Static RGB-Histogram 2x2x2");
    EXPECT_EQ(source->children()[4]->name(), "Fuzzy RGB-Histogram 8x8x8");
    const auto* crisp = histogramAt<HistogramRGB>(source, 3);
    ASSERT_NE(crisp, nullptr);
    EXPECT_EQ(crisp->counts()[2], 4.0f);
    EXPECT_EQ(histogramAt<HistogramRGB>(source, 4)->binCount(), 512);
    EXPECT_NE(dynamic_cast<IvraViewHistogram*>(app.showEntry(source->children()[4].get())), nullptr);
}

TEST(ColorHistogramDialog, HSVKindsAndTheirNames)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, hsvImage(1, 1, 30, 255, 200), "HSV");
    DIColorHistogram* d = findDialog<DIColorHistogram>(app);

    runDialog(d, source); // Static Fuzzy, 6x2+4
    runDialog(d, source, [d] {
        d->RadioButtonStaticHSV->setChecked(true);
        d->ComboBoxStaticHSV->setCurrentText("6x2+8");
    });
    runDialog(d, source, [d] {
        d->RadioButtonChannelHSV->setChecked(true);
        d->ComboBoxChannelHSV->setCurrentText("256");
    });
    EXPECT_EQ(childNames(source), QStringList({"Fuzzy HSV-Histogram 6x2+4", "Static HSV-Histogram 6x2+8",
                                               "Histogram Hue 256", "Histogram Saturation 256",
                                               "Histogram Value 256"}));
    const auto* fuzzy = histogramAt<HistogramHSV>(source, 0);
    ASSERT_NE(fuzzy, nullptr);
    EXPECT_EQ(fuzzy->binCount(), 16);
    EXPECT_DOUBLE_EQ(fuzzy->counts()[4 + 6], 0.5);
    EXPECT_DOUBLE_EQ(fuzzy->counts()[4 + 7], 0.5);
    EXPECT_EQ(histogramAt<HistogramHSV>(source, 1)->binCount(), 20);
    EXPECT_EQ(histogramAt<HistogramGray>(source, 2)->counts()[30], 1);
    EXPECT_NE(dynamic_cast<IvraViewHistogram*>(app.showEntry(source->children()[0].get())), nullptr);
}

TEST(ColorHistogramDialog, DynamicOnlyPrintsItsMessageAndCloses)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, rgbImage(1, 1, 0, 0, 0), "rgb");
    DIColorHistogram* d = findDialog<DIColorHistogram>(app);
    CapturedMessages messages;
    bool openAfterOk = true;
    driveModal([d] { d->showDialog(); },
               [d, source, &openAfterOk] {
                   d->selectEntry(source);
                   d->RadioButtonDynamicRGB->setChecked(true); // disabled for the user, not for the program
                   d->okButton()->click();
                   openAfterOk = d->isVisible();
                   if (openAfterOk)
                       d->reject();
               });
    d->RadioButtonChannelRGB->setChecked(true);
    EXPECT_EQ(messages.lines, QStringList({"Dynamic Histogram not yet implemented !"}));
    EXPECT_TRUE(source->children().empty());
    EXPECT_FALSE(openAfterOk);
}
