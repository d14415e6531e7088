#include "ZoomActions.h"

#include "MainWindow.h"
#include "view/EntryWindow.h"
#include "view/ImageDisplay.h"
#include "view/ZoomableImageView.h"

#include <QAction>
#include <QMenu>

#include <functional>

namespace ivra {

ZoomActions::ZoomActions(QMenu* menu, MainWindow* mainWindow) : QObject(mainWindow), mainWindow_(mainWindow)
{
    const auto add = [&](const QString& text, QList<QKeySequence> keys, std::function<void(ZoomableImageView&)> act) {
        QAction* action = menu->addAction(text);
        action->setShortcuts(keys);
        connect(action, &QAction::triggered, this, [this, act] {
            if (ZoomableImageView* view = activeView())
                act(*view);
        });
    };
    menu->addSeparator();
    add(tr("Zoom &In"), {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
        [](ZoomableImageView& v) { v.zoomStep(1); });
    add(tr("Zoom &Out"), {QKeySequence(Qt::CTRL | Qt::Key_Minus)}, [](ZoomableImageView& v) { v.zoomStep(-1); });
    add(tr("&Actual Size"), {QKeySequence(Qt::CTRL | Qt::Key_0)},
        [](ZoomableImageView& v) { v.zoomAbout(100 * ImageDisplay::fineUnit, v.rect().center()); });
    add(tr("&Fit to Window"), {QKeySequence(Qt::CTRL | Qt::Key_F)}, [](ZoomableImageView& v) { v.fitToWindow(); });
}

ZoomableImageView* ZoomActions::activeView() const
{
    EntryWindow* window = mainWindow_->activeView();
    return window ? window->findChild<ZoomableImageView*>() : nullptr;
}

} // namespace ivra
