#include "RegionMeasurements.h"

#include "image/ImageSegmented.h"

#include <algorithm>
#include <limits>
#include <numeric>
#include <stdexcept>
#include <unordered_map>

namespace ivra {

namespace {

constexpr std::uint32_t noSlot = std::numeric_limits<std::uint32_t>::max();

// Running sums of one label; rows are visited top to bottom, so the first row
// seen is the top one.
struct Sums {
    std::uint32_t label;
    std::uint64_t pixels = 0;
    std::uint64_t sumX = 0;
    std::uint64_t sumY = 0;
    std::uint64_t red = 0;
    std::uint64_t green = 0;
    std::uint64_t blue = 0;
    std::uint64_t perimeter = 0;
    int xMin;
    int yMin;
    int xMax;
    int yMax;
    std::size_t firstPixel;
};

// Label -> slot in order of first appearance: a table indexed by label when the
// labels are small numbers (every producer's case), a hash map otherwise.
class SlotMap {
public:
    explicit SlotMap(const Array2D<std::uint32_t>& labels)
    {
        const std::uint32_t* l = labels.data();
        const std::uint32_t maxLabel = labels.size() ? *std::max_element(l, l + labels.size()) : 0;
        if (maxLabel <= labels.size())
            table_.assign(static_cast<std::size_t>(maxLabel) + 1, noSlot);
    }
    // The label's slot, or noSlot when it has none yet.
    std::uint32_t find(std::uint32_t label) const
    {
        if (!table_.empty())
            return table_[label];
        const auto it = map_.find(label);
        return it == map_.end() ? noSlot : it->second;
    }
    void add(std::uint32_t label, std::uint32_t slot)
    {
        if (!table_.empty())
            table_[label] = slot;
        else
            map_.emplace(label, slot);
    }

private:
    std::vector<std::uint32_t> table_;
    std::unordered_map<std::uint32_t, std::uint32_t> map_;
};

RegionMeasurement finish(const Sums& s, const ImageRGB& result)
{
    const double n = static_cast<double>(s.pixels);
    RegionMeasurement m;
    m.label = s.label;
    m.pixels = s.pixels;
    m.xMin = s.xMin;
    m.yMin = s.yMin;
    m.xMax = s.xMax;
    m.yMax = s.yMax;
    m.centroidX = static_cast<double>(s.sumX) / n;
    m.centroidY = static_cast<double>(s.sumY) / n;
    m.meanRed = static_cast<double>(s.red) / n;
    m.meanGreen = static_cast<double>(s.green) / n;
    m.meanBlue = static_cast<double>(s.blue) / n;
    m.regionRed = result.red()[s.firstPixel];
    m.regionGreen = result.green()[s.firstPixel];
    m.regionBlue = result.blue()[s.firstPixel];
    m.perimeter = s.perimeter;
    return m;
}

} // namespace

std::vector<RegionMeasurement> measureRegions(const Array2D<std::uint32_t>& labels, const Array2D<RGB24>& source,
                                              const ImageRGB& result)
{
    const int w = labels.width();
    const int h = labels.height();
    if (source.width() != w || source.height() != h || result.width() != w || result.height() != h)
        throw std::invalid_argument("measureRegions: labels, source and result differ in size");
    SlotMap slots(labels);
    std::vector<Sums> sums;
    auto sumsOf = [&](std::uint32_t label) -> Sums& { return sums[slots.find(label)]; };

    // Each row is taken in runs of one label: the run's pixel count, coordinate
    // sums, box and its two side edges at once; only the colours go per pixel.
    for (int y = 0; y < h; ++y) {
        const std::size_t rowStart = static_cast<std::size_t>(y) * w;
        const std::uint32_t* row = labels.data() + rowStart;
        const RGB24* src = source.data() + rowStart;
        for (int x = 0; x < w;) {
            const std::uint32_t label = row[x];
            const int x0 = x;
            std::uint64_t r = 0, g = 0, b = 0;
            do {
                r += src[x].r;
                g += src[x].g;
                b += src[x].b;
                ++x;
            } while (x < w && row[x] == label);
            std::uint32_t slot = slots.find(label);
            if (slot == noSlot) {
                slot = static_cast<std::uint32_t>(sums.size());
                slots.add(label, slot);
                sums.push_back({.label = label, .xMin = x0, .yMin = y, .xMax = x - 1, .yMax = y,
                                .firstPixel = rowStart + x0});
            }
            Sums& s = sums[slot];
            const std::uint64_t length = static_cast<std::uint64_t>(x - x0);
            s.pixels += length;
            s.sumX += length * static_cast<std::uint64_t>(x0 + x - 1) / 2;
            s.sumY += length * static_cast<std::uint64_t>(y);
            s.red += r;
            s.green += g;
            s.blue += b;
            s.xMin = std::min(s.xMin, x0);
            s.xMax = std::max(s.xMax, x - 1);
            s.yMax = y;
            s.perimeter += 2 + (y == 0 ? length : 0) + (y == h - 1 ? length : 0);
        }
        // Edges to the row above count for both labels meeting there.
        if (y > 0) {
            const std::uint32_t* above = row - w;
            for (int x = 0; x < w; ++x)
                if (row[x] != above[x]) {
                    ++sumsOf(row[x]).perimeter;
                    ++sumsOf(above[x]).perimeter;
                }
        }
    }

    std::vector<std::uint32_t> order(sums.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return sums[a].label < sums[b].label; });
    std::vector<RegionMeasurement> regions;
    regions.reserve(sums.size());
    for (const std::uint32_t slot : order)
        if (sums[slot].label != 0)
            regions.push_back(finish(sums[slot], result));
    return regions;
}

std::vector<RegionMeasurement> measureRegions(const ImageSegmented& segmentation)
{
    return measureRegions(segmentation.labels, segmentation.sourcePixels, segmentation);
}

std::size_t countRegions(const Array2D<std::uint32_t>& labels)
{
    const std::uint32_t* l = labels.data();
    const std::size_t n = labels.size();
    const std::uint32_t maxLabel = n ? *std::max_element(l, l + n) : 0;
    if (maxLabel <= n) {
        std::vector<std::uint8_t> present(static_cast<std::size_t>(maxLabel) + 1, 0);
        for (std::size_t i = 0; i < n; ++i)
            present[l[i]] = 1;
        return static_cast<std::size_t>(std::count(present.begin() + 1, present.end(), std::uint8_t{1}));
    }
    std::vector<std::uint32_t> values(l, l + n);
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values.size() - (values.front() == 0 ? 1 : 0);
}

} // namespace ivra
