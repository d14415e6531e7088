// The zoomable picture widget: zoom steps and buttons, presses in picture
// coordinates, raw pixel data, saving; and the picture window's information line.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "view/ImageDisplay.h"
#include "view/PictureWindow.h"
#include "view/PixelInfo.h"
#include "view/ZoomableImageView.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QMdiArea>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace guitest;

namespace {

QPixmap filled(int w, int h, QColor c)
{
    QImage im(w, h, QImage::Format_RGB32);
    im.fill(c);
    return QPixmap::fromImage(im);
}

void press(QWidget* w, int x, int y, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(x, y), w->mapToGlobal(QPointF(x, y)), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(w, &event);
}

} // namespace

TEST(ZoomableImageView, ZoomStepsAndButtonsFollowThePicture)
{
    ZoomableImageView view("pic");
    view.setZoom(200); // no picture: nothing
    EXPECT_EQ(view.zoom(), 100);
    EXPECT_FALSE(view.saveButton()->isEnabled());

    view.setPixmap(filled(40, 30, Qt::red));
    EXPECT_TRUE(view.saveButton()->isEnabled());
    QList<int> zooms;
    QList<bool> inOut;
    for (const bool in : {true, true, true, false, false, false, true}) {
        in ? view.onZoomIn() : view.onZoomOut();
        zooms << view.zoom();
        inOut << view.zoomInButton()->isEnabled() << view.zoomOutButton()->isEnabled();
    }
    EXPECT_EQ(zooms, QList<int>({200, 300, 300, 200, 100, 50, 100}));
    EXPECT_EQ(inOut, QList<bool>({true, true, false, true, false, true, true, true, true, true, true, false,
                                  true, true}));

    view.setZoom(500);
    EXPECT_EQ(view.zoom(), 300);
    EXPECT_EQ(view.display()->size(), QSize(120, 90));
    // A new picture keeps the zoom; an empty one disables everything.
    view.setPixmap(filled(10, 10, Qt::blue));
    EXPECT_EQ(view.display()->size(), QSize(30, 30));
    view.clear();
    EXPECT_FALSE(view.saveButton()->isEnabled());
    EXPECT_TRUE(view.display()->isHidden());
}

TEST(ZoomableImageView, SaveButtonWritesTheNaturalPictureInTheChosenFormat)
{
    QTemporaryDir dir;
    ZoomableImageView view("pic");
    view.setPixmap(filled(6, 5, QColor(200, 100, 50)));
    view.setZoom(200);
    // filter, name typed by the user, file expected; a dot in a folder's name is no extension
    ASSERT_TRUE(QDir(dir.path()).mkdir("a.ppm"));
    const char* const cases[][3] = {
        {"Portable Pixmap (*.ppm)", "picture.png", "picture.png.ppm"},
        {"Portable Network Graphics (*.png)", "shot", "shot.png"},
        {"XPM (*.xpm)", "icon.XPM", "icon.XPM"},
        {"Portable Pixmap (*.ppm)", "a.ppm/b", "a.ppm/b.ppm"},
    };
    for (const auto& c : cases) {
        driveModal([&view] { view.onSave(); },
                   [&] {
                       auto* dialog = view.findChild<QFileDialog*>();
                       ASSERT_NE(dialog, nullptr);
                       dialog->selectNameFilter(c[0]);
                       dialog->selectFile(dir.filePath(c[1]));
                       static_cast<QDialog*>(dialog)->accept();
                   });
        const QString written = dir.filePath(c[2]);
        QImageReader reader(written);
        EXPECT_EQ(reader.size(), QSize(6, 5)) << c[2];
        EXPECT_EQ(QString::fromLatin1(reader.format()), QFileInfo(written).suffix().toLower()) << c[2];
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("picture.png")));
}

TEST(ZoomableImageView, InformationLineOffersNoTextSelection)
{
    // Ctrl+C is the main window's Clear All: a selectable line would invite a
    // copy that deletes every picture.
    ZoomableImageView view("pic");
    view.setInfoText(" X=1 Y=2");
    for (QLabel* label : view.findChildren<QLabel*>())
        EXPECT_FALSE(label->textInteractionFlags() & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));
}

TEST(PictureWindow, PressAtZoomShowsTheInfoOfThePicturePoint)
{
    QMdiArea workspace;
    auto image = rgbImage(20, 10, 0, 0, 0);
    image->red()[3 * 20 + 5] = 200;
    DataEntry entry(std::move(image), "dots");
    auto* window = new PictureWindow(&workspace, &entry);
    entry.setWindow(window);
    ZoomableImageView* view = window->display();
    view->setZoom(50);
    press(view->display(), 1, 0);
    EXPECT_EQ(view->infoText(), " X=2 Y=0  RGB=(0,0,0)  HSV=(0,0,0)");
    view->setZoom(200);
    press(view->display(), 10, 6);
    EXPECT_EQ(view->infoText(), " X=5 Y=3  RGB=(200,0,0)  HSV=(0,255,200)");
    window->onAskForInfoText(20, 0); // outside: the line stays
    EXPECT_EQ(view->infoText(), " X=5 Y=3  RGB=(200,0,0)  HSV=(0,255,200)");
}

TEST(PixelInfo, GrayAndHsvPicturesAndPointsOutside)
{
    EXPECT_EQ(pixelInfoText(*grayImage(3, 2, 128), 2, 1), " X=2 Y=1  RGB=(128,128,128)  HSV=(0,0,128)");
    auto hsv = std::make_unique<ImageHSV>(1, 2);
    hsv->setPixel(0, 120, 255, 255);
    hsv->setPixel(1, -1, 0, 90);
    EXPECT_EQ(pixelInfoText(*hsv, 0, 0), " X=0 Y=0  RGB=(0,255,0)  HSV=(120,255,255)");
    EXPECT_EQ(pixelInfoText(*hsv, 0, 1), " X=0 Y=1  RGB=(90,90,90)  HSV=(-1,0,90)");
    EXPECT_TRUE(pixelInfoText(*hsv, 1, 0).isNull());
    EXPECT_TRUE(pixelInfoText(*hsv, 0, 2).isNull());
    EXPECT_TRUE(pixelInfoText(*hsv, -1, 0).isNull());
}
