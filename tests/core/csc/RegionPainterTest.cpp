#include "csc/RegionPainter.h"

#include <gtest/gtest.h>

namespace {

using namespace ivra::csc;

// A pixel whose element lies under two roots takes the later root's label, whichever
// parent slot holds it (elements kept apart by the growth keep both parents).
TEST(RegionPainter, ElementUnderTwoRootsTakesTheLaterRootsLabel)
{
    const IslandHierarchy h(1, 1); // seven level-0 islands, then the top (walk index 7)
    ElementStore store(h);
    store.reset();
    store.beginIsland(0); // centre pixel (1, 0): cell 6 is pixel (0, 0)
    store.element(store.allocate()) = {1 << 6 | 1, 0, 0, 0, 0, 2, 1};
    store.commit();
    store.skipIslands(1, 6);
    store.beginIsland(7);
    for (const std::uint32_t color : {11u, 22u}) {
        store.element(store.allocate()) = {0x7F, 0, CodeElement::rootFlag, 0, color, CodeElement::none, CodeElement::none};
        store.commit();
    }
    std::uint32_t label = 99;
    EXPECT_EQ(paintRegions(store, 0, 0, 1, 1, &label), (std::vector<std::uint32_t>{0, 11, 22}));
    EXPECT_EQ(label, 2u);
}

} // namespace
