#pragma once

class QMdiArea;

namespace ivra {

class DataEntry;
class EntryWindow;

// Makes the window that shows an entry, chosen by the entry's type code, inside
// the workspace: the segmentation result viewer for a segmented RGB picture, a
// picture window for gray, RGB and HSV pictures, the histogram window for
// histograms. None for a type without a window. The caller records the window in
// the entry and shows it.
EntryWindow* createWindowFor(DataEntry& entry, QMdiArea* workspace);

} // namespace ivra
