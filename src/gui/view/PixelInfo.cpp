#include "PixelInfo.h"

#include "color/ColorConversion.h"
#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <cstdint>

namespace ivra {

QString pixelInfoText(const DataObject& data, int x, int y)
{
    const auto* image = dynamic_cast<const Image*>(&data);
    if (!image || x < 0 || y < 0 || x >= image->width() || y >= image->height())
        return {};
    const std::size_t i = static_cast<std::size_t>(y) * image->width() + x;

    std::uint8_t rgb[3] = {0, 0, 0};
    HSVPixel hsv{0, 0, 0};
    switch (data.type()) {
    case TypeImageRGB: {
        const auto& im = static_cast<const ImageRGB&>(data);
        rgb[0] = static_cast<std::uint8_t>(im.red()[i]);
        rgb[1] = static_cast<std::uint8_t>(im.green()[i]);
        rgb[2] = static_cast<std::uint8_t>(im.blue()[i]);
        pixelRgbToHsv(rgb, hsv);
        break;
    }
    case TypeImageHSV: {
        const auto& im = static_cast<const ImageHSV&>(data);
        hsv.hue = static_cast<std::int16_t>(im.hue()[i]);
        hsv.sat = static_cast<std::uint8_t>(im.saturation()[i]);
        hsv.val = static_cast<std::uint8_t>(im.value()[i]);
        pixelHsvToRgb(hsv, rgb);
        break;
    }
    case TypeImageGray: {
        const auto& im = static_cast<const ImageGray&>(data);
        rgb[0] = rgb[1] = rgb[2] = static_cast<std::uint8_t>(im.data()[i]);
        pixelRgbToHsv(rgb, hsv);
        break;
    }
    default:
        return {};
    }
    return QStringLiteral(" X=%1 Y=%2  RGB=(%3,%4,%5)  HSV=(%6,%7,%8)")
        .arg(x)
        .arg(y)
        .arg(rgb[0])
        .arg(rgb[1])
        .arg(rgb[2])
        .arg(hsv.hue)
        .arg(hsv.sat)
        .arg(hsv.val);
}

QString pixelStatusText(const DataObject& data, int x, int y)
{
    const QString full = pixelInfoText(data, x, y);
    if (full.isNull() || data.type() != TypeImageGray)
        return full;
    const auto& gray = static_cast<const ImageGray&>(data);
    return QStringLiteral(" X=%1 Y=%2  Gray=%3")
        .arg(x)
        .arg(y)
        .arg(gray.data()[static_cast<std::size_t>(y) * gray.width() + x]);
}

} // namespace ivra
