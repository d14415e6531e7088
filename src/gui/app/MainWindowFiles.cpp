// The main window's File menu and the files dropped on it.

#include "MainWindow.h"

#include "DataEntry.h"
#include "OpenFileDialog.h"
#include "view/EntryWindow.h"
#include "view/PictureSaveDialog.h"
#include "view/PictureWindow.h"
#include "RecentFiles.h"

#include "IoError.h"
#include "PictureReader.h"
#include "PictureWriter.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMdiArea>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>

#include <algorithm>
#include <exception>
#include <new>

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
    QString reason;
    if (!isOpenablePictureName(path)) {
        reason = tr("%1: not a picture file name (.png, .jpg, .bmp, .tif, .ppm, .pgm or .xpm)").arg(path);
    } else {
        // Every failure is reported, out of memory included: a picture too large to
        // load must not take the session with it.
        try {
            image = readPicture(path, PictureLimits{openDialog_->maxPixels()});
        } catch (const std::bad_alloc&) {
            reason = tr("%1: not enough memory to load the picture").arg(path);
        } catch (const std::exception& e) {
            reason = QString::fromStdString(e.what());
        }
        if (!image && reason.isEmpty())
            reason = tr("%1: the picture could not be read").arg(path);
    }
    if (!image) {
        QMessageBox box(QMessageBox::Critical, tr("I/O Error !"), tr("Could not open the document !"),
                        QMessageBox::Ok, this);
        box.setInformativeText(reason);
        box.exec();
        statusBar()->showMessage(tr("Ready."));
        return nullptr;
    }
    recentFiles_->add(path);
    DataEntry* entry = root_->addChild(std::move(image), EntryWindow::fileNamePart(path));
    entry->setRecipe({QFileInfo(path).absoluteFilePath()});
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

bool MainWindow::isOpenablePictureName(const QString& path)
{
    static const QStringList more{"jpg", "jpeg", "bmp", "tif", "tiff", "xpm"};
    return mentionsPictureExtension(path) || more.contains(QFileInfo(path).suffix().toLower());
}

std::pair<QString, QString> MainWindow::saveTarget(const QString& fileName)
{
    const QString file = EntryWindow::fileNamePart(fileName);
    const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot >= 0 ? file.mid(dot + 1).toLower() : QString();
    try {
        savedPictureFormatFor(file);
        return {fileName, extension.toUpper()};
    } catch (const IoError&) {
        return {fileName + QStringLiteral(".png"), QStringLiteral("PNG")};
    }
}

bool MainWindow::saveActiveWindowAs(const QString& fileName)
{
    EntryWindow* view = activeView();
    if (fileName.isEmpty() || !view)
        return true;
    const QString path = saveTarget(fileName).first;
    const QImage picture = view->picture();
    if (picture.isNull()) {
        QMessageBox box(QMessageBox::Critical, tr("I/O Error !"), tr("Could not save the current document !"),
                        QMessageBox::Ok, this);
        box.setInformativeText(tr("%1: the window has no picture").arg(path));
        box.exec();
        return false;
    }
    return savePictureAsked(this, picture, path) && view->setPathChecked(path);
}

void MainWindow::slotFileSaveAs()
{
    statusBar()->showMessage(tr("Saving file under filename..."));
    EntryWindow* view = activeView();
    if (!view) {
        statusBar()->showMessage(tr("Ready."));
        return;
    }
    const QString path = savePictureWithDialog(this, view->picture(), view->path());
    if (!path.isEmpty())
        view->setPathChecked(path);
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
