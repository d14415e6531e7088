#include "OPRecursiveHistogramSplitting.h"

#include "image/LowBytes.h"
#include "HistogramClustering.h"
#include "RHSFeatures.h"
#include "image/BitImage32.h"
#include "util/ParallelRows.h"

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

// One run of the splitting. Pixels are addressed in a frame padded by one pixel on
// every side, so consecutive addresses of a region never run from one row into the
// next. Each region waiting on the stack is a sorted pixel list in a segment of its
// own of one arena; a split writes the pieces back into the segment of the region
// it cuts, so the arena never holds more than the picture's pixels.
class Splitter {
public:
    Splitter(const Array2D<RGB24>& source, const RhsParams& parameters, const ivra::Progress& progress)
        : source_(source), parameters_(parameters), progress_(progress), width_(source.width()),
          height_(source.height()), stride_(width_ + 2),
          pixelCount_(static_cast<std::uint32_t>(source.size()))
    {
    }

    void run(Array2D<std::uint32_t>& labels, Array2D<RGB24>& painted);

private:
    // The feature to split the current histograms by (-1: none has two clusters);
    // bestSize receives the pixel count of its largest cluster.
    int bestSplitFeature(std::uint32_t regionSize, std::int64_t& bestSize);
    // Labels and mean colours from the padded label plane into the result.
    void copyResult(Array2D<std::uint32_t>& labels, Array2D<RGB24>& painted) const;
    std::size_t paddedIndex(int x, int y) const
    {
        return static_cast<std::size_t>(y + 1) * static_cast<std::size_t>(stride_) + static_cast<std::size_t>(x) + 1;
    }

    void computeFeatures();
    void addToHistograms(HistogramSet& histograms, const std::uint32_t* pixels, std::uint32_t count) const;
    void countPixels(HistogramSet& histograms, const std::uint32_t* pixels, std::uint32_t count) const;
    void deriveLargestPiece(const Region& region, std::size_t firstPiece);
    void split(const Region& region, int feature, int peak);
    std::uint32_t findRun(std::uint32_t run);
    // Splits a sorted pixel set into runs joined by union-find, then writes each
    // 4-connected component contiguously to out and pushes it as a region.
    void linkRuns(const std::uint32_t* set, std::uint32_t count);
    void writeComponents(std::uint32_t* out, std::uint32_t outOffset);
    void extractComponents(const std::uint32_t* set, std::uint32_t count, std::uint32_t* out,
                           std::uint32_t outOffset);
    void finalise(const Region& region);
    void reportProgress() const;

    const Array2D<RGB24>& source_;
    const RhsParams& parameters_;
    const ivra::Progress& progress_;
    const int width_;
    const int height_;
    const int stride_;
    const std::uint32_t pixelCount_;
    std::size_t paddedSize_ = 0;

    std::unique_ptr<FeatureVector[]> features_;
    // The label of every final pixel, in the padded frame.
    std::unique_ptr<std::uint32_t[]> paddedLabels_;

    std::unique_ptr<std::uint32_t[]> arena_;
    std::unique_ptr<std::uint32_t[]> scratch_;
    std::vector<Region> stack_;
    // Component extraction: the horizontal runs of a pixel set, a union-find forest
    // over them and the component of every run.
    struct Run {
        std::uint32_t start;
        std::uint32_t length;
        std::uint32_t x0;
        std::uint32_t x1;
    };
    std::vector<Run> runs_;
    std::vector<std::uint32_t> runParent_;
    std::vector<std::uint32_t> runComponent_;
    std::vector<std::uint32_t> componentSizes_;

    HistogramSet histograms_{};
    // Histograms of pieces that were worked out at their parent's split, by
    // subtracting the other pieces from the parent; a few slots suffice.
    static constexpr std::size_t poolSlots = 32;
    std::vector<HistogramSet> pool_;
    std::vector<int> freeSlots_;
    std::array<HistogramClusters, featureCount> clusters_;

    std::uint32_t labelCounter_ = 0;
    std::vector<RGB24> meanColor_; // by label
    std::uint64_t finalisedPixels_ = 0;
    std::uint64_t nextReport_ = 0;
};

