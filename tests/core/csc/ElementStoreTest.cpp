#include "csc/ElementStore.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace ivra::csc;

TEST(ElementStore, FullPoolsOverrunWithoutKeepingAnythingPartial)
{
    const IslandHierarchy h(1, 1);
    ElementStore store(h, 0.5); // 4 elements, 8 links
    store.reset();
    store.beginIsland(0);
    const std::uint32_t e = store.allocate();
    store.element(e).childCount = 0;
    for (int i = 0; i < 8; ++i)
        store.appendLink(e, i % 7, 0);
    EXPECT_THROW(store.appendLink(e, 0, 0), ElementStoreOverrun);
    EXPECT_THROW(store.appendLinks(e, 1), ElementStoreOverrun);
    store.commit();
    EXPECT_THROW(store.allocate(), ElementStoreOverrun); // the links are full
    store.reset();
    for (int i = 0; i < 4; ++i) {
        store.element(store.allocate()).childCount = 0;
        store.commit();
    }
    try {
        store.allocate();
        FAIL() << "no overrun";
    } catch (const std::runtime_error& overrun) {
        EXPECT_STREQ(overrun.what(), "Codeelement overrun...");
    }
    EXPECT_EQ(store.usedElements(), 4);
    EXPECT_EQ(store.firstOf(1), 4u);
}

TEST(ElementStore, LentBlockHoldsTheElementsUntilTheyOutgrowIt)
{
    const IslandHierarchy h(64, 64);
    ElementStore store(h);
    const std::size_t tableBytes = (static_cast<std::size_t>(h.islandCount()) + 1) * sizeof(std::uint32_t);
    std::vector<std::uint64_t> block((tableBytes + 256 + 1100 * 20) / 8); // the table and 1100 elements
    store.lend(block.data(), block.size() * 8);
    const auto inBlock = [&](const void* p) {
        return p >= static_cast<const void*>(block.data()) && p < static_cast<const void*>(block.data() + block.size());
    };
    ASSERT_TRUE(inBlock(store.elements()));
    store.reset();
    store.beginIsland(0);
    bool moved = false;
    for (std::uint32_t i = 0; i < 1500; ++i) {
        moved = store.reserve(1) || moved;
        const std::uint32_t e = store.allocate();
        ASSERT_EQ(e, i);
        store.element(e) = CodeElement{static_cast<std::uint8_t>(i & 0x7F), 0, 0, 0, i * 7, i, ~i};
        store.commit();
    }
    EXPECT_TRUE(moved);
    EXPECT_FALSE(inBlock(store.elements()));
    EXPECT_FALSE(store.reserve(1000)); // its own pool holds the full capacity
    for (std::uint32_t i = 0; i < 1500; ++i) { // nothing lost in the move
        ASSERT_EQ(store.element(i).colour, i * 7);
        ASSERT_EQ(store.element(i).parent2, ~i);
    }
    EXPECT_EQ(store.firstOf(1), 1500u);

    ElementStore other(h); // a block too small for the island table is not used
    const CodeElement* own = other.elements();
    other.lend(block.data(), 64);
    EXPECT_EQ(other.elements(), own);
}

} // namespace
