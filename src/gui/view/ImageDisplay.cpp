#include "ImageDisplay.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QTransform>

#include <algorithm>

namespace ivra {

namespace {

// Scaled copies up to this many pixels are kept; larger ones are painted piecewise.
constexpr qint64 maxKeptPixels = qint64(4096) * 4096;

} // namespace

ImageDisplay::ImageDisplay(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    hide();
}

void ImageDisplay::setZoom(int zoom)
{
    setFineZoom(std::max(zoom, minZoom) * fineUnit);
}

void ImageDisplay::setFineZoom(int fine)
{
    if (!hasPicture_)
        return;
    fine = std::clamp(fine, minFineZoom, maxFineZoom);
    if (fine == fine_)
        return;
    fine_ = fine;
    rescale();
    update();
}

void ImageDisplay::rescale()
{
    const double f = fine_ / 10000.0;
    const QSize size(std::max(1, qRound(natural_.width() * f)), std::max(1, qRound(natural_.height() * f)));
    if (fine_ == 10000)
        scaled_ = natural_;
    else if (qint64(size.width()) * size.height() <= maxKeptPixels)
        // Nearest neighbour: every picture pixel stays a sharp block, which is what
        // pixel inspection needs.
        scaled_ = natural_.transformed(QTransform::fromScale(f, f), Qt::FastTransformation);
    else
        scaled_ = QPixmap();
    resize(scaled_.isNull() ? size : scaled_.size());
}

void ImageDisplay::setPixmap(const QPixmap& pixmap)
{
    const int previous = fine_;
    fine_ = 0;
    natural_ = pixmap;
    scaled_ = pixmap;
    if (pixmap.width() >= 1 && pixmap.height() >= 1) {
        hasPicture_ = true;
        setFineZoom(previous); // rescales, since the field is 0
        if (isHidden())
            show();
        else
            update();
    } else {
        hasPicture_ = false;
        fine_ = previous;
        hide();
    }
}

void ImageDisplay::setImageData(int width, int height, const std::uint8_t* rgb)
{
    if (width < 1 || height < 1 || !rgb) {
        setPixmap(QPixmap());
        return;
    }
    const QImage view(rgb, width, height, static_cast<qsizetype>(width) * 3, QImage::Format_RGB888);
    setPixmap(QPixmap::fromImage(view.copy()));
}

void ImageDisplay::updateImageData(int width, int height, const std::uint8_t* rgb, const QRect& changed)
{
    if (!hasPicture_ || !rgb || natural_.width() != width || natural_.height() != height) {
        setImageData(width, height, rgb);
        return;
    }
    // Even corners: at 50 percent every scaled pixel comes from a 2 x 2 block, so a
    // patch starting on a block scales exactly as the same pixels of the whole
    // picture; 200 and 300 percent map each pixel to a whole block anyway.
    const QRect inside = changed.intersected(QRect(0, 0, width, height));
    if (inside.isEmpty())
        return;
    const int x0 = inside.left() & ~1;
    const int y0 = inside.top() & ~1;
    const int x1 = std::min(width, (inside.right() + 2) & ~1);
    const int y1 = std::min(height, (inside.bottom() + 2) & ~1);
    const QImage patch(rgb + (static_cast<qsizetype>(y0) * width + x0) * 3, x1 - x0, y1 - y0,
                       static_cast<qsizetype>(width) * 3, QImage::Format_RGB888);

    // At 100 percent the scaled copy shares the natural picture; letting go of it
    // first keeps the painter from copying the whole picture.
    if (fine_ == 10000)
        scaled_ = QPixmap();
    {
        QPainter painter(&natural_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(x0, y0, patch);
    }
    if (fine_ == 10000) {
        scaled_ = natural_;
        update(QRect(x0, y0, x1 - x0, y1 - y0));
    } else if (scaled_.isNull()) {
        update(); // painted piecewise from the natural picture
    } else if (fine_ % 10000 == 0 || fine_ == 5000) {
        const double f = fine_ / 10000.0;
        const QImage part = patch.transformed(QTransform::fromScale(f, f), Qt::FastTransformation);
        const QPoint at(x0 * fine_ / 10000, y0 * fine_ / 10000);
        QPainter painter(&scaled_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(at, part);
        update(QRect(at, part.size()));
    } else {
        rescale();
        update();
    }
}

void ImageDisplay::clear()
{
    setPixmap(QPixmap());
}

void ImageDisplay::paintEvent(QPaintEvent* event)
{
    if (natural_.isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(event->rect());
    if (!scaled_.isNull()) {
        painter.drawPixmap(0, 0, scaled_);
        return;
    }
    // Only the picture pixels behind the exposed rectangle, as sharp blocks.
    const QRect r = event->rect();
    const QRect source = QRect(QPoint(toPictureFine(r.left(), fine_), toPictureFine(r.top(), fine_)),
                               QPoint(toPictureFine(r.right(), fine_) + 1, toPictureFine(r.bottom(), fine_) + 1))
                             .intersected(natural_.rect());
    const double f = fine_ / 10000.0;
    painter.scale(f, f);
    painter.drawPixmap(source.topLeft(), natural_, source);
}

void ImageDisplay::mousePressEvent(QMouseEvent* event)
{
    if (!hasPicture_ || fine_ <= 0)
        return;
    const QPoint p = event->position().toPoint();
    emit onMousePressEvent(toPictureFine(p.x(), fine_), toPictureFine(p.y(), fine_), event->button(),
                           event->modifiers());
}

void ImageDisplay::mouseMoveEvent(QMouseEvent* event)
{
    if (hasPicture_ && fine_ > 0) {
        const QPoint p = event->position().toPoint();
        emit pointerMoved(toPictureFine(p.x(), fine_), toPictureFine(p.y(), fine_));
    }
    QWidget::mouseMoveEvent(event);
}

} // namespace ivra
