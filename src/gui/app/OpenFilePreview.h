#pragma once

#include <QScrollArea>

class QLabel;

namespace ivra {

// The Open dialog's contents preview: a scroll area beside the file list showing
// the highlighted PPM or PGM file at its natural size. A directory (or a PPM or
// PGM file that cannot be read) clears it; any other file (PNG included) leaves
// it as it was.
class OpenFilePreview : public QScrollArea {
    Q_OBJECT

public:
    explicit OpenFilePreview(QWidget* parent = nullptr);

    // The preview's reaction to a highlighted local path.
    void previewPath(const QString& path);

    QLabel* pictureArea() const { return picture_; }

private:
    void clearPicture();

    QLabel* picture_;
};

} // namespace ivra
