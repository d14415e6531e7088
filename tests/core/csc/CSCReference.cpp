#include "CSCReference.h"

#include "colour/ColourConversion.h"
#include "csc/CSCException.h"
#include "csc/ipcConflictResolution.h"
#include "csc/ipcIslandHierarchy.h"
#include "csc/ipcIslandIterator.h"
#include "csc/ipcSimilarityHSV.h"
#include "csc/ipcSimilarityRGB.h"

#include <cmath>
#include <cstring>
#include <deque>
#include <functional>

namespace ivra {

namespace csc_reference {
namespace {

constexpr int none = -1;
using H = ipcIslandHierarchy;

struct Elem {
    int mask = 0;
    int childCount = 0;
    int flags = 0;
    std::uint32_t colour = 0;
    int parent1 = none;
    int parent2 = none;
    int links = 0;
};
struct Link {
    int cell;
    int child;
};
struct Conflict {
    int cell1, cell2, side1, side2, element;
};

struct Store {
    Store(const H& h, double perIsland) : h(h)
    {
        E = static_cast<long long>(std::floor(h.islandCount() * perIsland));
        elements.resize(static_cast<std::size_t>(E));
        links.resize(static_cast<std::size_t>(2 * E));
        count.assign(h.islandCount(), 0);
        first.assign(h.islandCount(), 0);
    }
    void beginIsland(int index)
    {
        current = index;
        count[index] = 0;
        first[index] = used;
    }
    int allocate()
    {
        if (used >= E || usedLinks >= 2 * E)
            throw ipcCodeelementBaseOverrun();
        Elem& e = elements[used];
        e = Elem{};
        e.flags = ipcCodeelement::rootFlag;
        e.links = static_cast<int>(usedLinks);
        return static_cast<int>(used);
    }
    void addLink(int element, int cell, int child)
    {
        Elem& e = elements[element];
        if (e.childCount == 255 || e.links + e.childCount >= 2 * E)
            throw ipcCodeelementBaseOverrun();
        links[e.links + e.childCount] = {cell, child};
        ++e.childCount;
    }
    void commit()
    {
        ++count[current];
        usedLinks += elements[used].childCount;
        ++used;
    }
    std::pair<int, int> elementsOf(IslandCoord c) const
    {
        const int i = h.islandIndex(c);
        if (i < 0)
            return {0, 0};
        return {first[i], count[i]};
    }

    const H& h;
    long long E;
    std::vector<Elem> elements;
    std::vector<Link> links;
    std::vector<int> count, first;
    long long used = 0, usedLinks = 0;
    int current = 0;
};

void setParent(Elem& child, int parent)
{
    if (child.parent1 == none)
        child.parent1 = parent;
    else
        child.parent2 = parent;
    child.flags &= ~ipcCodeelement::rootFlag;
}

struct Predicate {
    bool hsv;
    ipcSimilarityRGB rgb;
    ipcSimilarityHSV hsvSim;
    void start(std::uint32_t c, int mode)
    {
        if (hsv)
            hsvSim.start(c, mode);
        else
            rgb.start(c, mode);
    }
    // Levels >= 1: candidate against the running mean.
    bool acceptElement(std::uint32_t ref, std::uint32_t cand)
    {
        if (!hsv)
            return rgb.accept(ref, cand);
        if (!ipcSimilarityHSV::elementSimilar(hsvSim.meanColour(), cand))
            return false;
        hsvSim.add(cand);
        hsvSim.means();
        return true;
    }
    std::uint32_t finalColour()
    {
        if (!hsv)
            return rgb.finalColour();
        hsvSim.means();
        return hsvSim.meanColour();
    }
};

class Reference {
public:
    Reference(const std::vector<std::uint32_t>& px, int w, int h, bool hsv, int threshold, double perIsland)
        : px(px), w(w), hgt(h), hier(w, h), store(hier, perIsland), pred{hsv, {}, {}}
    {
        pred.rgb.squaredThreshold = threshold * threshold;
    }

    void run()
    {
        auto it = ipcIslandIterator::bottomUp(hier);
        level0(*it);
        it->nextLevelUp();
        level1(*it);
        while (it->nextLevelUp()) {
            levelN(*it);
            if (!conflicts.empty())
                resolveAll();
        }
    }

