// The Region Growing dialog: its form, result name and nesting, gray input.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "dialogs/DIRegionGrowing.h"

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

void runDialog(DIRegionGrowing* d, DataEntry* source, int span)
{
    guitest::runDialog(d, source, [d, span] { d->SpinBoxSpan->setValue(span); });
}

} // namespace

TEST(RegionGrowingDialog, FormFollowsTheSelection)
{
    IvraApp app;
    DataEntry* rgb = addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "c.ppm");
    DIRegionGrowing* d = findDialog<DIRegionGrowing>(app);
    EXPECT_EQ(d->size(), QSize(288, 324));
    EXPECT_EQ(d->GroupBoxParameter->title(), "Parameter");
    EXPECT_EQ(d->TextLabelSpan->text(), "Span");
    EXPECT_EQ(d->SpinBoxSpan->objectName(), "SpinBoxSpan");
    expectRange(d->SpinBoxSpan, 0, 255, 50);
    EXPECT_EQ(d->infoButton()->objectName(), "PushButtonInfo");

    d->fillList();
    EXPECT_FALSE(d->GroupBoxParameter->isEnabled());
    d->selectEntry(rgb);
    EXPECT_TRUE(d->GroupBoxParameter->isEnabled());
}

TEST(RegionGrowingDialog, ResultIsASegmentationNamedRegionGrowingUnderItsSource)
{
    IvraApp app;
    auto image = rgbImage(3, 1, 100, 0, 0);
    image->red()[2] = 160; // 60 from the seed
    DataEntry* top = addTopLevel(app, std::move(image), "photo.ppm");
    DIRegionGrowing* d = findDialog<DIRegionGrowing>(app);

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
    runDialog(findDialog<DIRegionGrowing>(app), gray, 20);
    ASSERT_EQ(gray->children().size(), 1u);
    const auto* seg = dynamic_cast<const ImageSegmented*>(gray->children()[0]->data());
    ASSERT_NE(seg, nullptr);
    EXPECT_EQ(seg->pixel(1, 0), (ImageColor::Triple{15, 15, 15}));
    EXPECT_EQ(seg->sourcePixels.at(1, 0), (RGB24{21, 21, 21}));
}
