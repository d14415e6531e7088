#include "ipcIslandIterator.h"

namespace ivra {

std::unique_ptr<ipcIslandIterator> ipcIslandIterator::bottomUp(const ipcIslandHierarchy& hierarchy)
{
    return std::unique_ptr<ipcIslandIterator>(new ipcIslandIterator(hierarchy, 0));
}

std::unique_ptr<ipcIslandIterator> ipcIslandIterator::topDown(const ipcIslandHierarchy& hierarchy)
{
    return std::unique_ptr<ipcIslandIterator>(new ipcIslandIterator(hierarchy, hierarchy.levels() - 1));
}

ipcIslandIterator::ipcIslandIterator(const ipcIslandHierarchy& hierarchy, int level) : hierarchy_(hierarchy)
{
    startLevel(level);
}

void ipcIslandIterator::startLevel(int level)
{
    coord_ = {level, 0, 0};
    phase_ = 0;
    rowLength_ = level < hierarchy_.levels() ? hierarchy_.rowLength(level) : 0;
}

bool ipcIslandIterator::nextInLevel()
{
    const int n = rowLength_;
    ++coord_.x;
    const bool rowGoesOn = coord_.level == hierarchy_.levels() - 2 ? coord_.x + 1 < n + phase_ : coord_.x + phase_ < n;
    if (!rowGoesOn) {
        coord_.y += 2;
        if (coord_.y >= n && phase_ == 0) {
            phase_ = 1;
            coord_.y = 1;
        }
        coord_.x = 0;
    }
    return coord_.y < n;
}

bool ipcIslandIterator::nextLevelUp()
{
    startLevel(coord_.level + 1);
    return coord_.level < hierarchy_.levels();
}

bool ipcIslandIterator::nextLevelDown()
{
    if (coord_.level == 0)
        return false;
    startLevel(coord_.level - 1);
    return true;
}

} // namespace ivra
