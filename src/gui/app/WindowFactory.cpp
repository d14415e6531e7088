#include "WindowFactory.h"

#include "DataEntry.h"
#include "view/IvraViewHistogram.h"
#include "view/IvraViewImage2.h"
#include "view/QSegmentationView.h"

#include "image/ImageRGB.h"

#include <QMdiArea>

namespace ivra {

IvraView* createWindowFor(DataEntry& entry, QMdiArea* workspace)
{
    switch (entry.type()) {
    case TypeImageRGB:
        if (static_cast<const ImageRGB*>(entry.data())->isSegmented())
            return new QSegmentationView(&entry, QString(), workspace);
        [[fallthrough]];
    case TypeImageGray:
    case TypeImageHSV:
        return new IvraViewImage2(workspace, &entry);
    case TypeHistogramGray:
    case TypeHistogramHSV:
    case TypeHistogramRGB:
        return new IvraViewHistogram(workspace, &entry);
    default:
        return nullptr;
    }
}

} // namespace ivra
