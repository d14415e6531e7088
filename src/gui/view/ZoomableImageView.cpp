#include "ZoomableImageView.h"

#include "ImageDisplay.h"
#include "PictureSaveDialog.h"

#include "IoError.h"
#include "PictureWriter.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QToolButton>

#include <algorithm>
#include <iterator>
#include <utility>

namespace ivra {

namespace {

enum class Glyph { ZoomIn, ZoomOut, Save, Enlarge };

// The small button pictures, drawn rather than shipped as files.
QIcon glyphIcon(Glyph glyph)
{
    const int side = glyph == Glyph::ZoomIn || glyph == Glyph::ZoomOut ? 16 : 12;
    QPixmap pm(side, side);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1.5));
    switch (glyph) {
    case Glyph::ZoomIn:
    case Glyph::ZoomOut:
        p.setBrush(QColor(220, 235, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
        p.drawLine(QPointF(3.5, 6), QPointF(8.5, 6));
        if (glyph == Glyph::ZoomIn)
            p.drawLine(QPointF(6, 3.5), QPointF(6, 8.5));
        break;
    case Glyph::Save:
        p.setBrush(QColor(60, 90, 160));
        p.drawRect(QRectF(0.75, 0.75, 10.5, 10.5));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 1, 6, 4));
        break;
    case Glyph::Enlarge:
        p.drawLine(QPointF(1, 1), QPointF(11, 11));
        p.drawLine(QPointF(1, 1), QPointF(5, 1));
        p.drawLine(QPointF(1, 1), QPointF(1, 5));
        p.drawLine(QPointF(11, 11), QPointF(7, 11));
        p.drawLine(QPointF(11, 11), QPointF(11, 7));
        break;
    }
    return QIcon(pm);
}

QToolButton* toolButton(const QString& text, Glyph glyph, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(text);
    b->setText(text);
    b->setToolTip(text);
    b->setAccessibleName(text);
    b->setIcon(glyphIcon(glyph));
    b->setAutoRaise(true);
    b->setEnabled(false);
    return b;
}

} // namespace

ZoomableImageView::ZoomableImageView(const QString& name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(buildToolRow(name), 0, 0);

    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(false);
    scroll_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    display_ = new ImageDisplay;
    display_->setAccessibleName(tr("Picture"));
    scroll_->setWidget(display_);
    display_->hide();
    grid->addWidget(scroll_, 1, 0);
    connect(display_, &ImageDisplay::onMousePressEvent, this, &ZoomableImageView::onDisplayMousePressEvent);
    connect(display_, &ImageDisplay::pointerMoved, this, &ZoomableImageView::pointerMoved);
    scroll_->viewport()->installEventFilter(this);

    info_ = new QLabel(this);
    info_->setAccessibleName(tr("Pixel information"));
    info_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    info_->setAutoFillBackground(true);
    info_->setBackgroundRole(QPalette::Base);
    // A yellow line, so the information stands apart from the picture.
    QPalette yellow(QColor(Qt::yellow));
    yellow.setColor(QPalette::Base, QColor(255, 255, 200));
    yellow.setColor(QPalette::Text, Qt::black);
    yellow.setColor(QPalette::WindowText, Qt::black);
    info_->setPalette(yellow);
    // No text selection here: Ctrl+C belongs to the main window's Clear All, and a
    // user copying a selected line would lose every picture instead.
    grid->addWidget(info_, 2, 0);
}

