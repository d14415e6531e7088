#include "segment/OPSplitAndMerge.h"

#include "core/CapturedMessages.h"
#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <set>
#include <string>

using namespace ivra;
using namespace testpictures;

namespace {

// Split-and-merge written out plainly: a recursive quadtree over the covering square,
// every statistic summed straight from the pixels of the block (clipped to the
// picture), regions taken breadth first, grouping on the label picture.
class PlainSplitAndMerge {
public:
    PlainSplitAndMerge(int w, int h, const Pixels& pixels) : w_(w), h_(h), pixels_(pixels) {}

    // The labels and the painted picture.
    std::pair<std::vector<std::uint32_t>, Pixels> run(double split, double merge, double group)
    {
        int side = 1;
        while (side < std::max(w_, h_))
            side *= 2;
        Node root = splitBlock({0, 0, side}, false, split);
        mergeGroups(root, merge);
        extract(root);
        groupRegions(group);
        Pixels painted;
        for (const std::uint32_t l : labels_)
            painted.push_back(colors_[l]);
        return {labels_, painted};
    }

private:
    struct Node {
        int x, y, side;
        bool whole = true;
        std::vector<Node> children = {}; // top right, bottom left, bottom right, top left
    };
    struct Stats {
        long long count = 0, sum[3] = {0, 0, 0};
        double mean[3] = {0, 0, 0}, variance = 0;
    };

    Stats stats(const Node& n) const
    {
        Stats s;
        long long squares[3] = {0, 0, 0};
        for (int y = n.y; y < std::min(n.y + n.side, h_); ++y)
            for (int x = n.x; x < std::min(n.x + n.side, w_); ++x) {
                const RGB24 p = pixels_[y * w_ + x];
                const int v[3] = {p.r, p.g, p.b};
                ++s.count;
                for (int c = 0; c < 3; ++c) {
                    s.sum[c] += v[c];
                    squares[c] += v[c] * v[c];
                }
            }
        for (int c = 0; c < 3; ++c) {
            s.mean[c] = s.sum[c] / static_cast<double>(s.count);
            s.variance += squares[c] / static_cast<double>(s.count) - s.mean[c] * s.mean[c];
        }
        return s;
    }

    // Only blocks starting before the last column and row are looked at.
    bool tested(const Node& n) const { return n.x < w_ - 1 && n.y < h_ - 1; }

    // A block is split when its colour variance reaches the threshold; a single pixel
    // never is, nor is anything inside a block that was not split.
    Node splitBlock(Node n, bool parentWhole, double threshold)
    {
        if (!parentWhole && tested(n)) {
            const Stats s = stats(n);
            n.whole = s.count == 1 || s.variance < threshold;
        }
        const int half = n.side / 2;
        if (n.side > 1)
            for (const auto& [dx, dy] : {std::pair{half, 0}, {0, half}, {half, half}, {0, 0}})
                n.children.push_back(splitBlock({n.x + dx, n.y + dy, half}, n.whole, threshold));
        return n;
    }

    // Bottom up, a block whose first child (top right) was split becomes whole again
    // when every pair of children neighbouring in child order (each with the next, the
    // last with the first), both looked at, has mean colours closer than the
    // threshold in L1.
    void mergeGroups(Node& n, double threshold)
    {
        for (Node& child : n.children)
            mergeGroups(child, threshold);
        if (n.children.empty() || n.children[0].whole)
            return;
        for (int j = 0; j < 4; ++j) {
            const Node &a = n.children[j], &b = n.children[(j + 1) % 4];
            if (!tested(a) || !tested(b))
                continue;
            const Stats sa = stats(a), sb = stats(b);
            double distance = 0;
            for (int c = 0; c < 3; ++c)
                distance += std::fabs(sa.mean[c] - sb.mean[c]);
            if (!(distance < threshold))
                return;
        }
        n.whole = true;
    }

    // The whole blocks inside the picture become regions 0, 1, ... breadth first, in
    // the truncated mean colour of their pixels.
    void extract(const Node& root)
    {
        labels_.assign(pixels_.size(), 0);
        for (std::deque<const Node*> queue{&root}; !queue.empty(); queue.pop_front()) {
            const Node& n = *queue.front();
            for (const Node& child : n.children)
                if (!n.whole)
                    queue.push_back(&child);
            if (!n.whole || n.x >= w_ || n.y >= h_)
                continue;
            const Stats s = stats(n);
            colors_.push_back(
                {std::uint8_t(s.sum[0] / s.count), std::uint8_t(s.sum[1] / s.count), std::uint8_t(s.sum[2] / s.count)});
            area_.push_back(s.count);
            members_.emplace_back();
            for (int y = n.y; y < std::min(n.y + n.side, h_); ++y)
                for (int x = n.x; x < std::min(n.x + n.side, w_); ++x) {
                    labels_[y * w_ + x] = static_cast<std::uint32_t>(colors_.size() - 1);
                    members_.back().push_back(y * w_ + x);
                }
        }
    }

