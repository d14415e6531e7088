#include "csc/CSCException.h"
#include "csc/ipcCodeelementBase.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ivra;

namespace {

TEST(CodeelementBase, CapacityFromTheIslandCount)
{
    const ipcIslandHierarchy tiny(1, 1);
    const ipcCodeelementBase store(tiny);
    EXPECT_EQ(store.elementCapacity(), 32);
    EXPECT_EQ(store.linkCapacity(), 64);

    const ipcIslandHierarchy eight(8, 8);
    EXPECT_EQ(ipcCodeelementBase(eight).elementCapacity(), 4 * 31);
    EXPECT_EQ(ipcCodeelementBase(eight, 1.5).elementCapacity(), 46); // floor(31 * 1.5)
}

TEST(CodeelementBase, RefusesStoresBeyondItsIndexRange)
{
    const ipcIslandHierarchy big(16385, 10); // covered square 32768
    EXPECT_GT(ipcCodeelementBase::elementCapacityFor(big, 4.0), ipcCodeelementBase::maxElementCapacity);
    EXPECT_THROW(ipcCodeelementBase store(big), std::length_error);
    const ipcIslandHierarchy largest(16384, 16384);
    EXPECT_LE(ipcCodeelementBase::elementCapacityFor(largest, 4.0), ipcCodeelementBase::maxElementCapacity);
}

TEST(CodeelementBase, IslandsHoldTheirCommittedElements)
{
    const ipcIslandHierarchy h(8, 8);
    ipcCodeelementBase store(h);
    store.reset();
    store.beginIsland(0);
    for (int i = 0; i < 3; ++i) {
        const std::uint32_t e = store.allocate();
        store.element(e).childCount = 0;
        if (i != 1) // the second is dropped and its slot reused
            store.commit();
    }
    store.beginIsland(1);
    store.beginIsland(2);
    const std::uint32_t e = store.allocate();
    store.element(e).childCount = 0;
    store.appendLink(e, 3, 0);
    store.appendLink(e, 5, 1);
    store.commit();

    EXPECT_EQ(store.usedElements(), 3);
    EXPECT_EQ(store.usedLinks(), 2);
    EXPECT_EQ(store.firstOf(0), 0u);
    EXPECT_EQ(store.countOf(0), 2u);
    EXPECT_EQ(store.countOf(1), 0u);
    EXPECT_EQ(store.firstOf(2), 2u);
    EXPECT_EQ(store.countOf(2), 1u);
    EXPECT_EQ(linkCell(store.linksOf(2)[1]), 5);
    EXPECT_EQ(linkChild(store.linksOf(2)[1]), 1u);
    // Walk index 2 of level 0 is island (2, 0).
    EXPECT_EQ(store.elementsOf({0, 2, 0}), (std::pair<std::uint32_t, int>{2, 1}));
    EXPECT_EQ(store.elementsOf({0, 5, 0}), (std::pair<std::uint32_t, int>{ipcCodeelement::none, 0}));
}

TEST(CodeelementBase, FullStoreOverruns)
{
    const ipcIslandHierarchy h(1, 1);
    ipcCodeelementBase store(h, 0.25); // 2 elements, 4 links
    store.reset();
    store.beginIsland(0);
    for (int i = 0; i < 2; ++i) {
        store.element(store.allocate()).childCount = 0;
        store.commit();
    }
    EXPECT_EQ(store.peekFree(), ipcCodeelement::none);
    try {
        store.allocate();
        FAIL() << "no overrun";
    } catch (const advException& e) {
        EXPECT_EQ(e.message(), "Codeelement overrun...");
    }
    EXPECT_EQ(store.usedElements(), 2); // nothing partial was committed
}

TEST(CodeelementBase, LinksMayNotRunPastThePool)
{
    const ipcIslandHierarchy h(1, 1);
    ipcCodeelementBase store(h, 0.5); // 4 elements, 8 links
    store.reset();
    store.beginIsland(0);
    const std::uint32_t e = store.allocate();
    store.element(e).childCount = 0;
    for (int i = 0; i < 8; ++i)
        store.appendLink(e, i % 7, 0);
    EXPECT_THROW(store.appendLink(e, 0, 0), ipcCodeelementBaseOverrun);
}

TEST(CodeelementBase, LentBlockHoldsTheElementsUntilTheyOutgrowIt)
{
    const ipcIslandHierarchy h(64, 64);
    ipcCodeelementBase store(h);
    const std::size_t tableBytes = (static_cast<std::size_t>(h.islandCount()) + 1) * sizeof(std::uint32_t);
    std::vector<std::uint64_t> block((tableBytes + 256 + 1100 * 20) / 8); // the table and 1100 elements
    store.lend(block.data(), block.size() * 8);
    const auto* blockBegin = reinterpret_cast<const char*>(block.data());
    const auto inBlock = [&](const void* p) {
        return static_cast<const char*>(p) >= blockBegin && static_cast<const char*>(p) < blockBegin + block.size() * 8;
    };
    ASSERT_TRUE(inBlock(store.elements()));

    store.reset();
    store.beginIsland(0);
    bool moved = false;
    for (std::uint32_t i = 0; i < 1500; ++i) {
        moved = store.reserve(1) || moved;
        const std::uint32_t e = store.allocate();
        ASSERT_EQ(e, i);
        store.element(e) = ipcCodeelement{static_cast<std::uint8_t>(i & 0x7F), 0, 0, 0, i * 7, i, ~i};
        store.commit();
    }
    EXPECT_TRUE(moved);
    EXPECT_FALSE(inBlock(store.elements()));
    EXPECT_FALSE(store.reserve(1000)); // its own pool holds the full capacity
    for (std::uint32_t i = 0; i < 1500; ++i) { // nothing lost in the move
        ASSERT_EQ(store.element(i).colour, i * 7);
        ASSERT_EQ(store.element(i).parent2, ~i);
    }
    EXPECT_EQ(store.countOf(0), 1500u);
}

TEST(CodeelementBase, BlockTooSmallForTheTableIsNotUsed)
{
    const ipcIslandHierarchy h(64, 64);
    ipcCodeelementBase store(h);
    std::vector<std::uint64_t> block(16);
    const ipcCodeelement* own = store.elements();
    store.lend(block.data(), block.size() * 8);
    EXPECT_EQ(store.elements(), own);
    store.reset();
    store.beginIsland(0);
    EXPECT_EQ(store.countOf(0), 0u);
}

TEST(CSCExceptions, Hierarchy)
{
    EXPECT_EQ(advException().message(), "");
    try {
        throw ipcCodeelementBaseOverrun();
    } catch (const ipcCSCException& e) {
        EXPECT_EQ(e.message(), "Codeelement overrun...");
    }
}

} // namespace
