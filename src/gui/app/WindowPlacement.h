#pragma once

class QMdiArea;
class QWidget;

namespace ivra {

// Shrinks a workspace window to the visible workspace and moves it so that all of
// it, title bar included, can be seen.
void placeInsideWorkspace(QMdiArea& workspace, QWidget& window);

} // namespace ivra
