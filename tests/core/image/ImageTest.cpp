#include "image/CBitImage32.h"
#include "image/ImageHSV.h"
#include "image/LowBytes.h"

#include "core/TestPictures.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace ivra;
using namespace testpictures;

TEST(Image, SetPixelSignExtendsSixteenBitValues)
{
    ImageHSV image(2, 1);
    image.setPixel(1, -1, 255, 300);
    EXPECT_EQ(image.pixel(1, 0), (ImageColor::Triple{-1, 255, 300}));
}

TEST(Image, LowBytesOfThePlanesAndBack)
{
    // Sizes around the blocks of four and eight pixels the copy works in; nothing
    // is written past the last pixel.
    std::mt19937 random(3);
    for (int n = 0; n <= 21; ++n) {
        ImageRGB image(n, 1);
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < n; ++i)
                image.plane(c)[i] = static_cast<int>(random());
        Pixels bytes(static_cast<std::size_t>(n) + 1, RGB24{1, 2, 3});
        copyLowBytes(image, bytes.data());
        EXPECT_EQ(bytes.back(), (RGB24{1, 2, 3})) << n;
        bytes.pop_back();
        EXPECT_EQ(bytes, pixelsOf(image)) << n;
        ImageRGB back(n, 1);
        copyToPlanes(bytes.data(), back);
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(back.pixel(i, 0), (ImageColor::Triple{bytes[i].r, bytes[i].g, bytes[i].b}));
    }
}

TEST(CBitImage32, BitsAreLowestFirstWithRowsOnWordBoundaries)
{
    CBitImage32 bits(33, 3);
    ASSERT_EQ(bits.wordsPerRow(), 2);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(bits.data()[i], 0u);
    bits.set(32, 1, 1);
    bits.set(1, 2, 5);
    EXPECT_EQ((std::vector<std::uint32_t>(bits.data(), bits.data() + 6)), (std::vector<std::uint32_t>{0, 0, 0, 1, 2, 0}));
    EXPECT_TRUE(bits.get(32, 1));
    bits.set(32, 1, 0);
    EXPECT_FALSE(bits.get(32, 1));
    // Outside the picture: writes do nothing, reads give false.
    for (const auto& [x, y] : {std::pair{33, 0}, std::pair{-1, 0}, std::pair{0, -1}, std::pair{0, 3}})
        bits.set(x, y, 1);
    EXPECT_EQ(bits.data()[1], 0u);
    bits.fill(1);
    EXPECT_EQ(bits.data()[5], ~0u); // spare bits too
    EXPECT_TRUE(bits.get(32, 2));
    EXPECT_FALSE(bits.get(33, 0) || bits.get(-1, 0) || bits.get(0, -1) || bits.get(0, 3));
    bits.fill(0);
    EXPECT_EQ(bits.data()[5], 0u);
}
