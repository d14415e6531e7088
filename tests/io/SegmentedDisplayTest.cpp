#include "DisplayConversion.h"
#include "PictureReader.h"
#include "PictureWriter.h"

#include "segment/OPRegionGrowing.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace ivra;

// A segmentation result is shown, saved and reloaded through the ordinary RGB
// display conversion: the painted region colours, not the source pixels or the labels.
TEST(SegmentedDisplay, ShowsSavesAndReloadsAsItsRegionColours)
{
    ImageRGB source(3, 1);
    const int reds[] = {10, 14, 250};
    for (std::size_t i = 0; i < 3; ++i) {
        source.red()[i] = reds[i];
        source.green()[i] = 0;
        source.blue()[i] = 0;
    }
    const auto result = OPRegionGrowing().execute(source, 4);
    const QImage shown = ivra::toDisplayImage(*result);
    ASSERT_EQ(shown.size(), QSize(3, 1));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(12, 0, 0));
    EXPECT_EQ(shown.pixel(1, 0), qRgb(12, 0, 0));
    EXPECT_EQ(shown.pixel(2, 0), qRgb(250, 0, 0));

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("regions.ppm");
    ivra::writePicture(*result, path);
    const auto back = ivra::readPicture(path);
    ASSERT_EQ(back->type(), TypeImageRGB);
    const auto& rgb = static_cast<const ImageRGB&>(*back);
    EXPECT_FALSE(rgb.isSegmented());
    EXPECT_EQ(rgb.pixel(0, 0), (ImageColor::Triple{12, 0, 0}));
    EXPECT_EQ(rgb.pixel(1, 0), (ImageColor::Triple{12, 0, 0}));
    EXPECT_EQ(rgb.pixel(2, 0), (ImageColor::Triple{250, 0, 0}));
}
