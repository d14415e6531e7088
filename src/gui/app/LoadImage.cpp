#include "LoadImage.h"

#include "ImageView.h"

#include "PreferenceFile.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>

#include <memory>

namespace ivra {

LoadImage::LoadImage(QObject* parent)
    : QObject(parent), startLocation_(ivra::readStartLocation(QString::fromLatin1(ivra::preferenceFileName)))
{
}

QString LoadImage::filter()
{
    return tr("All Images (*.png *.pgm *.ppm)");
}

bool LoadImage::exec()
{
    // The toolkit's own dialog: the platform dialogs cannot hold a preview pane.
    auto dialog = std::make_unique<QFileDialog>(nullptr, tr("Open File"));
    dialog_ = dialog.get();
    dialog->setObjectName(QStringLiteral("open"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setModal(true);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    connect(dialog.get(), &QFileDialog::fileSelected, this, &LoadImage::loadImageSlot);
    connect(dialog.get(), &QFileDialog::currentChanged, this, &LoadImage::previewImageSlot);

    auto* preview = new ImageView(dialog.get());
    preview_ = preview;
    // The dialog lays itself out on a grid; the preview takes a column of its own
    // beside the file list, spanning all rows.
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    else if (dialog->layout())
        dialog->layout()->addWidget(preview);

    dialog->setNameFilter(filter());
    if (!startLocation_.isEmpty()) {
        // A start location naming a file opens its directory with the file chosen.
        const QFileInfo start(startLocation_);
        if (start.isDir()) {
            dialog->setDirectory(startLocation_);
        } else {
            dialog->setDirectory(start.absolutePath());
            if (start.exists())
                dialog->selectFile(start.fileName());
        }
    }
    // Room for the file list's columns and the preview side by side.
    dialog->resize(std::max(dialog->width(), 1150), std::max(dialog->height(), 520));

    const bool accepted = dialog->exec() == QDialog::Accepted;
    dialog.reset();
    return accepted;
}

void LoadImage::loadImageSlot(const QString& name)
{
    if (name.isEmpty())
        return;
    fileName_ = name;
    startLocation_ = name;
}

void LoadImage::previewImageSlot(const QString& name)
{
    if (preview_)
        preview_->previewPath(name);
    if (!name.isEmpty())
        fileName_ = name;
}

} // namespace ivra
