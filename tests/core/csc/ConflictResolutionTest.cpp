#include "csc/ipcConflictResolution.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ivra;

namespace {

constexpr std::uint32_t none = ipcCodeelement::none;

// A store with hand-made elements; resolution looks only at records, links and parents.
class ConflictResolution : public testing::Test {
protected:
    ConflictResolution() : hierarchy(16, 16), store(hierarchy) { store.reset(); store.beginIsland(0); }

    std::uint32_t add(std::uint32_t colour, std::vector<std::pair<int, std::uint32_t>> links = {})
    {
        const std::uint32_t e = store.allocate();
        ipcCodeelement& el = store.element(e);
        el = {0x7F, 0, 0, 0, colour, none, none};
        for (const auto& [cell, child] : links) {
            store.appendLink(e, cell, child);
            ipcCodeelement& c = store.element(child);
            (c.parent1 == none ? c.parent1 : c.parent2) = e;
        }
        store.commit();
        return e;
    }
    std::vector<std::uint32_t> children(std::uint32_t e)
    {
        std::vector<std::uint32_t> out;
        for (int i = 0; i < store.element(e).childCount; ++i)
            out.push_back(linkChild(store.linksOf(e)[i]));
        return out;
    }

    ipcIslandHierarchy hierarchy;
    ipcCodeelementBase store;
    std::vector<ipcConflict> queue;
};

TEST_F(ConflictResolution, ElementGoesToTheCloserSide)
{
    const std::uint32_t g = add(packRGB(200, 10, 10));
    const std::uint32_t other = add(packRGB(0, 0, 0));
    const std::uint32_t red = add(packRGB(250, 0, 0), {{1, g}, {0, other}});
    const std::uint32_t blue = add(packRGB(0, 0, 250), {{6, g}});
    ASSERT_EQ(store.element(g).parent1, red);
    ASSERT_EQ(store.element(g).parent2, blue);

    queue.push_back({1, 6, red, blue, g});
    resolveConflicts(store, queue, closerRGB);
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(store.element(g).parent1, red);
    EXPECT_EQ(store.element(g).parent2, none);
    EXPECT_EQ(children(blue), std::vector<std::uint32_t>{});
    EXPECT_EQ(children(red), (std::vector<std::uint32_t>{g, other}));
}

TEST_F(ConflictResolution, TiesGoToSideOneAndTheLastLinkMovesUp)
{
    const std::uint32_t g = add(packRGB(100, 100, 100));
    const std::uint32_t a = add(packRGB(1, 1, 1));
    const std::uint32_t b = add(packRGB(2, 2, 2));
    const std::uint32_t side1 = add(packRGB(110, 100, 100), {{1, g}});
    const std::uint32_t side2 = add(packRGB(90, 100, 100), {{3, a}, {6, g}, {2, b}}); // same distance
    queue.push_back({1, 6, side1, side2, g});
    resolveConflicts(store, queue, closerRGB);
    EXPECT_EQ(store.element(g).parent1, side1);
    EXPECT_EQ(store.element(g).parent2, none);
    EXPECT_EQ(children(side2), (std::vector<std::uint32_t>{a, b}));
    EXPECT_EQ(linkCell(store.linksOf(side2)[1]), 2);
}

TEST_F(ConflictResolution, RecordOfAnAlreadyAssignedElementChangesNothing)
{
    const std::uint32_t g = add(packRGB(100, 0, 0));
    const std::uint32_t side1 = add(packRGB(100, 0, 0), {{1, g}});
    const std::uint32_t side2 = add(packRGB(0, 0, 100), {{6, g}});
    queue.push_back({1, 6, side1, side2, g});
    queue.push_back({1, 6, side1, side2, g});
    resolveConflicts(store, queue, closerRGB);
    EXPECT_EQ(store.element(g).parent1, side1);
    EXPECT_EQ(store.element(side1).childCount, 1);
}

TEST_F(ConflictResolution, DecisionIsCarriedDownToSharedChildren)
{
    // g (level n-2) sits in the centre cell of the loser's island; its child h (cell 1
    // of g's island) also belongs to q, another child of the loser, in the island that
    // shares g's cell 1. When g goes to side 1, h must leave q as well.
    const std::uint32_t h = add(packRGB(200, 0, 0));
    const std::uint32_t kept = add(packRGB(200, 0, 0));
    const std::uint32_t g = add(packRGB(210, 0, 0), {{1, h}, {0, kept}});
    const std::uint32_t q = add(packRGB(0, 0, 220), {{6, h}});
    const std::uint32_t side1 = add(packRGB(220, 0, 0), {{2, g}});
    const std::uint32_t side2 = add(packRGB(0, 0, 200), {{0, g}, {1, q}});
    ASSERT_EQ(store.element(h).parent2, q);

    queue.push_back({2, 0, side1, side2, g});
    resolveConflicts(store, queue, closerRGB);
    EXPECT_TRUE(queue.empty());
    EXPECT_EQ(store.element(g).parent1, side1);
    EXPECT_EQ(store.element(g).parent2, none);
    EXPECT_EQ(store.element(h).parent1, g);
    EXPECT_EQ(store.element(h).parent2, none);
    EXPECT_EQ(children(q), std::vector<std::uint32_t>{});
    EXPECT_EQ(children(g), (std::vector<std::uint32_t>{h, kept}));
    EXPECT_EQ(store.element(q).mask, 0x7F); // a loser keeps mask and colour
    EXPECT_EQ(store.element(q).colour, packRGB(0, 0, 220));
}

TEST(CloserHSV, ChromaticDecidesOnHueFirst)
{
    const std::uint32_t g = packHSV(100, 200, 200);
    EXPECT_EQ(closerHSV(g, packHSV(105, 0, 0), packHSV(120, 200, 200)), 1);
    EXPECT_EQ(closerHSV(g, packHSV(120, 200, 200), packHSV(105, 0, 0)), 2);
    EXPECT_EQ(closerHSV(g, packHSV(110, 0, 0), packHSV(90, 0, 0)), 1); // all equal: side 1
}

TEST(CloserHSV, AchromaticDecidesOnValueDerivedDistanceFirst)
{
    // sat 3 < 4: dv = |side.val / 16 - g.sat| first; hue last.
    const std::uint32_t g = packHSV(100, 3, 200);
    EXPECT_EQ(closerHSV(g, packHSV(300, 0, 48), packHSV(100, 0, 160)), 1); // dv 0 vs 7
    EXPECT_EQ(closerHSV(g, packHSV(100, 0, 160), packHSV(300, 0, 48)), 2);
    // dv equal, ds = |side.sat / 16 - g.val| decides before the hue.
    EXPECT_EQ(closerHSV(g, packHSV(300, 255, 48), packHSV(100, 0, 48)), 1);
}

} // namespace
