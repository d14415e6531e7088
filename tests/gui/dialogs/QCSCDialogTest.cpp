// Colour Structure Code through its dialog: widgets and their states, result names
// with the shared run counter, the overflow report.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "dialogs/QCSCDialog.h"
#include "image/ImageSegmented.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace ivra;

using namespace guitest;

namespace {

// 20 x 12: the left 9 columns red, the rest blue.
std::unique_ptr<ImageRGB> redAndBlue()
{
    return twoColours(20, 12, 9, {200, 10, 10}, {10, 10, 200});
}

} // namespace

TEST(CSCDialog, WidgetsAndTheirStates)
{
    IvraApp app;
    QCSCDialog* d = findDialog<QCSCDialog>(app);
    EXPECT_EQ(d->similarityGroup()->title(), "Similarity Function");
    EXPECT_EQ(d->rgbButton()->text(), "RGB (Euclidian Distance)  ");
    EXPECT_EQ(d->hsvButton()->text(), "HSV (Tabular Based)");
    EXPECT_TRUE(d->rgbButton()->isChecked());
    expectRange(d->thresholdSpin(), 0, 255, 25);

    DataEntry* rgb = addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "rgb");
    d->fillList();
    EXPECT_TRUE(d->thresholdSpin()->isEnabled());
    ASSERT_TRUE(d->selectEntry(rgb));
    d->hsvButton()->setChecked(true);
    EXPECT_FALSE(d->rgbButton()->isChecked()); // exclusive
    EXPECT_FALSE(d->thresholdSpin()->isEnabled());
    d->rgbButton()->setChecked(true);
    EXPECT_TRUE(d->thresholdSpin()->isEnabled());

}

// The only test that runs the operator to the end, so the counter starts at 1 here.
TEST(CSCDialog, NamesResultsWithOneCounterAndReportsAnOverflow)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, redAndBlue(), "rb.ppm");
    QCSCDialog* d = findDialog<QCSCDialog>(app);

    runDialog(d, source);
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
