#pragma once

#include <QObject>
#include <QString>

class QMenu;

namespace ivra {

class MainWindow;

// File > "Save Session..." and "Open Session..." (.ivra files).
class SessionActions : public QObject {
    Q_OBJECT
public:
    SessionActions(MainWindow* app, QMenu* fileMenu);

    // Writes the workbench's session; false with the reason in `error` when it cannot.
    static bool saveSession(MainWindow& app, const QString& path, QString& error);
    // Opens a session into the workbench, after emptying it when `replace`. A file
    // that is no valid session changes nothing: false with the reason in `error`.
    // Otherwise the pictures and entries left out, if any, are named in `error`.
    static bool openSession(MainWindow& app, const QString& path, bool replace, QString& error);

private:
    void saveAs();
    void open();

    MainWindow* app_;
};

} // namespace ivra
