#include "OpenFileDialog.h"

#include "PreferenceFile.h"
#include "util/Threads.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>

#include <algorithm>
#include <memory>

namespace ivra {

OpenFileDialog::OpenFileDialog(QObject* parent) : QObject(parent)
{
    const Preferences preferences = readPreferences(QString::fromLatin1(preferenceFileName));
    startLocation_ = preferences.startLocation;
    maxPixels_ = preferences.maxPixels;
    // The same file sets the operators' thread count (none given: all cores).
    setDefaultThreadCount(preferences.threads);
}

QString OpenFileDialog::filter()
{
    return tr("All Images (*.png *.pgm *.ppm *.jpg *.jpeg *.bmp *.tif *.tiff *.xpm)");
}

bool OpenFileDialog::exec()
{
    // The toolkit's own dialog: the platform dialogs cannot hold a preview pane.
    auto dialog = std::make_unique<QFileDialog>(nullptr, tr("Open File"));
    dialog_ = dialog.get();
    dialog->setObjectName(QStringLiteral("open"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setModal(true);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    connect(dialog.get(), &QFileDialog::fileSelected, this, &OpenFileDialog::loadImageSlot);
    connect(dialog.get(), &QFileDialog::currentChanged, this, &OpenFileDialog::previewImageSlot);

    auto* preview = new OpenFilePreview(dialog.get());
    preview_ = preview;
    // The dialog lays itself out on a grid; the preview takes a column of its own
    // beside the file list, spanning all rows.
    if (auto* grid = qobject_cast<QGridLayout*>(dialog->layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    else if (dialog->layout())
        dialog->layout()->addWidget(preview);

    dialog->setNameFilter(filter());
    goToStartLocation(*dialog);
    // Room for the file list's columns and the preview side by side.
    dialog->resize(std::max(dialog->width(), 1150), std::max(dialog->height(), 520));

    const bool accepted = dialog->exec() == QDialog::Accepted;
    dialog.reset();
    return accepted;
}

void OpenFileDialog::goToStartLocation(QFileDialog& dialog) const
{
    if (startLocation_.isEmpty())
        return;
    const QFileInfo start(startLocation_);
    if (start.isDir()) {
        dialog.setDirectory(startLocation_);
    } else {
        dialog.setDirectory(start.absolutePath());
        if (start.exists())
            dialog.selectFile(start.fileName());
    }
}

void OpenFileDialog::loadImageSlot(const QString& name)
{
    if (name.isEmpty())
        return;
    fileName_ = name;
    startLocation_ = name;
}

void OpenFileDialog::previewImageSlot(const QString& name)
{
    if (preview_)
        preview_->previewPath(name);
    if (!name.isEmpty())
        fileName_ = name;
}

} // namespace ivra
