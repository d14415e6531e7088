#include "CscIndependent.h"

#include "colour/ColourConversion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <stdexcept>
#include <utility>

namespace ivra {

namespace cscref {

namespace {

// ---------------------------------------------------------------------------
// Constant tables of one island (cells 0..6: centre, right, lower left, lower
// right, upper left, upper right, left).

constexpr int kCellDx[7] = {0, +1, -1, 0, -1, 0, -1};
constexpr int kCellDy[7] = {0, 0, +1, +1, -1, -1, 0};

// Cells of the same island adjacent to each cell, in the order they are tried.
const std::vector<int> kCellNeighbours[7] = {
    {1, 2, 3, 4, 5, 6}, {3, 5, 0}, {3, 6, 0}, {0, 1, 2}, {5, 6, 0}, {0, 1, 4}, {0, 2, 4},
};

// sharedCell[i][j]: the cell of child i lying in the overlap with child j.
constexpr int kSharedCell[7][7] = {
    {-1, 1, 2, 3, 4, 5, 6},     {6, -1, -1, 2, -1, 4, -1}, {5, -1, -1, 1, -1, -1, 4},
    {4, 5, 6, -1, -1, -1, -1},  {3, -1, -1, -1, -1, 1, 2}, {2, 3, -1, -1, 6, -1, -1},
    {1, -1, 3, -1, 5, -1, -1},
};

// sharingChild[i][k]: the sibling child that also holds cell k of child i.
constexpr int kSharingChild[7][7] = {
    {-1, 1, 2, 3, 4, 5, 6},     {-1, -1, 3, -1, 5, -1, 0}, {-1, 3, -1, -1, 6, 0, -1},
    {-1, -1, -1, -1, 0, 1, 2},  {-1, 5, 6, 0, -1, -1, -1}, {-1, -1, 0, 1, -1, -1, 4},
    {-1, 0, -1, 2, -1, 4, -1},
};

// ---------------------------------------------------------------------------
// HSV tolerance tables, written as runs "value x count" per row so that they read
// like the published table; every row must come to 16 entries.

using Run = std::pair<int, int>;   // value, count

std::array<int, 256> expand(const std::vector<std::pair<std::vector<int>, std::vector<Run>>>& rows)
{
    std::array<int, 256> table{};
    std::vector<bool> filled(16, false);
    for (const auto& [rowNumbers, runs] : rows) {
        std::vector<int> entries;
        for (const auto& [value, count] : runs)
            entries.insert(entries.end(), static_cast<std::size_t>(count), value);
        if (entries.size() != 16)
            throw std::logic_error("tolerance row does not have 16 entries");
        for (int r : rowNumbers) {
            if (filled[static_cast<std::size_t>(r)])
                throw std::logic_error("tolerance row given twice");
            filled[static_cast<std::size_t>(r)] = true;
            for (int c = 0; c < 16; ++c)
                table[static_cast<std::size_t>(r * 16 + c)] = entries[static_cast<std::size_t>(c)];
        }
    }
    if (std::find(filled.begin(), filled.end(), false) != filled.end())
        throw std::logic_error("tolerance row missing");
    return table;
}

std::vector<int> rowsFrom(int first, int last)
{
    std::vector<int> rows;
    for (int r = first; r <= last; ++r)
        rows.push_back(r);
    return rows;
}

const std::array<int, 256>& hueTolerance()
{
    static const std::array<int, 256> table = expand({
        {{0}, {{360, 16}}},
        {{1}, {{360, 16}}},
        {{2}, {{360, 3}, {95, 2}, {90, 11}}},
        {{3}, {{30, 4}, {15, 1}, {13, 1}, {12, 10}}},
        {{4}, {{25, 3}, {15, 1}, {13, 2}, {12, 2}, {11, 2}, {10, 6}}},
        {{5}, {{20, 3}, {15, 1}, {13, 2}, {12, 2}, {11, 2}, {10, 6}}},
        {{6}, {{20, 3}, {13, 1}, {12, 2}, {11, 2}, {10, 8}}},
        {{7}, {{20, 3}, {13, 1}, {12, 2}, {11, 2}, {10, 8}}},
        {{8}, {{20, 3}, {12, 1}, {11, 2}, {10, 10}}},
        {{9, 10}, {{18, 3}, {12, 1}, {11, 2}, {10, 10}}},
        {rowsFrom(11, 15), {{16, 3}, {12, 1}, {11, 2}, {10, 10}}},
    });
    return table;
}

const std::array<int, 256>& satTolerance0()
{
    static const std::array<int, 256> table = expand({
        {{0, 1}, {{24, 12}, {8, 4}}},
        {{2}, {{64, 1}, {56, 3}, {40, 1}, {24, 11}}},
        {rowsFrom(3, 7), {{72, 3}, {56, 1}, {40, 1}, {24, 11}}},
        {rowsFrom(8, 15), {{72, 4}, {56, 10}, {40, 2}}},
    });
    return table;
}

const std::array<int, 256>& valTolerance0()
{
    static const std::array<int, 256> table = expand({
        {{0, 1}, {{8, 7}, {10, 9}}},
        {{2, 3}, {{8, 16}}},
        {{4}, {{8, 2}, {24, 14}}},
        {{5}, {{8, 2}, {24, 1}, {40, 2}, {24, 11}}},
        {rowsFrom(6, 15), {{8, 2}, {24, 1}, {40, 13}}},
    });
    return table;
}

const std::array<int, 256>& satTolerance1()
{
    static const std::array<int, 256> table = expand({
        {{0}, {{32, 12}, {16, 4}}},
        {{1}, {{32, 10}, {16, 6}}},
        {{2}, {{64, 4}, {48, 1}, {32, 11}}},
        {rowsFrom(3, 7), {{80, 3}, {64, 1}, {48, 1}, {32, 11}}},
        {rowsFrom(8, 15), {{80, 4}, {64, 10}, {48, 2}}},
    });
    return table;
}

const std::array<int, 256>& valTolerance1()
{
    static const std::array<int, 256> table = expand({
        {{0}, {{2, 11}, {3, 5}}},
        {rowsFrom(1, 3), {{2, 16}}},
        {{4, 5}, {{2, 3}, {3, 2}, {2, 11}}},
        {rowsFrom(6, 15), {{2, 3}, {3, 13}}},
    });
    return table;
}

int hueDistance(int h1, int h2)
{
    int d = std::abs(h1 - h2);
    if (d > 180)
        d = 360 - d;
    return d;
}

// ---------------------------------------------------------------------------
// Running colour sums.

// RGB: with meanMode 0 a candidate is compared with the colour it was reached from;
// otherwise with the running mean, which is refreshed after every accepted member.
struct RgbSums {
    int count = 0;
    int sum[3] = {0, 0, 0};
    int mean[3] = {0, 0, 0};
    int meanMode = 0;
    int squaredThreshold = 400;

