#include "SegmentationViewer.h"

#include "ImageDisplay.h"
#include "RegionHighlight.h"
#include "RegionTableModel.h"
#include "RegionTablePanel.h"
#include "SegmentationExport.h"
#include "ZoomableImageView.h"
#include "app/DataEntry.h"
#include "app/HelpDialog.h"

#include "color/ColorConversion.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QImage>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace ivra {

namespace {

// A point and a colour in RGB and HSV; format holds %1, %2 for x, y, then %3..%5
// for R, G, B and %6..%8 for H, S, V.
QString describe(const QString& format, int x, int y, RGB24 c)
{
    const std::uint8_t rgb[3] = {c.r, c.g, c.b};
    HSVPixel hsv{};
    pixelRgbToHsv(rgb, hsv);
    return format.arg(x).arg(y).arg(c.r).arg(c.g).arg(c.b).arg(hsv.hue).arg(hsv.sat).arg(hsv.val);
}

} // namespace

SegmentationViewer::SegmentationViewer(QMdiArea* workspace, DataEntry* entry)
    : EntryWindow(workspace, entry), image_(entry ? dynamic_cast<ImageSegmented*>(entry->data()) : nullptr)
{
    auto* outer = new QGridLayout(body());
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(buildControls(), 0, 0, 1, 2);
    sourceView_ = new ZoomableImageView(tr("Original Image"), body());
    regionView_ = new ZoomableImageView(tr("Regions"), body());
    outer->addWidget(sourceView_, 1, 0);
    outer->addWidget(regionView_, 1, 1);
    outer->addWidget(buildTable(), 2, 0, 1, 2);
    outer->setRowStretch(1, 3);
    outer->setRowStretch(2, 1);
    sourceHighlight_ = new RegionHighlight(sourceView_->display());
    regionHighlight_ = new RegionHighlight(regionView_->display());

    if (image_)
        canvas_.resize(image_->width(), image_->height());
    fillBackground();
    if (image_)
        sourceView_->setImageData(image_->sourcePixels);

    for (ZoomableImageView* view : {sourceView_, regionView_}) {
        connect(view, &ZoomableImageView::onMousePressEvent, this, &SegmentationViewer::onDisplayMousePressEvent);
        connect(view, &ZoomableImageView::onAskForInfoText, this, &SegmentationViewer::onAskForInfoText);
        connect(view, &ZoomableImageView::pointerMoved, this,
                [this, view](int x, int y) { showPointer(view == sourceView_, x, y); });
    }
    sourceView_->linkWith(regionView_); // both panes show the same part at the same zoom
    connect(blackRadio_, &QRadioButton::clicked, this, &SegmentationViewer::backgroundChanged);
    connect(whiteRadio_, &QRadioButton::clicked, this, &SegmentationViewer::backgroundChanged);
    connect(meanRadio_, &QRadioButton::clicked, this, &SegmentationViewer::regionStyleChanged);
    connect(pixelRadio_, &QRadioButton::clicked, this, &SegmentationViewer::regionStyleChanged);
    connect(borderRadio_, &QRadioButton::clicked, this, &SegmentationViewer::regionStyleChanged);
    connect(borderColorButton_, &QPushButton::clicked, this, &SegmentationViewer::chooseBorderColor);
    connect(table_, &RegionTablePanel::selectionChanged, this, &SegmentationViewer::updateHighlight);
    connect(showAllButton_, &QPushButton::clicked, this, &SegmentationViewer::addAllRegions);
    connect(hideAllButton_, &QPushButton::clicked, this, &SegmentationViewer::removeAllRegions);
    connect(infoButton_, &QPushButton::clicked, this, &SegmentationViewer::showInformation);

    addAllRegions();

    if (workspace)
        resize(workspace->viewport()->size());
}

