#include "OpenFilePreview.h"

#include <QFileInfo>
#include <QLabel>
#include <QPixmap>

namespace ivra {

OpenFilePreview::OpenFilePreview(QWidget* parent) : QScrollArea(parent), picture_(new QLabel)
{
    setObjectName(QStringLiteral("preview"));
    setAccessibleName(tr("Preview"));
    setMinimumWidth(300);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture_->resize(0, 0);
    setWidget(picture_);
}

void OpenFilePreview::clearPicture()
{
    picture_->clear();
    picture_->resize(0, 0);
}

void OpenFilePreview::previewPath(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir()) {
        clearPicture();
        return;
    }
    // A file that cannot be read shows as an empty picture: the previous one must
    // not stand for it.
    QPixmap pixmap;
    if (!info.isFile() || !pixmap.load(path)) {
        clearPicture();
        return;
    }
    picture_->setPixmap(pixmap);
    picture_->resize(pixmap.size());
}

} // namespace ivra
