#pragma once

#include "ipcIslandHierarchy.h"

#include <memory>

namespace ivra {

// Walks the islands of a hierarchy level by level. Within a level it visits all even
// rows first (0, 2, 4, ...), then all odd rows (1, 3, 5, ...), x ascending in each row.
class ipcIslandIterator {
public:
    // Starts at level 0, row 0, x 0.
    static std::unique_ptr<ipcIslandIterator> bottomUp(const ipcIslandHierarchy& hierarchy);
    // Starts at the top island.
    static std::unique_ptr<ipcIslandIterator> topDown(const ipcIslandHierarchy& hierarchy);

    // Next island of the current level; false when the level is done.
    bool nextInLevel();
    // First island of the level above; false above the top.
    bool nextLevelUp();
    // First island of the level below; false at level 0.
    bool nextLevelDown();

    const IslandCoord& coord() const { return coord_; }

private:
    ipcIslandIterator(const ipcIslandHierarchy& hierarchy, int level);
    void startLevel(int level);

    const ipcIslandHierarchy& hierarchy_;
    IslandCoord coord_{};
    int rowLength_ = 0;
    int phase_ = 0; // 0 while walking even rows, 1 while walking odd rows
};

} // namespace ivra