QWidget* SegmentationViewer::buildControls()
{
    auto* controls = new QWidget(body());
    auto* inner = new QGridLayout(controls);
    inner->setContentsMargins(4, 4, 4, 4);
    inner->setSpacing(4);

    auto* backgroundGroup = new QGroupBox(tr("Choose background color"), controls);
    auto* backgroundBox = new QVBoxLayout(backgroundGroup);
    blackRadio_ = new QRadioButton(tr("&Black Background"), backgroundGroup);
    whiteRadio_ = new QRadioButton(tr("&White Background"), backgroundGroup);
    blackRadio_->setChecked(true);
    backgroundBox->addWidget(blackRadio_);
    backgroundBox->addWidget(whiteRadio_);
    inner->addWidget(backgroundGroup, 0, 0, 3, 1);

    auto* styleGroup = new QGroupBox(tr("Region Color"), controls);
    auto* styleBox = new QVBoxLayout(styleGroup);
    meanRadio_ = new QRadioButton(tr("&Display all selected regions in their mean color"), styleGroup);
    pixelRadio_ = new QRadioButton(tr("&Display the (original) pixels of all selected region"), styleGroup);
    borderRadio_ = new QRadioButton(tr("Display the original pixels with the region b&orders"), styleGroup);
    borderColorButton_ = new QPushButton(tr("Border &Colour..."), styleGroup);
    meanRadio_->setChecked(true);
    styleBox->addWidget(meanRadio_);
    styleBox->addWidget(pixelRadio_);
    auto* borderRow = new QHBoxLayout;
    borderRow->addWidget(borderRadio_);
    borderRow->addWidget(borderColorButton_);
    borderRow->addStretch();
    styleBox->addLayout(borderRow);
    inner->addWidget(styleGroup, 0, 1, 3, 1);

    showAllButton_ = new QPushButton(tr("Display all regions"), controls);
    hideAllButton_ = new QPushButton(tr("Hide all regions"), controls);
    infoButton_ = new QPushButton(tr("Info"), controls);
    inner->addWidget(showAllButton_, 0, 2);
    inner->addWidget(hideAllButton_, 1, 2);
    inner->addWidget(infoButton_, 2, 2);
    return controls;
}

QWidget* SegmentationViewer::buildTable()
{
    table_ = new RegionTablePanel(image_ ? measureRegions(*image_) : std::vector<RegionMeasurement>{}, body());
    auto* menu = new QMenu(table_->exportButton());
    addExportActions(*menu, this, [this]() -> const ImageSegmented* { return image_; },
                     [this] { return borderColor_; });
    table_->exportButton()->setMenu(menu);
    table_->exportButton()->setEnabled(image_ != nullptr);
    return table_;
}

SegmentationViewer::~SegmentationViewer() = default;

const LabelPixelIndex& SegmentationViewer::index() const
{
    if (!index_) {
        index_ = std::make_unique<LabelPixelIndex>(image_->labels);
        selected_.assign(index_->regionCount(), allShown_ ? 1 : 0);
    }
    return *index_;
}

std::vector<std::uint32_t> SegmentationViewer::selectedLabels() const
{
    std::vector<std::uint32_t> labels;
    if (!image_)
        return labels;
    const LabelPixelIndex& idx = index();
    for (std::size_t slot = 0; slot < selected_.size(); ++slot)
        if (selected_[slot])
            labels.push_back(idx.labels()[slot]);
    return labels;
}

bool SegmentationViewer::isSelected(std::uint32_t label) const
{
    if (!image_)
        return false;
    const std::size_t slot = index().slotOf(label);
    return slot != LabelPixelIndex::npos && selected_[slot];
}

QImage SegmentationViewer::picture() const
{
    return regionView_->display()->naturalPixmap().toImage();
}

RGB24 SegmentationViewer::hiddenColor() const
{
    return blackBackground_ ? RGB24{0, 0, 0} : RGB24{255, 255, 255};
}

RGB24 SegmentationViewer::shownColor(std::size_t i) const
{
    if (style_ == Style::Pixels)
        return image_->sourcePixels[i];
    if (style_ == Style::Borders)
        return borderMask_[i] ? borderColor_ : image_->sourcePixels[i];
    return meanColor(i);
}

bool SegmentationViewer::inside(int x, int y) const
{
    return image_ && x >= 0 && y >= 0 && x < image_->labels.width() && y < image_->labels.height();
}

void SegmentationViewer::sendCanvas()
{
    regionView_->setImageData(canvas_);
    regionView_->update();
}

void SegmentationViewer::sendCanvas(const QRect& changed)
{
    regionView_->updateImageData(canvas_, changed);
    regionView_->update();
}

void SegmentationViewer::fillBackground()
{
    std::fill_n(canvas_.data(), canvas_.size(), hiddenColor());
    sendCanvas();
}

