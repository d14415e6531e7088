// The pixel information line of the image window.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "view/IvraViewImage2.h"
#include "view/PixelInfo.h"
#include "view/QImageDisplay.h"
#include "view/QImageView.h"

#include "image/HistogramGray.h"

#include <QCoreApplication>
#include <QMdiArea>
#include <QMouseEvent>

#include <gtest/gtest.h>

using namespace ivra;

using namespace guitest;

TEST(PixelInfo, PositionRgbAndHsvOfEachKindOfPicture)
{
    auto rgb = rgbImage(2, 2, 255, 0, 0);
    EXPECT_EQ(pixelInfoText(*rgb, 0, 0), " X=0 Y=0  RGB=(255,0,0)  HSV=(0,255,255)");
    // Only the low 8 bits count; the hue 60 * 7 / 255 = 1.65 is truncated.
    rgb->green()[3] = 256 + 7;
    EXPECT_EQ(pixelInfoText(*rgb, 1, 1), " X=1 Y=1  RGB=(255,7,0)  HSV=(1,255,255)");

    EXPECT_EQ(pixelInfoText(*grayImage(3, 2, 128), 2, 1), " X=2 Y=1  RGB=(128,128,128)  HSV=(0,0,128)");

    // HSV pictures show their stored hue.
    auto hsv = hsvImage(1, 2, 120, 255, 255);
    hsv->setPixel(1, -1, 0, 90);
    EXPECT_EQ(pixelInfoText(*hsv, 0, 0), " X=0 Y=0  RGB=(0,255,0)  HSV=(120,255,255)");
    EXPECT_EQ(pixelInfoText(*hsv, 0, 1), " X=0 Y=1  RGB=(90,90,90)  HSV=(-1,0,90)");
}

TEST(PixelInfo, OutsideOrNotAPictureGivesNothing)
{
    auto im = grayImage(3, 2, 1);
    EXPECT_TRUE(pixelInfoText(*im, -1, 0).isNull());
    EXPECT_TRUE(pixelInfoText(*im, 3, 0).isNull());
    EXPECT_TRUE(pixelInfoText(*im, 0, 2).isNull());
    HistogramGray h(16);
    EXPECT_TRUE(pixelInfoText(h, 0, 0).isNull());
}

TEST(IvraViewImage2, PressAtZoomShowsTheInfoOfThePicturePoint)
{
    QMdiArea workspace;
    auto image = rgbImage(20, 10, 0, 0, 0);
    image->red()[3 * 20 + 5] = 200;
    DataEntry entry(std::move(image), "dots");
    auto* window = new IvraViewImage2(&workspace, &entry);
    entry.setWindow(window);
    EXPECT_EQ(window->windowTitle(), "dots");
    QImageView* view = window->display();
    EXPECT_EQ(view->objectName(), "dots");
    EXPECT_TRUE(view->infoText().isEmpty());

    view->setZoom(200);
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(10, 6), QPointF(10, 6), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(view->display(), &event);
    EXPECT_EQ(view->infoText(), " X=5 Y=3  RGB=(200,0,0)  HSV=(0,255,200)");

    // A point outside the picture leaves the line alone.
    window->onAskForInfoText(20, 0);
    EXPECT_EQ(view->infoText(), " X=5 Y=3  RGB=(200,0,0)  HSV=(0,255,200)");
}
