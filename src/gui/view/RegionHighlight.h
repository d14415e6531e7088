#pragma once

#include <QImage>
#include <QWidget>

namespace ivra {

class ImageDisplay;

// A see-through layer over a picture display that tints the pixels of the
// selected regions. It lies above the display's picture without changing it (what
// is saved or compared stays the picture itself), follows the display's size at
// every zoom and lets every mouse press through to the display.
class RegionHighlight : public QWidget {
    Q_OBJECT

public:
    explicit RegionHighlight(ImageDisplay* display);

    // A picture of the display's natural size: transparent where nothing is
    // highlighted. A null image clears the highlight.
    void setMarks(const QImage& marks);
    const QImage& marks() const { return marks_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QImage marks_;
};

} // namespace ivra
