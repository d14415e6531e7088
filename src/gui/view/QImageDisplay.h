#pragma once

#include <QPixmap>
#include <QWidget>

#include <cstdint>

// The picture area of a QImageView: keeps the picture at its natural size and a
// copy scaled to the current zoom, paints the scaled copy, and reports mouse
// presses in picture coordinates. Hidden while it has no picture.
class QImageDisplay : public QWidget {
    Q_OBJECT

public:
    static constexpr int minZoom = 50;

    explicit QImageDisplay(QWidget* parent = nullptr);

    virtual int zoom() const { return zoom_; }
    // Percent; below 50 becomes 50. Only with a picture; the same zoom does nothing.
    virtual void setZoom(int zoom);
    // A new picture keeps the current zoom; an empty one hides the display.
    virtual void setPixmap(const QPixmap& pixmap);
    // width x height pixels of three bytes R, G, B, row after row.
    virtual void setImageData(int width, int height, const std::uint8_t* rgb);
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