    void start(const std::array<int, 3>& seed, int mode)
    {
        count = 1;
        meanMode = mode;
        for (int c = 0; c < 3; ++c)
            sum[c] = mean[c] = seed[static_cast<std::size_t>(c)];
    }

    bool accept(const std::array<int, 3>& reference, const std::array<int, 3>& candidate)
    {
        int squared = 0;
        for (int c = 0; c < 3; ++c) {
            const int from = meanMode != 0 ? mean[c] : reference[static_cast<std::size_t>(c)];
            const int d = from - candidate[static_cast<std::size_t>(c)];
            squared += d * d;
        }
        if (!(squared < squaredThreshold))
            return false;
        count += 1;
        for (int c = 0; c < 3; ++c)
            sum[c] += candidate[static_cast<std::size_t>(c)];
        if (meanMode != 0)
            for (int c = 0; c < 3; ++c)
                mean[c] = sum[c] / count;
        return true;
    }

    std::array<int, 3> finalColour() const
    {
        if (meanMode != 0)
            return {mean[0], mean[1], mean[2]};
        return {sum[0] / count, sum[1] / count, sum[2] / count};
    }
};

// HSV: hues near red are averaged across the 0/360 seam by lifting the low ones by
// 360 whenever a high one is present; achromatic members stay out of the hue mean.
struct HsvSums {
    int count = 0, chromaticCount = 0, wrapSum = 0, highHueCount = 0;
    int hueSum = 0, satSum = 0, valSum = 0;
    int meanHue = 0, meanSat = 0, meanVal = 0;
    int seamMeans = 0;

    void start(const std::array<int, 3>& seed)
    {
        const int h = seed[0], s = seed[1], v = seed[2];
        wrapSum = 0;
        highHueCount = 0;
        if (s != 0) {
            hueSum = h;
            chromaticCount = 1;
            if (h <= 60)
                wrapSum = 360;
            else if (h >= 300)
                highHueCount = 1;
        } else {
            hueSum = 0;
            chromaticCount = 0;
        }
        satSum = s;
        valSum = v;
        count = 1;
        meanHue = h;
        meanSat = s;
        meanVal = v;
    }

