#include "IvraView.h"

#include "app/DataEntry.h"

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QMdiArea>

#include <algorithm>

IvraView::IvraView(QMdiArea* workspace, DataEntry* entry, Qt::WindowFlags flags)
    : QMdiSubWindow(nullptr, flags), entry_(entry), body_(new QWidget)
{
    setWidget(body_);
    // A plain window icon rather than the toolkit's logo.
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    setWindowIcon(QIcon(icon));
    path_ = entry ? entry->name() : QString();
    fileName_ = fileNamePart(path_);
    setWindowTitle(fileName_);
    if (workspace)
        workspace->addSubWindow(this);
}

IvraView::~IvraView() = default;

bool IvraView::setPathChecked(const QString& path)
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

void IvraView::fitIntoWorkspace()
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
        area->removeSubWindow(this);
        area->addSubWindow(this);
    }
    move(std::clamp(x(), 0, std::max(0, room.width() - width())),
         std::clamp(y(), 0, std::max(0, room.height() - height())));
}

QImage IvraView::picture() const
{
    return {};
}

QString IvraView::fileNamePart(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}
