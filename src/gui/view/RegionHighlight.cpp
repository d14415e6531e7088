#include "RegionHighlight.h"

#include "ImageDisplay.h"

#include <QEvent>
#include <QPainter>
#include <QPaintEvent>

namespace ivra {

RegionHighlight::RegionHighlight(ImageDisplay* display) : QWidget(display)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(display->rect());
    display->installEventFilter(this);
    hide();
}

void RegionHighlight::setMarks(const QImage& marks)
{
    marks_ = marks;
    setVisible(!marks_.isNull());
    raise();
    update();
}

bool RegionHighlight::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parent() && event->type() == QEvent::Resize)
        setGeometry(static_cast<QWidget*>(watched)->rect());
    return QWidget::eventFilter(watched, event);
}

void RegionHighlight::paintEvent(QPaintEvent* event)
{
    if (marks_.isNull())
        return;
    QPainter painter(this);
    painter.setClipRect(event->rect());
    // Nearest neighbour, like the display's own scaling: whole picture pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect(), marks_);
}

} // namespace ivra
