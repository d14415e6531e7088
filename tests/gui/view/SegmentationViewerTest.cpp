// The segmentation result viewer: region clicks, label 0, show/hide all,
// background and color style, info lines, and the partial repaint of single
// regions at every zoom.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "view/ImageDisplay.h"
#include "view/PictureWindow.h"
#include "view/SegmentationViewer.h"
#include "view/ZoomableImageView.h"

#include "image/ImageSegmented.h"

#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace guitest;

namespace {

// 4 x 3 labels; label 2 sits in two places that do not touch, label 0 is the
// right column's top two pixels.
//   1 1 2 0
//   1 3 3 0
//   2 3 3 4
const std::uint32_t labelGrid[3][4] = {{1, 1, 2, 0}, {1, 3, 3, 0}, {2, 3, 3, 4}};
const RGB24 regionColor[5] = {{50, 50, 50}, {10, 20, 30}, {200, 0, 0}, {0, 200, 0}, {0, 0, 250}};
constexpr RGB24 black{0, 0, 0};
constexpr RGB24 white{255, 255, 255};

RGB24 sourceColor(int x, int y)
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
            s->sourcePixels.at(x, y) = sourceColor(x, y);
            s->setPixel(static_cast<std::size_t>(y) * 4 + x, regionColor[l].r, regionColor[l].g, regionColor[l].b);
        }
    return s;
}

RGB24 shownOn(const ZoomableImageView* view, int x, int y)
{
    const QRgb p = view->display()->naturalPixmap().toImage().pixel(x, y);
    return {static_cast<std::uint8_t>(qRed(p)), static_cast<std::uint8_t>(qGreen(p)),
            static_cast<std::uint8_t>(qBlue(p))};
}

// Every pixel of the regions picture as expected.
void expectRegions(const SegmentationViewer& v, const std::function<RGB24(int, int)>& expected)
{
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(shownOn(v.regionView(), x, y), expected(x, y)) << "(" << x << ", " << y << ")";
}

// Shown labels painted in their region color, the rest in the background.
std::function<RGB24(int, int)> regionsShown(std::set<std::uint32_t> shown, RGB24 background = black)
{
    return [shown, background](int x, int y) {
        const std::uint32_t l = labelGrid[y][x];
        return shown.count(l) ? regionColor[l] : background;
    };
}

class SegmentationViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        app.resize(1000, 700);
        entry = addTopLevel(app, sampleResult(), "seg");
        view = qobject_cast<SegmentationViewer*>(app.showEntry(entry));
        ASSERT_NE(view, nullptr);
    }

    void click(int x, int y, Qt::MouseButton button = Qt::LeftButton)
    {
        view->regionView()->onDisplayMousePressEvent(x, y, button, Qt::NoModifier);
    }

    MainWindow app;
    DataEntry* entry = nullptr;
    SegmentationViewer* view = nullptr;
};

} // namespace

TEST_F(SegmentationViewerTest, OpensWithEveryRegionInItsColorBesideTheSource)
{
    EXPECT_EQ(view->size(), app.workspace()->viewport()->size());
    expectRegions(*view, regionsShown({0, 1, 2, 3, 4}));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(shownOn(view->sourceView(), x, y), sourceColor(x, y));
    // File > Save as writes the regions picture.
    EXPECT_EQ(view->picture().pixel(2, 1), qRgb(0, 200, 0));
    // An ordinary RGB picture still opens in the picture window.
    EXPECT_NE(qobject_cast<PictureWindow*>(app.showEntry(addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "plain"))),
              nullptr);
}

TEST_F(SegmentationViewerTest, LeftClickHidesAndShowsEveryPixelOfTheLabel)
{
    click(0, 2); // label 2, also at (2, 0)
    expectRegions(*view, regionsShown({0, 1, 3, 4}));
    // A press in the source picture acts the same.
    view->sourceView()->onDisplayMousePressEvent(2, 0, Qt::LeftButton, Qt::NoModifier);
    expectRegions(*view, regionsShown({0, 1, 2, 3, 4}));
    // Other buttons and points outside do nothing.
    click(0, 0, Qt::RightButton);
    click(-1, 0);
    click(4, 0);
    click(0, 3);
    expectRegions(*view, regionsShown({0, 1, 2, 3, 4}));
}