    void level0(ipcIslandIterator& it)
    {
        do {
            const IslandCoord c = it.coord();
            store.beginIsland(hier.islandIndex(c));
            const auto cells = hier.cellCoords(c);
            bool usable[7], assigned[7];
            for (int k = 0; k < 7; ++k) {
                usable[k] = cells[k].x >= 0 && cells[k].x < w && cells[k].y >= 0 && cells[k].y < hgt;
                assigned[k] = !usable[k];
            }
            const auto colour = [&](int k) { return px[cells[k].y * w + cells[k].x]; };
            for (int k = 0; k < 7; ++k) {
                bool all = true;
                for (int j = 0; j < 7; ++j)
                    all = all && assigned[j];
                if (all)
                    break;
                if (assigned[k])
                    continue;
                const int e = store.allocate();
                int mask = 1 << k;
                assigned[k] = true;
                pred.start(colour(k), 0);
                std::deque<int> queue{k};
                while (!queue.empty()) {
                    const int q = queue.front();
                    queue.pop_front();
                    for (const int* nb = H::cellNeighbours[q]; *nb >= 0; ++nb) {
                        const int n = *nb;
                        if (assigned[n])
                            continue;
                        bool similar;
                        if (pred.hsv) {
                            similar = ipcSimilarityHSV::pixelSimilar(colour(q), colour(n));
                            if (similar)
                                pred.hsvSim.add(colour(n));
                        } else {
                            similar = pred.rgb.accept(colour(q), colour(n));
                        }
                        if (similar) {
                            assigned[n] = true;
                            queue.push_back(n);
                            mask |= 1 << n;
                        }
                    }
                }
                int members = 0;
                for (int j = 0; j < 7; ++j)
                    members += (mask >> j) & 1;
                if (members >= 2) {
                    store.elements[e].mask = mask;
                    store.elements[e].colour = pred.finalColour();
                    store.commit();
                }
            }
        } while (it.nextInLevel());
    }

    void level1(ipcIslandIterator& it)
    {
        do {
            const IslandCoord c = it.coord();
            store.beginIsland(hier.islandIndex(c));
            const auto children = hier.childIslands(c);
            std::pair<int, int> r[7];
            int total = 0;
            for (int k = 0; k < 7; ++k) {
                r[k] = store.elementsOf(children[k]);
                total += r[k].second;
            }
            if (total < 2)
                continue;
            int untaken = total;
            bool stop = false;
            for (int k = 0; k < 7 && !stop; ++k) {
                for (int e = r[k].first; e < r[k].first + r[k].second; ++e) {
                    if (untaken < 2) {
                        stop = true;
                        break;
                    }
                    if (store.elements[e].flags & ipcCodeelement::takenFlag)
                        continue;
                    const int E = store.allocate();
                    store.elements[E].mask = 1 << k;
                    store.addLink(E, k, e);
                    store.elements[e].flags |= ipcCodeelement::takenFlag;
                    --untaken;
                    pred.start(store.elements[e].colour, 1);
                    std::deque<std::pair<int, int>> queue{{k, e}};
                    while (!queue.empty()) {
                        const auto [q, ce] = queue.front();
                        queue.pop_front();
                        for (const int* nb = H::cellNeighbours[q]; *nb >= 0; ++nb) {
                            const int n = *nb;
                            for (int f = r[n].first; f < r[n].first + r[n].second; ++f) {
                                Elem& F = store.elements[f];
                                if (F.flags & ipcCodeelement::takenFlag)
                                    continue;
                                if (!((store.elements[ce].mask >> H::sharedCell[q][n]) & 1))
                                    continue;
                                if (!((F.mask >> H::sharedCell[n][q]) & 1))
                                    continue;
                                if (!pred.acceptElement(store.elements[ce].colour, F.colour))
                                    continue;
                                F.flags |= ipcCodeelement::takenFlag;
                                --untaken;
                                queue.push_back({n, f});
                                store.elements[E].mask |= 1 << n;
                                store.addLink(E, n, f);
                                setParent(F, E);
                            }
                        }
                    }
                    if (store.elements[E].childCount >= 2) {
                        store.elements[E].colour = pred.finalColour();
                        setParent(store.elements[e], E);
                        store.commit();
                    }
                }
            }
            clearTaken(r);
        } while (it.nextInLevel());
    }

