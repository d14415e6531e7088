#include "image/Array2D.h"
#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"
#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"
#include "image/ImageSegmented.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace ivra;

TEST(ImageModel, PlanesAreRowMajorWithWidthFirst)
{
    ImageRGB image(3, 2);
    EXPECT_EQ(image.size(), 6);
    EXPECT_EQ(image.width(), 3);
    EXPECT_EQ(image.height(), 2);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 6; ++i)
            image.plane(c)[i] = 10 * c + i;
    // Pixel (2, 1) is element 5 of each plane.
    const ImageColor::Triple p = image.pixel(2, 1);
    EXPECT_EQ(p[0], 5);
    EXPECT_EQ(p[1], 15);
    EXPECT_EQ(p[2], 25);
    EXPECT_EQ(image.red(), image.plane(0));
    EXPECT_EQ(image.green(), image.plane(1));
    EXPECT_EQ(image.blue(), image.plane(2));

    ImageGray gray(3, 2);
    gray.at(2, 1) = 77;
    EXPECT_EQ(gray.data()[5], 77);
}

TEST(ImageModel, TypeCodesAndSegmentation)
{
    EXPECT_EQ(ImageGray(1, 1).type(), 2);
    EXPECT_EQ(ImageRGB(1, 1).type(), 3);
    EXPECT_EQ(ImageHSV(1, 1).type(), 4);
    EXPECT_EQ(HistogramGray(4).type(), 6);
    EXPECT_EQ(HistogramRGB(4).type(), 8);
    EXPECT_FALSE(ImageRGB(1, 1).isSegmented());

    ImageSegmented seg(4, 3);
    const ImageRGB& asRgb = seg;
    EXPECT_TRUE(asRgb.isSegmented());
    EXPECT_EQ(asRgb.type(), 3);
    EXPECT_EQ(seg.labels.width(), 4);
    EXPECT_EQ(seg.labels.height(), 3);
    EXPECT_EQ(seg.sourcePixels.width(), 4);
    EXPECT_EQ(seg.sourcePixels.height(), 3);
}

TEST(ImageModel, SetPixelSignExtendsSixteenBitValues)
{
    ImageHSV image(2, 1);
    image.setPixel(1, -1, 255, 300);
    const auto p = image.pixel(1, 0);
    EXPECT_EQ(p[0], -1);
    EXPECT_EQ(p[1], 255);
    EXPECT_EQ(p[2], 300);
}

TEST(ImageModel, RefusesNegativeAndOversizedSides)
{
    EXPECT_THROW(ImageGray(-1, 3), std::length_error);
    EXPECT_THROW(ImageRGB(Image::maxSide + 1, 1), std::length_error);
    EXPECT_NO_THROW(ImageGray(0, 0));
}

TEST(Histograms, CountsStartAtZero)
{
    HistogramGray g(16);
    HistogramRGB r(8);
    EXPECT_EQ(g.binCount(), 16);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(g.counts()[i], 0);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(r.counts()[i], 0.0f);
        EXPECT_EQ(r.colours()[i], (HistogramRGB::Colour{0, 0, 0}));
    }
}

TEST(Histograms, HsvBinColoursOfTheSixByTwoPlusFourLayout)
{
    HistogramHSV h(std::make_shared<HSVBinLayout>(6, 2, 4, 15));
    ASSERT_EQ(h.binCount(), 16);
    EXPECT_EQ(h.pixelCount(), 0);
    const int grayV[] = {31, 95, 159, 223};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(h.colours()[i], (HistogramHSV::Colour{-1, 0, grayV[i]})) << "gray bin " << i;
    for (int s = 0; s < 6; ++s) {
        EXPECT_EQ(h.colours()[4 + s], (HistogramHSV::Colour{60 * s, 75, 127})) << "ring 0 sector " << s;
        EXPECT_EQ(h.colours()[10 + s], (HistogramHSV::Colour{60 * s, 195, 127})) << "ring 1 sector " << s;
    }
    for (int i = 0; i < h.binCount(); ++i)
        EXPECT_EQ(h.counts()[i], 0.0);

    // A single gray bin sits at value 127.
    HistogramHSV one(std::make_shared<HSVBinLayout>(1, 1, 1, 15));
    EXPECT_EQ(one.colours()[0], (HistogramHSV::Colour{-1, 0, 127}));
}

TEST(Array2D, ResizeKeepsContentsOnlyForTheSameSize)
{
    Array2D<int> a(3, 2);
    a.at(2, 1) = 42;
    EXPECT_EQ(a[5], 42);
    int* before = a.data();
    a.resize(3, 2);
    EXPECT_EQ(a.data(), before);
    EXPECT_EQ(a.at(2, 1), 42);

    a.resize(4, 4);
    EXPECT_EQ(a.width(), 4);
    EXPECT_EQ(a.height(), 4);
    EXPECT_EQ(a.size(), 16u);
    ASSERT_NE(a.data(), nullptr);

    a.resize(0, 7);
    EXPECT_EQ(a.data(), nullptr);
    EXPECT_EQ(a.width(), 0);
    EXPECT_EQ(a.height(), 0);
}

TEST(Array2D, NonPositiveConstructionIsEmpty)
{
    Array2D<RGB24> a(5, -1);
    EXPECT_EQ(a.data(), nullptr);
    EXPECT_EQ(a.width(), 0);
    EXPECT_EQ(a.height(), 0);
    Array2D<RGB24> b;
    EXPECT_EQ(b.size(), 0u);
}
