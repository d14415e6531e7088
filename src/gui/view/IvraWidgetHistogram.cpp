#include "IvraWidgetHistogram.h"

#include <QMouseEvent>
#include <QPalette>
#include <QPixmap>

namespace ivra {

IvraWidgetHistogram::IvraWidgetHistogram(IvraViewHistogram& window, const QPixmap& picture, QWidget* parent)
    : QWidget(parent), window_(window)
{
    QPalette palette = this->palette();
    palette.setBrush(QPalette::Window, QBrush(picture));
    setPalette(palette);
    setAutoFillBackground(true);
    resize(picture.size());
}

void IvraWidgetHistogram::mousePressEvent(QMouseEvent* event)
{
    event->accept();
}

void IvraWidgetHistogram::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
}

} // namespace ivra
