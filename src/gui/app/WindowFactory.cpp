#include "WindowFactory.h"

#include "DataEntry.h"
#include "view/IvraViewImage2.h"

#include <QMdiArea>

IvraView* createWindowFor(DataEntry& entry, QMdiArea* workspace)
{
    switch (entry.type()) {
    case TypeImageRGB:
        // (A segmented picture is shown as the RGB picture it also is until the
        // segmentation result viewer takes it over here.)
    case TypeImageGray:
    case TypeImageHSV:
        return new IvraViewImage2(workspace, &entry);
    default:
        return nullptr;
    }
}
