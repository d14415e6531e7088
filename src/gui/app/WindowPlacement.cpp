#include "WindowPlacement.h"

#include <QMdiArea>
#include <QWidget>

#include <algorithm>

namespace ivra {

void placeInsideWorkspace(QMdiArea& workspace, QWidget& window)
{
    const QSize room = workspace.viewport()->size();
    if (room.isEmpty())
        return;
    window.resize(window.size().boundedTo(room));
    window.move(std::clamp(window.x(), 0, std::max(0, room.width() - window.width())),
                std::clamp(window.y(), 0, std::max(0, room.height() - window.height())));
}

} // namespace ivra
