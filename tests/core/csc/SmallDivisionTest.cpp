#include "csc/SmallDivision.h"

#include <gtest/gtest.h>

using namespace ivra;

namespace {

// Colour sums of up to 255 members of up to 4080 (hue + 360) divided by their count.
TEST(SmallDivision, ExactForEveryColorSum)
{
    for (int c = 1; c <= 256; ++c)
        for (int s = 0; s < (1 << 20); s += c <= 8 ? 1 : 61)
            ASSERT_EQ(ivra::csc::divideSum(s, c), s / c) << s << "/" << c;
    EXPECT_EQ(ivra::csc::divideSum(100000, 300), 333);
}

} // namespace
