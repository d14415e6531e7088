#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace ivra {

// Address of one island: its level (0 = finest), its position x in its row and its row y.
struct IslandCoord {
    std::int32_t level;
    std::int32_t x;
    std::int32_t y;

    friend bool operator==(const IslandCoord&, const IslandCoord&) = default;
};

// A pixel position (or, above level 0, a child island position without its level).
struct CellPos {
    std::int32_t x;
    std::int32_t y;

    friend bool operator==(const CellPos&, const CellPos&) = default;
};

// The geometry of the hexagonal island pyramid laid over a picture. The pixel grid is
// read as a hexagonal grid with every odd row shifted half a pixel to the right; an
// island of level 0 is a pixel and its six neighbours, an island of level n+1 is
// seven islands of level n (a centre and its six neighbours). Neighbouring islands
// of one level overlap in exactly one cell. Nothing is stored per island: indexes and
// children are computed.
//
// Two numberings of the islands of a level exist: islandIndex() is row-major over all
// rows, walkIndex() follows the walk (all even rows, then all odd rows, x ascending),
// so that everything created while walking the pyramid bottom-up can be kept in walk
// order. Both add indexOffset(level).
class ipcIslandHierarchy {
public:
    // Largest side accepted: the island count of a 32768 square still fits 32 bits.
    static constexpr int maxSide = 1 << 15;

    // Cell numbering inside an island: 0 centre, 1 right, 2 lower left, 3 lower right,
    // 4 upper left, 5 upper right, 6 left (offsets valid for a centre on an even row).
    static constexpr int cellOffsetX[7] = {0, 1, -1, 0, -1, 0, -1};
    static constexpr int cellOffsetY[7] = {0, 0, 1, 1, -1, -1, 0};
    // For each cell, the adjacent cells of the same island, ended by -1.
    static constexpr int cellNeighbours[7][7] = {
        {1, 2, 3, 4, 5, 6, -1}, {3, 5, 0, -1, -1, -1, -1}, {3, 6, 0, -1, -1, -1, -1}, {0, 1, 2, -1, -1, -1, -1},
        {5, 6, 0, -1, -1, -1, -1}, {0, 1, 4, -1, -1, -1, -1}, {0, 2, 4, -1, -1, -1, -1}};
    // sharedCell[i][j]: the cell of child i lying in the overlap with its sibling j; -1 if none.
    static constexpr int sharedCell[7][7] = {
        {-1, 1, 2, 3, 4, 5, 6},    {6, -1, -1, 2, -1, 4, -1}, {5, -1, -1, 1, -1, -1, 4}, {4, 5, 6, -1, -1, -1, -1},
        {3, -1, -1, -1, -1, 1, 2}, {2, 3, -1, -1, 6, -1, -1}, {1, -1, 3, -1, 5, -1, -1}};
    // sharingChild[i][k]: the sibling of child i that also holds i's cell k; -1 if none.
    static constexpr int sharingChild[7][7] = {
        {-1, 1, 2, 3, 4, 5, 6},    {-1, -1, 3, -1, 5, -1, 0}, {-1, 3, -1, -1, 6, 0, -1}, {-1, -1, -1, -1, 0, 1, 2},
        {-1, 5, 6, 0, -1, -1, -1}, {-1, -1, 0, 1, -1, -1, 4}, {-1, 0, -1, 2, -1, 4, -1}};

    // Throws std::invalid_argument when a side is below 1 or above maxSide.
    ipcIslandHierarchy(int width, int height);
    virtual ~ipcIslandHierarchy() = default;

    // Level count of the pyramid for a picture size (at least 2).
    static int levelsFor(int width, int height);

    int levels() const { return levelCount_; }
    int coveredSize() const { return size_; }
    int islandCount() const { return indexOffset_[levelCount_]; }
    int topIndex() const { return rowLength_[levelCount_ - 1] > 0 ? indexOffset_[levelCount_ - 1] : -1; }
    int rowLength(int level) const { return rowLength_[level]; }
    int indexOffset(int level) const { return indexOffset_[level]; }
    // Number of islands in row y of a level.
    int rowSize(int level, int y) const
    {
        const int n = rowLength_[level];
        return level == levelCount_ - 2 ? n - 1 + (y & 1) : n - (y & 1);
    }

    bool isValid(IslandCoord c) const
    {
        if (c.level < 0 || c.level >= levelCount_ || c.x < 0 || c.y < 0 || c.y >= rowLength_[c.level])
            return false;
        return c.x < rowSize(c.level, c.y);
    }
    // Row-major flat index, or -1 outside the level.
    int islandIndex(IslandCoord c) const;
    // Flat index in walk order, or -1 outside the level.
    int walkIndex(IslandCoord c) const;

    // Centre child (level - 1) of an island of level >= 1; at level 0 the centre pixel.
    CellPos centreChild(IslandCoord c) const
    {
        if (c.level == levelCount_ - 1)
            return {1, 1};
        if (c.level == levelCount_ - 2)
            return {2 * c.x - (c.y & 1) + 1, 2 * c.y};
        return {2 * c.x + (c.y & 1), 2 * c.y};
    }
    // The 7 child islands of an island of level >= 1, cell order.
    std::array<IslandCoord, 7> childIslands(IslandCoord c) const;
    // The 7 cell positions of an island (pixels at level 0), cell order; they may fall
    // outside the picture or the level.
    std::array<CellPos, 7> cellCoords(IslandCoord c) const;

private:
    int size_ = 1;
    int levelCount_ = 0;
    std::vector<std::int32_t> indexOffset_; // levelCount + 1 entries
    std::vector<std::int32_t> rowLength_;   // levelCount entries
};

} // namespace ivra
