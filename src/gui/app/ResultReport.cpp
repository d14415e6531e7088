#include "ResultReport.h"

#include "image/Image.h"
#include "image/ImageSegmented.h"

#include <QLocale>

#include <vector>

namespace ivra {

namespace {

// Thousands grouped with commas, whatever the user's locale, like the result names.
QString grouped(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

qint64 regionCount(const ImageSegmented& segmentation)
{
    const auto& labels = segmentation.labels;
    const std::size_t n = static_cast<std::size_t>(labels.width()) * labels.height();
    std::vector<bool> seen;
    qint64 count = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint32_t label = labels.data()[i];
        if (label >= seen.size())
            seen.resize(label + 1, false);
        if (!seen[label]) {
            seen[label] = true;
            ++count;
        }
    }
    return count;
}

} // namespace

QString resultSummary(const DataObject& result)
{
    if (const ImageSegmented* segmentation = segmentationOf(result)) {
        const qint64 regions = regionCount(*segmentation);
        return regions == 1 ? QObject::tr("1 region") : QObject::tr("%1 regions").arg(grouped(regions));
    }
    if (const auto* image = dynamic_cast<const Image*>(&result))
        return QStringLiteral("%1 x %2").arg(image->width()).arg(image->height());
    return QObject::tr("histogram");
}

QString operatorReport(const QStringList& resultsWithSummaries, qint64 milliseconds)
{
    return QObject::tr("%1, %2 ms").arg(resultsWithSummaries.join(QStringLiteral("; ")), grouped(milliseconds));
}

} // namespace ivra
