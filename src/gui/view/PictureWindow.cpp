#include "PictureWindow.h"

#include "ImageDisplay.h"
#include "PixelInfo.h"
#include "ZoomableImageView.h"
#include "app/DataEntry.h"

#include "DisplayConversion.h"

#include <QGridLayout>
#include <QMainWindow>
#include <QScrollArea>
#include <QStatusBar>
#include <QPixmap>

#include <algorithm>

namespace ivra {

PictureWindow::PictureWindow(QMdiArea* workspace, DataEntry* entry, Qt::WindowFlags flags)
    : EntryWindow(workspace, entry, flags), data_(entry ? entry->data() : nullptr)
{
    QPixmap pixmap;
    if (const auto* image = dynamic_cast<const Image*>(data_))
        pixmap = QPixmap::fromImage(toDisplayImage(*image));

    auto* grid = new QGridLayout(body());
    grid->setContentsMargins(0, 0, 0, 0);
    display_ = new ZoomableImageView(entry ? entry->name() : QString(), body());
    grid->addWidget(display_, 0, 0);
    display_->setPixmap(pixmap);

    // Room for the picture at its natural size, within reason; the scroll area does the rest.
    if (!pixmap.isNull())
        resize(std::clamp(pixmap.width() + 40, 260, 900), std::clamp(pixmap.height() + 90, 160, 700));
    fitIntoWorkspace();

    connect(display_, &ZoomableImageView::onAskForInfoText, this, &PictureWindow::onAskForInfoText);
    connect(display_, &ZoomableImageView::pointerMoved, this, [this](int x, int y) {
        if (auto* main = qobject_cast<QMainWindow*>(window()); main && data_)
            main->statusBar()->showMessage(pixelStatusText(*data_, x, y));
    });
    // A picture larger than the room it got opens at the largest zoom that shows it whole.
    if (!pixmap.isNull())
        QMetaObject::invokeMethod(
            display_,
            [view = display_, picture = pixmap.size()] {
                const QSize room = view->scrollArea()->maximumViewportSize();
                if (picture.width() > room.width() || picture.height() > room.height())
                    view->fitToWindow();
            },
            Qt::QueuedConnection);
    showNormal();
    setFocus();
}

QImage PictureWindow::picture() const
{
    return display_->display()->naturalPixmap().toImage();
}

void PictureWindow::onAskForInfoText(int x, int y)
{
    if (!data_)
        return;
    const QString text = pixelInfoText(*data_, x, y);
    if (!text.isNull())
        display_->setInfoText(text);
}

} // namespace ivra
