// The windows of entries: the zoomable picture widget and the picture window,
// the histogram window, and the segmentation result viewer.

#include "gui/GuiTestSupport.h"

#include "view/HistogramCanvas.h"
#include "view/HistogramWindow.h"
#include "view/PixelInfo.h"
#include "view/SegmentationViewer.h"

#include "HistogramPainter.h"
#include "image/HSVBinLayout.h"
#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolButton>

#include <random>

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

TEST(ZoomableImageView, ZoomStepsAndButtonsFollowThePictureSaveWritesItUnzoomed)
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
    EXPECT_EQ(inOut, QList<bool>({1, 1, 0, 1, 0, 1, 1, 1, 1, 1, 1, 0, 1, 1}));

    view.setZoom(500);
    EXPECT_EQ(view.zoom(), 300);
    EXPECT_EQ(view.display()->size(), QSize(120, 90));
    // A new picture keeps the zoom; an empty one disables everything.
    view.setPixmap(filled(10, 10, Qt::blue));
    EXPECT_EQ(view.display()->size(), QSize(30, 30));
    view.clear();
    EXPECT_FALSE(view.saveButton()->isEnabled());
    EXPECT_TRUE(view.display()->isHidden());
    // Ctrl+C is the main window's Clear All: a selectable line would invite a copy that deletes every picture.
    view.setInfoText(" X=1 Y=2");
    for (QLabel* label : view.findChildren<QLabel*>())
        EXPECT_FALSE(label->textInteractionFlags() & (Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));

    // Save writes the natural picture in the chosen format.
    QTemporaryDir dir;
    view.setPixmap(filled(6, 5, QColor(200, 100, 50)));
    view.setZoom(200);
    // filter, name typed by the user, file expected; a dot in a folder's name is no extension
    ASSERT_TRUE(QDir(dir.path()).mkdir("a.ppm"));
    const char* const cases[][3] = {
        {"Portable Pixmap (*.ppm)", "picture.png", "picture.png"},
        {"Windows Bitmap (*.bmp)", "scan", "scan.bmp"},
        {"Portable Network Graphics (*.png)", "shot", "shot.png"},
        {"XPM (*.xpm)", "icon.XPM", "icon.XPM"},
        {"Portable Pixmap (*.ppm)", "a.ppm/b", "a.ppm/b.ppm"},
    };
    for (const auto& c : cases) {
        driveModal([&view] { view.onSave(); }, [&] {
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
    window->onAskForInfoText(20, 0); // outside: the line stays
    EXPECT_EQ(view->infoText(), " X=5 Y=3  RGB=(200,0,0)  HSV=(0,255,200)");
    // Gray and HSV pictures, and points outside.
    EXPECT_EQ(pixelInfoText(*grayImage(3, 2, 128), 2, 1), " X=2 Y=1  RGB=(128,128,128)  HSV=(0,0,128)");
    auto hsv = std::make_unique<ImageHSV>(1, 2);
    hsv->setPixel(0, 120, 255, 255);
    hsv->setPixel(1, -1, 0, 90);
    EXPECT_EQ(pixelInfoText(*hsv, 0, 0), " X=0 Y=0  RGB=(0,255,0)  HSV=(120,255,255)");
    EXPECT_EQ(pixelInfoText(*hsv, 0, 1), " X=0 Y=1  RGB=(90,90,90)  HSV=(-1,0,90)");
    for (const QPoint p : {QPoint(1, 0), QPoint(0, 2), QPoint(-1, 0)})
        EXPECT_TRUE(pixelInfoText(*hsv, p.x(), p.y()).isNull()) << p.x() << "," << p.y();
}

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
    EXPECT_EQ(app.showEntry(e), view);
    press(view->canvas(), 20, 20); // the canvas ignores the mouse
    EXPECT_EQ(view->canvas()->grab().toImage().convertToFormat(QImage::Format_RGB32), expected);
}

namespace {

// 4 x 3 labels; label 2 sits in two places that do not touch, label 0 is the
// right column's top two pixels.
const char* const labelGrid = "1120 1330 2334";
const RGB24 regionColor[5] = {{50, 50, 50}, {10, 20, 30}, {200, 0, 0}, {0, 200, 0}, {0, 0, 250}};

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
            const int l = labelGrid[y * 5 + x] - '0';
            s->labels.at(x, y) = static_cast<std::uint32_t>(l);
            s->sourcePixels.at(x, y) = sourceColor(x, y);
            s->setPixel(static_cast<std::size_t>(y) * 4 + x, regionColor[l].r, regionColor[l].g, regionColor[l].b);
        }
    return s;
}

// The picture a view shows, one letter per pixel, rows separated by spaces: the
// digit of a region's color, 'k' black, 'w' white, 's' the source pixel.
QString shown(const ZoomableImageView* view)
{
    const QImage picture = view->display()->naturalPixmap().toImage();
    const auto rgb = [](RGB24 c) { return qRgb(c.r, c.g, c.b); };
    QString text;
    for (int y = 0; y < picture.height(); ++y, text += ' ')
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb p = picture.pixel(x, y) | 0xff000000u;
            QChar letter = p == qRgb(0, 0, 0) ? 'k' : p == qRgb(255, 255, 255) ? 'w' : '?';
            for (int l = 0; l < 5; ++l)
                letter = p == rgb(regionColor[l]) ? QChar('0' + l) : letter;
            text += p == rgb(sourceColor(x, y)) ? QChar('s') : letter;
        }
    return text.trimmed();
}

} // namespace

