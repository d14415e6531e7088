#pragma once

#include "IvraView.h"

#include <QPixmap>

class QScrollArea;

namespace ivra {

class DataObject;
class IvraWidgetHistogram;

// The window of a histogram entry (gray, RGB or HSV histogram): the histogram
// drawn once, shown unscaled in a scroll view. The window cannot grow beyond the
// size it first shows with.
class IvraViewHistogram : public IvraView {
    Q_OBJECT

public:
    IvraViewHistogram(QMdiArea* workspace, DataEntry* entry, Qt::WindowFlags flags = {});

    const QPixmap& pixmap() const { return picture_; }
    QScrollArea* scrollView() const { return scrollView_; }
    IvraWidgetHistogram* canvas() const { return canvas_; }
    QImage picture() const override;

private:
    DataObject* data_;
    QPixmap picture_;
    QScrollArea* scrollView_;
    IvraWidgetHistogram* canvas_;
};

} // namespace ivra
