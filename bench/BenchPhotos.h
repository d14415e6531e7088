#pragma once

// Pictures the benchmarks share: the sample photos, a photo resampled to a size, and,
// for the OpenCV comparisons, a picture as OpenCV's 8-bit BGR matrix.

#include "PictureReader.h"
#include "image/ImageRGB.h"

#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

#ifdef IVRA_HAVE_OPENCV
#include <opencv2/core.hpp>
#endif

namespace ivra::bench {

// A colour sample photo; a benchmark without its photo cannot run, so a missing one
// ends the program with a message.
inline std::unique_ptr<ImageRGB> loadSample(const char* file)
{
    // The environment may name another samples directory (e.g. for a separate work tree).
    const char* dir = std::getenv("IVRA_SAMPLES_DIR");
    auto image = readPicture(QString(dir ? dir : IVRA_SAMPLES_DIR) + "/" + file);
    if (!image || image->type() != TypeImageRGB) {
        std::fprintf(stderr, "cannot read %s\n", file);
        std::exit(1);
    }
    return std::unique_ptr<ImageRGB>(static_cast<ImageRGB*>(image.release()));
}

// The photo resampled (nearest neighbour) to w x h.
inline std::unique_ptr<ImageRGB> resampled(const ImageRGB& photo, int w, int h)
{
    auto out = std::make_unique<ImageRGB>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto p = photo.pixel(static_cast<int>(static_cast<long long>(x) * photo.width() / w),
                                       static_cast<int>(static_cast<long long>(y) * photo.height() / h));
            out->setPixel(static_cast<std::size_t>(y) * w + x, static_cast<std::int16_t>(p[0]),
                          static_cast<std::int16_t>(p[1]), static_cast<std::int16_t>(p[2]));
        }
    return out;
}

#ifdef IVRA_HAVE_OPENCV
inline cv::Mat bgrOf(const ImageRGB& image)
{
    cv::Mat mat(image.height(), image.width(), CV_8UC3);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const auto p = image.pixel(x, y);
            mat.at<cv::Vec3b>(y, x) = cv::Vec3b(static_cast<uchar>(p[2]), static_cast<uchar>(p[1]),
                                                static_cast<uchar>(p[0]));
        }
    return mat;
}
#endif

} // namespace ivra::bench
