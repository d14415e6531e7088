#include "CscIndependent.h"

#include "color/ColorConversion.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>

namespace ivra::cscref {

namespace {

// Cells of an island: 0 centre, 1 right, 2 lower left, 3 lower right, 4 upper left,
// 5 upper right, 6 left (offsets for a centre on an even row).
constexpr int kCellDx[7] = {0, +1, -1, 0, -1, 0, -1};
constexpr int kCellDy[7] = {0, 0, +1, +1, -1, -1, 0};
// Cells of the same island adjacent to each cell, in the order they are tried.
const std::vector<int> kCellNeighbours[7] = {{1, 2, 3, 4, 5, 6}, {3, 5, 0}, {3, 6, 0}, {0, 1, 2},
                                             {5, 6, 0},          {0, 1, 4}, {0, 2, 4}};
// kSharedCell[i][j]: the cell of child i lying in the overlap with child j.
constexpr int kSharedCell[7][7] = {{-1, 1, 2, 3, 4, 5, 6},    {6, -1, -1, 2, -1, 4, -1}, {5, -1, -1, 1, -1, -1, 4},
                                   {4, 5, 6, -1, -1, -1, -1}, {3, -1, -1, -1, -1, 1, 2}, {2, 3, -1, -1, 6, -1, -1},
                                   {1, -1, 3, -1, 5, -1, -1}};
// kSharingChild[i][k]: the sibling child that also holds cell k of child i.
constexpr int kSharingChild[7][7] = {{-1, 1, 2, 3, 4, 5, 6},    {-1, -1, 3, -1, 5, -1, 0}, {-1, 3, -1, -1, 6, 0, -1},
                                     {-1, -1, -1, -1, 0, 1, 2}, {-1, 5, 6, 0, -1, -1, -1}, {-1, -1, 0, 1, -1, -1, 4},
                                     {-1, 0, -1, 2, -1, 4, -1}};

// HSV tolerance tables, 16 x 16 (row: smaller saturation / 16, column: larger value
// / 16), written as "rows: value*count ...".
std::array<int, 256> table(const std::string& text)
{
    std::array<int, 256> t{};
    std::istringstream rows(text);
    int filled = 0;
    for (std::string row; std::getline(rows, row, '|');) {
        std::istringstream in(row);
        int first = 0, last = 0;
        char sign = 0;
        if (in >> first >> sign, last = first; sign == '-') // "a-b:" or "a:"
            in >> last >> sign;
        std::vector<int> entries;
        for (std::string run; in >> run;) {
            const auto star = run.find('*');
            entries.insert(entries.end(), star == std::string::npos ? 1 : std::stoi(run.substr(star + 1)), std::stoi(run));
        }
        for (int r = first; r <= last && entries.size() == 16; ++r, filled += 16)
            std::copy(entries.begin(), entries.end(), t.begin() + 16 * r);
    }
    if (filled != 256)
        throw std::logic_error("tolerance table incomplete");
    return t;
}

const std::array<int, 256> kHue = table("0-1: 360*16 | 2: 360*3 95*2 90*11 | 3: 30*4 15 13 12*10 | 4: 25*3 15 13*2 "
                                        "12*2 11*2 10*6 | 5: 20*3 15 13*2 12*2 11*2 10*6 | 6-7: 20*3 13 12*2 11*2 10*8 | "
                                        "8: 20*3 12 11*2 10*10 | 9-10: 18*3 12 11*2 10*10 | 11-15: 16*3 12 11*2 10*10");
const std::array<int, 256> kSat0 = table("0-1: 24*12 8*4 | 2: 64 56*3 40 24*11 | 3-7: 72*3 56 40 24*11 | "
                                         "8-15: 72*4 56*10 40*2");
const std::array<int, 256> kVal0 = table("0-1: 8*7 10*9 | 2-3: 8*16 | 4: 8*2 24*14 | 5: 8*2 24 40*2 24*11 | "
                                         "6-15: 8*2 24 40*13");
const std::array<int, 256> kSat1 = table("0: 32*12 16*4 | 1: 32*10 16*6 | 2: 64*4 48 32*11 | "
                                         "3-7: 80*3 64 48 32*11 | 8-15: 80*4 64*10 48*2");
const std::array<int, 256> kVal1 = table("0: 2*11 3*5 | 1-3: 2*16 | 4-5: 2*3 3*2 2*11 | 6-15: 2*3 3*13");

int hueDistance(int h1, int h2)
{
    const int d = std::abs(h1 - h2);
    return d > 180 ? 360 - d : d;
}

int squaredDistance(const Color& a, const Color& b)
{
    return (a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]);
}

// The growth of one element. Level 0 compares a candidate with the pixel it was reached
// from, above with the running mean. HSV hues <= 60 are lifted by 360 when a hue >= 300
// is present; achromatic members stay out of the hue mean.
struct Growth {
    Variant variant;
    int squaredThreshold;
    int* seamMeans;
    int level = 0, count = 0, sum[3] = {}, chromatic = 0, wrapSum = 0, highHues = 0;
    Color mean{};

