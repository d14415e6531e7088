#include "ops/OPHistogram.h"

#include <gtest/gtest.h>

#include <numeric>
#include <stdexcept>
#include <vector>

using namespace ivra;

namespace {

std::unique_ptr<ImageGray> rowOf(const std::vector<int>& values)
{
    auto image = std::make_unique<ImageGray>(static_cast<int>(values.size()), 1);
    for (std::size_t i = 0; i < values.size(); ++i)
        image->data()[i] = values[i];
    return image;
}

TEST(OPHistogram, BinEdgesFollowTheBinWidth)
{
    const auto h = OPHistogram::execute(*rowOf({0, 15, 16, 31, 240, 255}), 16);
    ASSERT_EQ(h->binCount(), 16);
    EXPECT_EQ(h->counts()[0], 2);
    EXPECT_EQ(h->counts()[1], 2);
    EXPECT_EQ(h->counts()[15], 2);
    EXPECT_EQ(h->counts()[14], 0);

    const auto h256 = OPHistogram::execute(*rowOf({0, 1, 1, 255}), 256);
    EXPECT_EQ(h256->counts()[0], 1);
    EXPECT_EQ(h256->counts()[1], 2);
    EXPECT_EQ(h256->counts()[255], 1);
}

TEST(OPHistogram, ValuesOutsideTheBinsAreSkippedButMinusOneTruncatesIntoBinZero)
{
    // -1 / 16 truncates to 0; -1 / 1 is bin -1. 256 and above never count.
    const auto h16 = OPHistogram::execute(*rowOf({-1, 256, 359, -17}), 16);
    EXPECT_EQ(h16->counts()[0], 1);
    EXPECT_EQ(std::accumulate(h16->counts(), h16->counts() + 16, 0), 1);

    const auto h256 = OPHistogram::execute(*rowOf({-1, 256, 359}), 256);
    EXPECT_EQ(std::accumulate(h256->counts(), h256->counts() + 256, 0), 0);
}

TEST(OPHistogram, CountsSumToThePixelCount)
{
    ImageGray image(37, 23);
    for (int i = 0; i < image.size(); ++i)
        image.data()[i] = (i * 97) % 256;
    for (int bins : {2, 4, 8, 16, 32, 64, 128, 256}) {
        const auto h = OPHistogram::execute(image, bins);
        EXPECT_EQ(std::accumulate(h->counts(), h->counts() + bins, 0), image.size()) << bins;
    }
}

TEST(OPHistogram, RefusesBinCountsWithoutAWidth)
{
    const auto image = rowOf({1});
    EXPECT_THROW(OPHistogram::execute(*image, 0), std::invalid_argument);
    EXPECT_THROW(OPHistogram::execute(*image, 257), std::invalid_argument);
    EXPECT_THROW(OPHistogram::execute(*image, -16), std::invalid_argument);
}

TEST(OPHistogram, ProgressCanCancel)
{
    ImageGray image(4, 4);
    std::fill(image.data(), image.data() + 16, 0);
    const ivra::Progress cancel([](double) { return false; });
    EXPECT_THROW(OPHistogram::execute(image, 16, cancel), ivra::Cancelled);
}

} // namespace
