#include "HistogramWindow.h"

#include "HistogramCanvas.h"
#include "app/DataEntry.h"

#include "HistogramPainter.h"

#include "image/HistogramGray.h"
#include "image/HistogramRGB.h"

#include <algorithm>

#include <QImage>
#include <QMainWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <QScrollArea>
#include <QVBoxLayout>

namespace ivra {

HistogramWindow::HistogramWindow(QMdiArea* workspace, DataEntry* entry, Qt::WindowFlags flags)
    : EntryWindow(workspace, entry, flags), data_(entry ? entry->data() : nullptr)
{
    if (const auto* histogram = dynamic_cast<const Histogram*>(data_))
        picture_ = QPixmap::fromImage(drawHistogram(*histogram));

    scrollView_ = new QScrollArea(body());
    scrollView_->setObjectName(QStringLiteral("ScrollView"));
    scrollView_->setWidgetResizable(false);
    canvas_ = new HistogramCanvas(picture_, nullptr);
    scrollView_->setWidget(canvas_); // in the viewport, at contents position (0, 0)
    canvas_->setMouseTracking(true);
    canvas_->installEventFilter(this);

    auto* box = new QVBoxLayout(body());
    box->setContentsMargins(6, 6, 6, 6);
    box->setSpacing(6);
    box->addWidget(scrollView_);

    // First size: the scroll view's own hint, which is the whole drawing unless it
    // is wider or taller than a screenful (an RGB histogram of many bins); then it scrolls.
    adjustSize();

    showNormal();
    setMaximumSize(width(), height());
}

bool HistogramWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == canvas_ && event->type() == QEvent::MouseMove && data_) {
        const QString text = histogramBinText(*data_, static_cast<QMouseEvent*>(event)->position().toPoint().x());
        if (auto* main = qobject_cast<QMainWindow*>(window()); main && !text.isEmpty())
            main->statusBar()->showMessage(text);
    }
    return EntryWindow::eventFilter(watched, event);
}

QString histogramBinText(const DataObject& data, int x)
{
    // The drawings' geometry: bars start 10 pixels in; a gray histogram's bins are
    // max(1, 256 / bins) wide, an RGB histogram's max(256, bins) / bins.
    int bins = 0;
    int step = 1;
    double count = 0;
    const auto binAt = [&](int b) { return x >= 10 && (x - 10) / step < b ? (x - 10) / step : -1; };
    int bin = -1;
    if (const auto* gray = dynamic_cast<const HistogramGray*>(&data)) {
        bins = gray->binCount();
        step = bins > 0 ? std::max(1, 256 / bins) : 256;
        if ((bin = binAt(bins)) >= 0)
            count = gray->counts()[bin];
    } else if (const auto* rgb = dynamic_cast<const HistogramRGB*>(&data)) {
        bins = rgb->binCount();
        step = bins > 0 ? std::max(256, bins) / bins : 256;
        if ((bin = binAt(bins)) >= 0)
            count = rgb->counts()[bin];
    }
    if (bin < 0)
        return {};
    return QObject::tr("Bin %1: count %2").arg(bin).arg(count);
}

QImage HistogramWindow::picture() const
{
    return picture_.toImage();
}

} // namespace ivra
