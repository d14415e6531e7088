#include "HistogramCanvas.h"

#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>

namespace ivra {

HistogramCanvas::HistogramCanvas(const QPixmap& picture, QWidget* parent) : QWidget(parent)
{
    QPalette palette = this->palette();
    palette.setBrush(QPalette::Window, QBrush(picture));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(picture.size());
}

void HistogramCanvas::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void HistogramCanvas::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

} // namespace ivra
