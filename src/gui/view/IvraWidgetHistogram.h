#pragma once

#include <QWidget>

class QPixmap;

namespace ivra {

class IvraViewHistogram;

// The canvas of a histogram window: shows the drawing as its background at its
// natural size and ignores the mouse.
class IvraWidgetHistogram : public QWidget {
public:
    IvraWidgetHistogram(IvraViewHistogram& window, const QPixmap& picture, QWidget* parent);

    IvraViewHistogram& window() const { return window_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    IvraViewHistogram& window_;
};

} // namespace ivra