TEST_F(SegmentationViewerTest, LabelZeroFollowsOnlyShowAllAndHideAll)
{
    click(3, 0); // shown label 0: a click does not hide it
    expectRegions(*view, regionsShown({0, 1, 2, 3, 4}));
    view->hideAllButton()->click();
    expectRegions(*view, regionsShown({}));
    click(3, 1); // hidden label 0: a click does not show it either
    expectRegions(*view, regionsShown({}));
    click(3, 2); // label 4
    click(1, 0); // label 1
    EXPECT_EQ(view->selectedLabels(), (std::vector<std::uint32_t>{1, 4}));
    expectRegions(*view, regionsShown({1, 4}));
    view->showAllButton()->click();
    expectRegions(*view, regionsShown({0, 1, 2, 3, 4}));
}

TEST_F(SegmentationViewerTest, BackgroundAndStyleRepaintTheRightPixels)
{
    click(0, 0); // hide label 1
    view->whiteRadio()->click();
    expectRegions(*view, regionsShown({0, 2, 3, 4}, white));
    click(1, 1); // hidden on white uses white as well
    expectRegions(*view, regionsShown({0, 2, 4}, white));
    view->blackRadio()->click();
    view->pixelRadio()->click();
    expectRegions(*view, [](int x, int y) {
        const std::uint32_t l = labelGrid[y][x];
        return l == 1 || l == 3 ? black : sourceColor(x, y);
    });
    click(1, 2); // shown in this style: its source pixels
    click(0, 1);
    expectRegions(*view, [](int x, int y) { return sourceColor(x, y); });
    view->meanRadio()->click();
    expectRegions(*view, regionsShown({0, 1, 2, 3, 4}));
}

TEST_F(SegmentationViewerTest, InfoLinesGiveSourceAndMeanColors)
{
    click(2, 0, Qt::RightButton); // any press asks for them
    EXPECT_EQ(view->sourceView()->infoText(), " X:2 Y:0  RGB=(40,215,2)  HSV=(109,252,215)");
    EXPECT_EQ(view->regionView()->infoText(), " X:2 Y:0  MeanRGB=(200,0,0)  MeanHSV=(0,255,200)");
    view->onAskForInfoText(4, 0); // outside: the lines stay
    EXPECT_EQ(view->regionView()->infoText(), " X:2 Y:0  MeanRGB=(200,0,0)  MeanHSV=(0,255,200)");
}

TEST(SegmentationViewerRepaint, SingleRegionRepaintsMatchAFullRepaintAtEveryZoom)
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
    DataEntry entry(std::move(s), "seg");
    SegmentationViewer view(nullptr, &entry);
    for (const int zoom : {100, 50, 200, 300}) {
        view.regionView()->setZoom(zoom);
        for (const auto& [x, y] : std::vector<std::pair<int, int>>{{0, 0}, {36, 22}, {13, 7}, {21, 20}, {13, 7}})
            view.onDisplayMousePressEvent(x, y, Qt::LeftButton, Qt::NoModifier);
        view.whiteRadio()->click(); // a full repaint now and then, as the buttons do
        view.onDisplayMousePressEvent(5, 1, Qt::LeftButton, Qt::NoModifier);
        view.blackRadio()->click();
        view.onDisplayMousePressEvent(30, 11, Qt::LeftButton, Qt::NoModifier);

        ImageDisplay fresh;
        fresh.setImageData(w, h, reinterpret_cast<const std::uint8_t*>(view.canvas().data()));
        fresh.setZoom(zoom);
        const ImageDisplay* shown = view.regionView()->display();
        EXPECT_EQ(shown->naturalPixmap().toImage(), fresh.naturalPixmap().toImage()) << "zoom " << zoom;
        EXPECT_EQ(shown->scaledPixmap().toImage(), fresh.scaledPixmap().toImage()) << "zoom " << zoom;
    }
}