    // Each region, in the column-major order of its first pixel, absorbs the regions
    // that border it at that moment while one lies closer than the threshold (L1 of
    // the region colours): the nearest first, the lower number on a tie; colours mix
    // by area.
    void groupRegions(double threshold)
    {
        const auto distance = [](RGB24 a, RGB24 b) {
            return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        };
        std::vector<char> reached(colors_.size(), 0);
        for (int x = 0; x < w_; ++x)
            for (int y = 0; y < h_; ++y) {
                const std::uint32_t i = labels_[y * w_ + x];
                if (reached[i]++)
                    continue;
                std::set<std::uint32_t> bordering;
                for (const int p : members_[i]) // q = p stands for no neighbour at the sides
                    for (const int q : {p % w_ ? p - 1 : p, (p + 1) % w_ ? p + 1 : p, p - w_, p + w_})
                        if (q >= 0 && q < w_ * h_ && labels_[q] != i)
                            bordering.insert(labels_[q]);
                for (;;) {
                    std::uint32_t best = i;
                    for (const std::uint32_t r : bordering)
                        if (distance(colors_[i], colors_[r]) < threshold &&
                            (best == i || distance(colors_[i], colors_[r]) < distance(colors_[i], colors_[best])))
                            best = r;
                    if (best == i)
                        break;
                    colors_[i] = OPSplitAndMerge::areaWeightedMean(colors_[i], area_[i], colors_[best], area_[best]);
                    area_[i] += area_[best];
                    for (const int p : members_[best])
                        labels_[p] = i;
                    members_[i].insert(members_[i].end(), members_[best].begin(), members_[best].end());
                    bordering.erase(best);
                }
            }
    }

    int w_, h_;
    const Pixels& pixels_;
    std::vector<std::uint32_t> labels_;
    Pixels colors_;
    std::vector<long long> area_;
    std::vector<std::vector<int>> members_; // the pixels of each region
};

std::unique_ptr<ImageSegmented> run(const ImageRGB& image, double split, double merge, double group)
{
    CapturedMessages quiet;
    return OPSplitAndMerge().execute(image, split, merge, group);
}

std::size_t regionCount(const ImageSegmented& s)
{
    return std::set<std::uint32_t>(s.labels.data(), s.labels.data() + s.labels.size()).size();
}

} // namespace

TEST(SplitAndMerge, MatchesThePlainSegmentationOnRandomPictures)
{
    unsigned seed = 0;
    for (const auto& [w, h] :
         {std::pair{37, 23}, std::pair{48, 40}, std::pair{5, 70}, std::pair{1, 9}, std::pair{16, 3}, std::pair{8, 8}}) {
        const std::pair<const char*, Pixels> pictures[] = {
            {"2 levels", randomPixels(w, h, 2, ++seed)},     {"3 levels", randomPixels(w, h, 3, ++seed)},
            {"256 levels", randomPixels(w, h, 256, ++seed)}, {"cells of 1", cellPixels(w, h, 1, ++seed)},
            {"cells of 2", cellPixels(w, h, 2, ++seed)},     {"cells of 4", cellPixels(w, h, 4, ++seed)}};
        for (const auto& [kind, pixels] : pictures)
            for (const auto& [split, merge, group] :
                 {std::array{0.0, 0.0, 0.0}, std::array{3.0, 4.0, 0.0}, std::array{4.0, 3.0, 8.0},
                  std::array{12.0, 8.0, 12.0}, std::array{2.0, 12.0, 6.0}, std::array{100.0, 8.0, 30.0},
                  std::array{1000.0, 1000.0, 0.0}}) {
                SCOPED_TRACE(::testing::Message() << kind << ", " << w << "x" << h << ", thresholds " << split << " "
                                                  << merge << " " << group);
                const auto s = run(*rgbFrom(w, h, pixels), split, merge, group);
                const auto [labels, painted] = PlainSplitAndMerge(w, h, pixels).run(split, merge, group);
                ASSERT_EQ(std::vector<std::uint32_t>(s->labels.data(), s->labels.data() + w * h), labels);
                ASSERT_EQ(pixelsOf(*s), painted);
                ASSERT_EQ(Pixels(s->sourcePixels.data(), s->sourcePixels.data() + w * h), pixels);
            }
    }
}

