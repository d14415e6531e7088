// The main window's File menu and the files dropped on it.

#include "MainWindow.h"

#include "DataEntry.h"
#include "OpenFileDialog.h"
#include "view/EntryWindow.h"
#include "view/PictureWindow.h"

#include "IoError.h"
#include "PictureReader.h"
#include "PictureWriter.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QMdiArea>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>

#include <algorithm>

namespace ivra {

void MainWindow::slotFileOpen()
{
    statusBar()->showMessage(tr("Opening file..."));
    if (openDialog_->exec() && !openDialog_->fileName().isEmpty())
        openImage(openDialog_->fileName());
    statusBar()->showMessage(tr("Ready."));
}

DataEntry* MainWindow::openImage(const QString& path)
{
    statusBar()->showMessage(tr("Opening file..."));
    std::unique_ptr<Image> image;
    if (mentionsPictureExtension(path)) {
        try {
            image = readPicture(path);
        } catch (const IoError&) {
            image.reset();
        }
    }
    if (!image) {
        QMessageBox::critical(this, tr("I/O Error !"), tr("Could not open the document !"));
        statusBar()->showMessage(tr("Ready."));
        return nullptr;
    }
    DataEntry* entry = root_->addChild(std::move(image), EntryWindow::fileNamePart(path));
    // Windows of loaded files are destroyed when closed; the entry's reference
    // clears itself, so the next Show Image makes a new one.
    auto* window = new PictureWindow(workspace_, entry);
    window->setAttribute(Qt::WA_DeleteOnClose);
    entry->setWindow(window);
    workspace_->setActiveSubWindow(window);
    slotUpdateDataList();
    statusBar()->showMessage(tr("Ready."));
    return entry;
}

std::pair<QString, QString> MainWindow::saveTarget(const QString& fileName)
{
    const QString file = EntryWindow::fileNamePart(fileName);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? file.mid(dot + 1).toLower() : QString();
    if (extension == QLatin1String("png") || extension == QLatin1String("ppm") || extension == QLatin1String("xpm"))
        return {fileName, extension.toUpper()};
    return {fileName + QStringLiteral(".png"), QStringLiteral("PNG")};
}

bool MainWindow::saveActiveWindowAs(const QString& fileName)
{
    EntryWindow* view = activeView();
    if (fileName.isEmpty() || !view)
        return true;
    const QString path = saveTarget(fileName).first;
    const QImage picture = view->picture();
    bool written = false;
    if (!picture.isNull()) {
        try {
            writePicture(picture, path);
            written = view->setPathChecked(path);
        } catch (const IoError&) {
            written = false;
        }
    }
    if (!written) {
        QMessageBox::critical(this, tr("I/O Error !"), tr("Could not save the current document !"));
        return false;
    }
    return true;
}

void MainWindow::slotFileSaveAs()
{
    statusBar()->showMessage(tr("Saving file under filename..."));
    const QString name = QFileDialog::getSaveFileName(this, tr("Save File As"), QString(), QString(), nullptr,
                                                      QFileDialog::DontUseNativeDialog);
    if (!saveActiveWindowAs(name))
        return;
    statusBar()->showMessage(tr("Ready."));
}

void MainWindow::slotFileClose()
{
    statusBar()->showMessage(tr("Closing file..."));
    if (EntryWindow* view = activeView())
        view->hide();
    statusBar()->showMessage(tr("Ready."));
}

// ---------------------------------------------------------------- drag and drop

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    // Opened once the drop is over: a file may bring up the "I/O Error !" box, and
    // the program the files came from waits until the drop is answered.
    QMetaObject::invokeMethod(
        this,
        [this, paths] {
            for (const QString& path : paths)
                openImage(path);
        },
        Qt::QueuedConnection);
}

} // namespace ivra