    void add(const std::array<int, 3>& c)
    {
        const int h = c[0], s = c[1], v = c[2];
        if (s != 0) {
            if (h <= 60)
                wrapSum += 360;
            else if (h >= 300)
                highHueCount += 1;
            hueSum += h;
            chromaticCount += 1;
        }
        satSum += s;
        valSum += v;
        count += 1;
    }

    void means()
    {
        if (chromaticCount == 0) {
            meanHue = 0;
        } else {
            const int total = hueSum + (highHueCount > 0 ? wrapSum : 0);
            if (highHueCount > 0 && wrapSum > 0)
                ++seamMeans;
            meanHue = (total + chromaticCount / 2) / chromaticCount;
            if (meanHue >= 360)
                meanHue -= 360;
        }
        meanSat = satSum / count;
        meanVal = valSum / count;
    }

    std::array<int, 3> mean() const { return {meanHue, meanSat, meanVal}; }
};

// ---------------------------------------------------------------------------
// Code elements, addressed by their number in one vector.

constexpr int kNone = -1;

struct Link {
    int cell;    // which child island of the element's island holds the child
    int child;   // element number
};

struct Element {
    int level = 0;
    std::uint8_t mask = 0;
    std::vector<Link> links;
    bool root = true;
    bool taken = false;
    bool visited = false;
    int parent1 = kNone;
    int parent2 = kNone;
    std::array<int, 3> colour{};   // R, G, B or hue, sat, val
};

struct Conflict {
    int cell1, cell2;
    int side1, side2;
    int element;
};

struct StoreFull {};

class Segmentation {
public:
    Segmentation(int width, int height, Variant variant, int threshold, std::vector<std::array<int, 3>> colours,
                 double elementsPerIsland)
        : width_(width), height_(height), variant_(variant), pyramid_(width, height), colours_(std::move(colours))
    {
        rgb_.squaredThreshold = threshold * threshold;
        for (int l = 0; l < pyramid_.levels; ++l) {
            const auto n = static_cast<std::size_t>(pyramid_.rowLength[static_cast<std::size_t>(l)]);
            islands_.emplace_back(n * n);
        }
        // The store holds elementsPerIsland elements per island and twice as many links.
        elementCapacity_ = static_cast<int>(std::floor(pyramid_.islandCount() * elementsPerIsland));
        linkCapacity_ = static_cast<int>(std::floor(2.0 * elementCapacity_));
    }

    void linkAll()
    {
        levelZero();
        levelOne();
        for (int level = 2; level < pyramid_.levels; ++level) {
            higherLevel(level);
            if (!conflicts_.empty())
                resolveAll();
        }
    }

    // Paints every root, coarse levels first, and returns how many roots got a number.
    int paint(std::vector<std::array<int, 3>>& colourOut, std::vector<std::uint32_t>& labelOut)
    {
        colourOut.assign(static_cast<std::size_t>(width_) * height_, {0, 0, 0});
        labelOut.assign(static_cast<std::size_t>(width_) * height_, 0);
        std::uint32_t label = 1;
        for (int level = pyramid_.levels - 1; level >= 0; --level) {
            for (const auto& [x, y] : pyramid_.walk(level)) {
                for (int e : elementsOf(level, x, y)) {
                    if (!elements_[static_cast<std::size_t>(e)].root)
                        continue;
                    paintElement(e, x, y, elements_[static_cast<std::size_t>(e)].colour, label, colourOut, labelOut);
                    clearVisited(e);
                    ++label;
                }
            }
        }
        return static_cast<int>(label) - 1;
    }

private:
    // -- store ----------------------------------------------------------------

    const std::vector<int>& elementsOf(int level, int x, int y) const
    {
        static const std::vector<int> none;
        if (!pyramid_.contains(level, x, y))
            return none;
        return islands_[static_cast<std::size_t>(level)][slot(level, x, y)];
    }

    // Each level keeps a square grid of element lists, one per (x, y) position.
    std::size_t slot(int level, int x, int y) const
    {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(pyramid_.rowLength[static_cast<std::size_t>(level)]) +
               static_cast<std::size_t>(x);
    }

    // A new element is only a candidate until it is committed; a full store refuses
    // even to hand one out.
    int allocate(int level)
    {
        if (usedElements_ >= elementCapacity_ || usedLinks_ >= linkCapacity_)
            throw StoreFull{};
        Element fresh;
        fresh.level = level;
        elements_.push_back(fresh);
        return static_cast<int>(elements_.size()) - 1;
    }

