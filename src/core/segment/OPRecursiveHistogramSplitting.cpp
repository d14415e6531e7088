#include "OPRecursiveHistogramSplitting.h"

#include "HistogramClustering.h"
#include "RHSFeatures.h"
#include "RhsPieces.h"
#include "image/BitImage32.h"
#include "image/LowBytes.h"
#include "util/ParallelRows.h"
#include "util/ScratchBlock.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace ivra {

namespace {

using namespace ivra::rhs;

void checkParameter(const char* name, int value)
{
    if (value < RhsParams::minValue || value > RhsParams::maxValue)
        throw std::invalid_argument(std::string("recursive histogram splitting: ") + name + " " +
                                    std::to_string(value) + " is outside " +
                                    std::to_string(RhsParams::minValue) + ".." +
                                    std::to_string(RhsParams::maxValue));
}

// An entry of a subtree's list: a final region arena[offset .. offset + count), or
// with count 0 the subtree numbered offset.
struct Item {
    std::uint32_t offset;
    std::uint32_t count;
};
constexpr std::size_t chunkItems = 4096;

// A subtree of the splitting: a region and, in the order the sequential splitting
// makes them final, its final regions and the subtrees handed on to other workers,
// kept in chunks of the scratch block.
struct Subtree {
    Region region;
    std::unique_ptr<HistogramSet> histograms; // the region's, when its parent derived them
    std::vector<std::uint32_t> chunks;
    std::size_t items = 0;
};

// What one worker needs for the region at hand.
struct Worker {
    HistogramSet histograms{};
    std::array<HistogramClusters, featureCount> clusters;
    // Histograms of pieces worked out at their parent's split, by subtracting the
    // other pieces from the parent; a few slots suffice.
    static constexpr std::size_t poolSlots = 32;
    HistogramSet* pool = nullptr;
    std::size_t poolUsed = 0;
    std::vector<int> freeSlots;
    std::vector<Region> stack;
};

// One run of the splitting. Each region waiting on a stack is a sorted pixel list in
// a segment of its own of one arena; a split writes the pieces back into the segment
// of the region it cuts, so the arena never holds more than the picture's pixels and
// a final region's pixels stay where they are. Labels follow the order of a single
// stack (last piece first); with several threads large pieces become subtrees that
// any worker takes on, and the labels are numbered afterwards in that same order.
//
// Memory: the result's plane block (written last, from the labels) holds the
// features when they fit, and the rest is one scratch block of whole huge pages.
class Splitter {
public:
    Splitter(ImageSegmented& result, const RhsParams& parameters, const ivra::Progress& progress);

    void run();

private:
    void takeMemory();
    void process(Worker& worker, Subtree& subtree);
    void runWorkers();
    void addToHistograms(HistogramSet& histograms, const std::uint32_t* pixels, std::uint32_t count) const;
    // The feature to split the worker's histograms by (-1: none has two clusters);
    // bestSize receives the pixel count of its largest cluster.
    int bestSplitFeature(Worker& worker, std::int64_t& bestSize) const;
    void split(Worker& worker, const Region& region, int feature);
    void deriveLargestPiece(Worker& worker, const Region& region, std::size_t firstPiece) const;
    void handOn(Worker& worker, std::size_t firstPiece);
    void append(Subtree& subtree, Item item);
    void finalise(Subtree& subtree, const Region& region);
    void reportProgress() const;
    // The final regions in the order of the single stack; returns their count.
    std::size_t orderFinalRegions(Item* finals) const;
    // Labels into the result, and the mean colour of each label.
    void labelFinalRegions(const Item* finals, std::size_t count, std::uint32_t* colors) const;
    // Labels in the order of the single stack, then the result planes.
    void writeResult();

    ImageSegmented& result_;
    const RhsParams& parameters_;
    const ivra::Progress& progress_;
    const int width_;
    const int height_;
    const std::uint32_t pixelCount_;
    const int threads_;
    // Pieces of at least this many pixels become subtrees of their own (several threads only).
    const std::uint32_t subtreeSize_;

    ScratchBlock scratch_;
    LargeArray<FeatureVector> ownFeatures_; // when they do not fit into the plane block
    FeatureVector* features_ = nullptr;
    PieceCutter::Arrays arrays_{};
    Item* chunks_ = nullptr;
    std::atomic<std::uint32_t> chunksUsed_{0};
    std::vector<Worker> workers_;

