#include "RHSFeatures.h"

#include "color/ColorConversion.h"
#include "util/ParallelRows.h"

#include <algorithm>

namespace ivra::rhs {

std::array<int, featureCount> pixelFeatures(std::uint8_t r8, std::uint8_t g8, std::uint8_t b8)
{
    const float r = static_cast<float>(r8) * unitFloat;
    const float g = static_cast<float>(g8) * unitFloat;
    const float b = static_cast<float>(b8) * unitFloat;

    double h = 0.0;
    double s = 0.0;
    double v = 0.0;
    rgbToHsv(r, g, b, h, s, v);
    // rgbToHsv reports an undefined hue (black or gray) as -1; here it counts as 0.
    const int hue = h < 0.0 ? 0 : static_cast<int>(h);

    const float y = (0.299f * r + 0.587f * g + 0.114f * b) * 255.0f;
    const float i = (0.5f * r - 0.23f * g - 0.27f * b + 1.0f) * 127.0f;
    const float q = (0.202f * r - 0.5f * g + 0.298f * b + 1.0f) * 127.0f;

    return {r8,
            g8,
            b8,
            hue,
            static_cast<int>(s * 255.0),
            static_cast<int>(v * 255.0),
            static_cast<int>(y),
            static_cast<int>(i),
            static_cast<int>(q)};
}

void featureFrame(const RGB24* pixels, int width, int height, FeatureVector* frame, FeatureCacheEntry* caches,
                  const ivra::Progress& progress)
{
    // Photographs repeat their colours: a small direct-mapped cache of recent
    // colours spares most of the conversions. One cache per thread; a cache only
    // spares work, so the features do not depend on it.
    const std::size_t cacheEntries = std::size_t{1} << featureCacheBits;
    for (std::size_t k = 0; k < static_cast<std::size_t>(std::max(1, threadCount())) * cacheEntries; ++k)
        caches[k].color = 0;
    const auto stride = static_cast<std::size_t>(width) + 2;
    const auto rows = [&](int y0, int y1) {
        FeatureCacheEntry* cache = caches + static_cast<std::size_t>(omp_get_thread_num()) * cacheEntries;
        for (int y = y0; y < y1; ++y) {
            FeatureVector* row = frame + (static_cast<std::size_t>(y) + 1) * stride + 1;
            const RGB24* in = pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
            for (int x = 0; x < width; ++x) {
                const RGB24 c = in[x];
                const std::uint32_t color = ((std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b) + 1;
                FeatureCacheEntry& entry = cache[(color * 2654435761u) >> (32 - featureCacheBits)];
                if (entry.color != color) {
                    const auto f = pixelFeatures(c.r, c.g, c.b);
                    for (int k = 0; k < 8; ++k)
                        entry.features.bytes[k] = static_cast<std::uint8_t>(f[byteFeature[k]]);
                    entry.features.hue = static_cast<std::uint16_t>(f[hueFeature]);
                    entry.color = color;
                }
                row[x] = entry.features;
            }
        }
    };
    parallelRows(0, height, rowsPerPiece(width), rows, [&](int done) { progress.update(done, 2.0 * height); });
}

} // namespace ivra::rhs
