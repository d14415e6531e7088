#include "OPSplitAndMerge.h"

#include "image/LowBytes.h"
#include "BlockSums.h"
#include "QuadTree.h"
#include "util/MessageSink.h"
#include "util/ScratchArena.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace ivra {

namespace {

constexpr std::uint32_t noRegion = 0xFFFFFFFFu;

// The quadtree of a thin picture covers a square far larger than the picture.
// Up to this side it stays small whatever the shape; beyond it, it may hold at
// most this many nodes per pixel (a square-ish picture needs at most 16/3).
constexpr int alwaysAcceptedSide = 2048;
constexpr std::size_t maxNodesPerPixel = 8;

void say(const std::string& text)
{
    ivra::MessageSink::instance().message(text);
}

void checkPicture(int width, int height)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("split-and-merge needs a picture of at least one pixel");
    const std::size_t nodes = QuadTree::nodeCountFor(width, height);
    const std::size_t pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (QuadTree::sizeFor(width, height) > alwaysAcceptedSide && nodes > maxNodesPerPixel * pixels)
        throw std::length_error("split-and-merge: the quadtree over a " + std::to_string(width) + " x " +
                                std::to_string(height) + " picture would need " + std::to_string(nodes) +
                                " nodes; pictures this elongated are refused (at most " +
                                std::to_string(maxNodesPerPixel) + " nodes per pixel beyond sides of " +
                                std::to_string(alwaysAcceptedSide) + ")");
}

// Inclusive pixel rectangle a region started from.
struct Block {
    std::int16_t y0, y1, x0, x1;
};

struct Mean {
    double c[3];
};

class Segmenter {
public:
    // The arena lends the working arrays.
    Segmenter(const Array2D<RGB24>& pixels, Array2D<std::uint32_t>& labels, double splitThreshold,
              double mergeThreshold, double groupThreshold, const ivra::Progress& progress, ScratchArena& arena)
        : labels_(labels), width_(pixels.width()), height_(pixels.height()),
          splitThreshold_(splitThreshold), mergeThreshold_(mergeThreshold), groupThreshold_(groupThreshold),
          progress_(progress), arena_(arena), tree_(width_, height_, arena), maxLevel_(tree_.GetMaxLevel()),
          sums_(pixels, tree_.size(), maxLevel_, arena), totalWork_(3.0 * maxLevel_ + 2.0 + width_)
    {
    }

    void run()
    {
        say("split...");
        split();
        say("merge...");
        merge();
        extract();
        say("Grouping...");
        group();
    }

    RGB24* regionColor = nullptr; // by region number

private:
    void step() { progress_.update(++done_, totalWork_); }

    std::int64_t clippedCount(const QuadNode& n, int level) const
    {
        const int side = tree_.side(level);
        const std::int64_t w = std::min(n.x + side, width_) - n.x;
        const std::int64_t h = std::min(n.y + side, height_) - n.y;
        return w * h;
    }

    // A block is tested only when it starts before the last column and row.
    bool startsInside(const QuadNode& n) const { return n.x < width_ - 1 && n.y < height_ - 1; }

    Mean mean(const QuadNode& n, int level) const
    {
        const ChannelSums s = sums_.at(level, n.x, n.y);
        const double count = static_cast<double>(clippedCount(n, level));
        return {{s.sum[0] / count, s.sum[1] / count, s.sum[2] / count}};
    }

    bool homogeneous(const QuadNode& n, int level) const
    {
        const std::int64_t count = clippedCount(n, level);
        if (count == 1)
            return true; // a single pixel has no variance, even against a threshold of 0
        const ChannelSums s = sums_.at(level, n.x, n.y);
        const double d = static_cast<double>(count);
        double variance = 0.0;
        for (int c = 0; c < 3; ++c) {
            const double m = s.sum[c] / d;
            variance += s.squares[c] / d - m * m;
        }
        return variance < splitThreshold_;
    }

