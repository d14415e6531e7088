#pragma once

#include "EntryWindow.h"

#include "image/Array2D.h"
#include "image/RGB24.h"

#include <QRect>

#include <cstdint>
#include <memory>
#include <vector>

#include "image/ImageSegmented.h"
#include "segment/LabelPixelIndex.h"
#include "segment/RegionBorders.h"

class QPushButton;
class QRadioButton;

namespace ivra {

class RegionHighlight;
class RegionTablePanel;
class ZoomableImageView;

// The Segmentation Result Viewer: the source picture on the left, the regions on
// the right. A left click on either picture shows or hides every pixel of the
// clicked region's label; the buttons show or hide all regions; the radios choose
// the colour of hidden pixels (black or white) and of shown ones (the region's
// colour from the result planes, the source pixels, or the source pixels with the
// region borders in a colour the user picks). Label 0 cannot be toggled by a
// click: it is shown and hidden only with all regions.
//
// Below the pictures, the region count and the region table: selecting rows tints
// those regions in both pictures (over them, the pictures themselves stay as they
// are), and a click on a region selects its row. Export writes the labels, the
// table or the border picture.
//
// Showing or hiding one region repaints only that region's pixels (from a
// per-label pixel index built when first needed: opening the viewer does not pay
// for it) and hands the display only their bounding rectangle, so it stays
// immediate on large results.
class SegmentationViewer : public EntryWindow {
    Q_OBJECT

public:
    // The viewer fills the workspace (when one is given).
    SegmentationViewer(QMdiArea* workspace, DataEntry* entry);
    ~SegmentationViewer() override;

    ZoomableImageView* sourceView() const { return sourceView_; }
    ZoomableImageView* regionView() const { return regionView_; }
    QRadioButton* blackRadio() const { return blackRadio_; }
    QRadioButton* whiteRadio() const { return whiteRadio_; }
    QRadioButton* meanRadio() const { return meanRadio_; }
    QRadioButton* pixelRadio() const { return pixelRadio_; }
    QRadioButton* borderRadio() const { return borderRadio_; }
    QPushButton* borderColorButton() const { return borderColorButton_; }
    RegionTablePanel* regionTable() const { return table_; }
    RegionHighlight* sourceHighlight() const { return sourceHighlight_; }
    RegionHighlight* regionHighlight() const { return regionHighlight_; }
    QPushButton* showAllButton() const { return showAllButton_; }
    QPushButton* hideAllButton() const { return hideAllButton_; }
    QPushButton* infoButton() const { return infoButton_; }

    const Array2D<RGB24>& canvas() const { return canvas_; }
    bool blackBackground() const { return blackBackground_; }
    bool meanColorStyle() const { return style_ == Style::Mean; }
    RGB24 borderColor() const { return borderColor_; }
    // Repaints the borders in a new colour (the colour button asks the user for one).
    void setBorderColor(RGB24 color);
    // Whether the per-label pixel index has been built yet.
    bool hasPixelIndex() const { return index_ != nullptr; }
    // The labels of the regions shown, ascending.
    std::vector<std::uint32_t> selectedLabels() const;
    bool isSelected(std::uint32_t label) const;

    // The regions picture, for File > Save as.
    QImage picture() const override;

    static QString helpText();

public slots:
    void onDisplayMousePressEvent(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers state);
    void onAskForInfoText(int x, int y);
    void backgroundChanged();
    void regionStyleChanged();
    void addAllRegions();
    void removeAllRegions();
    void showInformation();
    void chooseBorderColor();
    void updateHighlight();

private:
    enum class Style { Mean, Pixels, Borders };

    // The background and colour choices and the buttons, above the two pictures.
    QWidget* buildControls();
    QWidget* buildTable();
    const LabelPixelIndex& index() const;
    RGB24 hiddenColor() const;
    RGB24 shownColor(std::size_t index) const;
    bool inside(int x, int y) const;
    RGB24 meanColor(std::size_t index) const;
    // "  Label=5  Pixels=120", or "  Label=0 (no region)".
    QString regionText(std::uint32_t label) const;
    // The pointer over a pane: position, that pane's colour and the region in the status bar.
    void showPointer(bool overSource, int x, int y);
    void fillBackground();
    void redraw();
    void showRegion(std::uint32_t label);
    void hideRegion(std::uint32_t label);
    // Paints the pixels of one region and returns their bounding rectangle.
    QRect paintRegion(std::size_t slot, bool shown);
    void sendCanvas();
    void sendCanvas(const QRect& changed);

    ImageSegmented* image_;
    ZoomableImageView* sourceView_;
    ZoomableImageView* regionView_;
    QRadioButton* blackRadio_;
    QRadioButton* whiteRadio_;
    QRadioButton* meanRadio_;
    QRadioButton* pixelRadio_;
    QRadioButton* borderRadio_;
    QPushButton* borderColorButton_;
    RegionTablePanel* table_ = nullptr;
    RegionHighlight* sourceHighlight_;
    RegionHighlight* regionHighlight_;
    QPushButton* showAllButton_;
    QPushButton* hideAllButton_;
    QPushButton* infoButton_;
    Array2D<RGB24> canvas_;
    bool blackBackground_ = true;
    Style style_ = Style::Mean;
    RGB24 borderColor_ = defaultBorderColor;
    Array2D<std::uint8_t> borderMask_; // made when the border style is first chosen
    // Until the index exists, every region is shown or every one hidden.
    bool allShown_ = false;
    // The shown set, one flag per slot of the index (slot = position among the
    // distinct labels present).
    mutable std::unique_ptr<LabelPixelIndex> index_;
    mutable std::vector<std::uint8_t> selected_;
};

} // namespace ivra
