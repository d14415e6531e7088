#include "HistogramWindow.h"

#include "HistogramCanvas.h"
#include "app/DataEntry.h"

#include "HistogramPainter.h"

#include <QImage>
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

QImage HistogramWindow::picture() const
{
    return picture_.toImage();
}

} // namespace ivra
