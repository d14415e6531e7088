// The Region Growing dialog: its form, listing, result name and nesting, the
// error box, and its place in the Operator menu.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "app/QInfoDialog.h"
#include "dialogs/DIRegionGrowing.h"

#include "image/ImageSegmented.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace guitest;

namespace {

DIRegionGrowing* dialogOf(IvraApp& app)
{
    auto* d = app.findChild<DIRegionGrowing*>();
    EXPECT_NE(d, nullptr);
    return d;
}

void runDialog(DIRegionGrowing* d, DataEntry* source, int span)
{
    driveModal([d] { d->showDialog(); },
               [d, source, span] {
                   EXPECT_TRUE(d->selectEntry(source));
                   d->SpinBoxSpan->setValue(span);
                   d->okButton()->click();
                   if (d->isVisible())
                       d->reject();
               });
}

} // namespace

TEST(RegionGrowingDialog, FormListsGrayAndRgbPicturesAndFollowsTheSelection)
{
    IvraApp app;
    DataEntry* gray = addTopLevel(app, grayImage(2, 2, 5), "g.pgm");
    DataEntry* rgb = addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "c.ppm");
    rgb->addChild(hsvImage(2, 2, 0, 0, 0), "HSV");
    DIRegionGrowing* d = dialogOf(app);
    EXPECT_EQ(d->windowTitle(), "Region Growing");
    EXPECT_EQ(d->size(), QSize(288, 324));
    EXPECT_EQ(d->GroupBoxParameter->title(), "Parameter");
    EXPECT_EQ(d->TextLabelSpan->text(), "Span");
    EXPECT_EQ(d->SpinBoxSpan->objectName(), "SpinBoxSpan");
    EXPECT_EQ(d->SpinBoxSpan->minimum(), 0);
    EXPECT_EQ(d->SpinBoxSpan->maximum(), 255);
    EXPECT_EQ(d->SpinBoxSpan->value(), 50);
    EXPECT_EQ(d->infoButton()->objectName(), "PushButtonInfo");
    EXPECT_EQ(d->infoButton()->text(), "Info");
    EXPECT_EQ(d->okButton()->text(), "OK");
    EXPECT_EQ(d->cancelButton()->text(), "Cancel");

    d->fillList();
    EXPECT_EQ(d->entries(), (std::vector<DataEntry*>{gray, rgb}));
    EXPECT_FALSE(d->okButton()->isEnabled());
    EXPECT_FALSE(d->GroupBoxParameter->isEnabled());
    d->selectEntry(rgb);
    EXPECT_TRUE(d->okButton()->isEnabled());
    EXPECT_TRUE(d->GroupBoxParameter->isEnabled());
}

TEST(RegionGrowingDialog, ResultIsASegmentationNamedRegionGrowingUnderItsSource)
{
    IvraApp app;
    auto image = rgbImage(3, 1, 100, 0, 0);
    image->red()[2] = 160; // 60 from the seed
    DataEntry* top = addTopLevel(app, std::move(image), "photo.ppm");
    DIRegionGrowing* d = dialogOf(app);

    runDialog(d, top, 59);
    ASSERT_EQ(top->children().size(), 1u);
    DataEntry* first = top->children()[0].get();
    EXPECT_EQ(first->name(), "Region Growing");
    const auto* seg = dynamic_cast<const ImageSegmented*>(first->data());
    ASSERT_NE(seg, nullptr);
    EXPECT_EQ(seg->labels.at(2, 0), 2u);
    EXPECT_FALSE(d->isVisible());

    // The result is listed again and grows a nested result; no counter in the name.
    // The span is kept between runs.
    runDialog(d, first, 60);
    ASSERT_EQ(first->children().size(), 1u);
    EXPECT_EQ(first->children()[0]->name(), "Region Growing");
    const auto* nested = static_cast<const ImageSegmented*>(first->children()[0]->data());
    EXPECT_EQ(nested->labels.at(2, 0), 1u);
    EXPECT_EQ(d->SpinBoxSpan->value(), 60);
    runDialog(d, top, 60);
    ASSERT_EQ(top->children().size(), 2u);
    EXPECT_EQ(top->children()[1]->name(), "Region Growing");
    EXPECT_EQ(app.dataList()->topLevelItem(0)->childCount(), 2);
}

TEST(RegionGrowingDialog, GrayInputGivesAGraySegmentation)
{
    IvraApp app;
    auto image = grayImage(2, 1, 10);
    image->data()[1] = 21;
    DataEntry* gray = addTopLevel(app, std::move(image), "g.pgm");
    runDialog(dialogOf(app), gray, 20);
    ASSERT_EQ(gray->children().size(), 1u);
    const auto* seg = dynamic_cast<const ImageSegmented*>(gray->children()[0]->data());
    ASSERT_NE(seg, nullptr);
    EXPECT_EQ(seg->pixel(1, 0), (ImageColor::Triple{15, 15, 15}));
    EXPECT_EQ(seg->sourcePixels.at(1, 0), (RGB24{21, 21, 21}));
}

TEST(RegionGrowingDialog, OkWithoutSelectionShowsTheErrorAndStaysOpen)
{
    IvraApp app;
    addTopLevel(app, rgbImage(1, 1, 0, 0, 0), "c.ppm");
    DIRegionGrowing* d = dialogOf(app);
    MessageBoxCatcher boxes;
    bool stillOpen = false;
    driveModal([d] { d->showDialog(); },
               [d, &stillOpen] {
                   d->execute();
                   stillOpen = d->isVisible();
                   d->cancelButton()->click();
               });
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.title(), "Error !");
    EXPECT_EQ(boxes.text(), "Please select an Image for the Operator !");
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(d->isVisible());
    EXPECT_TRUE(app.root()->children()[0]->children().empty());
}

TEST(RegionGrowingDialog, InfoShowsItsHelp)
{
    IvraApp app;
    DIRegionGrowing* d = dialogOf(app);
    QString shown;
    driveModal([d] { d->infoButton()->click(); },
               [&shown] {
                   for (QWidget* w : QApplication::topLevelWidgets())
                       if (auto* i = qobject_cast<QInfoDialog*>(w); i && i->isVisible()) {
                           shown = i->textView()->toPlainText();
                           i->reject();
                       }
               });
    EXPECT_TRUE(shown.startsWith("Region-Growing")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("The parameter 'span' is the maximum euclidean distance")) << shown.toStdString();
}

TEST(RegionGrowingDialog, SitsInTheSegmentationSubmenu)
{
    IvraApp app;
    QMenu* segmentation = nullptr;
    for (QAction* a : app.operatorMenu()->actions())
        if (a->menu() && a->text() == "Segmentation")
            segmentation = a->menu();
    ASSERT_NE(segmentation, nullptr);
    ASSERT_FALSE(segmentation->actions().isEmpty());
    QAction* first = segmentation->actions().at(0);
    EXPECT_EQ(first->text(), "Region Growing");
    EXPECT_EQ(first->statusTip(), "Region Growing");
}
