#pragma once

#include "EntryWindow.h"

#include "image/DataObject.h"

#include <QPixmap>

class QScrollArea;

namespace ivra {

class HistogramCanvas;

// The window of a histogram entry (gray, RGB or HSV histogram): the histogram
// drawn once, shown unscaled in a scroll view. The window cannot grow beyond the
// size it first shows with.
class HistogramWindow : public EntryWindow {
    Q_OBJECT

public:
    HistogramWindow(QMdiArea* workspace, DataEntry* entry, Qt::WindowFlags flags = {});

    const QPixmap& pixmap() const { return picture_; }
    QScrollArea* scrollView() const { return scrollView_; }
    HistogramCanvas* canvas() const { return canvas_; }
    QImage picture() const override;

protected:
    // The pointer over the drawing: its bin and count in the main window's status bar.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DataObject* data_;
    QPixmap picture_;
    QScrollArea* scrollView_;
    HistogramCanvas* canvas_;
};

// The status bar's text for the pointer at column x of a histogram's drawing:
// "Bin 12: count 345"; empty off the bars and for the HSV wheel.
QString histogramBinText(const DataObject& data, int x);

} // namespace ivra
