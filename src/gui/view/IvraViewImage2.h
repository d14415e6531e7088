#pragma once

#include "IvraView.h"


namespace ivra {

class QImageView;

class DataObject;

// The window of a gray, RGB or HSV picture: the picture converted once for
// display in a zoomable QImageView, and the pixel information line for presses.
class IvraViewImage2 : public IvraView {
    Q_OBJECT

public:
    // flags: none for windows opened by Show Image; windows opened when a file is
    // loaded also get Qt::WA_DeleteOnClose from the caller.
    IvraViewImage2(QMdiArea* workspace, DataEntry* entry, Qt::WindowFlags flags = {});

    QImageView* display() const { return display_; }
    QImage picture() const override;

public slots:
    void onAskForInfoText(int x, int y);

private:
    DataObject* data_;
    QImageView* display_;
};

} // namespace ivra
