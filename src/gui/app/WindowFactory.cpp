#include "WindowFactory.h"

#include "DataEntry.h"
#include "view/HistogramWindow.h"
#include "view/PictureWindow.h"
#include "view/SegmentationViewer.h"

#include "image/ImageRGB.h"

#include <QMdiArea>

namespace ivra {

EntryWindow* createWindowFor(DataEntry& entry, QMdiArea* workspace)
{
    switch (entry.type()) {
    case TypeImageRGB:
        if (static_cast<const ImageRGB*>(entry.data())->isSegmented())
            return new SegmentationViewer(workspace, &entry);
        [[fallthrough]];
    case TypeImageGray:
    case TypeImageHSV:
        return new PictureWindow(workspace, &entry);
    case TypeHistogramGray:
    case TypeHistogramHSV:
    case TypeHistogramRGB:
        return new HistogramWindow(workspace, &entry);
    default:
        return nullptr;
    }
}

} // namespace ivra
