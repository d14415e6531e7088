#pragma once

#include <QPixmap>
#include <QWidget>

#include <cstdint>

namespace ivra {

// The picture area of a ZoomableImageView: keeps the picture at its natural size and a
// copy scaled to the current zoom, paints the scaled copy, and reports mouse
// presses in picture coordinates. Hidden while it has no picture.
class ImageDisplay : public QWidget {
    Q_OBJECT

public:
    static constexpr int minZoom = 50;
    // The fine zoom counts hundredths of a percent: 10000 is 100 %, from 1/16 to 32 times.
    static constexpr int fineUnit = 100;
    static constexpr int minFineZoom = 625;
    static constexpr int maxFineZoom = 320000;

    explicit ImageDisplay(QWidget* parent = nullptr);

    // Percent (of a fine zoom, the whole percents).
    virtual int zoom() const { return fine_ / fineUnit; }
    // Percent; below 50 becomes 50. Only with a picture; the same zoom does nothing.
    virtual void setZoom(int zoom);
    int fineZoom() const { return fine_; }
    // Hundredths of a percent, held to minFineZoom..maxFineZoom; the same rules as setZoom().
    void setFineZoom(int fine);
    // A new picture keeps the current zoom; an empty one hides the display.
    virtual void setPixmap(const QPixmap& pixmap);
    // width x height pixels of three bytes R, G, B, row after row.
    virtual void setImageData(int width, int height, const std::uint8_t* rgb);
    // Takes the rectangle `changed` of a buffer of the shown picture's size and
    // leaves the rest of the picture alone, so that repainting a small part of a
    // large picture costs in proportion to that part (the segmentation viewer
    // shows and hides single regions this way). The result is the same as
    // setImageData() with the whole buffer, which it falls back to when the size
    // differs or there is no picture.
    virtual void updateImageData(int width, int height, const std::uint8_t* rgb, const QRect& changed);
    virtual void clear();

    bool hasPicture() const { return hasPicture_; }
    const QPixmap& naturalPixmap() const { return natural_; }
    const QPixmap& scaledPixmap() const { return scaled_; }

    // Widget point to picture coordinate at a zoom (percent), truncating.
    static int toPicture(int widgetCoordinate, int zoom) { return widgetCoordinate * 100 / zoom; }
    // The same at a fine zoom.
    static int toPictureFine(int widgetCoordinate, int fine)
    {
        return static_cast<int>(static_cast<qint64>(widgetCoordinate) * 10000 / fine);
    }

signals:
    // Picture coordinates of a press, the button and the keyboard state.
    void onMousePressEvent(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers state);
    // Picture coordinates under the moving pointer.
    void pointerMoved(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Makes the scaled copy for the current zoom; a copy too large to keep is not
    // made, and painting then scales the visible part only.
    void rescale();

    bool hasPicture_ = false;
    int fine_ = 10000;
    QPixmap natural_;
    QPixmap scaled_;
};

} // namespace ivra
