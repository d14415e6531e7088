#pragma once

#include <QObject>

class QMenu;

namespace ivra {

class MainWindow;
class ZoomableImageView;

// The View menu's zoom commands for the active picture window: Zoom In (Ctrl++),
// Zoom Out (Ctrl+-), Actual Size (Ctrl+0) about the centre, and Fit to Window (Ctrl+F).
class ZoomActions : public QObject {
    Q_OBJECT

public:
    ZoomActions(QMenu* menu, MainWindow* mainWindow);

    // The picture view of the active window; none without one.
    ZoomableImageView* activeView() const;

private:
    MainWindow* mainWindow_;
};

} // namespace ivra
