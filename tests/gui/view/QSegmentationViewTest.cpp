// The segmentation result viewer driven through its slots: region clicks with
// every button, label 0, show/hide all, background and colour style, info lines,
// and the partial repaint of single regions at every zoom.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "app/QInfoDialog.h"
#include "view/IvraViewImage2.h"
#include "view/QImageDisplay.h"
#include "view/QImageView.h"
#include "view/QSegmentationView.h"

#include "image/ImageSegmented.h"

#include <QApplication>
#include <QImage>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <random>

using namespace ivra;

using namespace guitest;

namespace {

// 4 x 3 labels; label 2 sits in two places that do not touch, label 0 is the
// right column's top two pixels.
//   1 1 2 0
//   1 3 3 0
//   2 3 3 4
const std::uint32_t labelGrid[3][4] = {{1, 1, 2, 0}, {1, 3, 3, 0}, {2, 3, 3, 4}};
const RGB24 regionColour[5] = {{50, 50, 50}, {10, 20, 30}, {200, 0, 0}, {0, 200, 0}, {0, 0, 250}};
constexpr RGB24 black{0, 0, 0};
constexpr RGB24 white{255, 255, 255};

RGB24 sourceColour(int x, int y)
{
    const int i = y * 4 + x;
    return {static_cast<std::uint8_t>(i * 20), static_cast<std::uint8_t>(255 - i * 20), static_cast<std::uint8_t>(i)};
}

std::unique_ptr<ImageSegmented> sampleResult()
{
    auto s = std::make_unique<ImageSegmented>(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            const std::uint32_t l = labelGrid[y][x];
            s->labels.at(x, y) = l;
            s->sourcePixels.at(x, y) = sourceColour(x, y);
            s->setPixel(static_cast<std::size_t>(y) * 4 + x, regionColour[l].r, regionColour[l].g, regionColour[l].b);
        }
    return s;
}

RGB24 shownOn(const QImageView* view, int x, int y)
{
    const QRgb p = view->display()->naturalPixmap().toImage().pixel(x, y);
    return {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
            static_cast<std::uint8_t>(qBlue(p))};
}

// Every pixel of the canvas as expected, and the right-hand display showing the canvas.
void expectCanvas(const QSegmentationView& v, const std::function<RGB24(int, int)>& expected)
{
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(v.canvas().at(x, y), expected(x, y)) << "canvas (" << x << ", " << y << ")";
            EXPECT_EQ(shownOn(v.regionView(), x, y), expected(x, y)) << "display (" << x << ", " << y << ")";
        }
}

// Shown labels painted in their region colour, the rest in the background.
std::function<RGB24(int, int)> regionsShown(std::set<std::uint32_t> shown, RGB24 background = black)
{
    return [shown, background](int x, int y) {
        const std::uint32_t l = labelGrid[y][x];
        return shown.count(l) ? regionColour[l] : background;
    };
}

class SegmentationViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.resize(1000, 700);
        entry = addTopLevel(app, sampleResult(), "seg");
        view = qobject_cast<QSegmentationView*>(app.showEntry(entry));
        ASSERT_NE(view, nullptr);
    }

    void click(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        view->onDisplayMousePressEvent(x, y, button, Qt::NoModifier);
    }

    IvraApp app;
    DataEntry* entry = nullptr;
    QSegmentationView* view = nullptr;
};

} // namespace

TEST_F(SegmentationViewTest, ShowImageOpensTheViewerWithEveryRegionInItsColourOnBlack)
{
    EXPECT_EQ(entry->window(), view);
    EXPECT_EQ(view->size(), app.workspace()->viewport()->size());
    EXPECT_EQ(view->sourceView()->objectName(), "Original Image");
    EXPECT_EQ(view->regionView()->objectName(), "Regions");
    EXPECT_TRUE(view->blackRadio()->isChecked());
    EXPECT_TRUE(view->meanRadio()->isChecked());
    EXPECT_EQ(view->blackRadio()->text(), "&Black Background");
    EXPECT_EQ(view->whiteRadio()->text(), "&White Background");
    EXPECT_EQ(view->meanRadio()->text(), "&Display all selected regions in their mean color");
    EXPECT_EQ(view->pixelRadio()->text(), "&Display the (original) pixels of all selected region");
    EXPECT_EQ(view->showAllButton()->text(), "Display all regions");
    EXPECT_EQ(view->hideAllButton()->text(), "Hide all regions");
    EXPECT_EQ(view->selectedLabels(), (std::vector<std::uint32_t>{0, 1, 2, 3, 4}));
    expectCanvas(*view, regionsShown({0, 1, 2, 3, 4}));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(shownOn(view->sourceView(), x, y), sourceColour(x, y));

    // File > Save as writes the regions picture.
    const QImage saved = view->picture();
    ASSERT_EQ(saved.size(), QSize(4, 3));
    EXPECT_EQ(saved.pixel(2, 1), qRgb(0, 200, 0));

        // An ordinary RGB picture still opens in the picture window.
    DataEntry* plain = addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "plain");
    EXPECT_NE(qobject_cast<IvraViewImage2*>(app.showEntry(plain)), nullptr);
}