    void start(const Color& seed, int atLevel)
    {
        *this = {variant, squaredThreshold, seamMeans, atLevel};
        add(seed);
        mean = seed;
    }
    void add(const Color& c)
    {
        ++count;
        sum[1] += c[1];
        sum[2] += c[2];
        if (variant == Variant::Rgb || c[1] != 0)
            sum[0] += c[0];
        if (variant == Variant::Hsv && c[1] != 0) {
            ++chromatic;
            wrapSum += c[0] <= 60 ? 360 : 0;
            highHues += c[0] >= 300 ? 1 : 0;
        }
    }
    Color currentMean() const
    {
        if (variant == Variant::Rgb)
            return {sum[0] / count, sum[1] / count, sum[2] / count};
        int hue = 0;
        if (chromatic > 0) {
            if (highHues > 0 && wrapSum > 0)
                ++*seamMeans;
            hue = (sum[0] + (highHues > 0 ? wrapSum : 0) + chromatic / 2) / chromatic % 360;
        }
        return {hue, sum[1] / count, sum[2] / count};
    }
    bool accept(const Color& reference, const Color& candidate)
    {
        if (variant == Variant::Rgb ? squaredDistance(level == 0 ? reference : mean, candidate) >= squaredThreshold
                                    : !(level == 0 ? pixelSimilar(reference, candidate) : elementSimilar(mean, candidate)))
            return false;
        add(candidate);
        if (level > 0)
            mean = currentMean();
        return true;
    }
    Color color() const { return level > 0 ? mean : currentMean(); }
};

// Which child island of the element's island holds the child; the child's number.
struct Link { int cell, child; };

struct Element {
    int level = 0, x = 0, y = 0, mask = 0; // its island, the cells it holds
    std::vector<Link> links{};
    bool root = true, taken = false;
    int parent1 = -1, parent2 = -1;
    Color color{};
};

struct Conflict { int cell1, cell2, side1, side2, element; };

struct StoreFull {};

class Segmentation {
public:
    Segmentation(int width, int height, Variant variant, int threshold, std::vector<Color> colors,
                 double elementsPerIsland)
        : width_(width), height_(height), pyramid_(width, height), colors_(std::move(colors)),
          growth_{variant, threshold * threshold, &paths.hsvSeam}
    {
        // The store holds elementsPerIsland elements per island and twice as many links.
        elementCapacity_ = static_cast<int>(std::floor(pyramid_.islandCount() * elementsPerIsland));
        linkCapacity_ = static_cast<int>(std::floor(2.0 * elementCapacity_));
    }

    void linkAll()
    {
        levelZero();
        for (int level = 1; level < pyramid_.levels; ++level) {
            for (const auto& [x, y] : pyramid_.walk(level))
                linkIsland(level, x, y);
            resolveAll();
        }
    }

    // Paints every root, coarse levels first.
    void paint(std::vector<Color>& colorOut, std::vector<std::uint32_t>& labelOut)
    {
        colorOut.assign(static_cast<std::size_t>(width_) * height_, {0, 0, 0});
        labelOut.assign(static_cast<std::size_t>(width_) * height_, 0);
        std::uint32_t label = 0;
        for (int level = pyramid_.levels - 1; level >= 0; --level)
            for (const auto& [x, y] : pyramid_.walk(level))
                for (int e : islands_[{level, x, y}])
                    if (std::set<int> visited; el(e).root)
                        paintElement(e, el(e).color, ++label, visited, colorOut, labelOut);
    }

    Outcome::Paths paths;
    bool linkPoolExceeded = false;
    int usedElements = 0;

private:
    Element& el(int e) { return elements_[e]; }

    // A new element is only a candidate until it is committed; a full store refuses
    // even to hand one out.
    int allocate(int level, int x, int y)
    {
        if (usedElements >= elementCapacity_ || usedLinks_ >= linkCapacity_)
            throw StoreFull{};
        elements_.push_back({level, x, y});
        return static_cast<int>(elements_.size()) - 1;
    }