    // Top-down: blocks below a whole one are whole and not made; the others are
    // tested (those starting in the last row or column, or outside, stay whole).
    void split()
    {
        for (int level = 0; level <= maxLevel_; ++level) {
            if (level > 0)
                tree_.addChildren(level - 1, arena_);
            QuadNode* nodes = tree_.nodes(level);
            const std::size_t count = tree_.count(level);
            for (std::size_t k = 0; k < count; ++k) {
                QuadNode& n = nodes[k];
                n.state = !startsInside(n) || homogeneous(n, level) ? QuadTree::whole : QuadTree::split;
            }
            step();
        }
    }

    // Bottom-up: a sibling group whose first member was split merges into its
    // parent when each neighbouring pair of valid siblings (TR-BL, BL-BR, BR-TL,
    // TL-TR) has mean colours closer than the merge threshold. Merging marks the
    // parent whole; extract() then never descends below it.
    void merge()
    {
        for (int level = maxLevel_; level >= 1; --level) {
            const QuadNode* nodes = tree_.nodes(level);
            const std::size_t count = tree_.count(level);
            for (std::size_t k = 0; k < count; k += 4) {
                if (nodes[k].state != QuadTree::split)
                    continue;
                bool valid[4];
                Mean means[4];
                for (int j = 0; j < 4; ++j) {
                    const QuadNode& n = nodes[k + j];
                    valid[j] = startsInside(n);
                    if (valid[j])
                        means[j] = mean(n, level);
                }
                bool close = true;
                for (int j = 0; j < 4 && close; ++j) {
                    const int o = (j + 1) % 4;
                    if (!valid[j] || !valid[o])
                        continue;
                    double distance = 0.0;
                    for (int c = 0; c < 3; ++c)
                        distance += std::fabs(means[j].c[c] - means[o].c[c]);
                    close = distance < mergeThreshold_;
                }
                if (close)
                    tree_.parentOf(level, k / 4).state = QuadTree::whole;
            }
            step();
        }
    }

    // The maximal whole blocks inside the picture become regions 0, 1, ... in level
    // and index order. They cover the picture, each pixel once. Grouping walks them
    // in column-major order, so they are kept in that order from here on (their
    // numbers beside them) and the labels hold positions in it until the end:
    // neighbouring regions then lie close in memory.
    void extract()
    {
        say("Leaving quadtree...");
        say("QuadTree.GetMaxLevel() " + std::to_string(maxLevel_));
        countRegions();
        allocateRegions();
        const ScratchArena::Mark mark = arena_.mark();
        const Taken* taken = takeRegions();
        const std::uint32_t* order = columnMajorOrder(taken);
        // Filled by number, in tree order, which keeps the picture and the block sums local.
        std::uint32_t* position = arena_.take<std::uint32_t>(regions_);
        for (std::uint32_t o = 0; o < regions_; ++o)
            position[order[o]] = o;
        for (std::uint32_t r = 0; r < regions_; ++r)
            addRegion(position[r], r, taken[r]);
        arena_.rewind(mark);
    }

    struct Taken {
        std::int16_t x, y;
        std::uint8_t level;
    };

    // Taken: whole blocks inside the picture whose parent was split; the children of
    // a block merged whole, or below one, are marked below it.
    void countRegions()
    {
        if (tree_.nodes(0)[0].state == QuadTree::whole) {
            regions_ = 1;
            return;
        }
        for (int level = 1; level <= maxLevel_; ++level) {
            QuadNode* nodes = tree_.nodes(level);
            const std::size_t count = tree_.count(level);
            for (std::size_t k = 0; k < count; k += 4) {
                const bool open = tree_.parentOf(level, k / 4).state == QuadTree::split;
                for (std::size_t j = k; j < k + 4; ++j) {
                    QuadNode& n = nodes[j];
                    if (!open)
                        n.state = QuadTree::belowWhole;
                    else if (n.state == QuadTree::whole && n.x < width_ && n.y < height_)
                        ++regions_;
                }
            }
        }
    }