TEST_F(SegmentationViewTest, LeftClickHidesAndShowsEveryPixelOfTheLabel)
{
    click(0, 2); // label 2, also at (2, 0)
    EXPECT_FALSE(view->isSelected(2));
    expectCanvas(*view, regionsShown({0, 1, 3, 4}));
    // A press in the source picture acts the same (through the display's signal).
    view->sourceView()->onDisplayMousePressEvent(2, 0, Qt::LeftButton, Qt::NoModifier);
    EXPECT_TRUE(view->isSelected(2));
    expectCanvas(*view, regionsShown({0, 1, 2, 3, 4}));
    view->regionView()->onDisplayMousePressEvent(1, 1, Qt::LeftButton, Qt::NoModifier);
    expectCanvas(*view, regionsShown({0, 1, 2, 4}));
}

TEST_F(SegmentationViewTest, OtherButtonsAndPointsOutsideDoNothing)
{
    click(0, 0, Qt::RightButton);
    click(0, 0, Qt::MiddleButton);
    click(-1, 0);
    click(4, 0);
    click(0, 3);
    EXPECT_EQ(view->selectedLabels(), (std::vector<std::uint32_t>{0, 1, 2, 3, 4}));
    expectCanvas(*view, regionsShown({0, 1, 2, 3, 4}));
}

TEST_F(SegmentationViewTest, LabelZeroFollowsOnlyShowAllAndHideAll)
{
    click(3, 0); // shown label 0: a click does not hide it
    EXPECT_TRUE(view->isSelected(0));
    expectCanvas(*view, regionsShown({0, 1, 2, 3, 4}));

    view->hideAllButton()->click();
    EXPECT_TRUE(view->selectedLabels().empty());
    expectCanvas(*view, regionsShown({}));
    click(3, 1); // hidden label 0: a click does not show it either
    EXPECT_FALSE(view->isSelected(0));
    expectCanvas(*view, regionsShown({}));

    view->showAllButton()->click();
    EXPECT_TRUE(view->isSelected(0));
    expectCanvas(*view, regionsShown({0, 1, 2, 3, 4}));
}

TEST_F(SegmentationViewTest, HideAllThenClicksShowExactlyTheClickedRegions)
{
    view->hideAllButton()->click();
    click(3, 2); // label 4
    click(1, 0); // label 1
    EXPECT_EQ(view->selectedLabels(), (std::vector<std::uint32_t>{1, 4}));
    expectCanvas(*view, regionsShown({1, 4}));
    click(0, 1); // label 1 again: hidden
    expectCanvas(*view, regionsShown({4}));
}

TEST_F(SegmentationViewTest, BackgroundSwitchRepaintsOnlyTheHiddenPixels)
{
    click(0, 0); // hide label 1
    view->whiteRadio()->click();
    EXPECT_FALSE(view->blackBackground());
    expectCanvas(*view, regionsShown({0, 2, 3, 4}, white));
    // Regions hidden and shown again on white use white as well.
    click(1, 1);
    expectCanvas(*view, regionsShown({0, 2, 4}, white));
    view->hideAllButton()->click();
    expectCanvas(*view, regionsShown({}, white));
    view->blackRadio()->click();
    EXPECT_TRUE(view->blackBackground());
    expectCanvas(*view, regionsShown({}, black));
}