    // Keeps the grown element when it has two members, else forgets it.
    void finish(int e, int members, int seed)
    {
        if (members < 2)
            return elements_.pop_back();
        el(e).color = growth_.color();
        if (seed >= 0)
            becomeParent(e, seed);
        islands_[{el(e).level, el(e).x, el(e).y}].push_back(e);
        ++usedElements;
        usedLinks_ += static_cast<int>(el(e).links.size());
    }

    void becomeParent(int parent, int child)
    {
        (el(child).parent1 < 0 ? el(child).parent1 : el(child).parent2) = parent;
        el(child).root = false;
    }

    void join(int grown, int cell, int candidate)
    {
        el(candidate).taken = true;
        el(grown).mask |= 1 << cell;
        el(grown).links.push_back({cell, candidate});
        linkPoolExceeded = linkPoolExceeded || usedLinks_ + static_cast<int>(el(grown).links.size()) > linkCapacity_;
        becomeParent(grown, candidate);
        queue_.emplace_back(cell, candidate);
        --untaken_;
    }

    // Level 0: breadth first from each seed pixel, in cell order; pixels outside the
    // picture count as taken.
    void levelZero()
    {
        for (const auto& [ix, iy] : pyramid_.walk(0)) {
            const auto cells = pyramid_.members(0, ix, iy);
            bool assigned[7];
            for (int k = 0; k < 7; ++k)
                assigned[k] = cells[k][0] < 0 || cells[k][0] >= width_ || cells[k][1] < 0 || cells[k][1] >= height_;
            const auto pixel = [&](int k) { return colors_[cells[k][1] * width_ + cells[k][0]]; };
            for (int k = 0; k < 7 && !std::all_of(assigned, assigned + 7, [](bool a) { return a; }); ++k) {
                if (assigned[k])
                    continue;
                const int e = allocate(0, ix, iy);
                el(e).mask = 1 << k;
                assigned[k] = true;
                growth_.start(pixel(k), 0);
                std::vector<int> queue{k};
                for (std::size_t head = 0; head < queue.size(); ++head)
                    for (int n : kCellNeighbours[queue[head]])
                        if (!assigned[n] && growth_.accept(pixel(queue[head]), pixel(n))) {
                            assigned[n] = true;
                            queue.push_back(n);
                            el(e).mask |= 1 << n;
                        }
                finish(e, static_cast<int>(queue.size()), -1);
            }
        }
    }

    // Level 1: neighbouring children's elements that hold their shared pixel link.
    // Levels >= 2: elements that share a child link; a dissimilar pair is a conflict.
    void linkIsland(int level, int ix, int iy)
    {
        std::array<std::vector<int>, 7> lists;
        const auto children = pyramid_.members(level, ix, iy);
        untaken_ = 0;
        for (int k = 0; k < 7; ++k)
            if (pyramid_.contains(level - 1, children[k][0], children[k][1])) {
                lists[k] = islands_[{level - 1, children[k][0], children[k][1]}];
                untaken_ += static_cast<int>(lists[k].size());
            }
        for (int k = 0; k < 7; ++k)
            for (int seed : lists[k]) {
                if (el(seed).taken)
                    continue;
                if (level == 1 && untaken_ < 2)
                    break;
                const int e = allocate(level, ix, iy);
                el(e).mask = 1 << k;
                el(e).links.push_back({k, seed});
                el(seed).taken = true;
                --untaken_;
                growth_.start(el(seed).color, level);
                queue_ = {{k, seed}};
                for (std::size_t head = 0; head < queue_.size(); ++head) {
                    const auto [q, ce] = queue_[head];
                    if (level == 1)
                        offerSharedPixels(lists, q, ce, e);
                    else
                        offerSharedChildren(q, ce, e);
                }
                finish(e, static_cast<int>(el(e).links.size()), seed);
            }
        for (const auto& list : lists)
            for (int e : list)
                el(e).taken = false;
    }

    void offerSharedPixels(const std::array<std::vector<int>, 7>& lists, int q, int ce, int e)
    {
        for (int n : kCellNeighbours[q])
            for (int f : lists[n])
                if (!el(f).taken && (el(ce).mask >> kSharedCell[q][n] & 1) && (el(f).mask >> kSharedCell[n][q] & 1) &&
                    growth_.accept(el(ce).color, el(f).color))
                    join(e, n, f);
    }

