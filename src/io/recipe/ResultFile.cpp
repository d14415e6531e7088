#include "ResultFile.h"

#include "DisplayConversion.h"
#include "HistogramPainter.h"
#include "IoError.h"
#include "Npy.h"
#include "PendingFile.h"
#include "PictureWriter.h"

#include "image/Histogram.h"

#include <QFileInfo>

namespace ivra::recipe {

void writeResultFile(const StepResult& result, const QString& path)
{
    PendingFile pending(path.toLocal8Bit().toStdString());
    QIODevice& file = pending.device();
    std::vector<const Histogram*> histograms;
    if (const auto* histogram = dynamic_cast<const Histogram*>(result.data.get())) {
        histograms.push_back(histogram);
        for (const StepResult& r : result.more)
            histograms.push_back(&static_cast<const Histogram&>(*r.data));
    }
    if (QFileInfo(path).suffix().toLower() == QLatin1String("npy")) {
        if (histograms.size() > 1)
            encodeNpy(file, histograms);
        else
            encodeNpy(file, *result.data);
    } else {
        const QImage picture = histograms.empty() ? toDisplayImage(static_cast<const Image&>(*result.data))
                                                  : drawHistograms(histograms);
        encodePicture(picture, pictureFormatFor(path), file);
    }
    pending.commit();
}

} // namespace ivra::recipe