    void levelN(ipcIslandIterator& it)
    {
        const int level = it.coord().level;
        do {
            const IslandCoord c = it.coord();
            store.beginIsland(hier.islandIndex(c));
            const auto children = hier.childIslands(c);
            std::pair<int, int> r[7];
            for (int k = 0; k < 7; ++k)
                r[k] = store.elementsOf(children[k]);
            for (int k = 0; k < 7; ++k) {
                for (int e = r[k].first; e < r[k].first + r[k].second; ++e) {
                    if (store.elements[e].flags & ipcCodeelement::takenFlag)
                        continue;
                    const int E = store.allocate();
                    store.elements[E].mask = 1 << k;
                    store.addLink(E, k, e);
                    store.elements[e].flags |= ipcCodeelement::takenFlag;
                    pred.start(store.elements[e].colour, level);
                    std::deque<std::pair<int, int>> queue{{k, e}};
                    while (!queue.empty()) {
                        const auto [q, ce] = queue.front();
                        queue.pop_front();
                        const Elem& CE = store.elements[ce];
                        for (int j = 0; j < CE.childCount; ++j) {
                            const Link l = store.links[CE.links + j];
                            const int n = H::sharingChild[q][l.cell];
                            if (n < 0)
                                continue;
                            const Elem& G = store.elements[l.child];
                            const int f = G.parent1 == ce ? G.parent2 : G.parent1;
                            if (f == none || (store.elements[f].flags & ipcCodeelement::takenFlag))
                                continue;
                            if (pred.acceptElement(CE.colour, store.elements[f].colour)) {
                                store.elements[f].flags |= ipcCodeelement::takenFlag;
                                queue.push_back({n, f});
                                store.elements[E].mask |= 1 << n;
                                store.addLink(E, n, f);
                                setParent(store.elements[f], E);
                            } else {
                                const int cellCe = l.cell, cellF = H::sharedCell[n][q];
                                const int c1 = G.parent1 == ce ? cellCe : cellF;
                                const int c2 = G.parent1 == ce ? cellF : cellCe;
                                conflicts.push_back({c1, c2, G.parent1, G.parent2, l.child});
                            }
                        }
                    }
                    if (store.elements[E].childCount >= 2) {
                        store.elements[E].colour = pred.finalColour();
                        setParent(store.elements[e], E);
                        store.commit();
                    }
                }
            }
            clearTaken(r);
        } while (it.nextInLevel());
    }

    void clearTaken(const std::pair<int, int>* r)
    {
        for (int k = 0; k < 7; ++k)
            for (int e = r[k].first; e < r[k].first + r[k].second; ++e)
                store.elements[e].flags &= ~ipcCodeelement::takenFlag;
    }

    int closer(int g, int s1, int s2) const
    {
        const auto& el = store.elements;
        return pred.hsv ? closerHSV(el[g].colour, el[s1].colour, el[s2].colour)
                        : closerRGB(el[g].colour, el[s1].colour, el[s2].colour);
    }

    void resolveAll()
    {
        while (!conflicts.empty()) {
            const Conflict c = conflicts.front();
            conflicts.pop_front();
            Elem& g = store.elements[c.element];
            const int cur1 = g.parent1, cur2 = g.parent2;
            const int w = closer(c.element, c.side1, c.side2);
            const int loser = w == 1 ? cur2 : cur1;
            if (loser == none)
                continue;
            Elem& L = store.elements[loser];
            for (int i = 0; i < L.childCount; ++i) {
                if (store.links[L.links + i].child == c.element) {
                    store.links[L.links + i] = store.links[L.links + L.childCount - 1];
                    --L.childCount;
                    break;
                }
            }
            if (g.parent1 == loser)
                g.parent1 = none;
            else if (g.parent2 == loser)
                g.parent2 = none;
            const int m = loser == cur2 ? c.cell2 : c.cell1;
            const int sL = w == 1 ? c.side2 : c.side1;
            const int sW = w == 1 ? c.side1 : c.side2;
            for (int i = 0; i < g.childCount; ++i) {
                const Link l = store.links[g.links + i];
                const int Y = H::sharingChild[m][l.cell];
                if (Y < 0)
                    continue;
                const Elem& h = store.elements[l.child];
                const auto hasLoser = [&](int p) {
                    return p != none && p != c.element &&
                           (store.elements[p].parent1 == loser || store.elements[p].parent2 == loser);
                };
                if (hasLoser(h.parent1))
                    conflicts.push_back({H::sharedCell[Y][m], l.cell, sL, sW, l.child});
                else if (hasLoser(h.parent2))
                    conflicts.push_back({l.cell, H::sharedCell[Y][m], sW, sL, l.child});
            }
        }
    }

