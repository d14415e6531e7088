#pragma once

#include "Conflict.h"
#include "ElementStore.h"
#include "PackedColor.h"
#include "SimilarityHSV.h"
#include "SimilarityRGB.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace ivra::csc {

// Top-down splitting of elements shared by two dissimilar parents: each queued element
// goes to the side whose colour is closer, is detached from the other parent, and the
// decision is carried down to the shared elements below it. Records appended while
// resolving are resolved too; the queue is empty afterwards.

// RGB: the smaller squared distance wins; ties go to side 1.
inline int closerRGB(std::uint32_t g, std::uint32_t side1, std::uint32_t side2)
{
    return SimilarityRGB::squaredDistance(side1, g) <= SimilarityRGB::squaredDistance(side2, g) ? 1 : 2;
}

// HSV: hue distance, then value-derived, then saturation-derived distance for a
// chromatic element (saturation >= 4, value >= 6), otherwise value and saturation
// first and hue last; the first differing pair decides, all equal goes to side 1.
// The sides' value and saturation are divided by 16 and compared crosswise with the
// element's saturation and value, which enter undivided.
inline int closerHSV(std::uint32_t g, std::uint32_t side1, std::uint32_t side2)
{
    const int gh = hueOf(g), gs = satOf(g), gv = valOf(g);
    const int dh1 = SimilarityHSV::hueDistance(gh, hueOf(side1));
    const int dh2 = SimilarityHSV::hueDistance(gh, hueOf(side2));
    const int dv1 = std::abs((valOf(side1) >> 4) - gs), dv2 = std::abs((valOf(side2) >> 4) - gs);
    const int ds1 = std::abs((satOf(side1) >> 4) - gv), ds2 = std::abs((satOf(side2) >> 4) - gv);
    const int first[3][2] = {{dh1, dh2}, {dv1, dv2}, {ds1, ds2}};
    const int order[2][3] = {{0, 1, 2}, {1, 2, 0}};
    const int* o = (gs >= 4 && gv >= 6) ? order[0] : order[1];
    for (int i = 0; i < 3; ++i) {
        const int a = first[o[i]][0], b = first[o[i]][1];
        if (a != b)
            return a < b ? 1 : 2;
    }
    return 1;
}

template <class Closer>
void resolveConflicts(ElementStore& store, std::vector<Conflict>& queue, Closer closer)
{
    using Table = IslandHierarchy;
    constexpr std::uint32_t none = CodeElement::none;
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const Conflict c = queue[next];
        CodeElement& g = store.element(c.element);
        const std::uint32_t cur1 = g.parent1, cur2 = g.parent2;
        const int w = closer(g.color, store.element(c.side1).color, store.element(c.side2).color);
        const std::uint32_t loser = w == 1 ? cur2 : cur1;
        if (loser == none)
            continue;

        // Detach g from the loser: its last link takes the place of the link to g.
        CodeElement& l = store.element(loser);
        CodeElementLink* links = store.linksOf(loser);
        for (int i = 0; i < l.childCount; ++i) {
            if (linkChild(links[i]) == c.element) {
                links[i] = links[l.childCount - 1];
                --l.childCount;
                break;
            }
        }
        if (g.parent1 == loser)
            g.parent1 = none;
        else if (g.parent2 == loser)
            g.parent2 = none;

        // Carry the decision down to the children of g that the loser's island shares
        // (elements of level 0 have none).
        if (g.childCount == 0)
            continue;
        const int m = w == 1 ? c.cell2 : c.cell1;
        const std::uint32_t sL = w == 1 ? c.side2 : c.side1;
        const std::uint32_t sW = w == 1 ? c.side1 : c.side2;
        const CodeElementLink* gLinks = store.linksOf(c.element);
        for (int i = 0; i < g.childCount; ++i) {
            const int t = linkCell(gLinks[i]);
            const std::uint32_t h = linkChild(gLinks[i]);
            const int Y = Table::sharingChild[m][t];
            if (Y < 0)
                continue;
            const CodeElement& he = store.element(h);
            const auto belongsToLoser = [&](std::uint32_t p) {
                if (p == none || p == c.element)
                    return false;
                const CodeElement& pe = store.element(p);
                return pe.parent1 == loser || pe.parent2 == loser;
            };
            if (belongsToLoser(he.parent1))
                queue.push_back({Table::sharedCell[Y][m], t, sL, sW, h});
            else if (belongsToLoser(he.parent2))
                queue.push_back({t, Table::sharedCell[Y][m], sW, sL, h});
        }
    }
    queue.clear();
}

} // namespace ivra::csc
