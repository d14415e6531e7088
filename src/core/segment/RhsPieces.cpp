#include "RhsPieces.h"

#include <algorithm>

namespace ivra::rhs {

namespace {

// The root of a run in a union-find forest, halving the path on the way.
std::uint32_t findRoot(std::uint32_t* parent, std::uint32_t run)
{
    while (parent[run] != run) {
        parent[run] = parent[parent[run]];
        run = parent[run];
    }
    return run;
}

} // namespace

void countPixels(HistogramSet& histograms, const FeatureVector* features, const std::uint32_t* pixels,
                 std::uint32_t count)
{
    int* h0 = histograms[0].data();
    int* h1 = histograms[1].data();
    int* h2 = histograms[2].data();
    int* h3 = histograms[3].data();
    int* h4 = histograms[4].data();
    int* h5 = histograms[5].data();
    int* h6 = histograms[6].data();
    int* h7 = histograms[7].data();
    int* h8 = histograms[8].data();
    for (std::uint32_t k = 0; k < count; ++k) {
        const FeatureVector& f = features[pixels[k]];
        ++h0[f.bytes[0]];
        ++h1[f.bytes[1]];
        ++h2[f.bytes[2]];
        ++h3[f.hue];
        ++h4[f.bytes[3]];
        ++h5[f.bytes[4]];
        ++h6[f.bytes[5]];
        ++h7[f.bytes[6]];
        ++h8[f.bytes[7]];
    }
}

template <class Value>
void PieceCutter::partition(const Region& region, Value value, const std::array<bool, maxFeatureBins>& inA,
                            std::uint32_t countA, std::uint32_t& runsA, std::uint32_t& runsB) const
{
    // Both sides as maximal runs in row-major order: A's at the segment's front, B's
    // from countA on.
    const std::uint32_t* pixels = arrays_.arena + region.offset;
    Run* a = runsAt(region.offset);
    Run* b = a + countA;
    std::uint32_t na = 0;
    std::uint32_t nb = 0;
    // No pixel has address 0 (the frame's corner), so no first pixel extends a run.
    std::uint32_t endA = 0;
    std::uint32_t endB = 0;
    for (std::uint32_t k = 0; k < region.count; ++k) {
        const std::uint32_t p = pixels[k];
        if (inA[value(features_[p])]) {
            if (p == endA)
                a[na - 1].end = ++endA;
            else
                a[na++] = {p, endA = p + 1};
        } else {
            if (p == endB)
                b[nb - 1].end = ++endB;
            else
                b[nb++] = {p, endB = p + 1};
        }
    }
    runsA = na;
    runsB = nb;
}

void PieceCutter::cut(const Region& region, int feature, const std::array<bool, maxFeatureBins>& inA,
                      std::uint32_t countA, std::vector<Region>& pieces) const
{
    std::uint32_t runsA = 0;
    std::uint32_t runsB = 0;
    if (feature == hueFeature) {
        partition(region, [](const FeatureVector& f) { return f.hue; }, inA, countA, runsA, runsB);
    } else {
        const auto byte = static_cast<std::size_t>(std::find(byteFeature.begin(), byteFeature.end(), feature) -
                                                   byteFeature.begin());
        partition(region, [byte](const FeatureVector& f) { return f.bytes[byte]; }, inA, countA, runsA, runsB);
    }
    // The runs are in arrays of their own: the pixels go back into the arena.
    linkRuns(region.offset, runsA);
    writeComponents(region.offset, runsA, pieces);
    linkRuns(region.offset + countA, runsB);
    writeComponents(region.offset + countA, runsB, pieces);
}

void PieceCutter::linkRuns(std::uint32_t offset, std::uint32_t count) const
{
    // Runs of neighbouring rows that share a column are 4-connected. The forest's
    // indices count from the first run.
    const Run* runs = runsAt(offset);
    std::uint32_t* parent = arrays_.runParent + offset;
    std::uint32_t row = 0;
    std::uint32_t rowEnd = 0;
    std::uint32_t previousFirst = 0; // runs of the row above: [previousFirst, previousEnd)
    std::uint32_t previousEnd = 0;
    std::uint32_t currentFirst = 0;  // runs of the current row start here
    for (std::uint32_t index = 0; index < count; ++index) {
        const Run run = runs[index];
        if (run.start >= rowEnd) {
            const std::uint32_t newRow = run.start / stride_;
            if (newRow == row + 1 && index > 0) {
                previousFirst = currentFirst;
                previousEnd = index;
            } else {
                previousFirst = previousEnd = index;
            }
            currentFirst = index;
            row = newRow;
            rowEnd = (row + 1) * stride_;
        }
        parent[index] = index;
        // The runs above, shifted down one row, are [start + stride, end + stride).
        while (previousFirst < previousEnd && runs[previousFirst].end + stride_ <= run.start)
            ++previousFirst;
        for (std::uint32_t above = previousFirst; above < previousEnd && runs[above].start + stride_ < run.end;
             ++above) {
            // Union, keeping the earlier run as the root so a component's root is its first run.
            const std::uint32_t a = findRoot(parent, above);
            const std::uint32_t b = findRoot(parent, index);
            if (a < b)
                parent[b] = a;
            else if (b < a)
                parent[a] = b;
        }
    }
}

void PieceCutter::writeComponents(std::uint32_t offset, std::uint32_t count, std::vector<Region>& pieces) const
{
    // Number the components in the order of their first run (= their first pixel),
    // then write each component's pixels contiguously, keeping row-major order.
    const Run* runs = runsAt(offset);
    std::uint32_t* parent = arrays_.runParent + offset;
    std::uint32_t* component = arrays_.runComponent + offset;
    std::uint32_t* sizes = arrays_.componentSizes + offset;
    std::uint32_t components = 0;
    for (std::uint32_t r = 0; r < count; ++r) {
        const std::uint32_t root = findRoot(parent, r);
        if (root == r) {
            component[r] = components;
            sizes[components++] = 0;
        } else {
            component[r] = component[root];
        }
        sizes[component[r]] += runs[r].end - runs[r].start;
    }
    std::uint32_t position = 0;
    for (std::uint32_t c = 0; c < components; ++c) {
        const std::uint32_t n = sizes[c];
        pieces.push_back({offset + position, n});
        sizes[c] = position; // from here on the write position of the component
        position += n;
    }
    std::uint32_t* out = arrays_.arena + offset;
    for (std::uint32_t r = 0; r < count; ++r) {
        std::uint32_t& at = sizes[component[r]];
        for (std::uint32_t p = runs[r].start; p < runs[r].end; ++p)
            out[at++] = p;
    }
}

} // namespace ivra::rhs
