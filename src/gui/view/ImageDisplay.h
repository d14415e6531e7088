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

    explicit ImageDisplay(QWidget* parent = nullptr);

    virtual int zoom() const { return zoom_; }
    // Percent; below 50 becomes 50. Only with a picture; the same zoom does nothing.
    virtual void setZoom(int zoom);
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

signals:
    // Picture coordinates of a press, the button and the keyboard state.
    void onMousePressEvent(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers state);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool hasPicture_ = false;
    int zoom_ = 100;
    QPixmap natural_;
    QPixmap scaled_;
};

} // namespace ivra
