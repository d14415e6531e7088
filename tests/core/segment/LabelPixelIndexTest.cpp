#include "segment/LabelPixelIndex.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ivra;

namespace {

Array2D<std::uint32_t> labelImage(int w, int h, const std::vector<std::uint32_t>& values)
{
    Array2D<std::uint32_t> labels(w, h);
    for (std::size_t i = 0; i < values.size(); ++i)
        labels[i] = values[i];
    return labels;
}

std::vector<std::uint32_t> asVector(std::span<const std::uint32_t> s) { return {s.begin(), s.end()}; }

} // namespace

TEST(LabelPixelIndex, GroupsPixelsByLabelIncludingDisconnectedOnes)
{
    // Label 7 appears in two separate places; label 0 is a label like any other here.
    const auto labels = labelImage(4, 2, {7, 7, 0, 7,
                                          3, 0, 0, 7});
    const LabelPixelIndex index(labels);
    EXPECT_EQ(index.labels(), (std::vector<std::uint32_t>{0, 3, 7}));
    EXPECT_EQ(asVector(index.pixels(index.slotOf(7))), (std::vector<std::uint32_t>{0, 1, 3, 7}));
    EXPECT_EQ(asVector(index.pixels(index.slotOf(0))), (std::vector<std::uint32_t>{2, 5, 6}));
    EXPECT_EQ(asVector(index.pixels(index.slotOf(3))), (std::vector<std::uint32_t>{4}));
    EXPECT_EQ(index.slotOf(5), LabelPixelIndex::npos);
    EXPECT_EQ(index.slotOf(8), LabelPixelIndex::npos);
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_EQ(index.labels()[index.pixelSlots()[i]], labels[i]);
}

TEST(LabelPixelIndex, HandlesLabelsFarAboveThePixelCount)
{
    const auto labels = labelImage(3, 1, {4000000000u, 12, 4000000000u});
    const LabelPixelIndex index(labels);
    EXPECT_EQ(index.labels(), (std::vector<std::uint32_t>{12, 4000000000u}));
    EXPECT_EQ(asVector(index.pixels(index.slotOf(4000000000u))), (std::vector<std::uint32_t>{0, 2}));
    EXPECT_EQ(index.slotOf(13), LabelPixelIndex::npos);
    EXPECT_EQ(index.pixelSlots(), (std::vector<std::uint32_t>{1, 0, 1}));
}

TEST(LabelPixelIndex, EmptyLabelImageHasNoRegions)
{
    const Array2D<std::uint32_t> labels;
    const LabelPixelIndex index(labels);
    EXPECT_EQ(index.regionCount(), 0u);
    EXPECT_EQ(index.slotOf(0), LabelPixelIndex::npos);
}