    void offerSharedChildren(int q, int ce, int e)
    {
        const std::vector<Link> links = el(ce).links;
        for (const Link& link : links) {
            const int g = link.child, n = kSharingChild[q][link.cell];
            if (n < 0)
                continue; // this child is not shared with a sibling here
            const int f = el(g).parent1 == ce ? el(g).parent2 : el(g).parent1;
            if (f < 0 || el(f).taken)
                continue;
            if (growth_.accept(el(ce).color, el(f).color)) {
                join(e, n, f);
            } else {
                // g sits under two parents that will end apart: decided after the level.
                ++paths.conflicts;
                const int cellInCe = link.cell, cellInF = kSharedCell[n][q];
                const bool ceFirst = el(g).parent1 == ce;
                conflicts_.push_back({ceFirst ? cellInCe : cellInF, ceFirst ? cellInF : cellInCe, el(g).parent1,
                                      el(g).parent2, g});
            }
        }
    }

    // Each shared element goes to the closer side and leaves the other parent; its
    // children that the losing side also holds through a sibling follow it.
    void resolveAll()
    {
        for (; !conflicts_.empty(); conflicts_.pop_front()) {
            const Conflict c = conflicts_.front();
            const int g = c.element;
            const int w = (growth_.variant == Variant::Rgb ? closerRgb : closerHsv)(el(g).color, el(c.side1).color,
                                                                                    el(c.side2).color); // 1 or 2
            const int loser = w == 1 ? el(g).parent2 : el(g).parent1;
            if (loser < 0)
                continue;
            auto& ll = el(loser).links; // the last link fills the gap
            if (const auto at = std::find_if(ll.begin(), ll.end(), [g](const Link& l) { return l.child == g; }); at != ll.end())
                *at = ll.back(), ll.pop_back();
            (el(g).parent1 == loser ? el(g).parent1 : el(g).parent2) = -1;
            ++paths.detached;
            const int m = w == 1 ? c.cell2 : c.cell1;
            const int sideLoser = w == 1 ? c.side2 : c.side1, sideWinner = w == 1 ? c.side1 : c.side2;
            for (const Link& link : el(g).links) {
                const int t = link.cell, h = link.child, y = kSharingChild[m][t];
                const auto underLoser = [&](int p) {
                    return p >= 0 && p != g && (el(p).parent1 == loser || el(p).parent2 == loser);
                };
                if (y < 0)
                    continue;
                if (underLoser(el(h).parent1))
                    conflicts_.push_back({kSharedCell[y][m], t, sideLoser, sideWinner, h});
                else if (underLoser(el(h).parent2))
                    conflicts_.push_back({t, kSharedCell[y][m], sideWinner, sideLoser, h});
                else
                    continue;
                ++paths.carriedDown;
            }
        }
    }

    void paintElement(int e, const Color& color, std::uint32_t label, std::set<int>& visited,
                      std::vector<Color>& colorOut, std::vector<std::uint32_t>& labelOut)
    {
        if (!visited.insert(e).second)
            return;
        const auto members = pyramid_.members(el(e).level, el(e).x, el(e).y);
        for (int k = 0; k < 7 && el(e).level == 0; ++k) {
            const int px = members[k][0], py = members[k][1];
            if (!(el(e).mask >> k & 1) || px < 0 || px >= width_ || py < 0 || py >= height_)
                continue;
            const std::size_t i = static_cast<std::size_t>(py) * width_ + px;
            paths.overpainted += labelOut[i] != 0 && labelOut[i] != label;
            colorOut[i] = color;
            labelOut[i] = label;
        }
        for (const Link& link : el(e).links)
            paintElement(link.child, color, label, visited, colorOut, labelOut);
    }

    int width_, height_;
    Pyramid pyramid_;
    std::vector<Color> colors_;
    Growth growth_;
    std::vector<Element> elements_;
    std::map<std::array<int, 3>, std::vector<int>> islands_; // level, x, y -> kept elements in order
    std::deque<Conflict> conflicts_;
    // untaken_: children of the island not in an element yet
    int elementCapacity_ = 0, linkCapacity_ = 0, usedLinks_ = 0, untaken_ = 0;
    std::vector<std::pair<int, int>> queue_; // cell, element: members still to offer their neighbours
};

} // namespace

Pyramid::Pyramid(int width, int height)
{
    for (levels = 1, size = 2; size < std::max(width, height) || levels < 2; ++levels)
        size *= 2;
    rowLength.assign(levels, 1);
    rowLength[0] = size / 2 + 1;
    for (int l = 1; l <= levels - 2; ++l)
        rowLength[l] = rowLength[l - 1] / 2 + 1;
}

std::array<std::array<int, 2>, 7> Pyramid::members(int level, int x, int y) const
{
    int cx = 2 * x + (y & 1), cy = 2 * y;
    if (level == levels - 1)
        cx = cy = 1;
    else if (level == levels - 2)
        cx = 2 * x - (y & 1) + 1;
    std::array<std::array<int, 2>, 7> out{};
    for (int k = 0; k < 7; ++k)
        out[k] = {cx + kCellDx[k], cy + kCellDy[k]};
    return out;
}