QWidget* ZoomableImageView::buildToolRow(const QString& name)
{
    auto* toolRow = new QWidget(this);
    toolRow->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    auto* row = new QGridLayout(toolRow);
    row->setContentsMargins(0, 0, 0, 0);

    title_ = new QLabel(QLatin1Char(' ') + name, toolRow);
    title_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    title_->setAutoFillBackground(true);
    title_->setBackgroundRole(QPalette::Base);
    title_->setPalette(QPalette(Qt::black));
    row->addWidget(title_, 0, 0);

    zoomIn_ = toolButton(tr("Zoom In"), Glyph::ZoomIn, toolRow);
    zoomOut_ = toolButton(tr("Zoom Out"), Glyph::ZoomOut, toolRow);
    save_ = toolButton(tr("Save Image"), Glyph::Save, toolRow);
    enlarge_ = toolButton(tr("Enlarge"), Glyph::Enlarge, toolRow);
    percent_ = new QLabel(toolRow);
    percent_->setAccessibleName(tr("Zoom"));
    row->addWidget(percent_, 0, 5);
    row->addWidget(zoomIn_, 0, 1);
    row->addWidget(zoomOut_, 0, 2);
    row->addWidget(save_, 0, 3);
    // Enlarge has no action; a button that does nothing would only puzzle users
    // (and screen readers), so it is kept in the row but not shown.
    row->addWidget(enlarge_, 0, 4);
    enlarge_->hide();
    connect(zoomIn_, &QToolButton::clicked, this, &ZoomableImageView::onZoomIn);
    connect(zoomOut_, &QToolButton::clicked, this, &ZoomableImageView::onZoomOut);
    connect(save_, &QToolButton::clicked, this, &ZoomableImageView::onSave);
    return toolRow;
}

void ZoomableImageView::updateButtons()
{
    if (!display_->hasPicture()) {
        zoomIn_->setEnabled(false);
        zoomOut_->setEnabled(false);
        save_->setEnabled(false);
        enlarge_->setEnabled(false);
        return;
    }
    save_->setEnabled(true);
    enlarge_->setEnabled(true);
    percent_->setText(percentText(display_->fineZoom()));
    const int z = display_->zoom();
    zoomIn_->setEnabled(z < maxZoom);
    zoomOut_->setEnabled(z > ImageDisplay::minZoom);
}

void ZoomableImageView::setZoom(int zoom)
{
    if (!display_->hasPicture())
        return;
    display_->setZoom(std::min(zoom, maxZoom));
    updateButtons();
    emit zoomChanged(display_->fineZoom());
}

namespace {

// The zoom steps of the keys and the wheel, in hundredths of a percent.
constexpr int ladder[] = {625,   1250,  2500,  5000,   7500,   10000,  15000,  20000,
                          30000, 40000, 60000, 80000, 120000, 160000, 240000, 320000};

} // namespace

QString ZoomableImageView::percentText(int fine)
{
    return QString::number(fine / double(ImageDisplay::fineUnit), 'g', 4) + QStringLiteral(" %");
}

QPoint ZoomableImageView::viewportCentre() const
{
    return scroll_->viewport()->rect().center();
}

void ZoomableImageView::zoomAbout(int fine, const QPoint& anchor)
{
    if (!display_->hasPicture())
        return;
    const int before = display_->fineZoom();
    // The picture point under the anchor, in picture pixels (fractions kept).
    const QPointF onDisplay = display_->mapFrom(scroll_->viewport(), anchor);
    const QPointF picturePoint = onDisplay * (10000.0 / before);
    display_->setFineZoom(fine);
    const int after = display_->fineZoom();
    const QPointF target = picturePoint * (after / 10000.0);
    scroll_->horizontalScrollBar()->setValue(qRound(target.x() - anchor.x()));
    scroll_->verticalScrollBar()->setValue(qRound(target.y() - anchor.y()));
    updateButtons();
    if (after != before)
        emit zoomChanged(after);
}

void ZoomableImageView::zoomStep(int direction, const QPoint& anchor)
{
    const int now = display_->fineZoom();
    int fine = now;
    if (direction > 0) {
        const auto* next = std::upper_bound(std::begin(ladder), std::end(ladder), now);
        fine = next == std::end(ladder) ? now : *next;
    } else {
        const auto* next = std::lower_bound(std::begin(ladder), std::end(ladder), now);
        fine = next == std::begin(ladder) ? now : *(next - 1);
    }
    zoomAbout(fine, anchor);
}

void ZoomableImageView::fitToWindow()
{
    const QSize picture = display_->naturalPixmap().size();
    if (!display_->hasPicture() || picture.isEmpty())
        return;
    // The room without scroll bars: at the fitting zoom none are needed.
    const QSize room = scroll_->maximumViewportSize();
    const qint64 fx = qint64(room.width()) * 10000 / picture.width();
    const qint64 fy = qint64(room.height()) * 10000 / picture.height();
    zoomAbout(static_cast<int>(std::min({fx, fy, qint64(ImageDisplay::maxFineZoom)})), QPoint(0, 0));
}

