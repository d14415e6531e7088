#include "CSCRegionOutput.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>

namespace {

// Every pixel ends with the value of the last root, in root order, whose region
// reaches it. Roots are numbered in root order, so that is the largest root number
// among the roots above the pixel: each element receives the largest number found
// among itself (if it is a root) and its parents, level by level from the top, and
// each pixel the largest number among the level-0 elements covering it. Links and
// parent slots always change together (linking sets both, overlap resolution clears
// both), so climbing parents reaches exactly the roots whose links descend to an
// element.
class RegionPainter {
public:
    RegionPainter(const ipcCodeelementBase& store, int x0, int y0, int w, int h, std::uint32_t* labels)
        : store_(store), h_(store.hierarchy()), x0_(x0), y0_(y0), w_(w), hgt_(h), labels_(labels)
    {
    }

    std::vector<std::uint32_t> paint(int minLevel)
    {
        std::fill(labels_, labels_ + static_cast<std::size_t>(w_) * static_cast<std::size_t>(hgt_), 0u);
        const int levels = h_.levels();
        const std::uint32_t used = static_cast<std::uint32_t>(store_.usedElements());
        // Owners of the elements above level 0 (those follow the level-0 elements in the
        // store); level-0 elements get theirs while their pixels are painted, which
        // visits them in store order too, so the root numbers come out the same.
        const std::uint32_t base = store_.firstOf(h_.indexOffset(1));
        const auto owner = std::make_unique_for_overwrite<std::uint32_t[]>(used - base); // all written
        const auto ownerOf = [&](const ipcCodeelement& el) {
            std::uint32_t o = 0;
            if (el.parent1 != ipcCodeelement::none)
                o = owner[el.parent1 - base];
            if (el.parent2 != ipcCodeelement::none)
                o = std::max(o, owner[el.parent2 - base]);
            return o;
        };
        std::vector<std::uint32_t> colours{0};
        std::uint32_t label = 0;
        for (int level = levels - 1; level >= 1; --level) {
            const std::uint32_t begin = store_.firstOf(h_.indexOffset(level));
            const std::uint32_t end = store_.firstOf(h_.indexOffset(level + 1));
            const bool roots = level >= minLevel;
            for (std::uint32_t e = begin; e < end; ++e) {
                const ipcCodeelement& el = store_.element(e);
                std::uint32_t o = ownerOf(el);
                if (roots && (el.flags & ipcCodeelement::rootFlag)) {
                    o = ++label;
                    colours.push_back(el.colour);
                }
                owner[e - base] = o;
            }
        }
        const bool roots0 = minLevel <= 0;

        // Pixels of the level-0 elements, island by island in walk order.
        std::ptrdiff_t offsets[7];
        for (int k = 0; k < 7; ++k)
            offsets[k] = static_cast<std::ptrdiff_t>(ipcIslandHierarchy::cellOffsetY[k]) * w_ +
                         ipcIslandHierarchy::cellOffsetX[k];
        const int n = h_.rowLength(0);
        const bool shiftedRows = levels == 2;
        int walk = 0;
        for (int phase = 0; phase < 2; ++phase) {
            for (int y = phase; y < n; y += 2) {
                const int rs = h_.rowSize(0, y);
                const int row = 2 * y - y0_;
                const int shift = (shiftedRows ? 1 - (y & 1) : (y & 1)) - x0_;
                const bool innerRow = row >= 1 && row + 1 < hgt_;
                for (int x = 0; x < rs; ++x, ++walk) {
                    const std::uint32_t first = store_.firstOf(walk), stop = store_.firstOf(walk + 1);
                    if (first == stop)
                        continue;
                    const int column = 2 * x + shift;
                    const bool inner = innerRow && column >= 1 && column + 1 < w_;
                    const std::ptrdiff_t centre = static_cast<std::ptrdiff_t>(row) * w_ + column;
                    for (std::uint32_t e = first; e < stop; ++e) {
                        const ipcCodeelement& el = store_.element(e);
                        std::uint32_t o = ownerOf(el);
                        if (roots0 && (el.flags & ipcCodeelement::rootFlag)) {
                            o = ++label;
                            colours.push_back(el.colour);
                        }
                        if (o == 0)
                            continue;
                        for (unsigned mask = el.mask; mask != 0; mask &= mask - 1) {
                            const int k = std::countr_zero(mask);
                            if (!inner) {
                                const int c = column + ipcIslandHierarchy::cellOffsetX[k];
                                const int r = row + ipcIslandHierarchy::cellOffsetY[k];
                                if (c < 0 || c >= w_ || r < 0 || r >= hgt_)
                                    continue;
                            }
                            std::uint32_t& target = labels_[centre + offsets[k]];
                            target = std::max(target, o);
                        }
                    }
                }
            }
        }
        return colours;
    }

private:
    const ipcCodeelementBase& store_;
    const ipcIslandHierarchy& h_;
    int x0_, y0_, w_, hgt_;
    std::uint32_t* labels_;
};

} // namespace

std::vector<std::uint32_t> paintRegions(const ipcCodeelementBase& store, int x0, int y0, int w, int h,
                                        std::uint32_t* labels, int minLevel)
{
    if (w < 1 || h < 1)
        return {0};
    return RegionPainter(store, x0, y0, w, h, labels).paint(minLevel);
}

void paintLabels(const ipcCodeelementBase& store, int x0, int y0, int w, int h, std::uint32_t* labels, int minLevel)
{
    paintRegions(store, x0, y0, w, h, labels, minLevel);
}

void paintColours(const ipcCodeelementBase& store, int x0, int y0, int w, int h, std::uint8_t* rgb, int minLevel)
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

void paintColours(const ipcCodeelementBase& store, int x0, int y0, int w, int h, HSVPixel* hsv, int minLevel)
{
    if (w < 1 || h < 1)
        return;
    const std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    const auto labels = std::make_unique_for_overwrite<std::uint32_t[]>(count);
    const auto colours = paintRegions(store, x0, y0, w, h, labels.get(), minLevel);
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(&hsv[i], &colours[labels[i]], sizeof(HSVPixel));
}