void Splitter::computeFeatures()
{
    features_ = std::make_unique_for_overwrite<FeatureVector[]>(paddedSize_);
    // Photographs repeat their colours: a small direct-mapped cache of recent
    // colours spares most of the conversions.
    struct CacheEntry {
        std::uint32_t color; // R, G, B packed, plus one; 0 marks an empty entry
        FeatureVector features;
    };
    constexpr int cacheBits = 14;
    // One cache per thread; a cache only spares work, so the features do not depend on it.
    std::vector<std::vector<CacheEntry>> caches(static_cast<std::size_t>(std::max(1, threadCount())));
    const auto rows = [&](int y0, int y1) {
        std::vector<CacheEntry>& cache = caches[static_cast<std::size_t>(omp_get_thread_num())];
        if (cache.empty())
            cache.assign(std::size_t{1} << cacheBits, CacheEntry{0, {}});
        for (int y = y0; y < y1; ++y) {
            FeatureVector* row = &features_[paddedIndex(0, y)];
            for (int x = 0; x < width_; ++x) {
                const RGB24 c = source_.at(x, y);
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
    const FeatureVector* features = features_.get();
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
        if (pool_.size() == poolSlots)
            return;
        pool_.emplace_back();
        freeSlots_.push_back(static_cast<int>(pool_.size() - 1));
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

std::uint32_t Splitter::findRun(std::uint32_t run)
{
    while (runParent_[run] != run) {
        runParent_[run] = runParent_[runParent_[run]];
        run = runParent_[run];
    }
    return run;
}

void Splitter::extractComponents(const std::uint32_t* set, std::uint32_t count, std::uint32_t* out,
                                 std::uint32_t outOffset)
{
    linkRuns(set, count);
    writeComponents(out, outOffset);
}

void Splitter::linkRuns(const std::uint32_t* set, std::uint32_t count)
{
    // The set is sorted in row-major order, so it falls into horizontal runs in
    // row-major order; runs of neighbouring rows that share a column are 4-connected.
    runs_.clear();
    runParent_.clear();
    const std::uint32_t stride = static_cast<std::uint32_t>(stride_);
    std::uint32_t row = 0;
    std::uint32_t rowBegin = 0;
    std::uint32_t rowEnd = 0;
    std::uint32_t previousFirst = 0; // runs of the row above: [previousFirst, previousEnd)
    std::uint32_t previousEnd = 0;
    std::uint32_t currentFirst = 0;  // runs of the current row start here
    std::uint32_t k = 0;
    while (k < count) {
        const std::uint32_t start = set[k];
        std::uint32_t end = start + 1;
        ++k;
        while (k < count && set[k] == end) {
            ++end;
            ++k;
        }
        if (start >= rowEnd) {
            const std::uint32_t newRow = start / stride;
            const auto thisRun = static_cast<std::uint32_t>(runs_.size());
            if (newRow == row + 1 && thisRun > 0) {
                previousFirst = currentFirst;
                previousEnd = thisRun;
            } else {
                previousFirst = previousEnd = thisRun;
            }
            currentFirst = thisRun;
            row = newRow;
            rowBegin = row * stride;
            rowEnd = rowBegin + stride;
        }
        const std::uint32_t x0 = start - rowBegin;
        const std::uint32_t x1 = end - rowBegin; // exclusive
        const auto index = static_cast<std::uint32_t>(runs_.size());
        runs_.push_back({start, end - start, x0, x1});
        runParent_.push_back(index);
        while (previousFirst < previousEnd && runs_[previousFirst].x1 <= x0)
            ++previousFirst;
        for (std::uint32_t above = previousFirst; above < previousEnd && runs_[above].x0 < x1; ++above) {
            // Union, keeping the earlier run as the root so a component's root is its first run.
            const std::uint32_t a = findRun(above);
            const std::uint32_t b = findRun(index);
            if (a < b)
                runParent_[b] = a;
            else if (b < a)
                runParent_[a] = b;
        }
    }
}

void Splitter::writeComponents(std::uint32_t* out, std::uint32_t outOffset)
{
    // Number the components in the order of their first run (= their first pixel),
    // then write each component's pixels contiguously, keeping row-major order.
    const auto runCount = static_cast<std::uint32_t>(runs_.size());
    runComponent_.resize(runCount);
    componentSizes_.clear();
    for (std::uint32_t r = 0; r < runCount; ++r) {
        const std::uint32_t root = findRun(r);
        if (root == r) {
            runComponent_[r] = static_cast<std::uint32_t>(componentSizes_.size());
            componentSizes_.push_back(0);
        } else {
            runComponent_[r] = runComponent_[root];
        }
        componentSizes_[runComponent_[r]] += runs_[r].length;
    }
    std::uint32_t position = 0;
    for (std::uint32_t& size : componentSizes_) {
        const std::uint32_t n = size;
        stack_.push_back({outOffset + position, n, -1});
        size = position; // from here on the write position of the component
        position += n;
    }
    for (std::uint32_t r = 0; r < runCount; ++r) {
        std::uint32_t& at = componentSizes_[runComponent_[r]];
        const Run& run = runs_[r];
        for (std::uint32_t i = 0; i < run.length; ++i)
            out[at + i] = run.start + i;
        at += run.length;
    }
}

void Splitter::split(const Region& region, int feature, int peak)
{
    const HistogramClusters& clusters = clusters_[feature];
    std::array<bool, maxFeatureBins> inA{};
    for (int bin = 0; bin < featureBins[feature]; ++bin)
        inA[bin] = clusters.root(bin) == peak;

    // The pixels of the peak's cluster (A) to the front of the scratch, the rest (B)
    // to its back, both in row-major order.
    const std::uint32_t* pixels = &arena_[region.offset];
    std::uint32_t* scratch = scratch_.get();
    std::uint32_t countA = 0;
    std::uint32_t back = region.count;
    const FeatureVector* features = features_.get();
    const int byte = feature == hueFeature ? -1
                                           : static_cast<int>(std::find(byteFeature.begin(), byteFeature.end(), feature) -
                                                              byteFeature.begin());
    for (std::uint32_t k = 0; k < region.count; ++k) {
        const FeatureVector& f = features[pixels[k]];
        const int value = byte < 0 ? f.hue : f.bytes[byte];
        if (inA[value])
            scratch[countA++] = pixels[k];
        else
            scratch[--back] = pixels[k];
    }
    std::reverse(scratch + countA, scratch + region.count);

    std::uint32_t* out = &arena_[region.offset];
    const std::size_t firstPiece = stack_.size();
    extractComponents(scratch, countA, out, region.offset);
    extractComponents(scratch + countA, region.count - countA, out + countA, region.offset + countA);
    deriveLargestPiece(region, firstPiece);
}

void Splitter::finalise(const Region& region)
{
    const std::uint32_t label = ++labelCounter_;
    std::uint64_t sum[3] = {0, 0, 0};
    const std::uint32_t* pixels = &arena_[region.offset];
    const FeatureVector* features = features_.get();
    std::uint32_t* paddedLabels = paddedLabels_.get();
    for (std::uint32_t k = 0; k < region.count; ++k) {
        const std::uint32_t p = pixels[k];
        // Features R, G, B are the source bytes.
        sum[0] += features[p].bytes[0];
        sum[1] += features[p].bytes[1];
        sum[2] += features[p].bytes[2];
        paddedLabels[p] = label;
    }
    const std::uint64_t n = region.count;
    meanColor_.push_back({static_cast<std::uint8_t>(sum[0] / n), static_cast<std::uint8_t>(sum[1] / n),
                           static_cast<std::uint8_t>(sum[2] / n)});
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

void Splitter::run(Array2D<std::uint32_t>& labels, Array2D<RGB24>& painted)
{
    if (pixelCount_ == 0)
        return;
    paddedSize_ = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_ + 2);
    computeFeatures();
    paddedLabels_ = std::make_unique_for_overwrite<std::uint32_t[]>(paddedSize_);
    arena_ = std::make_unique_for_overwrite<std::uint32_t[]>(pixelCount_);
    scratch_ = std::make_unique_for_overwrite<std::uint32_t[]>(pixelCount_);
    meanColor_.push_back({0, 0, 0}); // labels start at 1

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
    copyResult(labels, painted);
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

void Splitter::copyResult(Array2D<std::uint32_t>& labels, Array2D<RGB24>& painted) const
{
    const std::uint32_t* paddedLabels = paddedLabels_.get();
    parallelRows(0, height_, rowsPerPiece(width_), [&](int y0, int y1) {
        for (int y = y0; y < y1; ++y) {
            const std::uint32_t* row = paddedLabels + paddedIndex(0, y);
            for (int x = 0; x < width_; ++x) {
                labels.at(x, y) = row[x];
                painted.at(x, y) = meanColor_[row[x]];
            }
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

    Array2D<RGB24> painted(width, height);
    Splitter(result->sourcePixels, parameters, progress).run(result->labels, painted);

    copyToPlanes(painted.data(), *result);
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