void ZoomableImageView::linkWith(ZoomableImageView* other)
{
    // Each side passes on only a change of its own: the same value stops the echo.
    for (auto [from, to] : {std::pair{this, other}, std::pair{other, this}}) {
        connect(from, &ZoomableImageView::zoomChanged, to, [to](int fine) {
            if (to->display_->fineZoom() != fine) {
                to->display_->setFineZoom(fine);
                to->updateButtons();
            }
        });
        for (auto bars : {std::pair{from->scroll_->horizontalScrollBar(), to->scroll_->horizontalScrollBar()},
                          std::pair{from->scroll_->verticalScrollBar(), to->scroll_->verticalScrollBar()}})
            connect(bars.first, &QScrollBar::valueChanged, bars.second, &QScrollBar::setValue);
    }
}

bool ZoomableImageView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == scroll_->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            if (wheel->angleDelta().y() != 0)
                zoomStep(wheel->angleDelta().y() > 0 ? 1 : -1, wheel->position().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ZoomableImageView::setPixmap(const QPixmap& pixmap)
{
    display_->setPixmap(pixmap);
    updateButtons();
}

void ZoomableImageView::setImageData(int width, int height, const std::uint8_t* rgb)
{
    display_->setImageData(width, height, rgb);
    updateButtons();
}

void ZoomableImageView::setImageData(const Array2D<RGB24>& pixels)
{
    // RGB24 is three bytes R, G, B with no padding, so the array is the byte buffer.
    setImageData(pixels.width(), pixels.height(), reinterpret_cast<const std::uint8_t*>(pixels.data()));
}

void ZoomableImageView::updateImageData(const Array2D<RGB24>& pixels, const QRect& changed)
{
    display_->updateImageData(pixels.width(), pixels.height(), reinterpret_cast<const std::uint8_t*>(pixels.data()),
                              changed);
    updateButtons();
}

void ZoomableImageView::clear()
{
    display_->clear();
    updateButtons();
}

void ZoomableImageView::setInfoText(const QString& text)
{
    info_->setText(text);
}

int ZoomableImageView::zoom() const
{
    return display_->zoom();
}

QString ZoomableImageView::infoText() const
{
    return info_->text();
}

void ZoomableImageView::onZoomIn()
{
    const int z = display_->zoom();
    setZoom(z < 100 ? 100 : z + 100);
}

void ZoomableImageView::onZoomOut()
{
    const int z = display_->zoom();
    setZoom(z <= 100 ? ImageDisplay::minZoom : z - 100);
}

void ZoomableImageView::onDisplayMousePressEvent(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers state)
{
    emit onAskForInfoText(x, y);
    emit onMousePressEvent(x, y, button, state);
}

QString ZoomableImageView::extensionForFilter(const QString& filter)
{
    if (filter.contains(QLatin1String("*.png")))
        return QStringLiteral("png");
    if (filter.contains(QLatin1String("*.xpm")))
        return QStringLiteral("xpm");
    return QStringLiteral("ppm");
}

QString ZoomableImageView::nameWithExtension(const QString& name, const QString& extension)
{
    // Only the file name part counts: a dot in a directory name is no extension.
    const QString file = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0 && file.mid(dot + 1).compare(extension, Qt::CaseInsensitive) == 0)
        return name;
    return name + QLatin1Char('.') + extension;
}

bool ZoomableImageView::savePicture(const QString& fileName) const
{
    if (!display_->hasPicture())
        return false;
    try {
        writePicture(display_->naturalPixmap().toImage(), fileName);
    } catch (const IoError&) {
        return false;
    }
    return true;
}

void ZoomableImageView::onSave()
{
    if (!display_->hasPicture())
        return;
    savePictureWithDialog(this, display_->naturalPixmap().toImage(), objectName());
}

} // namespace ivra
