#pragma once

#include "EntryWindow.h"

#include "image/DataObject.h"

namespace ivra {

class ZoomableImageView;

// The window of a gray, RGB or HSV picture: the picture converted once for
// display in a ZoomableImageView, and the pixel information line for presses.
class PictureWindow : public EntryWindow {
    Q_OBJECT

public:
    // flags: none for windows opened by Show Image; windows opened when a file is
    // loaded also get Qt::WA_DeleteOnClose from the caller.
    PictureWindow(QMdiArea* workspace, DataEntry* entry, Qt::WindowFlags flags = {});

    ZoomableImageView* display() const { return display_; }
    QImage picture() const override;

public slots:
    void onAskForInfoText(int x, int y);

private:
    DataObject* data_;
    ZoomableImageView* display_;
};

} // namespace ivra