std::vector<std::array<int, 2>> Pyramid::walk(int level) const
{
    std::vector<std::array<int, 2>> order;
    for (int parity = 0; parity < 2; ++parity)
        for (int y = parity; y < rowLength[level]; y += 2)
            for (int x = 0; x < islandsInRow(level, y); ++x)
                order.push_back({x, y});
    return order;
}

bool pixelSimilar(const Color& p, const Color& q)
{
    const int i = (std::min(p[1], q[1]) >> 4) * 16 + (std::max(p[2], q[2]) >> 4);
    return std::abs(p[2] - q[2]) <= kVal0[i] && std::abs(p[1] - q[1]) <= kSat0[i] && hueDistance(p[0], q[0]) <= kHue[i];
}

bool elementSimilar(const Color& a, const Color& b)
{
    // Saturations in steps of 16, values in units of 16.
    const int i = std::min(a[1] & 0xF0, b[1] & 0xF0) + std::max(a[2] >> 4, b[2] >> 4);
    return std::abs((a[2] >> 4) - (b[2] >> 4)) <= kVal1[i] && std::abs((a[1] & 0xF0) - (b[1] & 0xF0)) <= kSat1[i] &&
           hueDistance(a[0], b[0]) <= kHue[i];
}

int closerRgb(const Color& g, const Color& side1, const Color& side2)
{
    return squaredDistance(side1, g) <= squaredDistance(side2, g) ? 1 : 2;
}

int closerHsv(const Color& g, const Color& side1, const Color& side2)
{
    // The sides' value and saturation, in steps of 16, are set against the element's
    // saturation and value crosswise, exactly as the rule reads.
    const int dh1 = hueDistance(g[0], side1[0]), dh2 = hueDistance(g[0], side2[0]);
    const int dv1 = std::abs((side1[2] >> 4) - g[1]), dv2 = std::abs((side2[2] >> 4) - g[1]);
    const int ds1 = std::abs((side1[1] >> 4) - g[2]), ds2 = std::abs((side2[1] >> 4) - g[2]);
    std::vector<std::pair<int, int>> order = {{dh1, dh2}, {dv1, dv2}, {ds1, ds2}};
    if (!(g[1] >= 4 && g[2] >= 6)) // not chromatic: hue last
        std::rotate(order.begin(), order.begin() + 1, order.end());
    for (const auto& [a, b] : order)
        if (a != b)
            return a < b ? 1 : 2;
    return 1;
}

Outcome segment(int width, int height, const std::vector<RGB24>& pixels, Variant variant, int threshold,
                double elementsPerIsland)
{
    Outcome out;
    if (width < 1 || height < 1)
        return out;
    const std::size_t count = static_cast<std::size_t>(width) * height;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(pixels.data());
    // Colours the run works on: the bytes themselves, or their table HSV.
    std::vector<Color> colors(count);
    std::vector<HSVPixel> hsv(count);
    if (variant == Variant::Hsv)
        imageRgbToHsv(width, height, bytes, hsv.data());
    for (std::size_t i = 0; i < count; ++i)
        colors[i] = variant == Variant::Rgb ? Color{bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]}
                                             : Color{hsv[i].hue, hsv[i].sat, hsv[i].val};

    Segmentation run(width, height, variant, threshold, std::move(colors), elementsPerIsland);
    out.islandCount = Pyramid(width, height).islandCount();
    try {
        run.linkAll();
    } catch (const StoreFull&) {
        out.overrun = true;
    }
    out.linkPoolExceeded = run.linkPoolExceeded;
    out.usedElements = run.usedElements;
    if (out.overrun)
        return out;
    std::vector<Color> painted;
    run.paint(painted, out.labels);
    out.paths = run.paths;
    out.rgb.assign(count * 3, 0);
    for (std::size_t i = 0; i < 3 * count; ++i)
        out.rgb[i] = static_cast<std::uint8_t>(painted[i / 3][i % 3]);
    // An HSV picture (black where nothing was painted) goes back through the tables.
    for (std::size_t i = 0; i < count && variant == Variant::Hsv; ++i)
        hsv[i] = HSVPixel{static_cast<std::int16_t>(painted[i][0]), out.rgb[3 * i + 1], out.rgb[3 * i + 2]};
    if (variant == Variant::Hsv)
        imageHsvToRgb(width, height, hsv.data(), out.rgb.data());
    return out;
}

} // namespace ivra::cscref