    // The regions by number.
    const Taken* takeRegions()
    {
        Taken* taken = arena_.take<Taken>(regions_);
        if (tree_.nodes(0)[0].state == QuadTree::whole) {
            for (int level = 0; level <= maxLevel_; ++level)
                step();
            taken[0] = {0, 0, 0};
            return taken;
        }
        std::size_t added = 0;
        step(); // level 0: the root is not whole, so it is no region
        for (int level = 1; level <= maxLevel_; ++level) {
            const QuadNode* nodes = tree_.nodes(level);
            const std::size_t count = tree_.count(level);
            for (std::size_t k = 0; k < count; ++k) {
                const QuadNode& n = nodes[k];
                if (n.state == QuadTree::whole && n.x < width_ && n.y < height_)
                    taken[added++] = {n.x, n.y, static_cast<std::uint8_t>(level)};
            }
            step();
        }
        return taken;
    }

    // Region numbers sorted by the top-left pixel of their block, column-major (two
    // stable counting sorts: by row, then by column).
    const std::uint32_t* columnMajorOrder(const Taken* taken)
    {
        const auto count = static_cast<std::uint32_t>(regions_);
        std::uint32_t* byRow = arena_.take<std::uint32_t>(count);
        std::uint32_t* order = arena_.take<std::uint32_t>(count);
        std::uint32_t* start = arena_.take<std::uint32_t>(static_cast<std::size_t>(std::max(width_, height_)) + 1);
        const auto countingSort = [&](const std::uint32_t* in, std::uint32_t* out, std::int16_t Taken::*key, int keys) {
            std::fill_n(start, keys + 1, 0u);
            for (std::uint32_t k = 0; k < count; ++k)
                ++start[static_cast<std::size_t>(taken[in[k]].*key) + 1];
            for (int k = 0; k < keys; ++k)
                start[k + 1] += start[k];
            for (std::uint32_t k = 0; k < count; ++k)
                out[start[static_cast<std::size_t>(taken[in[k]].*key)]++] = in[k];
        };
        for (std::uint32_t r = 0; r < count; ++r)
            order[r] = r;
        countingSort(order, byRow, &Taken::y, height_);
        countingSort(byRow, order, &Taken::x, width_);
        return order;
    }

    void allocateRegions()
    {
        regionColor = colorArena_.take<RGB24>(regions_);
        number_ = arena_.take<std::uint32_t>(regions_);
        color_ = arena_.take<RGB24>(regions_);
        area_ = arena_.take<std::uint32_t>(regions_);
        block_ = arena_.take<Block>(regions_);
    }

    // Region `number` at position o of the column-major order.
    void addRegion(std::uint32_t o, std::uint32_t number, const Taken& t)
    {
        const QuadNode n{t.x, t.y, QuadTree::whole};
        const int side = tree_.side(t.level);
        const Block b{n.y, static_cast<std::int16_t>(std::min(n.y + side, height_) - 1), n.x,
                      static_cast<std::int16_t>(std::min(n.x + side, width_) - 1)};
        const std::int64_t count = clippedCount(n, t.level);
        const ChannelSums s = sums_.at(t.level, n.x, n.y);
        number_[o] = number;
        color_[o] = {static_cast<std::uint8_t>(s.sum[0] / count), static_cast<std::uint8_t>(s.sum[1] / count),
                     static_cast<std::uint8_t>(s.sum[2] / count)};
        area_[o] = static_cast<std::uint32_t>(count);
        block_[o] = b;
        const auto label = static_cast<std::uint32_t>(o);
        for (int y = b.y0; y <= b.y1; ++y)
            std::fill(&labels_.at(b.x0, y), &labels_.at(b.x1, y) + 1, label);
    }

    static int distance(const RGB24& a, const RGB24& b)
    {
        return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }

    // Grouping: each region, in the column-major order of its first pixel,
    // absorbs the regions that bordered it when it was reached, nearest colour
    // first, the lower number on a tie.
    //
    // A region is reached before it absorbs anything, so at that moment its pixels
    // are exactly its starting block: its first pixel in column-major order is the
    // block's top-left one, and its neighbours are the regions of the pixels just
    // outside the block. An absorbed region is forwarded to its absorber rather
    // than relabelled pixel by pixel: on smooth areas regions that have absorbed
    // others are absorbed in turn again and again, and relabelling them each time
    // grows quadratically. Regions stay 4-connected (each absorbs only regions it
    // borders), so resolving the forwarding once at the end gives the same labels
    // as flood-filling every absorbed region with its absorber's number.
    void group()
    {
        const std::size_t count = regions_;
        int column = 0;
        if (count > 0) {
            owner_ = arena_.take<std::uint32_t>(count);
            seen_ = arena_.take<std::uint32_t>(count);
            for (std::size_t r = 0; r < count; ++r) {
                owner_[r] = static_cast<std::uint32_t>(r);
                seen_[r] = noRegion;
            }
            for (std::uint32_t i = 0; i < count; ++i) {
                for (; column < block_[i].x0; ++column)
                    step();
                if (owner_[i] != i)
                    continue; // absorbed before it was reached
                collectNeighbours(i);
                absorbNeighbours(i);
            }
            resolveLabels();
        }
        for (; column < width_; ++column)
            step();
    }

    std::uint32_t find(std::uint32_t r)
    {
        while (owner_[r] != r) {
            owner_[r] = owner_[owner_[r]];
            r = owner_[r];
        }
        return r;
    }

    // The distinct regions of the pixels just outside region i's block.
    void collectNeighbours(std::uint32_t i)
    {
        const Block& b = block_[i];
        candidates_.clear();
        // Runs of pixels along an edge mostly share a label: look each run up once.
        std::uint32_t previous = noRegion;
        const auto add = [&](std::uint32_t label) {
            if (label == previous)
                return;
            previous = label;
            const std::uint32_t r = find(label);
            if (seen_[r] != i) {
                seen_[r] = i;
                candidates_.push_back({r, number_[r], color_[r]});
            }
        };
        if (b.y0 > 0)
            for (int x = b.x0; x <= b.x1; ++x)
                add(labels_.at(x, b.y0 - 1));
        if (b.y1 < height_ - 1)
            for (int x = b.x0; x <= b.x1; ++x)
                add(labels_.at(x, b.y1 + 1));
        if (b.x0 > 0)
            for (int y = b.y0; y <= b.y1; ++y)
                add(labels_.at(b.x0 - 1, y));
        if (b.x1 < width_ - 1)
            for (int y = b.y0; y <= b.y1; ++y)
                add(labels_.at(b.x1 + 1, y));
    }