TEST_F(SegmentationViewTest, PixelStyleShowsTheSourceWhereRegionsAreShown)
{
    click(2, 1); // hide label 3
    view->pixelRadio()->click();
    EXPECT_FALSE(view->meanColourStyle());
    auto expected = [](int x, int y) { return labelGrid[y][x] == 3 ? black : sourceColour(x, y); };
    expectCanvas(*view, expected);
    // A region shown in this style gets its source pixels.
    click(1, 2);
    expectCanvas(*view, [](int x, int y) { return sourceColour(x, y); });
    view->meanRadio()->click();
    expectCanvas(*view, regionsShown({0, 1, 2, 3, 4}));
}

TEST_F(SegmentationViewTest, InfoLinesGiveSourceAndMeanColours)
{
    view->onAskForInfoText(2, 0);
    // Source (40, 215, 2); region colour (200, 0, 0).
    EXPECT_EQ(view->sourceView()->infoText(), " X:2 Y:0  RGB=(40,215,2)  HSV=(109,252,215)");
    EXPECT_EQ(view->regionView()->infoText(), " X:2 Y:0  MeanRGB=(200,0,0)  MeanHSV=(0,255,200)");
    // A press in the picture asks for them too; points outside change nothing.
    view->regionView()->onDisplayMousePressEvent(3, 0, Qt::RightButton, Qt::NoModifier);
    EXPECT_EQ(view->regionView()->infoText(), " X:3 Y:0  MeanRGB=(50,50,50)  MeanHSV=(0,0,50)");
    view->onAskForInfoText(4, 0);
    view->onAskForInfoText(0, -1);
    EXPECT_EQ(view->regionView()->infoText(), " X:3 Y:0  MeanRGB=(50,50,50)  MeanHSV=(0,0,50)");
}

TEST_F(SegmentationViewTest, InfoButtonShowsTheViewersHelp)
{
    QString shown;
    driveModal([this] { view->infoButton()->click(); },
               [&shown] {
                   for (QWidget* w : QApplication::topLevelWidgets())
                       if (auto* i = qobject_cast<QInfoDialog*>(w); i && i->isVisible()) {
                           shown = i->textView()->toHtml();
                           i->reject();
                       }
               });
    EXPECT_TRUE(shown.contains("Segmentation Result Viewer")) << shown.toStdString();
    EXPECT_TRUE(QSegmentationView::helpText().startsWith("<b><i>Segmentation Result Viewer</i></b><br><br>With"));
}

TEST(SegmentationViewRepaint, SingleRegionRepaintsMatchAFullRepaintAtEveryZoom)
{
    // Odd size and regions at odd positions, so patches start and end on odd
    // rows and columns and at the picture's edges.
    const int w = 37, h = 23;
    auto s = std::make_unique<ImageSegmented>(w, h);
    std::mt19937 random(5);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint32_t l = static_cast<std::uint32_t>((x / 5) * 7 + (y / 3) % 7 + 1);
            s->labels.at(x, y) = l;
            s->sourcePixels.at(x, y) = {static_cast<std::uint8_t>(byte(random)), 0, 0};
            s->setPixel(static_cast<std::size_t>(y) * w + x, static_cast<std::int16_t>(l * 5), 7, 9);
        }
    IvraApp app;
    DataEntry* entry = addTopLevel(app, std::move(s), "seg");
    auto* view = qobject_cast<QSegmentationView*>(app.showEntry(entry));
    ASSERT_NE(view, nullptr);

    for (const int zoom : {100, 50, 200, 300}) {
        view->regionView()->setZoom(zoom);
        ASSERT_EQ(view->regionView()->zoom(), zoom);
        for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {36, 22}, {13, 7}, {21, 20}, {13, 7}})
            view->onDisplayMousePressEvent(x, y, Qt::LeftButton, Qt::NoModifier);
        view->whiteRadio()->click(); // a full repaint now and then, as the buttons do
        view->onDisplayMousePressEvent(5, 1, Qt::LeftButton, Qt::NoModifier);
        view->blackRadio()->click();
        view->onDisplayMousePressEvent(30, 11, Qt::LeftButton, Qt::NoModifier);

        QImageDisplay fresh;
        fresh.setImageData(w, h, reinterpret_cast<const std::uint8_t*>(view->canvas().data()));
        fresh.setZoom(zoom);
        const QImageDisplay* shown = view->regionView()->display();
        EXPECT_EQ(shown->naturalPixmap().toImage(), fresh.naturalPixmap().toImage()) << "zoom " << zoom;
        EXPECT_EQ(shown->scaledPixmap().toImage(), fresh.scaledPixmap().toImage()) << "zoom " << zoom;
    }
}