TEST(SegmentationViewer, ClicksHideAndShowLabelsButNotLabelZeroAndRepaintByBackgroundAndStyle)
{
    MainWindow app;
    app.resize(1000, 700);
    auto* view = qobject_cast<SegmentationViewer*>(app.showEntry(addTopLevel(app, sampleResult(), "seg")));
    ASSERT_NE(view, nullptr);
    const auto click = [view](int x, int y, Qt::MouseButton b = Qt::LeftButton) {
        view->regionView()->onDisplayMousePressEvent(x, y, b, {});
    };
    const auto regions = [view] { return shown(view->regionView()); };

    // Opens with every region in its colour beside the source.
    EXPECT_EQ(view->size(), app.workspace()->viewport()->size());
    EXPECT_EQ(regions(), labelGrid);
    EXPECT_EQ(shown(view->sourceView()), "ssss ssss ssss");
    EXPECT_EQ(view->picture().pixel(2, 1), qRgb(0, 200, 0)); // File > Save as writes the regions

    // A left click hides and shows every pixel of the label.
    click(0, 2); // label 2, also at (2, 0)
    EXPECT_EQ(regions(), "11k0 1330 k334");
    // A press in the source picture acts the same; other buttons and points outside do nothing.
    view->sourceView()->onDisplayMousePressEvent(2, 0, Qt::LeftButton, Qt::NoModifier);
    for (const QPoint p : {QPoint(-1, 0), QPoint(4, 0), QPoint(0, 3)})
        click(p.x(), p.y());
    click(0, 0, Qt::RightButton);
    EXPECT_EQ(regions(), labelGrid);
    // Any press shows the information lines.
    EXPECT_EQ(view->sourceView()->infoText(), " X:0 Y:0  RGB=(0,255,0)  HSV=(120,255,255)");
    EXPECT_EQ(view->regionView()->infoText(), " X:0 Y:0  MeanRGB=(10,20,30)  MeanHSV=(210,170,30)  Label=1  Pixels=3");
    // Moving over either pane puts the point, that pane's colour and the region in the status bar.
    view->regionView()->setZoom(200); // both panes
    const std::tuple<ZoomableImageView*, QPoint, QString> moves[] = {
        {view->sourceView(), {1, 1}, " X=0 Y=0  RGB=(0,255,0)  HSV=(120,255,255)  Label=1  Pixels=3"},
        {view->regionView(), {5, 5}, " X=2 Y=2  RGB=(0,200,0)  HSV=(120,255,200)  Label=3  Pixels=4"},
        {view->sourceView(), {7, 3}, " X=3 Y=1  RGB=(140,115,7)  HSV=(48,242,140)  Label=0 (no region)"}};
    for (const auto& [pane, at, expected] : moves) {
        QMouseEvent move(QEvent::MouseMove, at, pane->display()->mapToGlobal(at), Qt::NoButton, {}, {});
        QApplication::sendEvent(pane->display(), &move);
        EXPECT_EQ(app.statusBar()->currentMessage(), expected);
    }

    // Label 0 follows only Show All and Hide All.
    click(3, 0); // shown label 0: a click does not hide it
    EXPECT_EQ(regions(), labelGrid);
    view->hideAllButton()->click();
    EXPECT_EQ(regions(), "kkkk kkkk kkkk");
    click(3, 1); // hidden label 0: a click does not show it either
    click(3, 2);
    click(1, 0);
    EXPECT_EQ(regions(), "11kk 1kkk kkk4");
    view->showAllButton()->click();
    EXPECT_EQ(regions(), labelGrid);

    // Background and style repaint the right pixels.
    click(0, 0); // hide label 1
    view->whiteRadio()->click();
    EXPECT_EQ(regions(), "ww20 w330 2334");
    click(1, 1); // hidden on white uses white as well
    EXPECT_EQ(regions(), "ww20 www0 2ww4");
    view->blackRadio()->click();
    view->pixelRadio()->click();
    EXPECT_EQ(regions(), "kkss kkks skks");
    click(1, 2); // shown in this style: its source pixels
    EXPECT_EQ(regions(), "kkss ksss ssss");
    view->meanRadio()->click();
    EXPECT_EQ(regions(), "kk20 k330 2334");
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
    // Each region clicked twice: hidden, then shown again.
    const std::pair<int, int> clicks[] = {{0, 0}, {36, 22}, {13, 7}, {5, 4}, {21, 20}, {13, 7}, {5, 4}, {36, 22}};
    for (const int zoom : {100, 50, 200, 300})
        for (QRadioButton* style : {view.meanRadio(), view.pixelRadio()}) {
            view.regionView()->setZoom(zoom);
            style->click();
            for (const auto& [x, y] : clicks) {
                view.onDisplayMousePressEvent(x, y, Qt::LeftButton, Qt::NoModifier);
                ImageDisplay fresh;
                fresh.setImageData(w, h, reinterpret_cast<const std::uint8_t*>(view.canvas().data()));
                fresh.setZoom(zoom);
                const ImageDisplay* shown = view.regionView()->display();
                ASSERT_EQ(shown->naturalPixmap().toImage(), fresh.naturalPixmap().toImage()) << zoom << " " << x;
                ASSERT_EQ(shown->scaledPixmap().toImage(), fresh.scaledPixmap().toImage()) << zoom << " " << x;
            }
        }
}
