#include "RecentFiles.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace ivra {

namespace {

const QString key = QStringLiteral("recentFiles");
const QString organisation = QStringLiteral("Ivra");
const QString application = QStringLiteral("ivra");

} // namespace

RecentFiles::RecentFiles(QMenu* menu, QObject* parent) : QObject(parent), menu_(menu)
{
    connect(menu_, &QMenu::aboutToShow, this, &RecentFiles::rebuildMenu);
    rebuildMenu();
}

QStringList RecentFiles::paths() const
{
    return QSettings(organisation, application).value(key).toStringList().mid(0, capacity);
}

void RecentFiles::add(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    QSettings(organisation, application).setValue(key, list.mid(0, capacity));
    rebuildMenu();
}

void RecentFiles::rebuildMenu()
{
    menu_->clear();
    const QStringList list = paths();
    menu_->setEnabled(!list.isEmpty());
    for (int i = 0; i < list.size(); ++i) {
        const QString path = list[i];
        QAction* action = menu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        connect(action, &QAction::triggered, this, [this, path] { emit openRequested(path); });
    }
}

} // namespace ivra
