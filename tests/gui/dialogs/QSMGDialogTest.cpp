// Split-And-Merge through its dialog: widgets, result names with the run counter,
// nesting and chaining, refusal.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "dialogs/QSMGDialog.h"
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

void setThresholds(QSMGDialog* d, int split, int merge, int group)
{
    d->splitSpin()->setValue(split);
    d->mergeSpin()->setValue(merge);
    d->groupSpin()->setValue(group);
}

// 8 x 8: left half red, right half blue.
std::unique_ptr<ImageRGB> redAndBlue()
{
    return twoColours(8, 8, 4, {200, 0, 0}, {0, 0, 200});
}

} // namespace

TEST(SMGDialog, OffersTheThreeThresholdsWithTheirDefaultsAndRanges)
{
    IvraApp app;
    QSMGDialog* d = findDialog<QSMGDialog>(app);
    EXPECT_EQ(d->parameterGroup()->title(), "Parameters");

    expectRange(d->splitSpin(), 0, 255, 10);
    expectBuddyLabel(d->splitSpin(), "Threshold (Split) [Default=10]:");
    expectRange(d->mergeSpin(), 0, 255, 10);
    expectBuddyLabel(d->mergeSpin(), "Threshold (Merge) [Default=10]:");
    expectRange(d->groupSpin(), 0, 255, 20);
    expectBuddyLabel(d->groupSpin(), "Threshold (Grouping) [Default=20]:");
}

// The only test that runs the operator to the end, so the counter starts at 1 here.
TEST(SMGDialog, NamesResultsWithTheCounterNestsThemAndRefusesWithoutCounting)
{
    CapturedMessages messages;
    IvraApp app;
    DataEntry* source = addTopLevel(app, redAndBlue(), "rb.ppm");
    QSMGDialog* d = findDialog<QSMGDialog>(app);

    EXPECT_FALSE(runDialog(d, source));
    ASSERT_EQ(source->children().size(), 1u);
    DataEntry* first = source->children()[0].get();
    EXPECT_EQ(first->name(), "(1) SMG [Split=10, Merge=10, Group=20]");
    const auto* segmented = dynamic_cast<const ImageSegmented*>(first->data());
    ASSERT_NE(segmented, nullptr);
    EXPECT_EQ(regionCount(*segmented), 2u);
    EXPECT_EQ(segmented->pixel(7, 7), (ImageColor::Triple{0, 0, 200}));
    EXPECT_EQ(messages.lines, QStringList({"split...", "merge...", "Leaving quadtree...", "QuadTree.GetMaxLevel() 3",
                                           "Grouping..."}));

    // The dialog keeps its values; the result is listed and segmented in turn.
    d->fillList();
    EXPECT_EQ(d->groupSpin()->value(), 20);
    ASSERT_EQ(d->entries().size(), 2u);
    EXPECT_FALSE(runDialog(d, first, [d] { setThresholds(d, 0, 5, 255); }));
    ASSERT_EQ(first->children().size(), 1u);
    DataEntry* second = first->children()[0].get();
    EXPECT_EQ(second->name(), "(2) SMG [Split=0, Merge=5, Group=255]");
    // The halves differ by 400 > 255, so they stay apart.
    EXPECT_EQ(regionCount(*static_cast<const ImageSegmented*>(second->data())), 2u);

    // The main list shows the chain.
    QTreeWidgetItem* top = app.dataList()->topLevelItem(0);
    ASSERT_EQ(top->childCount(), 1);
    ASSERT_EQ(top->child(0)->childCount(), 1);
    EXPECT_EQ(top->child(0)->child(0)->text(0), "(2) SMG [Split=0, Merge=5, Group=255]");

    // A picture too elongated for the quadtree adds nothing, keeps the dialog
    // open and leaves the counter alone.
    DataEntry* strip = addTopLevel(app, rgbImage(3000, 1, 1, 2, 3), "strip");
    EXPECT_TRUE(runDialog(d, strip));
    EXPECT_TRUE(strip->children().empty());
    EXPECT_FALSE(runDialog(d, source, [d] { setThresholds(d, 10, 10, 20); }));
    ASSERT_EQ(source->children().size(), 2u);
    EXPECT_EQ(source->children()[1]->name(), "(3) SMG [Split=10, Merge=10, Group=20]");
}
