#include "ImageDisplay.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QTransform>

#include <algorithm>

namespace ivra {

ImageDisplay::ImageDisplay(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void ImageDisplay::setZoom(int zoom)
{
    if (!hasPicture_)
        return;
    zoom = std::max(zoom, minZoom);
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    if (zoom_ == 100) {
        scaled_ = natural_;
    } else {
        // Nearest neighbour: every picture pixel stays a sharp block, which is what
        // pixel inspection needs.
        const double f = zoom_ * 0.01;
        scaled_ = natural_.transformed(QTransform::fromScale(f, f), Qt::FastTransformation);
    }
    resize(scaled_.size());
    update();
}

void ImageDisplay::setPixmap(const QPixmap& pixmap)
{
    const int previous = zoom_;
    zoom_ = 0;
    natural_ = pixmap;
    scaled_ = pixmap;
    if (pixmap.width() >= 1 && pixmap.height() >= 1) {
        hasPicture_ = true;
        setZoom(previous); // rescales, since the field is 0
        if (isHidden())
            show();
        else
            update();
    } else {
        hasPicture_ = false;
        zoom_ = previous;
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
    if (zoom_ == 100)
        scaled_ = QPixmap();
    {
        QPainter painter(&natural_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(x0, y0, patch);
    }
    if (zoom_ == 100) {
        scaled_ = natural_;
        update(QRect(x0, y0, x1 - x0, y1 - y0));
    } else if (zoom_ % 100 == 0 || zoom_ == 50) {
        const double f = zoom_ * 0.01;
        const QImage part = patch.transformed(QTransform::fromScale(f, f), Qt::FastTransformation);
        const QPoint at(x0 * zoom_ / 100, y0 * zoom_ / 100);
        QPainter painter(&scaled_);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(at, part);
        update(QRect(at, part.size()));
    } else {
        const double f = zoom_ * 0.01;
        scaled_ = natural_.transformed(QTransform::fromScale(f, f), Qt::FastTransformation);
        update();
    }
}

void ImageDisplay::clear()
{
    setPixmap(QPixmap());
}

void ImageDisplay::paintEvent(QPaintEvent* event)
{
    if (scaled_.isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.drawPixmap(0, 0, scaled_);
}

void ImageDisplay::mousePressEvent(QMouseEvent* event)
{
    if (!hasPicture_ || zoom_ <= 0)
        return;
    const QPoint p = event->position().toPoint();
    emit onMousePressEvent(toPicture(p.x(), zoom_), toPicture(p.y(), zoom_), event->button(), event->modifiers());
}

} // namespace ivra
