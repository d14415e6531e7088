#include "DisplayConversion.h"

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <QColor>

namespace ivra {

QImage toDisplayImage(const Image& image)
{
    QImage out(image.width(), image.height(), QImage::Format_RGB32);
    const int w = image.width();
    switch (image.type()) {
    case TypeImageGray: {
        const std::int32_t* p = static_cast<const ImageGray&>(image).data();
        for (int y = 0; y < image.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x, ++p) {
                const int g = *p & 0xff;
                line[x] = qRgb(g, g, g);
            }
        }
        break;
    }
    case TypeImageRGB: {
        const auto& rgb = static_cast<const ImageRGB&>(image);
        const std::int32_t *r = rgb.red(), *g = rgb.green(), *b = rgb.blue();
        for (int y = 0; y < image.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x, ++r, ++g, ++b)
                line[x] = qRgb(*r & 0xff, *g & 0xff, *b & 0xff);
        }
        break;
    }
    case TypeImageHSV: {
        const auto& hsv = static_cast<const ImageHSV&>(image);
        const std::int32_t *h = hsv.hue(), *s = hsv.saturation(), *v = hsv.value();
        QColor color;
        for (int y = 0; y < image.height(); ++y) {
            QRgb* line = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < w; ++x, ++h, ++s, ++v) {
                // The toolkit turns parameters it does not accept (hue below -1,
                // saturation or value outside 0..255) into an invalid colour, shown
                // black, with a warning per pixel; give black without the warnings.
                if (*h < -1 || *s < 0 || *s > 255 || *v < 0 || *v > 255) {
                    line[x] = qRgb(0, 0, 0);
                    continue;
                }
                color.setHsv(*h, *s, *v);
                line[x] = color.rgb() | 0xff000000u;
            }
        }
        break;
    }
    default:
        out.fill(Qt::black);
    }
    return out;
}

} // namespace ivra
