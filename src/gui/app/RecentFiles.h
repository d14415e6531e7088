#pragma once

#include <QObject>
#include <QStringList>

class QMenu;

namespace ivra {

// File > Recent: the last pictures opened, newest first, kept in the user's
// settings between sessions. The menu is rebuilt each time it opens; choosing an
// entry emits openRequested with its path.
class RecentFiles : public QObject {
    Q_OBJECT

public:
    static constexpr int capacity = 8;

    RecentFiles(QMenu* menu, QObject* parent);

    QStringList paths() const;
    // Puts a path first (absolute), dropping an older mention and anything past capacity.
    void add(const QString& path);

signals:
    void openRequested(const QString& path);

private:
    void rebuildMenu();

    QMenu* menu_;
};

} // namespace ivra
