#include "EntryWindow.h"

#include "app/DataEntry.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QMdiArea>
#include <QMenu>

#include <algorithm>

namespace ivra {

EntryWindow::EntryWindow(QMdiArea* workspace, DataEntry* entry, Qt::WindowFlags flags)
    : QMdiSubWindow(nullptr, flags), entry_(entry), body_(new QWidget)
{
    setWidget(body_);
    // A plain window icon rather than the toolkit's logo.
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    setWindowIcon(QIcon(icon));
    // The window's own menu would close it on Ctrl+W too; two actions on one key
    // leave the key dead, and Ctrl+W is the workbench's File > Close.
    if (QMenu* menu = systemMenu())
        for (QAction* action : menu->actions()) {
            QList<QKeySequence> keys = action->shortcuts();
            if (keys.removeAll(QKeySequence(Qt::CTRL | Qt::Key_W)) > 0)
                action->setShortcuts(keys);
        }
    path_ = entry ? entry->name() : QString();
    fileName_ = fileNamePart(path_);
    setWindowTitle(fileName_);
    if (workspace)
        workspace->addSubWindow(this);
}

EntryWindow::~EntryWindow() = default;

bool EntryWindow::setPathChecked(const QString& path)
{
    QFile file(path);
    // Append mode creates a missing file but never empties an existing one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    file.close();
    path_ = path;
    fileName_ = fileNamePart(path);
    return true;
}

void EntryWindow::fitIntoWorkspace()
{
    QMdiArea* area = mdiArea();
    if (!area || !area->isVisible())
        return;
    const QSize room = area->viewport()->size();
    if (room.isEmpty())
        return;
    resize(size().boundedTo(room));
    // Added again, the window is placed anew at its final size where it overlaps
    // the other windows least (it is not shown yet, so nothing flickers).
    if (isHidden()) {
        const Qt::WindowFlags flags = windowFlags();
        area->removeSubWindow(this);
        area->addSubWindow(this, flags);
    }
    move(std::clamp(x(), 0, std::max(0, room.width() - width())),
         std::clamp(y(), 0, std::max(0, room.height() - height())));
}

void EntryWindow::closeEvent(QCloseEvent* event)
{
    QMdiSubWindow::closeEvent(event);
    // The sub-window closes its contents as well, which hides them for good: shown
    // again from the image list, the window would be empty.
    if (event->isAccepted() && !testAttribute(Qt::WA_DeleteOnClose))
        body_->show();
}

QImage EntryWindow::picture() const
{
    return {};
}

QString EntryWindow::fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace ivra
