#include "CSCRegionOutput.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace {

// Painting runs through the roots in reverse order and writes only pixels that are
// still 0, which leaves every pixel with the value of the last root (in root order)
// that reaches it. An element already reached by a root handled earlier has all its
// pixels written, so nothing below it needs a second visit: each element is
// descended once in all.
class RegionPainter {
public:
    RegionPainter(ipcCodeelementBase& store, int x0, int y0, int w, int h, std::uint32_t* labels)
        : store_(store), h_(store.hierarchy()), x0_(x0), y0_(y0), w_(w), hgt_(h), labels_(labels)
    {
    }

    std::vector<std::uint32_t> paint(int minLevel)
    {
        std::fill(labels_, labels_ + static_cast<std::size_t>(w_) * static_cast<std::size_t>(hgt_), 0u);
        const int levels = h_.levels();
        minLevel = std::clamp(minLevel, 0, levels);
        const std::uint32_t end = static_cast<std::uint32_t>(store_.usedElements());
        const std::uint32_t begin = minLevel < levels ? store_.firstOf(h_.indexOffset(minLevel)) : end;
        std::uint32_t roots = 0;
        for (std::uint32_t e = begin; e < end; ++e)
            roots += (store_.element(e).flags & ipcCodeelement::rootFlag) != 0;
        std::vector<std::uint32_t> colours(static_cast<std::size_t>(roots) + 1, 0);

        std::uint32_t label = roots;
        for (int level = minLevel; level < levels; ++level) {
            const int n = h_.rowLength(level);
            int walk = h_.indexOffset(level + 1) - 1;
            for (int phase = 1; phase >= 0; --phase) {
                const int last = ((n - 1) & 1) == phase ? n - 1 : n - 2;
                for (int y = last; y >= 0; y -= 2) {
                    for (int x = h_.rowSize(level, y) - 1; x >= 0; --x, --walk) {
                        const std::uint32_t first = store_.firstOf(walk), stop = store_.firstOf(walk + 1);
                        for (std::uint32_t e = stop; e-- > first;) {
                            if (!(store_.element(e).flags & ipcCodeelement::rootFlag))
                                continue;
                            paintElement(e, {level, x, y}, label);
                            colours[label] = store_.element(e).colour;
                            --label;
                        }
                    }
                }
            }
        }
        for (std::uint32_t e = 0; e < end; ++e)
            store_.element(e).flags &= static_cast<std::uint8_t>(~ipcCodeelement::visitedFlag);
        return colours;
    }

private:
    void paintElement(std::uint32_t e, IslandCoord island, std::uint32_t label)
    {
        ipcCodeelement& element = store_.element(e);
        if (element.flags & ipcCodeelement::visitedFlag)
            return;
        element.flags |= ipcCodeelement::visitedFlag;
        if (island.level == 0) {
            const CellPos centre = h_.centreChild(island);
            for (unsigned mask = element.mask; mask != 0; mask &= mask - 1) {
                const int k = std::countr_zero(mask);
                const int column = centre.x + ipcIslandHierarchy::cellOffsetX[k] - x0_;
                const int row = centre.y + ipcIslandHierarchy::cellOffsetY[k] - y0_;
                if (column < 0 || column >= w_ || row < 0 || row >= hgt_)
                    continue;
                std::uint32_t& target = labels_[static_cast<std::size_t>(row) * w_ + column];
                if (target == 0)
                    target = label;
            }
            return;
        }
        const auto children = h_.childIslands(island);
        const ipcCodeelementLink* links = store_.linksOf(e);
        for (int j = 0; j < element.childCount; ++j)
            paintElement(linkChild(links[j]), children[linkCell(links[j])], label);
    }

    ipcCodeelementBase& store_;
    const ipcIslandHierarchy& h_;
    int x0_, y0_, w_, hgt_;
    std::uint32_t* labels_;
};

} // namespace

std::vector<std::uint32_t> paintRegions(ipcCodeelementBase& store, int x0, int y0, int w, int h,
                                        std::uint32_t* labels, int minLevel)
{
    if (w < 1 || h < 1)
        return {0};
    return RegionPainter(store, x0, y0, w, h, labels).paint(minLevel);
}

void paintLabels(ipcCodeelementBase& store, int x0, int y0, int w, int h, std::uint32_t* labels, int minLevel)
{
    paintRegions(store, x0, y0, w, h, labels, minLevel);
}

void paintColours(ipcCodeelementBase& store, int x0, int y0, int w, int h, std::uint8_t* rgb, int minLevel)
{
    if (w < 1 || h < 1)
        return;
    const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    const auto labels = std::make_unique_for_overwrite<std::uint32_t[]>(count);
    const auto colours = paintRegions(store, x0, y0, w, h, labels.get(), minLevel);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t c = colours[labels[i]];
        rgb[3 * i] = static_cast<std::uint8_t>(redOf(c));
        rgb[3 * i + 1] = static_cast<std::uint8_t>(greenOf(c));
        rgb[3 * i + 2] = static_cast<std::uint8_t>(blueOf(c));
    }
}

void paintColours(ipcCodeelementBase& store, int x0, int y0, int w, int h, HSVPixel* hsv, int minLevel)
{
    if (w < 1 || h < 1)
        return;
    const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    const auto labels = std::make_unique_for_overwrite<std::uint32_t[]>(count);
    const auto colours = paintRegions(store, x0, y0, w, h, labels.get(), minLevel);
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(&hsv[i], &colours[labels[i]], sizeof(HSVPixel));
}
