#include "OPRecursiveHistogramSplitting.h"

#include "HistogramClustering.h"
#include "RHSFeatures.h"
#include "image/BitImage32.h"
#include "image/LowBytes.h"
#include "util/ParallelRows.h"
#include "util/ScratchArena.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <new>
#include <string>
#include <vector>

namespace ivra {

namespace {

using namespace ivra::rhs;

// The features of one pixel: bytes R, G, B, S, V, Y, I, Q and the hue.
struct FeatureVector {
    std::array<std::uint8_t, 8> bytes;
    std::uint16_t hue;
};
// Feature index of each byte of FeatureVector::bytes.
constexpr std::array<int, 8> byteFeature = {0, 1, 2, 4, 5, 6, 7, 8};

// A candidate region: its pixels are arena[offset .. offset + count), sorted in
// row-major order.
struct Region {
    std::uint32_t offset;
    std::uint32_t count;
    int histogramSlot = -1; // its histograms, when already known, in the pool
};

using HistogramSet = std::array<std::array<int, maxFeatureBins>, featureCount>;

void checkParameter(const char* name, int value)
{
    if (value < RhsParams::minValue || value > RhsParams::maxValue)
        throw std::invalid_argument(std::string("recursive histogram splitting: ") + name + " " +
                                    std::to_string(value) + " is outside " +
                                    std::to_string(RhsParams::minValue) + ".." +
                                    std::to_string(RhsParams::maxValue));
}

// The root of a run in a union-find forest, halving the path on the way.
std::uint32_t findRoot(std::uint32_t* parent, std::uint32_t run)
{
    while (parent[run] != run) {
        parent[run] = parent[parent[run]];
        run = parent[run];
    }
    return run;
}

// One run of the splitting. Pixels are addressed in a frame padded by one pixel on
// every side, so consecutive addresses of a region never run from one row into the
// next. Each region waiting on the stack is a sorted pixel list in a segment of its
// own of one arena; a split writes the pieces back into the segment of the region
// it cuts, so the arena never holds more than the picture's pixels.
//
// Memory: the result's plane block (written last, from the labels) holds the
// features when they fit, the labels are written as regions become final, and the
// rest is one scratch block of whole huge pages, so a run faults in little memory.
class Splitter {
public:
    Splitter(ImageSegmented& result, const RhsParams& parameters, const ivra::Progress& progress);

    void run();

private:
    // A horizontal run of pixels [start, end) in the padded frame.
    struct Run {
        std::uint32_t start;
        std::uint32_t end;
    };

    // The feature to split the current histograms by (-1: none has two clusters);
    // bestSize receives the pixel count of its largest cluster.
    int bestSplitFeature(std::uint32_t regionSize, std::int64_t& bestSize);
    // The mean colours of the labels into the result planes.
    void paintPlanes();
    std::size_t paddedIndex(int x, int y) const
    {
        return static_cast<std::size_t>(y + 1) * static_cast<std::size_t>(stride_) + static_cast<std::size_t>(x) + 1;
    }

    void takeMemory();
    void computeFeatures();
    void addToHistograms(HistogramSet& histograms, const std::uint32_t* pixels, std::uint32_t count) const;
    void countPixels(HistogramSet& histograms, const std::uint32_t* pixels, std::uint32_t count) const;
    void deriveLargestPiece(const Region& region, std::size_t firstPiece);
    void split(const Region& region, int feature, int peak);
    template <class Value>
    void partitionIntoRuns(const Region& region, Value value, const std::array<bool, maxFeatureBins>& inA,
                           std::uint32_t countA, std::uint32_t& runsA, std::uint32_t& runsB);
    // Joins the runs (row-major, maximal) of one pixel set by union-find, then writes
    // each 4-connected component's pixels contiguously to arena_[outOffset ...] and
    // pushes it as a region.
    void linkRuns(const Run* runs, std::uint32_t count);
    void writeComponents(const Run* runs, std::uint32_t count, std::uint32_t outOffset);
    void finalise(const Region& region);
    void reportProgress() const;

