// The zoomable display: zoom steps, button states, press coordinates, save names.

#include "gui/GuiTestSupport.h"

#include "view/QImageDisplay.h"
#include "view/QImageView.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QImage>
#include <QMouseEvent>
#include <QPixmap>
#include <QTemporaryDir>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ivra;

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

TEST(QImageView, ButtonsFollowThePictureAndTheZoom)
{
    QImageView view("pic");
    EXPECT_EQ(view.objectName(), "pic");
    for (QToolButton* b : {view.zoomInButton(), view.zoomOutButton(), view.saveButton(), view.enlargeButton()})
        EXPECT_FALSE(b->isEnabled()) << b->text().toStdString();
    view.setZoom(200); // no picture: nothing
    EXPECT_EQ(view.zoom(), 100);

    view.setPixmap(filled(40, 30, Qt::red));
    EXPECT_TRUE(view.zoomInButton()->isEnabled());
    EXPECT_TRUE(view.zoomOutButton()->isEnabled());
    EXPECT_TRUE(view.saveButton()->isEnabled());
    EXPECT_EQ(view.saveButton()->text(), "Save Image");

    QList<int> zooms;
    view.onZoomIn();
    zooms << view.zoom();
    view.onZoomIn();
    zooms << view.zoom();
    EXPECT_FALSE(view.zoomInButton()->isEnabled());
    view.onZoomIn(); // capped
    zooms << view.zoom();
    view.onZoomOut();
    zooms << view.zoom();
    view.onZoomOut();
    zooms << view.zoom();
    view.onZoomOut();
    zooms << view.zoom();
    EXPECT_FALSE(view.zoomOutButton()->isEnabled());
    EXPECT_TRUE(view.zoomInButton()->isEnabled());
    view.onZoomIn();
    zooms << view.zoom();
    EXPECT_EQ(zooms, QList<int>({200, 300, 300, 200, 100, 50, 100}));

    view.setZoom(500);
    EXPECT_EQ(view.zoom(), 300);
    EXPECT_EQ(view.display()->size(), QSize(120, 90));
    EXPECT_EQ(view.display()->naturalPixmap().size(), QSize(40, 30));

    // A new picture keeps the zoom; an empty one disables everything.
    view.setPixmap(filled(10, 10, Qt::blue));
    EXPECT_EQ(view.zoom(), 300);
    EXPECT_EQ(view.display()->size(), QSize(30, 30));
    view.clear();
    EXPECT_FALSE(view.saveButton()->isEnabled());
    EXPECT_TRUE(view.display()->isHidden());
    view.setPixmap(filled(10, 10, Qt::blue));
    EXPECT_EQ(view.zoom(), 300);
}

TEST(QImageView, PressesArriveInPictureCoordinates)
{
    QImageView view("pic");
    view.setPixmap(filled(300, 200, Qt::green));
    QList<QPoint> asked;
    QList<QPoint> pressed;
    QList<Qt::MouseButton> buttons;
    QObject::connect(&view, &QImageView::onAskForInfoText, [&](int x, int y) { asked << QPoint(x, y); });
    QObject::connect(&view, &QImageView::onMousePressEvent,
                     [&](int x, int y, Qt::MouseButton b, Qt::KeyboardModifiers) {
                         pressed << QPoint(x, y);
                         buttons << b;
                     });

    view.setZoom(200);
    press(view.display(), 101, 33);
    view.setZoom(50);
    press(view.display(), 101, 33, Qt::RightButton);
    view.setZoom(100);
    press(view.display(), 7, 9);
    EXPECT_EQ(asked, QList<QPoint>({QPoint(50, 16), QPoint(202, 66), QPoint(7, 9)}));
    EXPECT_EQ(pressed, asked);
    EXPECT_EQ(buttons, QList<Qt::MouseButton>({Qt::LeftButton, Qt::RightButton, Qt::LeftButton}));
    EXPECT_EQ(static_cast<int>(Qt::LeftButton), 1);
}

TEST(QImageView, ImageDataShowsItsByteTriples)
{
    QImageView view("raw");
    const std::uint8_t rgb[6] = {255, 0, 0, 1, 2, 3};
    view.setImageData(2, 1, rgb);
    const QImage shown = view.display()->naturalPixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(2, 1));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(1, 0), qRgb(1, 2, 3));
    view.setImageData(0, 1, rgb);
    EXPECT_FALSE(view.display()->hasPicture());

    Array2D<RGB24> canvas(1, 2);
    canvas.at(0, 0) = {9, 8, 7};
    canvas.at(0, 1) = {0, 255, 1};
    view.setImageData(canvas);
    const QImage fromCanvas = view.display()->naturalPixmap().toImage();
    ASSERT_EQ(fromCanvas.size(), QSize(1, 2));
    EXPECT_EQ(fromCanvas.pixel(0, 0), qRgb(9, 8, 7));
    EXPECT_EQ(fromCanvas.pixel(0, 1), qRgb(0, 255, 1));
}