    void absorbNeighbours(std::uint32_t i)
    {
        std::vector<Candidate>& candidates = candidates_;
        for (;;) {
            const RGB24 own = color_[i];
            std::size_t best = candidates.size();
            int bestDistance = 0;
            for (std::size_t m = 0; m < candidates.size(); ++m) {
                const int d = distance(own, candidates[m].color);
                if (static_cast<double>(d) < groupThreshold_ &&
                    (best == candidates.size() || d < bestDistance ||
                     (d == bestDistance && candidates[m].number < candidates[best].number))) {
                    best = m;
                    bestDistance = d;
                }
            }
            if (best == candidates.size())
                return;
            const std::uint32_t r = candidates[best].region;
            color_[i] = OPSplitAndMerge::areaWeightedMean(own, area_[i], candidates[best].color, area_[r]);
            area_[i] += area_[r];
            area_[r] = 0;
            owner_[r] = i;
            candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(best));
        }
    }

    // Labels become the numbers of the regions that absorbed them; regionColor by number.
    void resolveLabels()
    {
        for (std::uint32_t r = 0; r < regions_; ++r)
            owner_[r] = find(r);
        for (std::uint32_t r = 0; r < regions_; ++r) {
            regionColor[number_[r]] = color_[r];
            owner_[r] = number_[owner_[r]];
        }
        std::uint32_t* labels = labels_.data();
        const std::size_t count = labels_.size();
        for (std::size_t p = 0; p < count; ++p)
            labels[p] = owner_[labels[p]];
    }

    struct Candidate {
        std::uint32_t region;
        std::uint32_t number;
        RGB24 color;
    };

    Array2D<std::uint32_t>& labels_;
    int width_;
    int height_;
    double splitThreshold_;
    double mergeThreshold_;
    double groupThreshold_;
    const ivra::Progress& progress_;
    ScratchArena& arena_;
    QuadTree tree_;
    int maxLevel_;
    BlockSums sums_;
    double totalWork_;
    double done_ = 0;
    // Regions by their position in column-major order.
    std::size_t regions_ = 0;
    std::uint32_t* number_ = nullptr;
    RGB24* color_ = nullptr;
    std::uint32_t* area_ = nullptr; // pictures hold fewer than 2^30 pixels
    Block* block_ = nullptr;
    std::uint32_t* owner_ = nullptr; // region each region was absorbed into (itself when not)
    std::uint32_t* seen_ = nullptr;  // the region whose neighbour it was last found to be
    std::vector<Candidate> candidates_;
    ScratchArena colorArena_{nullptr, 0}; // outlives the lent block: painting reads it
};

} // namespace

RGB24 OPSplitAndMerge::areaWeightedMean(RGB24 a, std::int64_t areaA, RGB24 b, std::int64_t areaB)
{
    const std::int64_t total = areaA + areaB;
    const auto mix = [&](std::uint8_t ca, std::uint8_t cb) {
        return static_cast<std::uint8_t>((ca * areaA + cb * areaB) / total);
    };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

std::unique_ptr<ImageSegmented> OPSplitAndMerge::execute(const ImageRGB& source, double splitThreshold,
                                                         double mergeThreshold, double groupThreshold,
                                                         const ivra::Progress& progress) const
{
    const int width = source.width();
    const int height = source.height();
    checkPicture(width, height);

    auto result = std::make_unique<ImageSegmented>(width, height);
    copyLowBytes(source, result->sourcePixels.data());
    const std::size_t count = result->pixelCount();

    // The result planes are written last: until then they hold the working arrays.
    ScratchArena arena(result->red(), 3 * count * sizeof(std::int32_t));
    Segmenter segmenter(result->sourcePixels, result->labels, splitThreshold, mergeThreshold, groupThreshold, progress,
                        arena);
    segmenter.run();

    const std::uint32_t* labels = result->labels.data();
    std::int32_t* outR = result->red();
    std::int32_t* outG = result->green();
    std::int32_t* outB = result->blue();
    for (std::size_t i = 0; i < count; ++i) {
        const RGB24 c = segmenter.regionColor[labels[i]];
        outR[i] = c.r;
        outG[i] = c.g;
        outB[i] = c.b;
    }
    return result;
}

std::unique_ptr<ImageSegmented> OPSplitAndMerge::execute(const Image& source, const SplitAndMergeParams& params,
                                                         const ivra::Progress& progress) const
{
    if (source.type() != TypeImageRGB)
        throw UnacceptedInput("Split-and-merge", source.type());
    try {
        return execute(static_cast<const ImageRGB&>(source), params.split, params.merge, params.group, progress);
    } catch (const std::bad_alloc&) {
        throw std::length_error("Not enough memory for split-and-merge on a " + std::to_string(source.width()) +
                                " x " + std::to_string(source.height()) + " picture");
    }
}

std::string OPSplitAndMerge::resultName(int run, const SplitAndMergeParams& params)
{
    std::string name = "(";
    name.append(std::to_string(run)).append(") SMG [Split=").append(std::to_string(params.split));
    name.append(", Merge=").append(std::to_string(params.merge)).append(", Group=").append(std::to_string(params.group));
    return name.append("]");
}

} // namespace ivra
