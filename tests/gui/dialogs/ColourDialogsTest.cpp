// Split and Color Transform through their dialogs: enabling by selection, result
// names and nesting, and the keyboard order.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "dialogs/DIColorTransform.h"
#include "dialogs/DISplit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace ivra;

using namespace guitest;

TEST(SplitDialog, SelectionEnablesAndRelabelsTheChannels)
{
    IvraApp app;
    DataEntry* rgb = addTopLevel(app, rgbImage(1, 1, 0, 0, 0), "rgb");
    DataEntry* hsv = rgb->addChild(hsvImage(1, 1, 0, 0, 0), "HSV");
    DISplit* d = findDialog<DISplit>(app);
    d->fillList();

    // No selection: OK and the group are off; an HSV picture relabels the boxes.
    EXPECT_FALSE(d->GroupBoxView->isEnabled());
    d->selectEntry(hsv);
    EXPECT_EQ(d->checkBox1->text(), "Hue-Channel");
    EXPECT_EQ(d->checkBox3->text(), "Value-Channel");
    d->selectEntry(rgb);
    EXPECT_EQ(d->checkBox2->text(), "Green-Channel");
}

TEST(SplitDialog, AddsTickedChannelsOnceEach)
{
    IvraApp app;
    auto image = rgbImage(2, 1, 10, 20, 30);
    image->red()[1] = 300; // copied value for value, no clamping
    DataEntry* source = addTopLevel(app, std::move(image), "photo.ppm");
    DISplit* d = findDialog<DISplit>(app);

    runDialog(d, source, [d] {
        d->checkBox1->setChecked(true);
        d->checkBox2->setChecked(false);
        d->checkBox3->setChecked(true);
    });
    EXPECT_EQ(childNames(source), QStringList({"Red", "Blue"}));
    const auto* red = dynamic_cast<const ImageGray*>(source->children()[0]->data());
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->data()[0], 10);
    EXPECT_EQ(red->data()[1], 300);
    EXPECT_EQ(static_cast<const ImageGray*>(source->children()[1]->data())->data()[0], 30);

    // The main list shows the results under their source.
    QTreeWidgetItem* top = app.dataList()->topLevelItem(0);
    ASSERT_EQ(top->childCount(), 2);
    EXPECT_EQ(top->child(0)->text(0), "Red");

    // Red again adds nothing; Green is new.
    runDialog(d, source, [d] {
        d->checkBox1->setChecked(true);
        d->checkBox2->setChecked(true);
        d->checkBox3->setChecked(false);
    });
    EXPECT_EQ(childNames(source), QStringList({"Red", "Blue", "Green"}));

    // Nothing ticked: nothing added, the dialog closes.
    runDialog(d, source, [d] {
        d->checkBox1->setChecked(false);
        d->checkBox2->setChecked(false);
    });
    EXPECT_EQ(source->children().size(), 3u);
    EXPECT_FALSE(d->isVisible());
}

TEST(SplitDialog, SplitsHsvIntoHueSaturationValue)
{
    IvraApp app;
    auto image = hsvImage(2, 1, 359, 5, 6);
    image->hue()[0] = -1;
    DataEntry* source = addTopLevel(app, std::move(image), "HSV");
    DISplit* d = findDialog<DISplit>(app);
    runDialog(d, source, [d] {
        for (QCheckBox* b : {d->checkBox1, d->checkBox2, d->checkBox3})
            b->setChecked(true);
    });
    EXPECT_EQ(childNames(source), QStringList({"Hue", "Saturation", "Value"}));
    const auto* hue = static_cast<const ImageGray*>(source->children()[0]->data());
    EXPECT_EQ(hue->data()[0], -1);
    EXPECT_EQ(hue->data()[1], 359);
    EXPECT_EQ(static_cast<const ImageGray*>(source->children()[2]->data())->data()[1], 6);
}

TEST(ColorTransformDialog, SelectionEnablesTheMatchingTransformOnly)
{
    IvraApp app;
    DataEntry* gray = addTopLevel(app, grayImage(1, 1, 0), "g");
    DataEntry* hsv = addTopLevel(app, hsvImage(1, 1, 0, 0, 0), "h");
    DIColorTransform* d = findDialog<DIColorTransform>(app);
    d->fillList();
    EXPECT_FALSE(d->ButtonGroup->isEnabled());
    EXPECT_FALSE(d->RadioButton1->isEnabled());

    d->selectEntry(hsv);
    EXPECT_TRUE(d->RadioButton2->isEnabled());
    EXPECT_TRUE(d->RadioButton2->isChecked());
    EXPECT_FALSE(d->RadioButton1->isEnabled());
    EXPECT_FALSE(d->RadioButton3->isEnabled());
    d->selectEntry(gray);
    EXPECT_TRUE(d->RadioButton3->isChecked());
    EXPECT_FALSE(d->RadioButton2->isEnabled());
}

TEST(ColorTransformDialog, RoundTripNestsResults)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, rgbImage(2, 2, 255, 0, 0), "red.ppm");
    DIColorTransform* d = findDialog<DIColorTransform>(app);
    runDialog(d, source);
    ASSERT_EQ(childNames(source), QStringList({"HSV"}));
    DataEntry* hsvEntry = source->children()[0].get();
    const auto* hsv = dynamic_cast<const ImageHSV*>(hsvEntry->data());
    ASSERT_NE(hsv, nullptr);
    EXPECT_EQ(hsv->hue()[3], 0);
    EXPECT_EQ(hsv->saturation()[3], 255);
    EXPECT_EQ(hsv->value()[3], 255);

    // The result is listed by the next run and converts back under itself.
    runDialog(d, hsvEntry);
    ASSERT_EQ(childNames(hsvEntry), QStringList({"RGB"}));
    const auto* rgb = dynamic_cast<const ImageRGB*>(hsvEntry->children()[0]->data());
    ASSERT_NE(rgb, nullptr);
    EXPECT_EQ(rgb->red()[0], 255);
    EXPECT_EQ(rgb->green()[0], 0);
    EXPECT_EQ(app.entryAt(2), hsvEntry->children()[0].get());

    DataEntry* gray = addTopLevel(app, grayImage(1, 1, 77), "g.pgm");
    runDialog(d, gray);
    ASSERT_EQ(childNames(gray), QStringList({"RGB"}));
    const auto* fromGray = static_cast<const ImageRGB*>(gray->children()[0]->data());
    EXPECT_EQ(fromGray->red()[0], 77);
    EXPECT_EQ(fromGray->blue()[0], 77);
}

TEST(SplitDialog, TabGoesFromTheListThroughTheChannelsToTheButtons)
{
    IvraApp app;
    DataEntry* rgb = addTopLevel(app, rgbImage(1, 1, 0, 0, 0), "rgb");
    DISplit* split = findDialog<DISplit>(app);
    QList<QWidget*> order;
    driveModal([split] { split->showDialog(); },
               [&] {
                   split->selectEntry(rgb);
                   order = tabOrder(*split);
                   split->reject();
               });
    EXPECT_EQ(order, (QList<QWidget*>{split->listView(), split->checkBox1, split->checkBox2, split->checkBox3,
                                      split->infoButton(), split->okButton(), split->cancelButton()}));
}
