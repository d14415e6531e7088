#include "segment/LabelPixelIndex.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

using namespace ivra;

TEST(LabelPixelIndex, GroupsThePixelsOfEachLabelInAscendingOrder)
{
    // Small labels (a table), labels far above the pixel count (a search), and none;
    // the first pixel alone carries the largest label.
    std::mt19937 random(3);
    for (const auto& [base, spread] : {std::pair{0u, 1u}, {0u, 7u}, {0u, 50u}, {4000000000u, 5u}}) {
        Array2D<std::uint32_t> labels(9, spread == 1 ? 0 : 7);
        std::map<std::uint32_t, std::vector<std::uint32_t>> want;
        for (std::uint32_t i = 0; i < labels.size(); ++i) {
            labels[i] = base + (i == 0 ? spread : static_cast<std::uint32_t>(random() % spread));
            want[labels[i]].push_back(i);
        }
        const LabelPixelIndex index(labels);
        ASSERT_EQ(index.regionCount(), want.size());
        std::size_t slot = 0;
        for (const auto& [label, pixels] : want) {
            EXPECT_EQ(index.labels()[slot], label);
            EXPECT_EQ(index.slotOf(label), slot);
            EXPECT_EQ(std::vector<std::uint32_t>(index.pixels(slot).begin(), index.pixels(slot).end()), pixels);
            for (const std::uint32_t p : pixels)
                EXPECT_EQ(index.pixelSlots()[p], slot);
            ++slot;
        }
        for (std::uint32_t absent = 0; absent < 100; ++absent)
            EXPECT_TRUE(want.count(absent) || index.slotOf(absent) == LabelPixelIndex::npos) << absent;
        EXPECT_EQ(index.slotOf(base + spread + 1), LabelPixelIndex::npos);
    }
}
