#include "ipcIslandHierarchy.h"

#include <algorithm>
#include <stdexcept>

namespace ivra {

int ipcIslandHierarchy::levelsFor(int width, int height)
{
    const int side = std::max(width, height);
    int size = 1;
    int levels = 0;
    do {
        ++levels;
        size *= 2;
    } while (size < side || levels < 2);
    return levels;
}

ipcIslandHierarchy::ipcIslandHierarchy(int width, int height)
{
    if (width < 1 || height < 1 || width > maxSide || height > maxSide)
        throw std::invalid_argument("island hierarchy: picture size out of range");
    levelCount_ = levelsFor(width, height);
    size_ = 1 << levelCount_;
    const int L = levelCount_;
    rowLength_.assign(L, 0);
    indexOffset_.assign(L + 1, 0);
    rowLength_[0] = size_ / 2 + 1;
    for (int l = 1; l <= L - 2; ++l) {
        const int below = rowLength_[l - 1];
        rowLength_[l] = below / 2 + 1;
        indexOffset_[l] = indexOffset_[l - 1] + rowLength_[l] * below + (rowLength_[l] - 1) * (below - 1);
    }
    rowLength_[L - 1] = 1;
    indexOffset_[L - 1] = indexOffset_[L - 2] + 7;
    indexOffset_[L] = indexOffset_[L - 1] + 1;
}

int ipcIslandHierarchy::islandIndex(IslandCoord c) const
{
    if (!isValid(c))
        return -1;
    const int n = rowLength_[c.level];
    if (c.level == levelCount_ - 2)
        return indexOffset_[c.level] + n * c.y - ((c.y + 1) >> 1) + c.x;
    return indexOffset_[c.level] + n * c.y - (c.y >> 1) + c.x;
}

int ipcIslandHierarchy::walkIndex(IslandCoord c) const
{
    if (!isValid(c))
        return -1;
    const int n = rowLength_[c.level];
    const int half = c.y >> 1;
    if (c.level == levelCount_ - 2) // even rows hold 2 islands, the odd row 3
        return indexOffset_[c.level] + ((c.y & 1) ? 4 : 2 * half) + c.x;
    if (c.y & 1)
        return indexOffset_[c.level] + ((n + 1) >> 1) * n + half * (n - 1) + c.x;
    return indexOffset_[c.level] + half * n + c.x;
}

std::array<IslandCoord, 7> ipcIslandHierarchy::childIslands(IslandCoord c) const
{
    const CellPos centre = centreChild(c);
    std::array<IslandCoord, 7> children{};
    for (int k = 0; k < 7; ++k)
        children[k] = {c.level - 1, centre.x + cellOffsetX[k], centre.y + cellOffsetY[k]};
    return children;
}

std::array<CellPos, 7> ipcIslandHierarchy::cellCoords(IslandCoord c) const
{
    const CellPos centre = centreChild(c);
    std::array<CellPos, 7> cells{};
    for (int k = 0; k < 7; ++k)
        cells[k] = {centre.x + cellOffsetX[k], centre.y + cellOffsetY[k]};
    return cells;
}

} // namespace ivra
