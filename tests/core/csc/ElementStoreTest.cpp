#include "csc/ElementStore.h"

#include <gtest/gtest.h>

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
    EXPECT_THROW(store.allocate(), ElementStoreOverrun);
    EXPECT_EQ(store.usedElements(), 4);
    EXPECT_EQ(store.firstOf(1), 4u);
}

} // namespace
