// The histogram window: Show Image on a histogram entry draws it once, unscaled,
// and the window cannot grow.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "view/IvraViewHistogram.h"
#include "view/IvraWidgetHistogram.h"

#include "HistogramPainter.h"
#include "image/HSVBinLayout.h"
#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollArea>

#include <gtest/gtest.h>

using namespace ivra;

using namespace guitest;

namespace {

std::unique_ptr<HistogramGray> grayHistogram()
{
    auto h = std::make_unique<HistogramGray>(16);
    h->counts()[3] = 10;
    h->counts()[4] = 5;
    return h;
}

IvraViewHistogram* show(IvraApp& app, DataEntry* e)
{
    auto* view = dynamic_cast<IvraViewHistogram*>(app.showEntry(e));
    EXPECT_NE(view, nullptr);
    return view;
}

TEST(HistogramWindow, ShowImageOpensTheDrawingUnscaled)
{
    IvraApp app;
    app.resize(1200, 900);
    app.show();
    auto histogram = grayHistogram();
    const QImage expected = ivra::drawHistogram(*histogram);
    DataEntry* e = addTopLevel(app, std::move(histogram), "Histogram");
    IvraViewHistogram* view = show(app, e);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->windowTitle(), "Histogram");
    EXPECT_EQ(view->picture(), expected);
    EXPECT_EQ(view->pixmap().size(), QSize(276, 190));

    QScrollArea* scroll = view->scrollView();
    EXPECT_EQ(scroll->objectName(), "ScrollView");
    EXPECT_EQ(scroll->widget(), view->canvas());
    EXPECT_EQ(view->canvas()->size(), QSize(276, 190));
    EXPECT_EQ(view->canvas()->pos(), QPoint(0, 0));
    EXPECT_EQ(&view->canvas()->window(), view);
    // The whole drawing is in view at first: no scrolling needed.
    QCoreApplication::processEvents(); // the pending layout and resize events
    EXPECT_GE(scroll->viewport()->width(), 276);
    EXPECT_GE(scroll->viewport()->height(), 190);
    EXPECT_EQ(view->canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);

    // Show Image again brings up the same window.
    EXPECT_EQ(app.showEntry(e), view);
}

TEST(HistogramWindow, CannotBeEnlargedBeyondItsFirstSize)
{
    IvraApp app;
    app.resize(1200, 900);
    app.show();
    DataEntry* e = addTopLevel(app, grayHistogram(), "Histogram");
    IvraViewHistogram* view = show(app, e);
    ASSERT_NE(view, nullptr);
    const QSize first = view->size();
    EXPECT_EQ(view->maximumSize(), first);
    view->resize(first + QSize(200, 200));
    EXPECT_EQ(view->size(), first);
    view->resize(first - QSize(50, 50));
    EXPECT_EQ(view->size(), first - QSize(50, 50));
}

TEST(HistogramWindow, EveryHistogramTypeHasOne)
{
    IvraApp app;
    app.resize(1400, 1000);
    app.show();
    DataEntry* rgb = addTopLevel(app, std::make_unique<HistogramRGB>(512), "Static RGB-Histogram 8x8x8");
    DataEntry* hsv = addTopLevel(
        app, std::make_unique<HistogramHSV>(std::make_shared<const HSVBinLayout>(6, 2, 4, 15)), "Fuzzy HSV-Histogram 6x2+4");
    IvraViewHistogram* rv = show(app, rgb);
    IvraViewHistogram* hv = show(app, hsv);
    ASSERT_NE(rv, nullptr);
    ASSERT_NE(hv, nullptr);
    EXPECT_EQ(rv->pixmap().size(), QSize(532, 190));
    EXPECT_EQ(hv->pixmap().size(), QSize(500, 300));
    QCoreApplication::processEvents();
    EXPECT_GE(hv->scrollView()->viewport()->width(), 500);
    EXPECT_GE(hv->scrollView()->viewport()->height(), 300);
}

TEST(HistogramWindow, CanvasIgnoresTheMouse)
{
    IvraApp app;
    app.show();
    IvraViewHistogram* view = show(app, addTopLevel(app, grayHistogram(), "Histogram"));
    ASSERT_NE(view, nullptr);
    const QImage before = view->canvas()->grab().toImage();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 20), QPointF(20, 20), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(view->canvas(), &press);
    EXPECT_TRUE(press.isAccepted());
    EXPECT_EQ(view->canvas()->grab().toImage(), before);
}

} // namespace