TEST(SplitAndMerge, MergeRule)
{
    // Four 2 x 2 blocks of a 4 x 4 picture, each split: red swings by +-5 around the
    // block's mean (variance 25). Merged back they make one region, else the split
    // blocks stay single pixels. In a 4 x 3 picture the lower blocks start in the
    // last row: whole, and not compared.
    struct Case {
        const char* what;
        RGB24 tr, bl, br, tl;
        double split, merge;
        int height;
        std::size_t regions;
        int trSwing = 5;
    };
    const RGB24 g100{100, 100, 100}, g104{104, 104, 104}, b110{100, 100, 110};
    const RGB24 r100{100, 0, 0}, r106{106, 0, 0}, r112{112, 0, 0}, r120{120, 0, 0};
    const std::vector<Case> cases = {
        {"equal means", g100, g100, g100, g100, 10, 10, 4, 1},
        {"threshold 0 merges nothing", g100, g100, g100, g100, 10, 0, 4, 16},
        {"distance equal to the threshold", b110, g100, g100, g100, 10, 10, 4, 16},
        {"just below it", b110, g100, g100, g100, 10, 10.001, 4, 1},
        {"L1 over the channels, not the largest", g100, g104, g104, g104, 10, 10, 4, 16},
        {"pairs in child order, not around the square", r100, r106, r112, r106, 10, 10, 4, 1},
        {"a far pair in child order", r100, r112, r106, r106, 10, 10, 4, 16},
        {"merge threshold, not split threshold", r100, r120, r100, r120, 10, 30, 4, 1},
        {"split threshold, not merge threshold", r100, r120, r100, r120, 30, 4, 4, 4},
        {"a whole first block keeps the group apart", g100, g100, g100, g100, 10, 255, 4, 13, 0},
        {"blocks in the last row are not compared", g100, r112, r112, g100, 10, 10, 3, 1},
        {"...but counted when apart", g100, r112, r112, b110, 10, 10, 3, 10},
    };
    for (const Case& c : cases) {
        Pixels pixels;
        for (int i = 0; i < 4 * c.height; ++i) {
            const int x = i % 4, y = i / 4, swing = x >= 2 && y < 2 ? c.trSwing : 5;
            const RGB24 mean = y < 2 ? (x < 2 ? c.tl : c.tr) : (x < 2 ? c.bl : c.br);
            pixels.push_back({std::uint8_t(mean.r + ((x + y) % 2 ? swing : -swing)), mean.g, mean.b});
        }
        EXPECT_EQ(regionCount(*run(*rgbFrom(4, c.height, pixels), c.split, c.merge, 0)), c.regions) << c.what;
    }
}

TEST(SplitAndMerge, StatisticsOfLargeBlocksAreExact)
{
    // Sums of a megapixel overflow single precision; a uniform picture has no variance.
    const auto uniform = rgbFrom(1024, 1024, Pixels(1024 * 1024, RGB24{255, 254, 251}));
    EXPECT_EQ(regionCount(*run(*uniform, 1, 0, 0)), 1u);
    // A 254 / 255 checkerboard has variance 0.25 per channel at every block size.
    Pixels pixels;
    for (int i = 0; i < 256 * 256; ++i)
        pixels.push_back((i % 256 + i / 256) % 2 ? RGB24{255, 255, 255} : RGB24{254, 254, 254});
    const auto board = rgbFrom(256, 256, pixels);
    const auto whole = run(*board, 0.7500001, 0, 0);
    EXPECT_EQ(regionCount(*whole), 1u);
    EXPECT_EQ(pixelsOf(*whole)[0], (RGB24{254, 254, 254}));
    EXPECT_EQ(regionCount(*run(*board, 0.75, 0, 0)), 256u * 256u);
}

TEST(SplitAndMerge, AreaWeightedMeanOfLargeRegionsDoesNotOverflow)
{
    EXPECT_EQ(OPSplitAndMerge::areaWeightedMean({255, 0, 7}, 20'000'000, {253, 255, 9}, 20'000'000),
              (RGB24{254, 127, 8}));
    EXPECT_EQ(OPSplitAndMerge::areaWeightedMean({10, 10, 10}, 3, {13, 13, 13}, 1), (RGB24{10, 10, 10}));
}