    void commit(int level, int x, int y, int e)
    {
        islands_[static_cast<std::size_t>(level)][slot(level, x, y)].push_back(e);
        usedElements_ += 1;
        usedLinks_ += static_cast<int>(elements_[static_cast<std::size_t>(e)].links.size());
    }

    void drop(int e)
    {
        // Only the last element handed out can be dropped, and nothing refers to it.
        if (e != static_cast<int>(elements_.size()) - 1)
            throw std::logic_error("dropping an element that is not the newest");
        elements_.pop_back();
    }

    Element& el(int e) { return elements_[static_cast<std::size_t>(e)]; }

    void becomeParent(int parent, int child)
    {
        Element& c = el(child);
        if (c.parent1 == kNone)
            c.parent1 = parent;
        else if (c.parent2 == kNone)
            c.parent2 = parent;
        else
            throw std::logic_error("an element got a third parent");
        c.root = false;
    }

    // -- level 0 --------------------------------------------------------------

    void levelZero()
    {
        for (const auto& [ix, iy] : pyramid_.walk(0)) {
            const auto cells = pyramid_.members(0, ix, iy);
            bool usable[7];
            bool assigned[7];
            for (int k = 0; k < 7; ++k) {
                const int px = cells[static_cast<std::size_t>(k)][0];
                const int py = cells[static_cast<std::size_t>(k)][1];
                usable[k] = px >= 0 && px < width_ && py >= 0 && py < height_;
                assigned[k] = !usable[k];   // pixels outside the picture count as taken
            }
            const auto pixel = [&](int k) {
                const auto& p = cells[static_cast<std::size_t>(k)];
                return colours_[static_cast<std::size_t>(p[1]) * width_ + p[0]];
            };
            for (int k = 0; k < 7; ++k) {
                if (std::all_of(assigned, assigned + 7, [](bool a) { return a; }))
                    break;
                if (assigned[k])
                    continue;
                const int e = allocate(0);
                el(e).mask = static_cast<std::uint8_t>(1 << k);
                assigned[k] = true;
                if (variant_ == Variant::Rgb)
                    rgb_.start(pixel(k), 0);
                else
                    hsv_.start(pixel(k));

                // Breadth first from the seed; each newcomer is compared with the pixel
                // it was reached from, not with a mean.
                std::vector<int> queue{k};
                for (std::size_t head = 0; head < queue.size(); ++head) {
                    const int q = queue[head];
                    for (int n : kCellNeighbours[q]) {
                        if (!usable[n] || assigned[n])
                            continue;
                        bool similar;
                        if (variant_ == Variant::Rgb) {
                            similar = rgb_.accept(pixel(q), pixel(n));
                        } else {
                            similar = pixelSimilar(pixel(q), pixel(n));
                            if (similar)
                                hsv_.add(pixel(n));
                        }
                        if (similar) {
                            assigned[n] = true;
                            queue.push_back(n);
                            el(e).mask = static_cast<std::uint8_t>(el(e).mask | (1 << n));
                        }
                    }
                }
                if (queue.size() >= 2) {
                    if (variant_ == Variant::Rgb) {
                        el(e).colour = rgb_.finalColour();
                    } else {
                        hsv_.means();
                        el(e).colour = hsv_.mean();
                    }
                    commit(0, ix, iy, e);
                } else {
                    drop(e);
                }
            }
        }
    }

    // -- levels >= 1: shared growth ----------------------------------------------

    void startSums(int seed, int level)
    {
        if (variant_ == Variant::Rgb)
            rgb_.start(el(seed).colour, level);
        else
            hsv_.start(el(seed).colour);
    }

    // Tests a candidate against the running mean and, when it fits, counts it in.
    bool testAgainstMean(int reference, int candidate)
    {
        if (variant_ == Variant::Rgb)
            return rgb_.accept(el(reference).colour, el(candidate).colour);
        if (!elementSimilar(hsv_.mean(), el(candidate).colour))
            return false;
        hsv_.add(el(candidate).colour);
        hsv_.means();
        return true;
    }

    std::array<int, 3> runningMean() const
    {
        if (variant_ == Variant::Rgb)
            return rgb_.finalColour();
        return hsv_.mean();
    }

