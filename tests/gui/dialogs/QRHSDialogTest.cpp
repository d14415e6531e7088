// Recursive Histogram Splitting through its dialog: widgets, result names with the
// run counter, chaining on a result.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "dialogs/QRHSDialog.h"
#include "image/ImageSegmented.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace ivra;

using namespace guitest;

namespace {

void setThresholds(QRHSDialog* d, int gt, int minRegion, int minPeak)
{
    d->gtWindowSpin()->setValue(gt);
    d->minRegionSizeSpin()->setValue(minRegion);
    d->minSplitPeakSpin()->setValue(minPeak);
}

// 8 x 4: five columns red, three blue.
std::unique_ptr<ImageRGB> redAndBlue()
{
    return twoColours(8, 4, 5, {255, 0, 0}, {0, 0, 255});
}

} // namespace

TEST(RHSDialog, OffersTheThreeThresholdsWithTheirDefaultsAndRanges)
{
    IvraApp app;
    QRHSDialog* d = findDialog<QRHSDialog>(app);
    EXPECT_EQ(d->parameterGroup()->title(), "Parameters");

    expectRange(d->gtWindowSpin(), 0, 65536, 3);
    expectBuddyLabel(d->gtWindowSpin(), "Threshold (GT-Clustering) [Default=3]:");
    expectRange(d->minRegionSizeSpin(), 0, 65536, 300);
    expectBuddyLabel(d->minRegionSizeSpin(), "Threshold (Min.Region) [Default=300]:");
    expectRange(d->minSplitPeakSpin(), 0, 65536, 200);
    expectBuddyLabel(d->minSplitPeakSpin(), "Threshold (Min.Peak) [Default=200]:");
}

// The only test that runs the operator to the end, so the counter starts at 1 here.
TEST(RHSDialog, NamesResultsWithTheCounterAndSegmentsResultsAgain)
{
    IvraApp app;
    DataEntry* source = addTopLevel(app, redAndBlue(), "rb.ppm");
    QRHSDialog* d = findDialog<QRHSDialog>(app);

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
