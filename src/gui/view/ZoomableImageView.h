#pragma once

#include "image/Array2D.h"
#include "image/RGB24.h"

#include <QString>
#include <QWidget>

#include <cstdint>

class QLabel;
class QPixmap;
class QScrollArea;
class QToolButton;

namespace ivra {

class ImageDisplay;

// The zoomable picture widget every picture window embeds: a title and tool row
// (Zoom In, Zoom Out, Save Image, Enlarge), the scrollable picture area and a
// one-line information label. A press on the picture first asks for its info
// text (onAskForInfoText), then passes the press on (onMousePressEvent), both in
// picture coordinates.
class ZoomableImageView : public QWidget {
    Q_OBJECT

public:
    static constexpr int maxZoom = 300;

    // name: the title above the picture and the widget's object name.
    explicit ZoomableImageView(const QString& name, QWidget* parent = nullptr);

    virtual void updateButtons();
    // Only with a picture; capped at 300 percent.
    virtual void setZoom(int zoom);
    virtual void setPixmap(const QPixmap& pixmap);
    // width x height pixels of three bytes R, G, B, row after row.
    virtual void setImageData(int width, int height, const std::uint8_t* rgb);
    // The same for a picture of RGB24 pixels (a segmentation result's canvas).
    void setImageData(const Array2D<RGB24>& pixels);
    // Takes only the rectangle `changed` of a picture of the shown size (see
    // ImageDisplay::updateImageData()).
    void updateImageData(const Array2D<RGB24>& pixels, const QRect& changed);
    virtual void clear();
    virtual void setInfoText(const QString& text);

    int zoom() const;
    QString infoText() const;
    ImageDisplay* display() const { return display_; }
    QScrollArea* scrollArea() const { return scroll_; }
    QToolButton* zoomInButton() const { return zoomIn_; }
    QToolButton* zoomOutButton() const { return zoomOut_; }
    QToolButton* saveButton() const { return save_; }
    QToolButton* enlargeButton() const { return enlarge_; }

    // The save rules: the extension chosen by a filter of the save dialog
    // ("png" for *.png, "xpm" for *.xpm, else "ppm"), and a name with that
    // extension appended unless its file name part already ends in it (case ignored).
    static QString extensionForFilter(const QString& filter);
    static QString nameWithExtension(const QString& name, const QString& extension);

    // Zooms to a fine zoom (ImageDisplay::fineZoom) keeping the picture point under
    // `anchor` (a point of the scroll area's viewport) where it is.
    void zoomAbout(int fine, const QPoint& anchor);
    // One step up or down the ladder 1/16 .. 32 about the anchor.
    void zoomStep(int direction, const QPoint& anchor);
    void zoomStep(int direction) { zoomStep(direction, viewportCentre()); }
    // The largest zoom at which the whole picture fits the visible area.
    void fitToWindow();
    // Shares zoom and scroll position with another view, both ways.
    void linkWith(ZoomableImageView* other);
    // The zoom as the window shows it, e.g. "6.25 %".
    static QString percentText(int fine);
    // Writes the natural-size picture in the format of the name's extension (PNG,
    // PPM or XPM), replacing the file atomically; false when it could not be written.
    bool savePicture(const QString& fileName) const;

public slots:
    void onZoomIn();
    void onZoomOut();
    void onSave();
    void onDisplayMousePressEvent(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers state);

signals:
    // Picture coordinates under the moving pointer (for the status bar).
    void pointerMoved(int x, int y);
    void zoomChanged(int fine);
    void onAskForInfoText(int x, int y);
    void onMousePressEvent(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers state);

protected:
    // Ctrl+wheel over the picture area zooms about the pointer.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPoint viewportCentre() const;
    // The title and the tool buttons above the picture.
    QWidget* buildToolRow(const QString& name);

    QLabel* title_;
    QToolButton* zoomIn_;
    QToolButton* zoomOut_;
    QToolButton* save_;
    QToolButton* enlarge_;
    QScrollArea* scroll_;
    ImageDisplay* display_;
    QLabel* info_;
    QLabel* percent_;
};

} // namespace ivra