    void join(int grown, int cell, int candidate, std::vector<std::pair<int, int>>& queue)
    {
        el(candidate).taken = true;
        queue.emplace_back(cell, candidate);
        el(grown).mask = static_cast<std::uint8_t>(el(grown).mask | (1 << cell));
        el(grown).links.push_back({cell, candidate});
        if (usedLinks_ + static_cast<int>(el(grown).links.size()) > linkCapacity_)
            linkPoolExceeded = true;
        becomeParent(grown, candidate);
    }

    using ChildLists = std::array<std::vector<int>, 7>;

    ChildLists childLists(int level, int x, int y) const
    {
        ChildLists lists;
        const auto children = pyramid_.members(level, x, y);
        for (int k = 0; k < 7; ++k)
            lists[static_cast<std::size_t>(k)] =
                elementsOf(level - 1, children[static_cast<std::size_t>(k)][0], children[static_cast<std::size_t>(k)][1]);
        return lists;
    }

    void releaseChildren(const ChildLists& lists)
    {
        for (const auto& list : lists)
            for (int e : list)
                el(e).taken = false;
    }

    int untakenCount(const ChildLists& lists) const
    {
        int n = 0;
        for (const auto& list : lists)
            for (int e : list)
                if (!elements_[static_cast<std::size_t>(e)].taken)
                    ++n;
        return n;
    }

    // -- level 1: neighbours that hold the same overlap pixel ---------------------

    void levelOne()
    {
        for (const auto& [ix, iy] : pyramid_.walk(1)) {
            const ChildLists lists = childLists(1, ix, iy);
            int total = 0;
            for (const auto& list : lists)
                total += static_cast<int>(list.size());
            if (total < 2)
                continue;
            bool stop = false;
            for (int k = 0; k < 7 && !stop; ++k) {
                for (int seed : lists[static_cast<std::size_t>(k)]) {
                    if (el(seed).taken)
                        continue;
                    if (untakenCount(lists) < 2) {
                        stop = true;
                        break;
                    }
                    const int e = allocate(1);
                    el(e).mask = static_cast<std::uint8_t>(1 << k);
                    el(e).links.push_back({k, seed});
                    el(seed).taken = true;
                    startSums(seed, 1);

                    std::vector<std::pair<int, int>> queue{{k, seed}};
                    for (std::size_t head = 0; head < queue.size(); ++head) {
                        const auto [q, ce] = queue[head];
                        for (int n : kCellNeighbours[q]) {
                            const int mine = kSharedCell[q][n];
                            const int theirs = kSharedCell[n][q];
                            for (int f : lists[static_cast<std::size_t>(n)]) {
                                if (el(f).taken)
                                    continue;
                                if (!(el(ce).mask & (1 << mine)) || !(el(f).mask & (1 << theirs)))
                                    continue;
                                if (testAgainstMean(ce, f))
                                    join(e, n, f, queue);
                            }
                        }
                    }
                    finishGrown(1, ix, iy, e, seed);
                }
            }
            releaseChildren(lists);
        }
    }

    void finishGrown(int level, int ix, int iy, int e, int seed)
    {
        if (el(e).links.size() >= 2) {
            el(e).colour = runningMean();
            becomeParent(e, seed);
            commit(level, ix, iy, e);
        } else {
            drop(e);
        }
    }

    // -- levels >= 2: neighbours that share a child element --------------------

    void higherLevel(int level)
    {
        for (const auto& [ix, iy] : pyramid_.walk(level)) {
            const ChildLists lists = childLists(level, ix, iy);
            for (int k = 0; k < 7; ++k) {
                for (int seed : lists[static_cast<std::size_t>(k)]) {
                    if (el(seed).taken)
                        continue;
                    const int e = allocate(level);
                    el(e).mask = static_cast<std::uint8_t>(1 << k);
                    el(e).links.push_back({k, seed});
                    el(seed).taken = true;
                    startSums(seed, level);

                    std::vector<std::pair<int, int>> queue{{k, seed}};
                    for (std::size_t head = 0; head < queue.size(); ++head) {
                        const auto [q, ce] = queue[head];
                        const std::vector<Link> links = el(ce).links;
                        for (const Link& link : links) {
                            const int s = link.cell;
                            const int g = link.child;
                            const int n = kSharingChild[q][s];
                            if (n < 0)
                                continue;   // this child is not shared with a sibling here
                            const int f = el(g).parent1 == ce ? el(g).parent2 : el(g).parent1;
                            if (f == kNone || el(f).taken)
                                continue;
                            if (testAgainstMean(ce, f)) {
                                join(e, n, f, queue);
                            } else {
                                ++paths.conflicts;
                                // g sits under two parents that will end apart: decide later.
                                const int cellInCe = s;
                                const int cellInF = kSharedCell[n][q];
                                const bool ceFirst = el(g).parent1 == ce;
                                conflicts_.push_back(Conflict{ceFirst ? cellInCe : cellInF, ceFirst ? cellInF : cellInCe,
                                                              el(g).parent1, el(g).parent2, g});
                            }
                        }
                    }
                    finishGrown(level, ix, iy, e, seed);
                }
            }
            releaseChildren(lists);
        }
    }

