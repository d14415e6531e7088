#pragma once

#include "image/RGB24.h"

#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace ivra {

class ImageSegmented;

// What a segmentation result can be saved as for other tools.
enum class SegmentationExport {
    LabelsNpy,   // uint32 (H, W)
    LabelsPng16, // 16-bit gray, when the largest label fits
    RegionTable, // CSV, one row per region
    Borders,     // the source picture with the region borders painted
};

// Writes one export to a file, atomically; throws IoError naming the file and the problem.
void exportSegmentation(const ImageSegmented& segmentation, SegmentationExport kind, const QString& path,
                        RGB24 borderColor);

// Asks for a file name (the kind's extension appended when missing) and writes the
// export; a failure is shown in a message box and leaves any existing file alone.
void askAndExport(QWidget* parent, const ImageSegmented& segmentation, SegmentationExport kind, RGB24 borderColor);

// Adds one action per export to a menu. The segmentation and the border colour are
// asked for when an action is triggered; without a segmentation it does nothing.
void addExportActions(QMenu& menu, QWidget* parent, const std::function<const ImageSegmented*()>& segmentation,
                      const std::function<RGB24()>& borderColor);

} // namespace ivra
