// Zoom about a point, the zoom ladder, fit to window, linked panes, pixel values in
// the status bar and where new windows open.

#include "gui/GuiTestSupport.h"

#include "image/HistogramGray.h"
#include "image/HistogramRGB.h"
#include "view/HistogramWindow.h"

#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolButton>
#include <QWheelEvent>

using namespace guitest;

static QPoint scrollOf(const ZoomableImageView& v)
{
    return {v.scrollArea()->horizontalScrollBar()->value(), v.scrollArea()->verticalScrollBar()->value()};
}

TEST(Zoom, KeepsThePointUnderTheAnchorClimbsTheLadderAndFits)
{
    ZoomableImageView view("v");
    view.resize(150, 150);
    view.setPixmap(QPixmap(100, 80));
    view.show();
    view.zoomAbout(40000, QPoint(50, 40)); // picture point (50, 40) stays under the anchor
    EXPECT_EQ(scrollOf(view), QPoint(150, 120));

    // Up and down the ladder, held at both ends.
    const std::pair<int, int> steps[] = {{+1, 60000}, {-1, 40000}, {-1, 30000}};
    for (const auto& [direction, fine] : steps) {
        view.zoomStep(direction, QPoint(0, 0));
        EXPECT_EQ(view.display()->fineZoom(), fine) << direction;
    }
    view.zoomAbout(ImageDisplay::maxFineZoom, {});
    view.zoomStep(+1);
    EXPECT_EQ(view.display()->fineZoom(), ImageDisplay::maxFineZoom);
    view.zoomAbout(1, {});
    EXPECT_EQ(view.display()->fineZoom(), ImageDisplay::minFineZoom);
    EXPECT_FALSE(view.zoomOutButton()->isEnabled());

    // Ctrl+wheel zooms about the pointer; the plain wheel scrolls.
    view.zoomAbout(10000, {});
    QWheelEvent wheel(QPointF(10, 10), view.scrollArea()->viewport()->mapToGlobal(QPointF(10, 10)), {}, {0, 120},
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.scrollArea()->viewport(), &wheel);
    EXPECT_EQ(view.display()->fineZoom(), 15000);

    view.setPixmap(QPixmap(1000, 500));
    view.fitToWindow();
    const QSize room = view.scrollArea()->maximumViewportSize(), shown = view.display()->size();
    EXPECT_TRUE(room.boundedTo(shown) == shown && (shown.width() >= room.width() - 1 || shown.height() >= room.height() - 1));
}

TEST(Zoom, LinkedViewsShareZoomAndScroll)
{
    ZoomableImageView a("a"), b("b");
    for (ZoomableImageView* v : {&a, &b})
        v->resize(200, 200), v->setPixmap(QPixmap(300, 300)), v->show();
    a.linkWith(&b);
    b.zoomAbout(20000, QPoint(100, 100));
    EXPECT_EQ(a.display()->fineZoom(), 20000);
    a.onZoomIn(); // the buttons' own step is shared as well
    EXPECT_EQ(b.zoom(), 300);
    a.scrollArea()->verticalScrollBar()->setValue(77);
    EXPECT_EQ(scrollOf(b).y(), 77);
}

TEST(PictureWindow, OpensInsideTheWorkspaceFittedAndShowsTheValueUnderThePointer)
{
    MainWindow app;
    app.resize(800, 600);
    app.show();
    QWidget* large = app.showEntry(addTopLevel(app, grayImage(3000, 2000, 5), "large"));
    QApplication::processEvents();
    EXPECT_TRUE(app.workspace()->viewport()->rect().contains(large->geometry()));
    EXPECT_LT(large->findChild<ZoomableImageView*>()->display()->fineZoom(), 10000);

    std::pair<std::unique_ptr<DataObject>, QString> rows[] = {{busyGrayImage(5, 4), " X=3 Y=2  Gray=91"},
                                                              {rgbImage(5, 4, 10, 20, 30), " X=3 Y=2  RGB=(10,20,30)"}};
    for (auto& [image, expected] : rows) {
        auto* view = app.showEntry(addTopLevel(app, std::move(image), "p"))->findChild<ZoomableImageView*>();
        view->setZoom(200);
        QMouseEvent move(QEvent::MouseMove, QPointF(7, 5), QPointF(7, 5), Qt::NoButton, {}, {});
        QApplication::sendEvent(view->display(), &move);
        EXPECT_TRUE(app.statusBar()->currentMessage().startsWith(expected)) << expected.toStdString();
    }
}

TEST(HistogramWindow, PointerNamesTheBinAndItsCount)
{
    HistogramGray gray(64); // bars 4 pixels wide from x = 10
    gray.counts()[5] = 345;
    HistogramRGB rgb(512); // one pixel per bar
    rgb.counts()[300] = 7;
    EXPECT_EQ(histogramBinText(gray, 10 + 4 * 5 + 3), "Bin 5: count 345");
    EXPECT_EQ(histogramBinText(rgb, 310), "Bin 300: count 7");
    for (int x : {9, 10 + 256})
        EXPECT_TRUE(histogramBinText(gray, x).isEmpty()) << x;
}