    ImageSegmented& result_;
    const RhsParams& parameters_;
    const ivra::Progress& progress_;
    const int width_;
    const int height_;
    const int stride_;
    const std::uint32_t pixelCount_;
    std::size_t paddedSize_ = 0;

    ScratchArena scratch_;
    LargeArray<FeatureVector> ownFeatures_; // when they do not fit into the plane block
    FeatureVector* features_ = nullptr;
    std::uint32_t* arena_ = nullptr;
    // Component extraction: the runs of the two sides of a split, a union-find forest
    // over the runs of one side and the component of each run.
    Run* runs_ = nullptr;
    std::uint32_t* runParent_ = nullptr;
    std::uint32_t* runComponent_ = nullptr;
    std::uint32_t* componentSizes_ = nullptr;
    std::vector<Region> stack_;

    HistogramSet histograms_{};
    // Histograms of pieces that were worked out at their parent's split, by
    // subtracting the other pieces from the parent; a few slots suffice.
    static constexpr std::size_t poolSlots = 32;
    HistogramSet* pool_ = nullptr;
    std::size_t poolUsed_ = 0;
    std::vector<int> freeSlots_;
    std::array<HistogramClusters, featureCount> clusters_;
    // Per-thread caches of recent colours' features (computeFeatures).
    struct CacheEntry {
        std::uint32_t color; // R, G, B packed, plus one; 0 marks an empty entry
        FeatureVector features;
    };
    static constexpr int cacheBits = 14;
    CacheEntry* caches_ = nullptr;