TEST(QImageView, SaveNamesGetTheFiltersExtension)
{
    EXPECT_EQ(QImageView::extensionForFilter("Portable Network Graphics (*.png)"), "png");
    EXPECT_EQ(QImageView::extensionForFilter("XPM (*.xpm)"), "xpm");
    EXPECT_EQ(QImageView::extensionForFilter("Portable Pixmap (*.ppm)"), "ppm");
    EXPECT_EQ(QImageView::nameWithExtension("picture.png", "png"), "picture.png");
    EXPECT_EQ(QImageView::nameWithExtension("picture.PNG", "png"), "picture.PNG");
    EXPECT_EQ(QImageView::nameWithExtension("picture", "png"), "picture.png");
    EXPECT_EQ(QImageView::nameWithExtension("picture.png", "ppm"), "picture.png.ppm");
    EXPECT_EQ(QImageView::nameWithExtension("/a.ppm/picture", "ppm"), "/a.ppm/picture.ppm");
}

TEST(QImageView, SavesThePictureAtItsNaturalSize)
{
    QTemporaryDir dir;
    QImageView view("pic");
    EXPECT_FALSE(view.savePicture(dir.filePath("empty.png")));
    view.setPixmap(filled(5, 4, QColor(10, 20, 30)));
    view.setZoom(300);
    const QString path = dir.filePath("pic.ppm");
    ASSERT_TRUE(view.savePicture(path));
    const QImage back(path);
    EXPECT_EQ(back.size(), QSize(5, 4));
    EXPECT_EQ(back.pixel(4, 3), qRgb(10, 20, 30));
}

TEST(QImageView, SaveButtonAsksForANameAndWritesInTheChosenFormat)
{
    QTemporaryDir dir;
    QImageView view("pic");
    view.setPixmap(filled(6, 5, QColor(200, 100, 50)));
    view.setZoom(200);

    // filter, name typed by the user, file expected
    struct Case {
        const char* filter;
        const char* typed;
        const char* written;
    };
    const Case cases[] = {
        {"Portable Pixmap (*.ppm)", "picture.png", "picture.png.ppm"},
        {"Portable Network Graphics (*.png)", "shot", "shot.png"},
        {"XPM (*.xpm)", "icon.XPM", "icon.XPM"},
    };
    for (const Case& c : cases) {
        QStringList filters;
        QString title;
        QString objectName;
        driveModal([&view] { view.onSave(); },
                   [&] {
                       auto* dialog = view.findChild<QFileDialog*>();
                       ASSERT_NE(dialog, nullptr);
                       title = dialog->windowTitle();
                       objectName = dialog->objectName();
                       filters = dialog->nameFilters();
                       dialog->setDirectory(dir.path());
                       dialog->selectNameFilter(c.filter);
                       dialog->selectFile(c.typed);
                       static_cast<QDialog*>(dialog)->accept();
                   });
        EXPECT_EQ(title, "Save Image...");
        EXPECT_EQ(objectName, "Save Image...");
        EXPECT_EQ(filters, QStringList({"Portable Network Graphics (*.png)", "Portable Pixmap (*.ppm)", "XPM (*.xpm)"}));
        const QString written = dir.filePath(c.written);
        ASSERT_TRUE(QFile::exists(written)) << c.written;
        // Written at its natural size, whatever the zoom.
        QImageReader reader(written);
        EXPECT_EQ(reader.size(), QSize(6, 5)) << c.written;
        EXPECT_EQ(QString::fromLatin1(reader.format()), QFileInfo(written).suffix().toLower()) << c.written;
        EXPECT_EQ(view.findChild<QFileDialog*>(), nullptr);
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("picture.png")));
}

TEST(QImageView, InformationLineOffersNoTextSelection)
{
    // Ctrl+C is the main window's Clear All: a selectable line would invite a
    // copy that deletes every picture.
    QImageView view("pic");
    QLabel* info = nullptr;
    for (QLabel* label : view.findChildren<QLabel*>())
        if (label->accessibleName() == "Pixel information")
            info = label;
    ASSERT_NE(info, nullptr);
    view.setInfoText(" X=1 Y=2");
    EXPECT_EQ(info->text(), " X=1 Y=2");
    EXPECT_FALSE(info->textInteractionFlags() & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));
}
