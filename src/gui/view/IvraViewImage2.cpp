#include "IvraViewImage2.h"

#include "PixelInfo.h"
#include "QImageDisplay.h"
#include "QImageView.h"
#include "app/DataEntry.h"

#include "DisplayConversion.h"

#include <QGridLayout>
#include <QPixmap>

#include <algorithm>

namespace ivra {

IvraViewImage2::IvraViewImage2(QMdiArea* workspace, DataEntry* entry, Qt::WindowFlags flags)
    : IvraView(workspace, entry, flags), data_(entry ? entry->data() : nullptr)
{
    QPixmap pixmap;
    if (const auto* image = dynamic_cast<const Image*>(data_))
        pixmap = QPixmap::fromImage(ivra::toDisplayImage(*image));

    auto* grid = new QGridLayout(body());
    grid->setContentsMargins(0, 0, 0, 0);
    display_ = new QImageView(entry ? entry->name() : QString(), body());
    grid->addWidget(display_, 0, 0);
    display_->setPixmap(pixmap);

    // Room for the picture at its natural size, within reason; the scroll area does the rest.
    if (!pixmap.isNull())
        resize(std::clamp(pixmap.width() + 40, 260, 900), std::clamp(pixmap.height() + 90, 160, 700));
    fitIntoWorkspace();

    connect(display_, &QImageView::onAskForInfoText, this, &IvraViewImage2::onAskForInfoText);
    showNormal();
    setFocus();
}

QImage IvraViewImage2::picture() const
{
    return display_->display()->naturalPixmap().toImage();
}

void IvraViewImage2::onAskForInfoText(int x, int y)
{
    if (!data_)
        return;
    const QString text = pixelInfoText(*data_, x, y);
    if (!text.isNull())
        display_->setInfoText(text);
}

} // namespace ivra
