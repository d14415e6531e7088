#include "OPSplitAndMerge.h"

#include "BlockSums.h"
#include "QuadTree.h"
#include "image/CBitImage32.h"
#include "util/CMessageHandler.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t noRegion = 0xFFFFFFFFu;

// The quadtree of a thin picture covers a square far larger than the picture.
// Up to this side it stays small whatever the shape; beyond it, it may hold at
// most this many nodes per pixel (a square-ish picture needs at most 16/3).
constexpr int alwaysAcceptedSide = 2048;
constexpr std::size_t maxNodesPerPixel = 8;

void say(const std::string& text)
{
    tools::CMessageHandler::instance().message(text);
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

struct Point {
    int x;
    int y;
};

// Inclusive pixel rectangle a region started from.
struct Block {
    int y0, y1, x0, x1;
};

struct Mean {
    double c[3];
};

class Segmenter {
public:
    Segmenter(const Array2D<RGB24>& pixels, Array2D<std::uint32_t>& labels, double splitThreshold,
              double mergeThreshold, double groupThreshold, const ivra::Progress& progress)
        : pixels_(pixels), labels_(labels), width_(pixels.width()), height_(pixels.height()),
          splitThreshold_(splitThreshold), mergeThreshold_(mergeThreshold), groupThreshold_(groupThreshold),
          progress_(progress), tree_(width_, height_), maxLevel_(tree_.GetMaxLevel()),
          sums_(pixels, tree_.size(), maxLevel_),
          totalWork_(3.0 * maxLevel_ + 2.0 + width_)
    {
        stack_.reserve(20);
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

    std::vector<RGB24> regionColour;
    std::vector<std::int64_t> regionArea;
    std::vector<Block> regionBlock;

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

    // Top-down: a block below a homogeneous one is homogeneous; others are tested.
    void split()
    {
        tree_[0] = {0, 0, 0};
        for (int level = 0; level <= maxLevel_; ++level) {
            const std::size_t end = QuadTree::first(level + 1);
            for (std::size_t k = QuadTree::first(level); k < end; ++k) {
                if (k > 0)
                    tree_.placeChild(k, level);
                QuadNode& n = tree_[k];
                if (k > 0 && tree_[QuadTree::parent(k)].homogeneous)
                    n.homogeneous = 1;
                else if (startsInside(n))
                    n.homogeneous = homogeneous(n, level) ? 1 : 0;
                else
                    n.homogeneous = 1;
            }
            step();
        }
    }

    // Bottom-up: a sibling group whose first member was split merges into its
    // parent when each neighbouring pair of valid siblings (TR-BL, BL-BR, BR-TL,
    // TL-TR) has mean colours closer than the merge threshold.
    void merge()
    {
        for (int level = maxLevel_; level >= 1; --level) {
            const std::size_t end = QuadTree::first(level + 1);
            for (std::size_t k = QuadTree::first(level); k < end; k += 4) {
                if (tree_[k].homogeneous)
                    continue;
                bool valid[4];
                Mean means[4];
                for (int j = 0; j < 4; ++j) {
                    const QuadNode& n = tree_[k + j];
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
                    markSubtree(QuadTree::parent(k));
            }
            step();
        }
    }

    // Sets the node and everything below it homogeneous. A homogeneous node's
    // subtree is homogeneous already, so the walk stops there.
    void markSubtree(std::size_t root)
    {
        std::vector<std::size_t>& pending = subtree_;
        pending.clear();
        pending.push_back(root);
        const std::size_t count = tree_.nodeCount();
        while (!pending.empty()) {
            const std::size_t k = pending.back();
            pending.pop_back();
            if (k != root && tree_[k].homogeneous)
                continue;
            tree_[k].homogeneous = 1;
            if (4 * k + 4 < count)
                for (std::size_t c = 4 * k + 1; c <= 4 * k + 4; ++c)
                    pending.push_back(c);
        }
    }

    // The maximal homogeneous blocks become regions 0, 1, ... in level and index order.
    void extract()
    {
        labels_.resize(width_, height_);
        std::fill_n(labels_.data(), labels_.size(), noRegion);
        say("Leaving quadtree...");
        say("QuadTree.GetMaxLevel() " + std::to_string(maxLevel_));

        if (tree_[0].homogeneous) {
            addRegion(tree_[0], 0);
            for (int level = 0; level <= maxLevel_; ++level)
                step();
            return;
        }
        for (int level = 0; level <= maxLevel_; ++level) {
            const std::size_t end = QuadTree::first(level + 1);
            for (std::size_t k = std::max<std::size_t>(1, QuadTree::first(level)); k < end; ++k) {
                const QuadNode& n = tree_[k];
                if (n.homogeneous && !tree_[QuadTree::parent(k)].homogeneous && n.x < width_ && n.y < height_)
                    addRegion(n, level);
            }
            step();
        }
    }

    void addRegion(const QuadNode& n, int level)
    {
        const int side = tree_.side(level);
        const Block b{n.y, std::min(n.y + side, height_) - 1, n.x, std::min(n.x + side, width_) - 1};
        const std::int64_t count = clippedCount(n, level);
        const ChannelSums s = sums_.at(level, n.x, n.y);
        const auto region = static_cast<std::uint32_t>(regionColour.size());
        regionColour.push_back({static_cast<std::uint8_t>(s.sum[0] / count), static_cast<std::uint8_t>(s.sum[1] / count),
                                static_cast<std::uint8_t>(s.sum[2] / count)});
        regionArea.push_back(count);
        regionBlock.push_back(b);
        for (int y = b.y0; y <= b.y1; ++y)
            std::fill(&labels_.at(b.x0, y), &labels_.at(b.x1, y) + 1, region);
    }

    static int distance(const RGB24& a, const RGB24& b)
    {
        return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
    }

    // Each region, in the column-major order of its first pixel, absorbs the
    // regions that bordered it when it was reached, nearest colour first.
    void group()
    {
        if (regionColour.empty())
            return;
        std::vector<std::uint8_t> visited(regionColour.size(), 0);
        // Visit marks of the neighbour search. A region is searched once, before it
        // absorbs anything, so its pixels were never marked by an earlier search:
        // the marks never need clearing.
        CBitImage32 marks(width_, height_);
        std::vector<std::uint32_t> neighbours;
        for (int x = 0; x < width_; ++x) {
            for (int y = 0; y < height_; ++y) {
                const std::uint32_t i = labels_.at(x, y);
                if (visited[i])
                    continue;
                visited[i] = 1;
                collectNeighbours(i, x, y, marks, neighbours);
                absorbNeighbours(i, neighbours);
            }
            step();
        }
    }

    void collectNeighbours(std::uint32_t i, int x, int y, CBitImage32& marks, std::vector<std::uint32_t>& neighbours)
    {
        neighbours.clear();
        stack_.clear();
        marks.set(x, y, 1);
        stack_.push_back({x, y});
        while (!stack_.empty()) {
            const Point p = stack_.back();
            stack_.pop_back();
            const Point around[4] = {{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}};
            for (const Point& q : around) {
                if (q.x < 0 || q.y < 0 || q.x >= width_ || q.y >= height_)
                    continue;
                const std::uint32_t l = labels_.at(q.x, q.y);
                if (l != i)
                    neighbours.push_back(l);
                else if (!marks.get(q.x, q.y)) {
                    marks.set(q.x, q.y, 1);
                    stack_.push_back(q);
                }
            }
        }
        std::sort(neighbours.begin(), neighbours.end());
        neighbours.erase(std::unique(neighbours.begin(), neighbours.end()), neighbours.end());
    }

    void absorbNeighbours(std::uint32_t i, std::vector<std::uint32_t>& candidates)
    {
        for (;;) {
            std::size_t best = candidates.size();
            int bestDistance = 0;
            for (std::size_t m = 0; m < candidates.size(); ++m) {
                const int d = distance(regionColour[i], regionColour[candidates[m]]);
                if (static_cast<double>(d) < groupThreshold_ && (best == candidates.size() || d < bestDistance)) {
                    best = m;
                    bestDistance = d;
                }
            }
            if (best == candidates.size())
                return;
            const std::uint32_t r = candidates[best];
            absorb(i, r);
            candidates.erase(candidates.begin() + static_cast<std::ptrdiff_t>(best));
        }
    }

    void absorb(std::uint32_t i, std::uint32_t r)
    {
        regionColour[i] = OPSplitAndMerge::areaWeightedMean(regionColour[i], regionArea[i], regionColour[r],
                                                            regionArea[r]);
        regionArea[i] += regionArea[r];
        regionArea[r] = 0;

        // Relabel r's pixels by a flood fill from a pixel known to be r's.
        const Block& b = regionBlock[r];
        stack_.clear();
        labels_.at(b.x0, b.y0) = i;
        stack_.push_back({b.x0, b.y0});
        while (!stack_.empty()) {
            const Point p = stack_.back();
            stack_.pop_back();
            const Point around[4] = {{p.x - 1, p.y}, {p.x + 1, p.y}, {p.x, p.y - 1}, {p.x, p.y + 1}};
            for (const Point& q : around) {
                if (q.x < 0 || q.y < 0 || q.x >= width_ || q.y >= height_ || labels_.at(q.x, q.y) != r)
                    continue;
                labels_.at(q.x, q.y) = i;
                stack_.push_back(q);
            }
        }
    }

    const Array2D<RGB24>& pixels_;
    Array2D<std::uint32_t>& labels_;
    int width_;
    int height_;
    double splitThreshold_;
    double mergeThreshold_;
    double groupThreshold_;
    const ivra::Progress& progress_;
    QuadTree tree_;
    int maxLevel_;
    BlockSums sums_;
    double totalWork_;
    double done_ = 0;
    std::vector<Point> stack_;
    std::vector<std::size_t> subtree_;
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
    const std::size_t count = result->pixelCount();
    const std::int32_t* r = source.red();
    const std::int32_t* g = source.green();
    const std::int32_t* b = source.blue();
    RGB24* pixels = result->sourcePixels.data();
    for (std::size_t i = 0; i < count; ++i)
        pixels[i] = {static_cast<std::uint8_t>(r[i]), static_cast<std::uint8_t>(g[i]), static_cast<std::uint8_t>(b[i])};

    Segmenter segmenter(result->sourcePixels, result->labels, splitThreshold, mergeThreshold, groupThreshold, progress);
    segmenter.run();

    const std::uint32_t* labels = result->labels.data();
    std::int32_t* outR = result->red();
    std::int32_t* outG = result->green();
    std::int32_t* outB = result->blue();
    for (std::size_t i = 0; i < count; ++i) {
        const RGB24 c = segmenter.regionColour[labels[i]];
        outR[i] = c.r;
        outG[i] = c.g;
        outB[i] = c.b;
    }
    return result;
}
