// The histogram window: Show Image on a histogram entry draws it once, unscaled,
// and the window cannot grow.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "view/HistogramCanvas.h"
#include "view/HistogramWindow.h"

#include "HistogramPainter.h"
#include "image/HSVBinLayout.h"
#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollArea>

#include <gtest/gtest.h>

using namespace guitest;

TEST(HistogramWindow, ShowsTheWholeDrawingUnscaledAndCannotGrow)
{
    MainWindow app;
    app.resize(1400, 1000);
    app.show();
    auto gray = std::make_unique<HistogramGray>(16);
    gray->counts()[3] = 10;
    const QImage expected = drawHistogram(*gray);
    DataEntry* e = addTopLevel(app, std::move(gray), "Histogram");
    DataEntry* rgb = addTopLevel(app, std::make_unique<HistogramRGB>(512), "Static RGB-Histogram 8x8x8");
    DataEntry* hsv = addTopLevel(
        app, std::make_unique<HistogramHSV>(std::make_shared<const HSVBinLayout>(6, 2, 4, 15)), "Fuzzy HSV-Histogram");
    for (DataEntry* entry : {e, rgb, hsv}) {
        auto* view = qobject_cast<HistogramWindow*>(app.showEntry(entry));
        ASSERT_NE(view, nullptr) << entry->name().toStdString();
        QCoreApplication::processEvents(); // the pending layout and resize events
        // The whole drawing is in view at first: no scrolling needed.
        EXPECT_GE(view->scrollView()->viewport()->width(), view->pixmap().width());
        EXPECT_GE(view->scrollView()->viewport()->height(), view->pixmap().height());
        const QSize first = view->size();
        view->resize(first + QSize(200, 200));
        EXPECT_EQ(view->size(), first);
    }
    auto* view = qobject_cast<HistogramWindow*>(e->window());
    EXPECT_EQ(view->picture(), expected);
    EXPECT_EQ(view->canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
    EXPECT_EQ(app.showEntry(e), view);

    // The canvas ignores the mouse.
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 20), QPointF(20, 20), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(view->canvas(), &press);
    EXPECT_EQ(view->canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
}