    std::deque<Subtree> subtrees_; // stable addresses while growing
    std::vector<int> waiting_;      // subtrees no worker has taken yet
    int busy_ = 0;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::atomic<bool> stop_{false};
    std::exception_ptr error_;

    std::atomic<std::uint64_t> finalisedPixels_{0};
    std::uint64_t nextReport_ = 0;
};

Splitter::Splitter(ImageSegmented& result, const RhsParams& parameters, const ivra::Progress& progress)
    : result_(result), parameters_(parameters), progress_(progress), width_(result.width()),
      height_(result.height()), pixelCount_(static_cast<std::uint32_t>(result.pixelCount())),
      threads_(std::max(1, threadCount())),
      subtreeSize_(std::max<std::uint32_t>(1 << 13, static_cast<std::uint32_t>(parameters.minRegionSize) + 1))
{
}

void Splitter::takeMemory()
{
    const std::size_t paddedSize = static_cast<std::size_t>(width_ + 2) * static_cast<std::size_t>(height_ + 2);
    // A region of n pixels has at most n runs: the runs of a split fit into its segment.
    const std::size_t arena = scratch_.reserve<std::uint32_t>(pixelCount_);
    const std::size_t runs = scratch_.reserve<std::uint32_t>(2 * std::size_t{pixelCount_});
    const std::size_t parents = scratch_.reserve<std::uint32_t>(std::size_t{pixelCount_} + 1); // then colours by label
    const std::size_t components = scratch_.reserve<std::uint32_t>(pixelCount_);
    const std::size_t sizes = scratch_.reserve<std::uint32_t>(pixelCount_);
    const auto threads = static_cast<std::size_t>(threads_);
    const std::size_t pools = scratch_.reserve<HistogramSet>(threads * Worker::poolSlots);
    const std::size_t caches = scratch_.reserve<FeatureCacheEntry>(threads << featureCacheBits);
    // At most one item per pixel and per subtree, and one part-filled chunk per subtree.
    const std::size_t subtrees = 2 * (pixelCount_ / subtreeSize_) + 1;
    const std::size_t chunks = scratch_.reserve<Item>((pixelCount_ / chunkItems + 2 * subtrees + 2) * chunkItems);
    scratch_.allocate();
    chunks_ = scratch_.at<Item>(chunks);
    arrays_ = {scratch_.at<std::uint32_t>(arena), scratch_.at<std::uint32_t>(runs), scratch_.at<std::uint32_t>(parents),
               scratch_.at<std::uint32_t>(components), scratch_.at<std::uint32_t>(sizes)};
    workers_.resize(threads);
    for (std::size_t t = 0; t < threads; ++t)
        workers_[t].pool = scratch_.at<HistogramSet>(pools) + t * Worker::poolSlots;
    // The plane block is written last, from the labels and mean colours.
    if (paddedSize * sizeof(FeatureVector) <= 3 * result_.pixelCount() * sizeof(std::int32_t)) {
        features_ = reinterpret_cast<FeatureVector*>(result_.red());
    } else {
        ownFeatures_ = allocateLarge<FeatureVector>(paddedSize);
        features_ = ownFeatures_.get();
    }
    featureFrame(result_.sourcePixels.data(), width_, height_, features_, scratch_.at<FeatureCacheEntry>(caches),
                 progress_);
}

void Splitter::addToHistograms(HistogramSet& histograms, const std::uint32_t* pixels, std::uint32_t count) const
{
    // Large regions are counted by the threads into histograms of their own, added
    // up afterwards (integer sums: any order gives the same counts); not by a worker
    // of several, whose fellows are busy with regions of their own.
    constexpr std::uint32_t piece = 1 << 15;
    if (count >= 2 * piece && threads_ > 1 && !omp_in_parallel()) {
        std::vector<HistogramSet> partial(static_cast<std::size_t>(threads_));
        for (HistogramSet& set : partial)
            for (auto& h : set)
                std::fill(h.begin(), h.end(), 0);
        const int pieces = static_cast<int>((count - 1) / piece + 1);
        parallelRows(0, pieces, 1, [&](int p0, int p1) {
            const std::uint32_t begin = static_cast<std::uint32_t>(p0) * piece;
            const std::uint32_t end = std::min(count, static_cast<std::uint32_t>(p1) * piece);
            countPixels(partial[static_cast<std::size_t>(omp_get_thread_num())], features_, pixels + begin,
                        end - begin);
        });
        for (const HistogramSet& set : partial)
            for (int f = 0; f < featureCount; ++f)
                for (int b = 0; b < maxFeatureBins; ++b)
                    histograms[f][b] += set[f][b];
        return;
    }
    countPixels(histograms, features_, pixels, count);
}

int Splitter::bestSplitFeature(Worker& worker, std::int64_t& bestSize) const
{
    // The feature whose largest cluster holds most pixels, the first on ties.
    int bestFeature = -1;
    // Clustering a few hundred bins takes microseconds: not worth waking threads for.
    for (int f = 0; f < featureCount; ++f)
        worker.clusters[f].cluster(worker.histograms[f].data(), featureBins[f], parameters_.gtWindow,
                                   f == hueFeature);
    for (int f = 0; f < featureCount; ++f) {
        const HistogramClusters& clusters = worker.clusters[f];
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

void Splitter::split(Worker& worker, const Region& region, int feature)
{
    const HistogramClusters& clusters = worker.clusters[feature];
    const int peak = clusters.peak(clusters.largest());
    std::array<bool, maxFeatureBins> inA{};
    std::uint32_t countA = 0; // from the region's histogram of the feature
    for (int bin = 0; bin < featureBins[feature]; ++bin) {
        inA[bin] = clusters.root(bin) == peak;
        countA += inA[bin] ? static_cast<std::uint32_t>(worker.histograms[feature][bin]) : 0;
    }
    const std::size_t firstPiece = worker.stack.size();
    PieceCutter(features_, arrays_, width_ + 2).cut(region, feature, inA, countA, worker.stack);
    deriveLargestPiece(worker, region, firstPiece);
    if (threads_ > 1)
        handOn(worker, firstPiece);
}

void Splitter::deriveLargestPiece(Worker& worker, const Region& region, std::size_t firstPiece) const
{
    // The histograms of the largest piece are those of the region less those of the
    // other pieces: cheaper to count whenever the largest piece is over half the region.
    std::vector<Region>& stack = worker.stack;
    std::size_t largest = firstPiece;
    for (std::size_t k = firstPiece + 1; k < stack.size(); ++k) {
        if (stack[k].count > stack[largest].count)
            largest = k;
    }
    Region& piece = stack[largest];
    const std::uint64_t rest = region.count - piece.count;
    if (piece.count <= static_cast<std::uint32_t>(parameters_.minRegionSize) ||
        piece.count < rest + region.count / 8)
        return;
    if (worker.freeSlots.empty()) {
        if (worker.poolUsed == Worker::poolSlots)
            return;
        worker.freeSlots.push_back(static_cast<int>(worker.poolUsed++));
    }
    const int slot = worker.freeSlots.back();
    worker.freeSlots.pop_back();
    HistogramSet& others = worker.pool[slot];
    for (auto& h : others)
        std::fill(h.begin(), h.end(), 0);
    const std::uint32_t* arena = arrays_.arena;
    addToHistograms(others, arena + region.offset, piece.offset - region.offset);
    const std::uint32_t after = piece.offset + piece.count;
    addToHistograms(others, arena + after, region.offset + region.count - after);
    for (int f = 0; f < featureCount; ++f) {
        for (int b = 0; b < featureBins[f]; ++b)
            others[f][b] = worker.histograms[f][b] - others[f][b];
    }
    piece.histogramSlot = slot;
}

void Splitter::handOn(Worker& worker, std::size_t firstPiece)
{
    // Large pieces become subtrees that any worker may take; a stand-in keeps their
    // place on the stack. Only splits into two large pieces or more hand any on: a
    // chain of splits that each leave one large piece would make a subtree per split,
    // this way there are fewer than 2 * pixels / subtreeSize_ of them.
    const auto large = std::count_if(worker.stack.begin() + static_cast<std::ptrdiff_t>(firstPiece),
                                     worker.stack.end(), [&](const Region& r) { return r.count >= subtreeSize_; });
    if (large < 2)
        return;
    for (std::size_t k = firstPiece; k < worker.stack.size(); ++k) {
        Region& piece = worker.stack[k];
        if (piece.count < subtreeSize_)
            continue;
        std::unique_ptr<HistogramSet> histograms;
        if (piece.histogramSlot >= 0) {
            histograms = std::make_unique<HistogramSet>(worker.pool[piece.histogramSlot]);
            worker.freeSlots.push_back(piece.histogramSlot);
        }
        std::lock_guard<std::mutex> lock(mutex_);
        const int id = static_cast<int>(subtrees_.size());
        subtrees_.push_back({{piece.offset, piece.count}, std::move(histograms), {}, 0});
        waiting_.push_back(id);
        piece = {0, 0, -1, id};
        wake_.notify_one();
    }
}

void Splitter::process(Worker& worker, Subtree& subtree)
{
    std::vector<Region>& stack = worker.stack;
    stack.clear();
    Region root = subtree.region;
    if (subtree.histograms) {
        worker.histograms = *subtree.histograms;
        subtree.histograms.reset();
        root.histogramSlot = histogramsReady;
    }
    stack.push_back(root);
    const auto minRegionSize = static_cast<std::uint32_t>(parameters_.minRegionSize);
    const std::int64_t minSplitPeak = parameters_.minSplitPeak;
    while (!stack.empty() && !stop_.load(std::memory_order_relaxed)) {
        const Region region = stack.back();
        stack.pop_back();
        if (region.subtree >= 0) {
            append(subtree, {static_cast<std::uint32_t>(region.subtree), 0});
            continue;
        }
        if (region.histogramSlot >= 0) {
            worker.histograms = worker.pool[region.histogramSlot];
            worker.freeSlots.push_back(region.histogramSlot);
        }
        // A region of at most minRegionSize pixels is final whatever its histograms say.
        if (region.count > minRegionSize) {
            reportProgress();
            if (region.histogramSlot == -1) {
                for (auto& h : worker.histograms)
                    std::fill(h.begin(), h.end(), 0);
                addToHistograms(worker.histograms, arrays_.arena + region.offset, region.count);
            }
            std::int64_t bestSize = -1;
            const int bestFeature = bestSplitFeature(worker, bestSize);
            if (bestFeature != -1 && bestSize > minSplitPeak) {
                split(worker, region, bestFeature);
                continue;
            }
        }
        finalise(subtree, region);
    }
}

void Splitter::runWorkers()
{
    // Each worker takes waiting subtrees until none waits and none is being worked
    // on (which could hand on more).
#pragma omp parallel num_threads(threads_)
    {
        Worker& worker = workers_[static_cast<std::size_t>(omp_get_thread_num())];
        std::unique_lock<std::mutex> lock(mutex_);
        while (true) {
            wake_.wait(lock, [&] { return stop_ || !waiting_.empty() || busy_ == 0; });
            if (stop_ || waiting_.empty())
                break;
            Subtree& subtree = subtrees_[static_cast<std::size_t>(waiting_.back())];
            waiting_.pop_back();
            ++busy_;
            lock.unlock();
            std::exception_ptr failure;
            try {
                process(worker, subtree);
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            --busy_;
            if (failure && !error_) {
                error_ = failure;
                stop_ = true;
            }
            if (stop_ || busy_ == 0)
                wake_.notify_all();
        }
    }
    if (error_)
        std::rethrow_exception(error_);
}

void Splitter::append(Subtree& subtree, Item item)
{
    if (subtree.items % chunkItems == 0)
        subtree.chunks.push_back(chunksUsed_.fetch_add(1, std::memory_order_relaxed));
    chunks_[subtree.chunks.back() * chunkItems + subtree.items % chunkItems] = item;
    ++subtree.items;
}

void Splitter::finalise(Subtree& subtree, const Region& region)
{
    append(subtree, {region.offset, region.count});
    const std::uint64_t done = finalisedPixels_.fetch_add(region.count, std::memory_order_relaxed) + region.count;
    if (omp_get_thread_num() == 0 && done >= nextReport_) {
        reportProgress();
        nextReport_ = done + pixelCount_ / 100 + 1;
    }
}

void Splitter::reportProgress() const
{
    // The features are the first half of the work, the regions made final the
    // second. Only the calling thread reports.
    if (omp_get_thread_num() == 0)
        progress_.update(static_cast<double>(pixelCount_) +
                             static_cast<double>(finalisedPixels_.load(std::memory_order_relaxed)),
                         2.0 * pixelCount_);
}

std::size_t Splitter::orderFinalRegions(Item* finals) const
{
    // The root's list, each subtree's list in place of its stand-in.
    std::size_t count = 0;
    std::vector<std::pair<std::size_t, std::size_t>> path{{0, 0}}; // subtree, next item
    while (!path.empty()) {
        const auto [id, next] = path.back();
        const Subtree& subtree = subtrees_[id];
        if (next == subtree.items) {
            path.pop_back();
            continue;
        }
        ++path.back().second;
        const Item item = chunks_[subtree.chunks[next / chunkItems] * chunkItems + next % chunkItems];
        if (item.count == 0)
            path.push_back({item.offset, 0});
        else
            finals[count++] = item;
    }
    return count;
}

void Splitter::labelFinalRegions(const Item* finals, std::size_t count, std::uint32_t* colors) const
{
    // Label k + 1 for the k-th; its mean colour from the features, still in place.
    colors[0] = 0;
    std::uint32_t* labels = result_.labels.data();
    const auto stride = static_cast<std::uint32_t>(width_ + 2);
    parallelRows(0, static_cast<int>(count), 1 << 10, [&](int k0, int k1) {
        for (int k = k0; k < k1; ++k) {
            const Item region = finals[k];
            const std::uint32_t* pixels = arrays_.arena + region.offset;
            std::uint64_t sum[3] = {0, 0, 0};
            // Pixel p of the padded frame in row y + 1 is p - stride - 1 - 2 * y unpadded.
            std::uint32_t rowEnd = 0;
            std::uint32_t shift = 0;
            for (std::uint32_t i = 0; i < region.count; ++i) {
                const std::uint32_t p = pixels[i];
                if (p >= rowEnd) {
                    const std::uint32_t row = p / stride;
                    rowEnd = (row + 1) * stride;
                    shift = stride + 1 + 2 * (row - 1);
                }
                const FeatureVector& f = features_[p]; // features R, G, B are the source bytes
                sum[0] += f.bytes[0];
                sum[1] += f.bytes[1];
                sum[2] += f.bytes[2];
                labels[p - shift] = static_cast<std::uint32_t>(k) + 1;
            }
            const std::uint64_t n = region.count;
            colors[k + 1] = static_cast<std::uint32_t>(sum[0] / n) | static_cast<std::uint32_t>(sum[1] / n) << 8 |
                            static_cast<std::uint32_t>(sum[2] / n) << 16;
        }
    });
}

void Splitter::writeResult()
{
    // The final regions in the order of a single stack go where the runs were, the
    // colours by label where the run forest was.
    Item* finals = reinterpret_cast<Item*>(arrays_.runs);
    std::uint32_t* colors = arrays_.runParent; // R | G << 8 | B << 16
    labelFinalRegions(finals, orderFinalRegions(finals), colors);
    // The features in the plane block are read no more: each pixel gets its label's colour.
    const std::uint32_t* labels = result_.labels.data();
    std::int32_t* red = result_.red();
    std::int32_t* green = result_.green();
    std::int32_t* blue = result_.blue();
    const auto w = static_cast<std::size_t>(width_);
    parallelRows(0, height_, rowsPerPiece(width_), [&](int y0, int y1) {
        for (std::size_t i = static_cast<std::size_t>(y0) * w; i < static_cast<std::size_t>(y1) * w; ++i) {
            const std::uint32_t c = colors[labels[i]];
            red[i] = static_cast<std::int32_t>(c & 0xFF);
            green[i] = static_cast<std::int32_t>((c >> 8) & 0xFF);
            blue[i] = static_cast<std::int32_t>(c >> 16);
        }
    });
}

void Splitter::run()
{
    if (pixelCount_ == 0)
        return;
    takeMemory();
    // The first region is the whole picture, taken on by the calling thread (which
    // counts its histograms with all threads); what it hands on, by all workers.
    std::uint32_t* arena = arrays_.arena;
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t rowStart = static_cast<std::uint32_t>(y + 1) * static_cast<std::uint32_t>(width_ + 2) + 1;
        for (int x = 0; x < width_; ++x)
            *arena++ = rowStart + static_cast<std::uint32_t>(x);
    }
    subtrees_.push_back({{0, pixelCount_}, nullptr, {}, 0});
    process(workers_[0], subtrees_[0]);
    if (!waiting_.empty())
        runWorkers();
    writeResult();
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