    // -- overlap conflicts ----------------------------------------------------

    // 1 or 2: which reference side the element's colour is closer to (ties: side 1).
    int closer(int g, int side1, int side2) const
    {
        const auto& gc = elements_[static_cast<std::size_t>(g)].colour;
        const auto& c1 = elements_[static_cast<std::size_t>(side1)].colour;
        const auto& c2 = elements_[static_cast<std::size_t>(side2)].colour;
        return variant_ == Variant::Rgb ? closerRgb(gc, c1, c2) : closerHsv(gc, c1, c2);
    }

    void resolveAll()
    {
        while (!conflicts_.empty()) {
            const Conflict c = conflicts_.front();
            conflicts_.pop_front();
            const int g = c.element;
            const int cur1 = el(g).parent1;
            const int cur2 = el(g).parent2;
            const int w = closer(g, c.side1, c.side2);
            const int loser = w == 1 ? cur2 : cur1;
            if (loser == kNone)
                continue;

            // Detach g from the loser: its last link fills the gap.
            auto& ll = el(loser).links;
            for (std::size_t i = 0; i < ll.size(); ++i) {
                if (ll[i].child == g) {
                    ll[i] = ll.back();
                    ll.pop_back();
                    break;
                }
            }
            if (el(g).parent1 == loser)
                el(g).parent1 = kNone;
            else if (el(g).parent2 == loser)
                el(g).parent2 = kNone;
            ++paths.detached;
            if (el(g).parent1 == kNone && el(g).parent2 == kNone)
                ++paths.orphaned;

            // Children of g that the loser's side also holds through a sibling must
            // follow g to the winner.
            const int m = w == 1 ? c.cell2 : c.cell1;
            const int sideLoser = w == 1 ? c.side2 : c.side1;
            const int sideWinner = w == 1 ? c.side1 : c.side2;
            for (const Link& link : el(g).links) {
                const int t = link.cell;
                const int h = link.child;
                const int y = kSharingChild[m][t];
                if (y < 0)
                    continue;
                const auto underLoser = [&](int p) {
                    return p != kNone && p != g && (el(p).parent1 == loser || el(p).parent2 == loser);
                };
                if (underLoser(el(h).parent1)) {
                    conflicts_.push_back(Conflict{kSharedCell[y][m], t, sideLoser, sideWinner, h});
                    ++paths.carriedDown;
                } else if (underLoser(el(h).parent2)) {
                    conflicts_.push_back(Conflict{t, kSharedCell[y][m], sideWinner, sideLoser, h});
                    ++paths.carriedDown;
                }
            }
        }
    }

    // -- painting -------------------------------------------------------------

    void paintElement(int e, int ix, int iy, const std::array<int, 3>& colour, std::uint32_t label,
                      std::vector<std::array<int, 3>>& colourOut, std::vector<std::uint32_t>& labelOut)
    {
        Element& me = el(e);
        me.visited = true;
        const auto members = pyramid_.members(me.level, ix, iy);
        if (me.level == 0) {
            for (int k = 0; k < 7; ++k) {
                if (!(me.mask & (1 << k)))
                    continue;
                const int px = members[static_cast<std::size_t>(k)][0];
                const int py = members[static_cast<std::size_t>(k)][1];
                if (px < 0 || px >= width_ || py < 0 || py >= height_)
                    continue;
                const std::size_t i = static_cast<std::size_t>(py) * width_ + px;
                if (labelOut[i] != 0 && labelOut[i] != label)
                    ++paths.overpainted;
                colourOut[i] = colour;
                labelOut[i] = label;
            }
            return;
        }
        const std::vector<Link> links = me.links;
        for (const Link& link : links) {
            if (el(link.child).visited)
                continue;
            const auto& child = members[static_cast<std::size_t>(link.cell)];
            paintElement(link.child, child[0], child[1], colour, label, colourOut, labelOut);
        }
    }