void SegmentationViewer::redraw()
{
    if (image_ && !index_) {
        // No region shown or hidden alone yet: all of them are one or the other.
        const RGB24 hidden = hiddenColor();
        for (std::size_t i = 0, n = canvas_.size(); i < n; ++i)
            canvas_[i] = allShown_ ? shownColor(i) : hidden;
    } else if (index_) {
        const RGB24 hidden = hiddenColor();
        const auto& pixelSlots = index_->pixelSlots();
        for (std::size_t i = 0, n = canvas_.size(); i < n; ++i)
            canvas_[i] = selected_[pixelSlots[i]] ? shownColor(i) : hidden;
    }
    sendCanvas();
}

QRect SegmentationViewer::paintRegion(std::size_t slot, bool shown)
{
    const auto pixels = index().pixels(slot);
    if (pixels.empty())
        return {};
    const std::size_t width = static_cast<std::size_t>(canvas_.width());
    RGB24* canvas = canvas_.data();
    // The pixel list is ascending, so rows come in order: a division only when a
    // new row starts, and the list's ends give the top and bottom rows.
    std::size_t rowStart = 0;
    std::size_t rowEnd = 0;
    int left = INT_MAX;
    int right = -1;
    auto track = [&](std::size_t i) {
        if (i >= rowEnd) {
            rowStart = i - i % width;
            rowEnd = rowStart + width;
        }
        const int x = static_cast<int>(i - rowStart);
        left = std::min(left, x);
        right = std::max(right, x);
    };
    if (!shown) {
        const RGB24 hidden = hiddenColor();
        for (const std::uint32_t i : pixels) {
            canvas[i] = hidden;
            track(i);
        }
    } else if (style_ == Style::Borders) {
        for (const std::uint32_t i : pixels) {
            canvas[i] = shownColor(i);
            track(i);
        }
    } else if (style_ == Style::Mean) {
        const std::int32_t *r = image_->red(), *g = image_->green(), *b = image_->blue();
        for (const std::uint32_t i : pixels) {
            canvas[i] = {static_cast<std::uint8_t>(r[i]), static_cast<std::uint8_t>(g[i]),
                         static_cast<std::uint8_t>(b[i])};
            track(i);
        }
    } else {
        const RGB24* source = image_->sourcePixels.data();
        for (const std::uint32_t i : pixels) {
            canvas[i] = source[i];
            track(i);
        }
    }
    const int top = static_cast<int>(pixels.front() / width);
    const int bottom = static_cast<int>(pixels.back() / width);
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void SegmentationViewer::showRegion(std::uint32_t label)
{
    QRect changed;
    if (label > 0 && image_) {
        const std::size_t slot = index().slotOf(label);
        if (slot != LabelPixelIndex::npos) {
            changed = paintRegion(slot, true);
            selected_[slot] = 1;
        }
    }
    sendCanvas(changed);
}

void SegmentationViewer::hideRegion(std::uint32_t label)
{
    if (label < 1 || !image_)
        return;
    QRect changed;
    const std::size_t slot = index().slotOf(label);
    if (slot != LabelPixelIndex::npos) {
        changed = paintRegion(slot, false);
        selected_[slot] = 0;
    }
    sendCanvas(changed);
}

void SegmentationViewer::onDisplayMousePressEvent(int x, int y, Qt::MouseButton button, Qt::KeyboardModifiers)
{
    if (button != Qt::LeftButton || !inside(x, y))
        return;
    const std::uint32_t label = image_->labels.at(x, y);
    if (isSelected(label))
        hideRegion(label);
    else
        showRegion(label);
    table_->selectLabel(label);
}

RGB24 SegmentationViewer::meanColor(std::size_t i) const
{
    return {static_cast<std::uint8_t>(image_->red()[i]), static_cast<std::uint8_t>(image_->green()[i]),
            static_cast<std::uint8_t>(image_->blue()[i])};
}

QString SegmentationViewer::regionText(std::uint32_t label) const
{
    const int row = table_->model()->rowOf(label);
    return row < 0 ? tr("  Label=%1 (no region)").arg(label)
                   : tr("  Label=%1  Pixels=%2").arg(label).arg(table_->model()->regionAt(row).pixels);
}

void SegmentationViewer::onAskForInfoText(int x, int y)
{
    if (!inside(x, y))
        return;
    const std::size_t i = static_cast<std::size_t>(y) * image_->width() + x;
    sourceView_->setInfoText(
        describe(QStringLiteral(" X:%1 Y:%2  RGB=(%3,%4,%5)  HSV=(%6,%7,%8)"), x, y, image_->sourcePixels[i]));
    regionView_->setInfoText(
        describe(QStringLiteral(" X:%1 Y:%2  MeanRGB=(%3,%4,%5)  MeanHSV=(%6,%7,%8)"), x, y, meanColor(i)) +
        regionText(image_->labels[i]));
}

void SegmentationViewer::showPointer(bool overSource, int x, int y)
{
    auto* main = qobject_cast<QMainWindow*>(window());
    if (!main || !inside(x, y))
        return;
    // The colour of the pane under the pointer, as a picture window's status line gives it.
    const std::size_t i = static_cast<std::size_t>(y) * image_->width() + x;
    main->statusBar()->showMessage(describe(QStringLiteral(" X=%1 Y=%2  RGB=(%3,%4,%5)  HSV=(%6,%7,%8)"), x, y,
                                            overSource ? image_->sourcePixels[i] : meanColor(i)) +
                                   regionText(image_->labels[i]));
}

void SegmentationViewer::backgroundChanged()
{
    blackBackground_ = blackRadio_->isChecked();
    redraw();
}

void SegmentationViewer::regionStyleChanged()
{
    style_ = meanRadio_->isChecked() ? Style::Mean : pixelRadio_->isChecked() ? Style::Pixels : Style::Borders;
    if (style_ == Style::Borders && image_ && borderMask_.size() == 0)
        borderMask_ = borderMask(image_->labels);
    redraw();
}

void SegmentationViewer::setBorderColor(RGB24 color)
{
    borderColor_ = color;
    if (style_ == Style::Borders)
        redraw();
}

void SegmentationViewer::chooseBorderColor()
{
    const QColor chosen = QColorDialog::getColor(QColor(borderColor_.r, borderColor_.g, borderColor_.b), this,
                                                 tr("Border Colour"));
    if (chosen.isValid())
        setBorderColor({static_cast<std::uint8_t>(chosen.red()), static_cast<std::uint8_t>(chosen.green()),
                        static_cast<std::uint8_t>(chosen.blue())});
}

void SegmentationViewer::updateHighlight()
{
    const std::vector<std::uint32_t> labels = table_->selectedLabels();
    QImage marks;
    if (image_ && !labels.empty()) {
        marks = QImage(image_->width(), image_->height(), QImage::Format_ARGB32_Premultiplied);
        marks.fill(Qt::transparent);
        QColor tint = palette().color(QPalette::Highlight);
        tint.setAlpha(150);
        const QRgb premultiplied = qPremultiply(tint.rgba());
        auto* out = reinterpret_cast<QRgb*>(marks.bits());
        const std::size_t stride = static_cast<std::size_t>(marks.bytesPerLine() / 4);
        const std::size_t width = static_cast<std::size_t>(image_->width());
        for (const std::uint32_t label : labels) {
            const std::size_t slot = index().slotOf(label);
            if (slot == LabelPixelIndex::npos)
                continue;
            for (const std::uint32_t i : index().pixels(slot))
                out[i / width * stride + i % width] = premultiplied;
        }
    }
    sourceHighlight_->setMarks(marks);
    regionHighlight_->setMarks(marks);
}

void SegmentationViewer::addAllRegions()
{
    allShown_ = true;
    std::fill(selected_.begin(), selected_.end(), std::uint8_t{1});
    for (std::size_t i = 0, n = canvas_.size(); i < n; ++i)
        canvas_[i] = shownColor(i);
    sendCanvas();
}

void SegmentationViewer::removeAllRegions()
{
    allShown_ = false;
    std::fill(selected_.begin(), selected_.end(), std::uint8_t{0});
    redraw();
}

void SegmentationViewer::showInformation()
{
    HelpDialog::showHelp(helpText(), this);
}

QString SegmentationViewer::helpText()
{
    return tr(
        "<b><i>Segmentation Result Viewer</i></b><br><br>With the Segmentation Result Viewer (SRV) you can display "
        "one or more segments.<br>The SRV window contains two images. The left image shows the original image that "
        "was segmented.The right image shows the found regions (segments).When the SRV is shown for the first time, "
        "all found regions are displayed in their mean color.<br>If you press the button <i>Hide all regions</i> "
        "none of the regions will be displayed.<br>If you press the button <i>Display all regions</i> all regions "
        "will be displayed.<br>");
}

} // namespace ivra
