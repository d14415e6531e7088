#include "DisplayConversion.h"
#include "IoTestSupport.h"

namespace {

std::vector<QRgb> shown(const Image& image)
{
    const QImage picture = toDisplayImage(image);
    EXPECT_EQ(picture.size(), QSize(image.width(), image.height()));
    std::vector<QRgb> out;
    for (int i = 0; i < picture.width() * picture.height(); ++i)
        out.push_back(picture.pixel(i % picture.width(), i / picture.width()));
    return out;
}

template <typename ImageType>
std::unique_ptr<ImageType> row(const std::vector<std::array<int, 3>>& pixels)
{
    auto image = std::make_unique<ImageType>(static_cast<int>(pixels.size()), 1);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        image->setPixel(i, pixels[i][0], pixels[i][1], pixels[i][2]);
    return image;
}

} // namespace

TEST(DisplayConversion, RgbAndGrayShowTheirLowEightBitsHsvTheToolkitColor)
{
    EXPECT_EQ(shown(*row<ImageRGB>({{256, 10, 255}, {-1, 0, 1}})), (std::vector<QRgb>{qRgb(0, 10, 255), qRgb(255, 0, 1)}));
    ImageGray gray(2, 1);
    gray.data()[0] = 300, gray.data()[1] = -1;
    EXPECT_EQ(shown(gray), (std::vector<QRgb>{qRgb(44, 44, 44), qRgb(255, 255, 255)}));
    // Values the toolkit's HSV colour does not accept show black; hues past 359 wrap.
    const auto hsv = row<ImageHSV>(
        {{120, 255, 255}, {-1, 0, 77}, {480, 255, 255}, {-2, 255, 255}, {0, 256, 255}, {0, -1, 255}, {0, 255, -1}, {0, 0, 256}});
    const QRgb black = qRgb(0, 0, 0), green = qRgb(0, 255, 0);
    EXPECT_EQ(shown(*hsv), (std::vector<QRgb>{green, qRgb(77, 77, 77), green, black, black, black, black, black}));
}
