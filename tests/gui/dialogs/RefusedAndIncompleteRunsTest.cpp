// Runs that do not end in an ordinary result: refused by the operator, cancelled
// by the user, or incomplete (the CSC's full element store).

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "dialogs/CscDialog.h"

#include "image/ImageSegmented.h"

#include <gtest/gtest.h>

using namespace guitest;

namespace {

const QString smg = QStringLiteral("Segmentation/Split-And-Merge");
const QString csc = QStringLiteral("Segmentation/Color Structure Code");
const QString snn = QStringLiteral("Filter/SNN");

} // namespace

TEST(RefusedRun, AddsNothingKeepsTheDialogOpenAndDoesNotCount)
{
    MainWindow app;
    // Too elongated for the split-and-merge quadtree.
    DataEntry* strip = addTopLevel(app, rgbImage(3000, 1, 1, 2, 3), "strip");
    DataEntry* square = addTopLevel(app, rgbImage(8, 8, 1, 2, 3), "square");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(runFromMenu(app, smg, strip));
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    EXPECT_TRUE(strip->children().empty());
    EXPECT_FALSE(runFromMenu(app, smg, square));
    EXPECT_EQ(childNames(square), QStringList({"(1) SMG [Split=10, Merge=10, Group=20]"}));
}

TEST(CancelledRun, AddsNothingAndDoesNotCount)
{
    MainWindow app;
    DataEntry* source = addTopLevel(app, rgbImage(200, 200, 1, 2, 3), "big");
    {
        ProgressCanceller canceller;
        EXPECT_TRUE(runFromMenu(app, snn, source, [](QWidget& d) { setValue(d, "iterationSpin", 65536); }));
        EXPECT_TRUE(canceller.sawDialog);
    }
    EXPECT_TRUE(source->children().empty());
    EXPECT_FALSE(runFromMenu(app, snn, source, [](QWidget& d) { setValue(d, "iterationSpin", 1); }));
    EXPECT_EQ(childNames(source), QStringList({"(1) SNN [Iterations=1]"}));
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
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.title(), "Error !");
    ASSERT_EQ(childNames(source), QStringList({"(1) CSC RGB [Threshold=25]"}));
    const auto& black = static_cast<const ImageSegmented&>(*source->children()[0]->data());
    for (std::size_t i = 0; i < black.pixelCount(); ++i) {
        ASSERT_EQ(black.labels[i], 0u);
        ASSERT_EQ(black.pixel(static_cast<int>(i % 20), static_cast<int>(i / 20)), (ImageColor::Triple{0, 0, 0}));
    }
}

TEST(RunCounters, OnePerOperatorKeptAcrossClearAll)
{
    MainWindow app;
    DataEntry* first = addTopLevel(app, rgbImage(3, 3, 9, 8, 7), "first");
    runFromMenu(app, snn, first);
    app.slotFileClearAll();
    DataEntry* second = addTopLevel(app, rgbImage(3, 3, 9, 8, 7), "second");
    runFromMenu(app, snn, second);
    runFromMenu(app, csc, second);
    EXPECT_EQ(childNames(second), QStringList({"(2) SNN [Iterations=1]", "(1) CSC RGB [Threshold=25]"}));
}