    std::uint32_t labelCounter_ = 0;
    std::vector<std::uint32_t> meanColor_; // by label: R | G << 8 | B << 16
    std::uint64_t finalisedPixels_ = 0;
    std::uint64_t nextReport_ = 0;
};

Splitter::Splitter(ImageSegmented& result, const RhsParams& parameters, const ivra::Progress& progress)
    : result_(result), parameters_(parameters), progress_(progress), width_(result.width()),
      height_(result.height()), stride_(width_ + 2), pixelCount_(static_cast<std::uint32_t>(result.pixelCount()))
{
}

void Splitter::takeMemory()
{
    paddedSize_ = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_ + 2);
    // A region of n pixels has at most n runs: the runs of a split fit into its segment.
    const std::size_t arena = scratch_.reserve<std::uint32_t>(pixelCount_);
    const std::size_t runs = scratch_.reserve<Run>(pixelCount_);
    const std::size_t parents = scratch_.reserve<std::uint32_t>(pixelCount_);
    const std::size_t components = scratch_.reserve<std::uint32_t>(pixelCount_);
    const std::size_t sizes = scratch_.reserve<std::uint32_t>(pixelCount_);
    const std::size_t pool = scratch_.reserve<HistogramSet>(poolSlots);
    const auto threads = static_cast<std::size_t>(std::max(1, threadCount()));
    const std::size_t caches = scratch_.reserve<CacheEntry>(threads << cacheBits);
    scratch_.allocate();
    arena_ = scratch_.at<std::uint32_t>(arena);
    runs_ = scratch_.at<Run>(runs);
    runParent_ = scratch_.at<std::uint32_t>(parents);
    runComponent_ = scratch_.at<std::uint32_t>(components);
    componentSizes_ = scratch_.at<std::uint32_t>(sizes);
    pool_ = scratch_.at<HistogramSet>(pool);
    caches_ = scratch_.at<CacheEntry>(caches);
    // The plane block is written last, from the labels and mean colours.
    if (paddedSize_ * sizeof(FeatureVector) <= 3 * result_.pixelCount() * sizeof(std::int32_t)) {
        features_ = reinterpret_cast<FeatureVector*>(result_.red());
    } else {
        ownFeatures_ = allocateLarge<FeatureVector>(paddedSize_);
        features_ = ownFeatures_.get();
    }
}

void Splitter::computeFeatures()
{
    // Photographs repeat their colours: a small direct-mapped cache of recent
    // colours spares most of the conversions. One cache per thread; a cache only
    // spares work, so the features do not depend on it.
    const std::size_t cacheEntries = static_cast<std::size_t>(std::max(1, threadCount())) << cacheBits;
    for (std::size_t k = 0; k < cacheEntries; ++k)
        caches_[k].color = 0;
    const RGB24* source = result_.sourcePixels.data();
    const auto rows = [&](int y0, int y1) {
        CacheEntry* cache = caches_ + (static_cast<std::size_t>(omp_get_thread_num()) << cacheBits);
        for (int y = y0; y < y1; ++y) {
            FeatureVector* row = features_ + paddedIndex(0, y);
            const RGB24* in = source + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
            for (int x = 0; x < width_; ++x) {
                const RGB24 c = in[x];
                const std::uint32_t color = ((std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b) + 1;
                CacheEntry& entry = cache[(color * 2654435761u) >> (32 - cacheBits)];
                if (entry.color != color) {
                    const auto f = pixelFeatures(c.r, c.g, c.b);
                    for (int k = 0; k < 8; ++k)
                        entry.features.bytes[k] = static_cast<std::uint8_t>(f[byteFeature[k]]);
                    entry.features.hue = static_cast<std::uint16_t>(f[hueFeature]);
                    entry.color = color;
                }
                row[x] = entry.features;
            }
        }
    };
    parallelRows(0, height_, rowsPerPiece(width_), rows, [&](int done) { progress_.update(done, 2.0 * height_); });
}

void Splitter::addToHistograms(HistogramSet& histograms, const std::uint32_t* pixels, std::uint32_t count) const
{
    // Large regions are counted by the threads into histograms of their own, added
    // up afterwards (integer sums: any order gives the same counts).
    constexpr std::uint32_t piece = 1 << 15;
    const int threads = std::max(1, threadCount());
    if (count >= 2 * piece && threads > 1) {
        std::vector<HistogramSet> partial(static_cast<std::size_t>(threads));
        for (HistogramSet& set : partial)
            for (auto& h : set)
                std::fill(h.begin(), h.end(), 0);
        const int pieces = static_cast<int>((count - 1) / piece + 1);
        parallelRows(0, pieces, 1, [&](int p0, int p1) {
            const std::uint32_t begin = static_cast<std::uint32_t>(p0) * piece;
            const std::uint32_t end = std::min(count, static_cast<std::uint32_t>(p1) * piece);
            countPixels(partial[static_cast<std::size_t>(omp_get_thread_num())], pixels + begin, end - begin);
        });
        for (const HistogramSet& set : partial)
            for (int f = 0; f < featureCount; ++f)
                for (int b = 0; b < maxFeatureBins; ++b)
                    histograms[f][b] += set[f][b];
        return;
    }
    countPixels(histograms, pixels, count);
}

void Splitter::countPixels(HistogramSet& histograms, const std::uint32_t* pixels, std::uint32_t count) const
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
    const FeatureVector* features = features_;
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

void Splitter::deriveLargestPiece(const Region& region, std::size_t firstPiece)
{
    // The histograms of the largest piece are those of the region less those of the
    // other pieces: cheaper to count whenever the largest piece is over half the region.
    std::size_t largest = firstPiece;
    for (std::size_t k = firstPiece + 1; k < stack_.size(); ++k) {
        if (stack_[k].count > stack_[largest].count)
            largest = k;
    }
    Region& piece = stack_[largest];
    const std::uint64_t rest = region.count - piece.count;
    if (piece.count <= static_cast<std::uint32_t>(parameters_.minRegionSize) ||
        piece.count < rest + region.count / 8)
        return;
    if (freeSlots_.empty()) {
        if (poolUsed_ == poolSlots)
            return;
        freeSlots_.push_back(static_cast<int>(poolUsed_++));
    }
    const int slot = freeSlots_.back();
    freeSlots_.pop_back();
    HistogramSet& others = pool_[slot];
    for (auto& h : others)
        std::fill(h.begin(), h.end(), 0);
    addToHistograms(others, &arena_[region.offset], piece.offset - region.offset);
    const std::uint32_t after = piece.offset + piece.count;
    addToHistograms(others, &arena_[after], region.offset + region.count - after);
    for (int f = 0; f < featureCount; ++f) {
        for (int b = 0; b < featureBins[f]; ++b)
            others[f][b] = histograms_[f][b] - others[f][b];
    }
    piece.histogramSlot = slot;
}

template <class Value>
void Splitter::partitionIntoRuns(const Region& region, Value value, const std::array<bool, maxFeatureBins>& inA,
                                 std::uint32_t countA, std::uint32_t& runsA, std::uint32_t& runsB)
{
    // The pixels of the peak's cluster (A) and the rest (B) as maximal runs, both in
    // row-major order: A's at the segment's front, B's from countA on (a side of n
    // pixels has at most n runs).
    const std::uint32_t* pixels = arena_ + region.offset;
    Run* a = runs_ + region.offset;
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

void Splitter::split(const Region& region, int feature, int peak)
{
    const HistogramClusters& clusters = clusters_[feature];
    std::array<bool, maxFeatureBins> inA{};
    std::uint32_t countA = 0; // from the region's histogram of the feature
    for (int bin = 0; bin < featureBins[feature]; ++bin) {
        inA[bin] = clusters.root(bin) == peak;
        countA += inA[bin] ? static_cast<std::uint32_t>(histograms_[feature][bin]) : 0;
    }

    std::uint32_t runsA = 0;
    std::uint32_t runsB = 0;
    if (feature == hueFeature) {
        partitionIntoRuns(region, [](const FeatureVector& f) { return f.hue; }, inA, countA, runsA, runsB);
    } else {
        const auto byte = static_cast<std::size_t>(std::find(byteFeature.begin(), byteFeature.end(), feature) -
                                                   byteFeature.begin());
        partitionIntoRuns(region, [byte](const FeatureVector& f) { return f.bytes[byte]; }, inA, countA, runsA,
                          runsB);
    }
    const std::size_t firstPiece = stack_.size();
    const Run* runs = runs_ + region.offset;
    linkRuns(runs, runsA);
    writeComponents(runs, runsA, region.offset);
    linkRuns(runs + countA, runsB);
    writeComponents(runs + countA, runsB, region.offset + countA);
    deriveLargestPiece(region, firstPiece);
}

void Splitter::linkRuns(const Run* runs, std::uint32_t count)
{
    // Runs of neighbouring rows that share a column are 4-connected. The parent
    // forest lives at runParent_[runs - runs_ ...], its indices count from 0.
    const std::uint32_t stride = static_cast<std::uint32_t>(stride_);
    std::uint32_t* parent = runParent_ + (runs - runs_);
    std::uint32_t row = 0;
    std::uint32_t rowEnd = 0;
    std::uint32_t previousFirst = 0; // runs of the row above: [previousFirst, previousEnd)
    std::uint32_t previousEnd = 0;
    std::uint32_t currentFirst = 0;  // runs of the current row start here
    for (std::uint32_t index = 0; index < count; ++index) {
        const Run run = runs[index];
        if (run.start >= rowEnd) {
            const std::uint32_t newRow = run.start / stride;
            if (newRow == row + 1 && index > 0) {
                previousFirst = currentFirst;
                previousEnd = index;
            } else {
                previousFirst = previousEnd = index;
            }
            currentFirst = index;
            row = newRow;
            rowEnd = (row + 1) * stride;
        }
        parent[index] = index;
        // Runs above, shifted down one row: [start + stride, end + stride).
        while (previousFirst < previousEnd && runs[previousFirst].end + stride <= run.start)
            ++previousFirst;
        for (std::uint32_t above = previousFirst; above < previousEnd && runs[above].start + stride < run.end;
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

void Splitter::writeComponents(const Run* runs, std::uint32_t count, std::uint32_t outOffset)
{
    // Number the components in the order of their first run (= their first pixel),
    // then write each component's pixels contiguously, keeping row-major order.
    const std::size_t base = static_cast<std::size_t>(runs - runs_);
    std::uint32_t* parent = runParent_ + base;
    std::uint32_t* component = runComponent_ + base;
    std::uint32_t* sizes = componentSizes_ + base;
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
        stack_.push_back({outOffset + position, n, -1});
        sizes[c] = position; // from here on the write position of the component
        position += n;
    }
    std::uint32_t* out = arena_ + outOffset;
    for (std::uint32_t r = 0; r < count; ++r) {
        std::uint32_t& at = sizes[component[r]];
        for (std::uint32_t p = runs[r].start; p < runs[r].end; ++p)
            out[at++] = p;
    }
}

void Splitter::finalise(const Region& region)
{
    const std::uint32_t label = ++labelCounter_;
    std::uint64_t sum[3] = {0, 0, 0};
    const std::uint32_t* pixels = arena_ + region.offset;
    std::uint32_t* labels = result_.labels.data();
    // Pixel p of the padded frame in row y + 1 is p - stride - 1 - 2 * y unpadded.
    const auto stride = static_cast<std::uint32_t>(stride_);
    std::uint32_t rowEnd = 0;
    std::uint32_t shift = 0;
    for (std::uint32_t k = 0; k < region.count; ++k) {
        const std::uint32_t p = pixels[k];
        if (p >= rowEnd) {
            const std::uint32_t row = p / stride;
            rowEnd = (row + 1) * stride;
            shift = stride + 1 + 2 * (row - 1);
        }
        // Features R, G, B are the source bytes.
        const FeatureVector& f = features_[p];
        sum[0] += f.bytes[0];
        sum[1] += f.bytes[1];
        sum[2] += f.bytes[2];
        labels[p - shift] = label;
    }
    const std::uint64_t n = region.count;
    meanColor_.push_back(static_cast<std::uint32_t>(sum[0] / n) | static_cast<std::uint32_t>(sum[1] / n) << 8 |
                         static_cast<std::uint32_t>(sum[2] / n) << 16);
    finalisedPixels_ += n;
    if (finalisedPixels_ >= nextReport_) {
        reportProgress();
        nextReport_ = finalisedPixels_ + pixelCount_ / 100 + 1;
    }
}

void Splitter::reportProgress() const
{
    // The features are the first half of the work, the regions made final the second.
    progress_.update(static_cast<double>(pixelCount_) + static_cast<double>(finalisedPixels_), 2.0 * pixelCount_);
}

void Splitter::run()
{
    if (pixelCount_ == 0)
        return;
    takeMemory();
    computeFeatures();
    meanColor_.push_back(0); // labels start at 1

    // The first region is the whole picture.
    std::uint32_t k = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x)
            arena_[k++] = static_cast<std::uint32_t>(paddedIndex(x, y));
    }
    stack_.push_back({0, pixelCount_, -1});

    const auto minRegionSize = static_cast<std::uint32_t>(parameters_.minRegionSize);
    const std::int64_t minSplitPeak = parameters_.minSplitPeak;
    while (!stack_.empty()) {
        const Region region = stack_.back();
        stack_.pop_back();

        if (region.histogramSlot >= 0) {
            histograms_ = pool_[region.histogramSlot];
            freeSlots_.push_back(region.histogramSlot);
        }
        // A region of at most minRegionSize pixels is final whatever its histograms say.
        if (region.count > minRegionSize) {
            reportProgress();
            if (region.histogramSlot < 0) {
                for (auto& h : histograms_)
                    std::fill(h.begin(), h.end(), 0);
                addToHistograms(histograms_, &arena_[region.offset], region.count);
            }
            std::int64_t bestSize = -1;
            const int bestFeature = bestSplitFeature(region.count, bestSize);
            if (bestFeature != -1 && bestSize > minSplitPeak) {
                const HistogramClusters& clusters = clusters_[bestFeature];
                split(region, bestFeature, clusters.peak(clusters.largest()));
                continue;
            }
        }
        finalise(region);
    }
    paintPlanes();
}

int Splitter::bestSplitFeature(std::uint32_t regionSize, std::int64_t& bestSize)
{
    // The feature whose largest cluster holds most pixels, the first on ties.
    int bestFeature = -1;
    // Each feature is clustered on its own; the choice below reads them in order. Only
    // the first, large regions are worth starting threads for.
    const int threads = std::min(threadCount(), featureCount);
#pragma omp parallel for if (threads > 1 && regionSize >= (1u << 16)) num_threads(threads) schedule(static)
    for (int f = 0; f < featureCount; ++f)
        clusters_[f].cluster(histograms_[f].data(), featureBins[f], parameters_.gtWindow, f == hueFeature);
    for (int f = 0; f < featureCount; ++f) {
        HistogramClusters& clusters = clusters_[f];
        if (clusters.count() >= 2) {
            const std::int64_t mass = clusters.mass(clusters.largest());
            if (mass > bestSize) {
                bestSize = mass;
                bestFeature = f;
            }
        }
    }
    return bestFeature;
}

void Splitter::paintPlanes()
{
    // The features in the plane block are no longer read: each pixel gets its
    // label's mean colour.
    const std::uint32_t* labels = result_.labels.data();
    std::int32_t* red = result_.red();
    std::int32_t* green = result_.green();
    std::int32_t* blue = result_.blue();
    const std::uint32_t* mean = meanColor_.data();
    const auto w = static_cast<std::size_t>(width_);
    parallelRows(0, height_, rowsPerPiece(width_), [&](int y0, int y1) {
        for (std::size_t i = static_cast<std::size_t>(y0) * w; i < static_cast<std::size_t>(y1) * w; ++i) {
            const std::uint32_t c = mean[labels[i]];
            red[i] = static_cast<std::int32_t>(c & 0xFF);
            green[i] = static_cast<std::int32_t>((c >> 8) & 0xFF);
            blue[i] = static_cast<std::int32_t>(c >> 16);
        }
    });
}

} // namespace

std::unique_ptr<ImageSegmented> OPRecursiveHistogramSplitting::execute(const ImageRGB& source,
                                                                       const RhsParams& parameters,
                                                                       const ivra::Progress& progress) const
{
    checkParameter("GT window", parameters.gtWindow);
    checkParameter("minimum split peak", parameters.minSplitPeak);
    checkParameter("minimum region size", parameters.minRegionSize);
    const int width = source.width();
    const int height = source.height();
    if (width > BitImage32::maxSide || height > BitImage32::maxSide)
        throw std::length_error("recursive histogram splitting takes pictures of at most " +
                                std::to_string(BitImage32::maxSide) + " pixels per side, not " +
                                std::to_string(width) + " x " + std::to_string(height));

    auto result = std::make_unique<ImageSegmented>(width, height);
    copyLowBytes(source, result->sourcePixels.data());
    Splitter(*result, parameters, progress).run();
    return result;
}

std::unique_ptr<ImageSegmented> OPRecursiveHistogramSplitting::execute(const Image& source, const RhsParams& parameters,
                                                                       const ivra::Progress& progress) const
{
    const auto* image = dynamic_cast<const ImageRGB*>(&source);
    if (source.type() != TypeImageRGB || !image)
        throw UnacceptedInput("RHS", source.type());
    try {
        return execute(*image, parameters, progress);
    } catch (const std::bad_alloc&) {
        throw std::length_error("Not enough memory for recursive histogram splitting on a " +
                                std::to_string(source.width()) + " x " + std::to_string(source.height()) + " picture");
    }
}

std::string OPRecursiveHistogramSplitting::resultName(int run, const RhsParams& p)
{
    std::string name = "(";
    name += std::to_string(run);
    name += ") RHS [GT=";
    name += std::to_string(p.gtWindow);
    name += ", MinSplitPeak=";
    name += std::to_string(p.minSplitPeak);
    name += ", MinRegionSize=";
    name += std::to_string(p.minRegionSize);
    name += "]";
    return name;
}

} // namespace ivra
