// Recursive Histogram Splitting through its dialog: widgets, listing, the error
// box, result names with the run counter, chaining on a result, help.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "app/QInfoDialog.h"
#include "dialogs/QRHSDialog.h"
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

#include <set>

using namespace guitest;

namespace {

QRHSDialog* rhsDialog(IvraApp& app)
{
    auto* d = app.findChild<QRHSDialog*>();
    EXPECT_NE(d, nullptr);
    return d;
}

void setThresholds(QRHSDialog* d, int gt, int minRegion, int minPeak)
{
    d->gtWindowSpin()->setValue(gt);
    d->minRegionSizeSpin()->setValue(minRegion);
    d->minSplitPeakSpin()->setValue(minPeak);
}

// Opens the dialog as the menu does, picks the entry, sets the widgets and presses Ok.
void runDialog(QRHSDialog* d, DataEntry* source, const std::function<void()>& setWidgets)
{
    driveModal([d] { d->showDialog(); },
               [d, source, setWidgets] {
                   EXPECT_TRUE(d->selectEntry(source));
                   setWidgets();
                   d->okButton()->click();
                   if (d->isVisible())
                       d->reject();
               });
}

// 8 x 4: five columns red, three blue.
std::unique_ptr<ImageRGB> redAndBlue()
{
    auto image = rgbImage(8, 4, 255, 0, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 5; x < 8; ++x)
            image->setPixel(static_cast<std::size_t>(y) * 8 + x, 0, 0, 255);
    return image;
}

std::size_t regionCount(const ImageSegmented& s)
{
    return std::set<std::uint32_t>(s.labels.data(), s.labels.data() + s.labels.size()).size();
}

} // namespace

TEST(RHSDialog, OffersTheThreeThresholdsWithTheirDefaultsAndRanges)
{
    IvraApp app;
    QRHSDialog* d = rhsDialog(app);
    EXPECT_EQ(d->windowTitle(), "Recursive Histogram Splitting (RHS)");
    EXPECT_EQ(d->okButton()->text(), "Ok");
    EXPECT_EQ(d->parameterGroup()->title(), "Parameters");

    const QString labels[] = {"Threshold (GT-Clustering) [Default=3]:", "Threshold (Min.Region) [Default=300]:",
                              "Threshold (Min.Peak) [Default=200]:"};
    QSpinBox* spins[] = {d->gtWindowSpin(), d->minRegionSizeSpin(), d->minSplitPeakSpin()};
    const int defaults[] = {3, 300, 200};
    for (int k = 0; k < 3; ++k) {
        QLabel* label = nullptr;
        for (QLabel* l : d->parameterGroup()->findChildren<QLabel*>())
            if (l->buddy() == spins[k])
                label = l;
        ASSERT_NE(label, nullptr) << k;
        EXPECT_EQ(label->text(), labels[k]);
        EXPECT_EQ(spins[k]->value(), defaults[k]);
        EXPECT_EQ(spins[k]->minimum(), 0);
        EXPECT_EQ(spins[k]->maximum(), 65536);
    }

    // Operator > Segmentation > Recursive Histogram Splitting opens it.
    QAction* entry = nullptr;
    for (QAction* a : app.operatorMenu()->actions())
        if (a->menu() && a->text() == "Segmentation")
            for (QAction* b : a->menu()->actions())
                if (b->text() == "Recursive Histogram Splitting")
                    entry = b;
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->statusTip(), "Recursive Histogram Splitting");
}

TEST(RHSDialog, ListsColourPicturesOnlyAndComplainsWithoutSelection)
{
    IvraApp app;
    addTopLevel(app, grayImage(2, 2, 5), "gray");
    DataEntry* rgb = addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "rgb");
    addTopLevel(app, hsvImage(2, 2, 0, 0, 0), "hsv");
    QRHSDialog* d = rhsDialog(app);
    d->fillList();
    ASSERT_EQ(d->listView()->topLevelItemCount(), 1);
    EXPECT_EQ(d->listView()->topLevelItem(0)->text(0), "rgb");
    EXPECT_EQ(d->entries(), std::vector<DataEntry*>{rgb});

    MessageBoxCatcher boxes;
    bool stillOpen = false;
    driveModal([d] { d->showDialog(); },
               [d, &stillOpen] {
                   d->okButton()->click();
                   stillOpen = d->isVisible();
                   d->reject();
               });
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.title(), "Error !");
    EXPECT_EQ(boxes.text(), "Please select an Image for the Operator !");
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(rgb->children().empty());
}

// The only test that runs the operator to the end, so the counter starts at 1 here.
TEST(RHSDialog, NamesResultsWithTheCounterAndSegmentsResultsAgain)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, redAndBlue(), "rb.ppm");
    QRHSDialog* d = rhsDialog(app);

    runDialog(d, source, [d] { setThresholds(d, 3, 0, 0); });
    EXPECT_FALSE(d->isVisible());
    ASSERT_EQ(source->children().size(), 1u);
    DataEntry* first = source->children()[0].get();
    EXPECT_EQ(first->name(), "(1) RHS [GT=3, MinSplitPeak=0, MinRegionSize=0]");
    const auto* segmented = dynamic_cast<const ImageSegmented*>(first->data());
    ASSERT_NE(segmented, nullptr);
    EXPECT_TRUE(segmented->isSegmented());
    EXPECT_EQ(regionCount(*segmented), 2u);
    EXPECT_EQ(segmented->pixel(7, 3), (ImageColor::Triple{0, 0, 255}));

    // The dialog keeps its values; the result is listed and segmented in turn,
    // from its planes: with the defaults its 32 pixels stay one region.
    d->fillList();
    EXPECT_EQ(d->minRegionSizeSpin()->value(), 0);
    ASSERT_EQ(d->entries().size(), 2u);
    runDialog(d, first, [d] { setThresholds(d, 3, 300, 200); });
    ASSERT_EQ(first->children().size(), 1u);
    DataEntry* second = first->children()[0].get();
    EXPECT_EQ(second->name(), "(2) RHS [GT=3, MinSplitPeak=200, MinRegionSize=300]");
    const auto* whole = static_cast<const ImageSegmented*>(second->data());
    EXPECT_EQ(regionCount(*whole), 1u);
    EXPECT_EQ(whole->pixel(0, 0), (ImageColor::Triple{(255 * 20) / 32, 0, (255 * 12) / 32}));

    // The main list shows the chain.
    QTreeWidgetItem* top = app.dataList()->topLevelItem(0);
    ASSERT_EQ(top->childCount(), 1);
    ASSERT_EQ(top->child(0)->childCount(), 1);
    EXPECT_EQ(top->child(0)->child(0)->text(0), "(2) RHS [GT=3, MinSplitPeak=200, MinRegionSize=300]");
}

TEST(RHSDialog, InfoShowsItsHelp)
{
    IvraApp app;
    QRHSDialog* d = rhsDialog(app);
    QString shown;
    driveModal([d] { d->infoButton()->click(); },
               [&shown] {
                   for (QWidget* w : QApplication::topLevelWidgets())
                       if (auto* i = qobject_cast<QInfoDialog*>(w); i && i->isVisible()) {
                           shown = i->textView()->toPlainText();
                           i->findChild<QPushButton*>()->click();
                       }
               });
    EXPECT_TRUE(shown.startsWith("Recursive Histogram Splitting (RHS)")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("Press the OK button to execute the RHS")) << shown.toStdString();
}
