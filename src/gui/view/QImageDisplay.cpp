#include "QImageDisplay.h"

#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QTransform>

QImageDisplay::QImageDisplay(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void QImageDisplay::setZoom(int zoom)
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

void QImageDisplay::setPixmap(const QPixmap& pixmap)
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

void QImageDisplay::setImageData(int width, int height, const std::uint8_t* rgb)
{
    if (width < 1 || height < 1 || !rgb) {
        setPixmap(QPixmap());
        return;
    }
    const QImage view(rgb, width, height, static_cast<qsizetype>(width) * 3, QImage::Format_RGB888);
    setPixmap(QPixmap::fromImage(view.copy()));
}

void QImageDisplay::clear()
{
    setPixmap(QPixmap());
}

void QImageDisplay::paintEvent(QPaintEvent* event)
{
    if (scaled_.isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(event->rect());
    painter.drawPixmap(0, 0, scaled_);
}

void QImageDisplay::mousePressEvent(QMouseEvent* event)
{
    if (!hasPicture_ || zoom_ <= 0)
        return;
    const QPoint p = event->position().toPoint();
    emit onMousePressEvent(toPicture(p.x(), zoom_), toPicture(p.y(), zoom_), event->button(), event->modifiers());
}
