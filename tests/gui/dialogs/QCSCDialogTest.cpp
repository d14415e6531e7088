// Colour Structure Code through its dialog: widgets and their states, listing,
// result names with the shared run counter, the overflow report, help.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "app/QInfoDialog.h"
#include "dialogs/QCSCDialog.h"
#include "image/ImageSegmented.h"

#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <set>

using namespace guitest;

namespace {

QCSCDialog* cscDialog(IvraApp& app)
{
    auto* d = app.findChild<QCSCDialog*>();
    EXPECT_NE(d, nullptr);
    return d;
}

void runDialog(QCSCDialog* d, DataEntry* source, const std::function<void()>& setWidgets)
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

// 20 x 12: the left 9 columns red, the rest blue.
std::unique_ptr<ImageRGB> redAndBlue()
{
    auto image = rgbImage(20, 12, 200, 10, 10);
    for (int y = 0; y < 12; ++y)
        for (int x = 9; x < 20; ++x)
            image->setPixel(static_cast<std::size_t>(y) * 20 + x, 10, 10, 200);
    return image;
}

} // namespace

TEST(CSCDialog, WidgetsAndTheirStates)
{
    IvraApp app;
    QCSCDialog* d = cscDialog(app);
    EXPECT_EQ(d->windowTitle(), "CSC");
    EXPECT_EQ(d->okButton()->text(), "Ok");
    EXPECT_EQ(d->similarityGroup()->title(), "Similarity Function");
    EXPECT_EQ(d->rgbButton()->text(), "RGB (Euclidian Distance)  ");
    EXPECT_EQ(d->hsvButton()->text(), "HSV (Tabular Based)");
    EXPECT_TRUE(d->rgbButton()->isChecked());
    EXPECT_EQ(d->thresholdSpin()->minimum(), 0);
    EXPECT_EQ(d->thresholdSpin()->maximum(), 255);
    EXPECT_EQ(d->thresholdSpin()->singleStep(), 1);
    EXPECT_EQ(d->thresholdSpin()->value(), 25);

    DataEntry* rgb = addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "rgb");
    d->fillList();
    EXPECT_FALSE(d->okButton()->isEnabled()); // nothing selected
    EXPECT_TRUE(d->thresholdSpin()->isEnabled());
    ASSERT_TRUE(d->selectEntry(rgb));
    EXPECT_TRUE(d->okButton()->isEnabled());
    d->hsvButton()->setChecked(true);
    EXPECT_FALSE(d->rgbButton()->isChecked()); // exclusive
    EXPECT_FALSE(d->thresholdSpin()->isEnabled());
    d->rgbButton()->setChecked(true);
    EXPECT_TRUE(d->thresholdSpin()->isEnabled());

    // Operator > Segmentation > Color Structure Code, before Recursive Histogram Splitting.
    QStringList segmentation;
    QAction* entry = nullptr;
    for (QAction* a : app.operatorMenu()->actions())
        if (a->menu() && a->text() == "Segmentation")
            for (QAction* b : a->menu()->actions()) {
                segmentation << b->text();
                if (b->text() == "Color Structure Code")
                    entry = b;
            }
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->statusTip(), "Color Structure Code");
    EXPECT_LT(segmentation.indexOf("Color Structure Code"), segmentation.indexOf("Recursive Histogram Splitting"));
}

TEST(CSCDialog, ListsColourPicturesOnly)
{
    IvraApp app;
    addTopLevel(app, grayImage(2, 2, 5), "gray");
    DataEntry* rgb = addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "rgb");
    addTopLevel(app, hsvImage(2, 2, 0, 0, 0), "hsv");
    QCSCDialog* d = cscDialog(app);
    d->fillList();
    ASSERT_EQ(d->listView()->topLevelItemCount(), 1);
    EXPECT_EQ(d->listView()->topLevelItem(0)->text(0), "rgb");
    EXPECT_EQ(d->entries(), std::vector<DataEntry*>{rgb});
}

// The only test that runs the operator to the end, so the counter starts at 1 here.
TEST(CSCDialog, NamesResultsWithOneCounterAndReportsAnOverflow)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, redAndBlue(), "rb.ppm");
    QCSCDialog* d = cscDialog(app);

    runDialog(d, source, [] {});
    EXPECT_FALSE(d->isVisible());
    ASSERT_EQ(source->children().size(), 1u);
    DataEntry* first = source->children()[0].get();
    EXPECT_EQ(first->name(), "(1) CSC RGB [Threshold=25]");
    const auto* segmented = dynamic_cast<const ImageSegmented*>(first->data());
    ASSERT_NE(segmented, nullptr);
    EXPECT_NE(segmented->labels.at(3, 5), segmented->labels.at(15, 5));
    EXPECT_EQ(segmented->pixel(3, 5), (ImageColor::Triple{200, 10, 10}));
    EXPECT_EQ(segmented->pixel(15, 5), (ImageColor::Triple{10, 10, 200}));

    // HSV on the result (its planes are the input); the counter is shared.
    d->fillList();
    ASSERT_EQ(d->entries().size(), 2u);
    runDialog(d, first, [d] { d->hsvButton()->setChecked(true); });
    ASSERT_EQ(first->children().size(), 1u);
    EXPECT_EQ(first->children()[0]->name(), "(2) CSC HSV");

    // A store far too small: the box says so, the result is added black and unlabelled.
    d->setElementsPerIsland(0.2);
    MessageBoxCatcher boxes;
    testing::internal::CaptureStderr();
    runDialog(d, source, [d] {
        d->rgbButton()->setChecked(true);
        d->thresholdSpin()->setValue(40);
    });
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "Codeelement overrun...\n");
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.title(), "Error !");
    EXPECT_TRUE(boxes.text().contains("incomplete")) << boxes.text().toStdString();
    ASSERT_EQ(source->children().size(), 2u);
    DataEntry* broken = source->children()[1].get();
    EXPECT_EQ(broken->name(), "(3) CSC RGB [Threshold=40]");
    const auto* black = static_cast<const ImageSegmented*>(broken->data());
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            EXPECT_EQ(black->labels.at(x, y), 0u);
            EXPECT_EQ(black->pixel(x, y), (ImageColor::Triple{0, 0, 0}));
        }
}

TEST(CSCDialog, NoSelectionComplains)
{
    IvraApp app;
    addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "rgb");
    QCSCDialog* d = cscDialog(app);
    d->fillList();
    MessageBoxCatcher boxes;
    d->execute();
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.title(), "Error !");
    EXPECT_EQ(boxes.text(), "Please select an Image for the Operator !");
}

TEST(CSCDialog, InfoShowsItsHelp)
{
    IvraApp app;
    QCSCDialog* d = cscDialog(app);
    QString shown;
    driveModal([d] { d->infoButton()->click(); },
               [&shown] {
                   for (QWidget* w : QApplication::topLevelWidgets())
                       if (auto* i = qobject_cast<QInfoDialog*>(w); i && i->isVisible()) {
                           shown = i->textView()->toPlainText();
                           i->findChild<QPushButton*>()->click();
                       }
               });
    EXPECT_TRUE(shown.startsWith("Color Structure Code")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("Press the OK button to execute the CSC")) << shown.toStdString();
}
