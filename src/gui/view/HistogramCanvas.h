#pragma once

#include <QWidget>

class QPixmap;

namespace ivra {

// The canvas of a histogram window: shows the drawing as its background at its
// natural size and ignores the mouse.
class HistogramCanvas : public QWidget {
public:
    HistogramCanvas(const QPixmap& picture, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace ivra