    void clearVisited(int e)
    {
        if (!el(e).visited)
            return;
        el(e).visited = false;
        for (const Link& link : el(e).links)
            clearVisited(link.child);
    }

public:
    Outcome::Paths paths;
    bool linkPoolExceeded = false;
    int seamMeans() const { return hsv_.seamMeans; }

private:
    int width_;
    int height_;
    Variant variant_;
    Pyramid pyramid_;
    std::vector<std::array<int, 3>> colours_;
    std::vector<Element> elements_;
    std::vector<std::vector<std::vector<int>>> islands_;   // [level][y * rowLength + x]
    std::deque<Conflict> conflicts_;
    RgbSums rgb_;
    HsvSums hsv_;
    int elementCapacity_ = 0;
    int linkCapacity_ = 0;
    int usedElements_ = 0;
    int usedLinks_ = 0;
};

} // namespace

// ---------------------------------------------------------------------------

Pyramid::Pyramid(int width, int height)
{
    const int side = std::max(width, height);
    do {
        levels += 1;
        size *= 2;
    } while (size < side || levels < 2);
    rowLength.assign(static_cast<std::size_t>(levels), 0);
    rowLength[0] = size / 2 + 1;
    for (int l = 1; l <= levels - 2; ++l)
        rowLength[static_cast<std::size_t>(l)] = rowLength[static_cast<std::size_t>(l - 1)] / 2 + 1;
    rowLength[static_cast<std::size_t>(levels - 1)] = 1;
}

int Pyramid::islandsInRow(int level, int row) const
{
    const int n = rowLength[static_cast<std::size_t>(level)];
    const bool even = row % 2 == 0;
    // The level just below the top has its short rows where the others have long ones.
    if (level == levels - 2)
        return even ? n - 1 : n;
    return even ? n : n - 1;
}

bool Pyramid::contains(int level, int x, int y) const
{
    if (level < 0 || level >= levels)
        return false;
    const int n = rowLength[static_cast<std::size_t>(level)];
    return y >= 0 && y < n && x >= 0 && x < islandsInRow(level, y);
}

std::array<std::array<int, 2>, 7> Pyramid::members(int level, int x, int y) const
{
    int cx, cy;
    if (level == levels - 1) {
        cx = 1;
        cy = 1;
    } else if (level == levels - 2) {
        cx = 2 * x - (y & 1) + 1;
        cy = 2 * y;
    } else {
        cx = 2 * x + (y & 1);
        cy = 2 * y;
    }
    std::array<std::array<int, 2>, 7> out{};
    for (int k = 0; k < 7; ++k)
        out[static_cast<std::size_t>(k)] = {cx + kCellDx[k], cy + kCellDy[k]};
    return out;
}

std::vector<std::array<int, 2>> Pyramid::walk(int level) const
{
    std::vector<std::array<int, 2>> order;
    const int n = rowLength[static_cast<std::size_t>(level)];
    for (int parity = 0; parity < 2; ++parity)
        for (int y = parity; y < n; y += 2)
            for (int x = 0; x < islandsInRow(level, y); ++x)
                order.push_back({x, y});
    return order;
}

int Pyramid::islandCount() const
{
    int total = 0;
    for (int l = 0; l < levels; ++l)
        total += static_cast<int>(walk(l).size());
    return total;
}

bool pixelSimilar(const std::array<int, 3>& p, const std::array<int, 3>& q)
{
    const int vMin = std::min(p[2], q[2]), vMax = std::max(p[2], q[2]);
    const int sMin = std::min(p[1], q[1]), sMax = std::max(p[1], q[1]);
    const std::size_t i = static_cast<std::size_t>((sMin >> 4) * 16 + (vMax >> 4));
    if (vMax - vMin > valTolerance0()[i])
        return false;
    if (sMax - sMin > satTolerance0()[i])
        return false;
    return hueDistance(p[0], q[0]) <= hueTolerance()[i];
}

bool elementSimilar(const std::array<int, 3>& a, const std::array<int, 3>& b)
{
    const int vMax4 = std::max(a[2] >> 4, b[2] >> 4), vMin4 = std::min(a[2] >> 4, b[2] >> 4);
    const int sMax = std::max(a[1] & 0xF0, b[1] & 0xF0), sMin = std::min(a[1] & 0xF0, b[1] & 0xF0);
    const std::size_t i = static_cast<std::size_t>(sMin + vMax4);
    if (vMax4 - vMin4 > valTolerance1()[i])
        return false;
    if (sMax - sMin > satTolerance1()[i])
        return false;
    return hueDistance(a[0], b[0]) <= hueTolerance()[i];
}

namespace {

int squaredRgb(const std::array<int, 3>& a, const std::array<int, 3>& b)
{
    int sum = 0;
    for (int c = 0; c < 3; ++c) {
        const int d = a[static_cast<std::size_t>(c)] - b[static_cast<std::size_t>(c)];
        sum += d * d;
    }
    return sum;
}

} // namespace

int closerRgb(const std::array<int, 3>& g, const std::array<int, 3>& side1, const std::array<int, 3>& side2)
{
    return squaredRgb(side1, g) <= squaredRgb(side2, g) ? 1 : 2;
}

int closerHsv(const std::array<int, 3>& g, const std::array<int, 3>& side1, const std::array<int, 3>& side2)
{
    // The sides' value and saturation, in steps of 16, are set against the element's
    // saturation and value crosswise, exactly as the rule reads.
    const int gHue = g[0], gSat = g[1], gVal = g[2];
    const int dh1 = hueDistance(gHue, side1[0]), dh2 = hueDistance(gHue, side2[0]);
    const int dv1 = std::abs((side1[2] >> 4) - gSat), dv2 = std::abs((side2[2] >> 4) - gSat);
    const int ds1 = std::abs((side1[1] >> 4) - gVal), ds2 = std::abs((side2[1] >> 4) - gVal);
    std::vector<std::pair<int, int>> order;
    if (gSat >= 4 && gVal >= 6)
        order = {{dh1, dh2}, {dv1, dv2}, {ds1, ds2}};
    else
        order = {{dv1, dv2}, {ds1, ds2}, {dh1, dh2}};
    for (const auto& [a, b] : order)
        if (a != b)
            return a < b ? 1 : 2;
    return 1;
}

const std::array<int, 256>& toleranceTable(int which)
{
    switch (which) {
    case 0: return hueTolerance();
    case 1: return satTolerance0();
    case 2: return valTolerance0();
    case 3: return hueTolerance();
    case 4: return satTolerance1();
    default: return valTolerance1();
    }
}

Outcome segment(int width, int height, const std::vector<RGB24>& pixels, Variant variant, int threshold,
                double elementsPerIsland)
{
    Outcome out;
    if (width < 1 || height < 1)
        return out;
    const std::size_t count = static_cast<std::size_t>(width) * height;

    // Colours the run works on: the bytes themselves, or their table HSV.
    std::vector<std::array<int, 3>> colours(count);
    std::vector<HSVPixel> hsvIn(count);
    if (variant == Variant::Rgb) {
        for (std::size_t i = 0; i < count; ++i)
            colours[i] = {pixels[i].r, pixels[i].g, pixels[i].b};
    } else {
        std::vector<std::uint8_t> bytes(count * 3);
        for (std::size_t i = 0; i < count; ++i) {
            bytes[3 * i] = pixels[i].r;
            bytes[3 * i + 1] = pixels[i].g;
            bytes[3 * i + 2] = pixels[i].b;
        }
        imageRgbToHsv(width, height, bytes.data(), hsvIn.data());
        for (std::size_t i = 0; i < count; ++i)
            colours[i] = {hsvIn[i].hue, hsvIn[i].sat, hsvIn[i].val};
    }

    Segmentation run(width, height, variant, threshold, std::move(colours), elementsPerIsland);
    try {
        run.linkAll();
    } catch (const StoreFull&) {
        out.overrun = true;
    }
    out.linkPoolExceeded = run.linkPoolExceeded;
    if (out.overrun)
        return out;

    std::vector<std::array<int, 3>> painted;
    out.regions = run.paint(painted, out.labels);
    out.paths = run.paths;
    out.paths.hsvSeam = run.seamMeans();
    out.rgb.assign(count * 3, 0);
    if (variant == Variant::Rgb) {
        for (std::size_t i = 0; i < count; ++i)
            for (int c = 0; c < 3; ++c)
                out.rgb[3 * i + static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(painted[i][static_cast<std::size_t>(c)]);
    } else {
        // The HSV picture (black where nothing was painted) goes back through the tables.
        std::vector<HSVPixel> hsvOut(count);
        for (std::size_t i = 0; i < count; ++i)
            hsvOut[i] = HSVPixel{static_cast<std::int16_t>(painted[i][0]), static_cast<std::uint8_t>(painted[i][1]),
                                 static_cast<std::uint8_t>(painted[i][2])};
        imageHsvToRgb(width, height, hsvOut.data(), out.rgb.data());
    }
    return out;
}

} // namespace cscref

} // namespace ivra
