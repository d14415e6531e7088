#include "SegmentationExport.h"

#include "ZoomableImageView.h"

#include "IoError.h"
#include "PictureWriter.h"
#include "RegionExport.h"

#include "image/ImageSegmented.h"
#include "segment/RegionBorders.h"
#include "segment/RegionMeasurements.h"
#include "segment/RegionTableCsv.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>

namespace ivra {

namespace {

struct ExportText {
    SegmentationExport kind;
    const char* action;
    const char* filter;
    const char* extension;
};

const ExportText exportTexts[] = {
    {SegmentationExport::LabelsNpy, QT_TRANSLATE_NOOP("SegmentationExport", "Save Labels as .npy..."),
     QT_TRANSLATE_NOOP("SegmentationExport", "NumPy array (*.npy)"), "npy"},
    {SegmentationExport::LabelsPng16, QT_TRANSLATE_NOOP("SegmentationExport", "Save Labels as 16-bit PNG..."),
     QT_TRANSLATE_NOOP("SegmentationExport", "Portable Network Graphics (*.png)"), "png"},
    {SegmentationExport::RegionTable, QT_TRANSLATE_NOOP("SegmentationExport", "Save Region Table as CSV..."),
     QT_TRANSLATE_NOOP("SegmentationExport", "Comma-separated values (*.csv)"), "csv"},
    {SegmentationExport::Borders, QT_TRANSLATE_NOOP("SegmentationExport", "Save Border Picture as PNG..."),
     QT_TRANSLATE_NOOP("SegmentationExport", "Portable Network Graphics (*.png)"), "png"},
};

QString tr(const char* text)
{
    return QCoreApplication::translate("SegmentationExport", text);
}

const ExportText& textOf(SegmentationExport kind)
{
    for (const ExportText& t : exportTexts)
        if (t.kind == kind)
            return t;
    return exportTexts[0];
}

} // namespace

void exportSegmentation(const ImageSegmented& segmentation, SegmentationExport kind, const QString& path,
                        RGB24 borderColor)
{
    switch (kind) {
    case SegmentationExport::LabelsNpy:
        writeLabelsNpy(segmentation.labels, path);
        break;
    case SegmentationExport::LabelsPng16:
        writeLabelsPng16(segmentation.labels, path);
        break;
    case SegmentationExport::RegionTable:
        writeTextFile(regionTableCsv(measureRegions(segmentation)), path);
        break;
    case SegmentationExport::Borders:
        writePicture(pictureOf(paintBorders(segmentation.labels, segmentation.sourcePixels, borderColor)), path);
        break;
    }
}

void askAndExport(QWidget* parent, const ImageSegmented& segmentation, SegmentationExport kind, RGB24 borderColor)
{
    const ExportText& text = textOf(kind);
    QFileDialog dialog(parent, tr(text.action));
    dialog.setObjectName(QStringLiteral("export dialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(tr(text.filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString name = ZoomableImageView::nameWithExtension(dialog.selectedFiles().constFirst(),
                                                              QString::fromLatin1(text.extension));
    try {
        exportSegmentation(segmentation, kind, name, borderColor);
    } catch (const std::exception& e) {
        QMessageBox::warning(parent, tr("Export failed"), QString::fromStdString(e.what()));
    }
}

void addExportActions(QMenu& menu, QWidget* parent, const std::function<const ImageSegmented*()>& segmentation,
                      const std::function<RGB24()>& borderColor)
{
    for (const ExportText& text : exportTexts) {
        const SegmentationExport kind = text.kind;
        menu.addAction(tr(text.action), parent, [parent, segmentation, borderColor, kind] {
            if (const ImageSegmented* s = segmentation())
                askAndExport(parent, *s, kind, borderColor());
        });
    }
}

} // namespace ivra