    // Forward painting: every root paints its whole region; visit marks are cleared
    // after each root.
    void paint(std::vector<std::uint32_t>& labels, std::vector<std::uint32_t>& colourBuf)
    {
        labels.assign(static_cast<std::size_t>(w) * hgt, 0);
        colourBuf.assign(static_cast<std::size_t>(w) * hgt, 0);
        std::uint32_t label = 1;
        auto it = ipcIslandIterator::topDown(hier);
        std::function<void(int, IslandCoord, std::uint32_t, std::uint32_t)> paintOne =
            [&](int e, IslandCoord island, std::uint32_t lab, std::uint32_t col) {
                Elem& E = store.elements[e];
                E.flags |= ipcCodeelement::visitedFlag;
                if (island.level == 0) {
                    const auto cells = hier.cellCoords(island);
                    for (int k = 0; k < 7; ++k) {
                        if (!((E.mask >> k) & 1))
                            continue;
                        if (cells[k].x >= 0 && cells[k].x < w && cells[k].y >= 0 && cells[k].y < hgt) {
                            labels[cells[k].y * w + cells[k].x] = lab;
                            colourBuf[cells[k].y * w + cells[k].x] = col;
                        }
                    }
                    return;
                }
                const auto children = hier.childIslands(island);
                for (int j = 0; j < E.childCount; ++j) {
                    const Link l = store.links[E.links + j];
                    if (!(store.elements[l.child].flags & ipcCodeelement::visitedFlag))
                        paintOne(l.child, children[l.cell], lab, col);
                }
            };
        std::function<void(int)> clear = [&](int e) {
            Elem& E = store.elements[e];
            if (!(E.flags & ipcCodeelement::visitedFlag))
                return;
            E.flags &= ~ipcCodeelement::visitedFlag;
            for (int j = 0; j < E.childCount; ++j)
                clear(store.links[E.links + j].child);
        };
        do {
            do {
                const IslandCoord c = it->coord();
                const auto [first, count] = store.elementsOf(c);
                for (int e = first; e < first + count; ++e) {
                    if (!(store.elements[e].flags & ipcCodeelement::rootFlag))
                        continue;
                    paintOne(e, c, label, store.elements[e].colour);
                    clear(e);
                    ++label;
                }
            } while (it->nextInLevel());
        } while (it->nextLevelDown());
    }

    const std::vector<std::uint32_t>& px;
    int w, hgt;
    H hier;
    Store store;
    Predicate pred;
    std::deque<Conflict> conflicts;
};

} // namespace

Outcome run(const std::vector<RGB24>& pixels, int width, int height, bool hsv, int threshold, double elementsPerIsland)
{
    std::vector<std::uint32_t> px(pixels.size());
    if (hsv) {
        std::vector<HSVPixel> buf(pixels.size());
        imageRgbToHsv(width, height, reinterpret_cast<const std::uint8_t*>(pixels.data()), buf.data());
        for (std::size_t i = 0; i < px.size(); ++i)
            std::memcpy(&px[i], &buf[i], 4);
    } else {
        for (std::size_t i = 0; i < px.size(); ++i)
            px[i] = packRGB(pixels[i].r, pixels[i].g, pixels[i].b);
    }
    Outcome out;
    Reference ref(px, width, height, hsv, threshold, elementsPerIsland);
    std::vector<std::uint32_t> colourBuf;
    out.islandCount = ref.hier.islandCount();
    try {
        ref.run();
        out.usedElements = ref.store.used;
        ref.paint(out.labels, colourBuf);
    } catch (const advException&) {
        out.overrun = true;
        out.labels.assign(pixels.size(), 0);
        out.colours.assign(pixels.size(), RGB24{0, 0, 0});
        return out;
    }
    out.colours.resize(pixels.size());
    if (hsv) {
        std::vector<HSVPixel> buf(pixels.size());
        for (std::size_t i = 0; i < buf.size(); ++i)
            std::memcpy(&buf[i], &colourBuf[i], 4);
        imageHsvToRgb(width, height, buf.data(), reinterpret_cast<std::uint8_t*>(out.colours.data()));
    } else {
        for (std::size_t i = 0; i < pixels.size(); ++i)
            out.colours[i] = {static_cast<std::uint8_t>(redOf(colourBuf[i])),
                              static_cast<std::uint8_t>(greenOf(colourBuf[i])),
                              static_cast<std::uint8_t>(blueOf(colourBuf[i]))};
    }
    return out;
}

} // namespace csc_reference

} // namespace ivra
