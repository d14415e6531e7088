#include "OPCSC.h"

#include "CSCException.h"
#include "CSCRegionOutput.h"
#include "colour/ColourConversion.h"
#include "ipcCSC.h"
#include "ipcCodeelementBase.h"
#include "util/HugePages.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iostream>
#include <new>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Writes the painted regions into the result planes: label -> packed R, G, B.
void writePlanes(ImageSegmented& image, const std::vector<std::uint32_t>& rgbOfLabel)
{
    const std::size_t count = image.pixelCount();
    const std::uint32_t* labels = image.labels.data();
    std::int32_t* r = image.red();
    std::int32_t* g = image.green();
    std::int32_t* b = image.blue();
    std::size_t i = 0;
#if defined(__SSE2__)
    // Four pixels at a time: one vector of packed colours, split into the three planes.
    const __m128i low = _mm_set1_epi32(0xFF);
    for (; i + 4 <= count; i += 4) {
        const __m128i c = _mm_setr_epi32(static_cast<int>(rgbOfLabel[labels[i]]),
                                         static_cast<int>(rgbOfLabel[labels[i + 1]]),
                                         static_cast<int>(rgbOfLabel[labels[i + 2]]),
                                         static_cast<int>(rgbOfLabel[labels[i + 3]]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(r + i), _mm_and_si128(c, low));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(g + i), _mm_and_si128(_mm_srli_epi32(c, 8), low));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(b + i), _mm_and_si128(_mm_srli_epi32(c, 16), low));
    }
#endif
    for (; i < count; ++i) {
        const std::uint32_t c = rgbOfLabel[labels[i]];
        r[i] = redOf(c);
        g[i] = greenOf(c);
        b[i] = blueOf(c);
    }
}

// The planes' low bytes as packed R, G, B. Four pixels make three whole words, so the
// copy stores words instead of single bytes.
void copySource(const std::int32_t* r, const std::int32_t* g, const std::int32_t* b, std::size_t count, RGB24* out)
{
    const auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v) & 0xFFu; };
    auto* bytes = reinterpret_cast<std::uint8_t*>(out);
    std::size_t i = 0;
#if defined(__SSE2__)
    // Four pixels at a time: their words R | G << 8 | B << 16, two to a 64-bit lane with
    // the second shifted against the first, stored as two overlapping 8-byte pieces
    // whose two surplus bytes the following pixels overwrite (hence four pixels to spare).
    const __m128i low = _mm_set1_epi32(0xFF);
    const __m128i evenWords = _mm_set_epi32(0, -1, 0, -1);
    const auto load = [](const std::int32_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
    for (; i + 8 <= count; i += 4, bytes += 12) {
        const __m128i words = _mm_or_si128(_mm_or_si128(_mm_and_si128(load(r + i), low),
                                                        _mm_slli_epi32(_mm_and_si128(load(g + i), low), 8)),
                                           _mm_slli_epi32(_mm_and_si128(load(b + i), low), 16));
        const __m128i pairs =
            _mm_or_si128(_mm_and_si128(words, evenWords), _mm_slli_epi64(_mm_srli_epi64(words, 32), 24));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(bytes), pairs);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(bytes + 6), _mm_srli_si128(pairs, 8));
    }
#endif
    for (; std::endian::native == std::endian::little && i + 4 <= count; i += 4, bytes += 12) {
        const std::uint32_t words[3] = {u(r[i]) | u(g[i]) << 8 | u(b[i]) << 16 | u(r[i + 1]) << 24,
                                        u(g[i + 1]) | u(b[i + 1]) << 8 | u(r[i + 2]) << 16 | u(g[i + 2]) << 24,
                                        u(b[i + 2]) | u(r[i + 3]) << 8 | u(g[i + 3]) << 16 | u(b[i + 3]) << 24};
        std::memcpy(bytes, words, sizeof words); // in memory: R, G, B, R, ... (little endian)
    }
    for (; i < count; ++i)
        out[i] = {static_cast<std::uint8_t>(r[i]), static_cast<std::uint8_t>(g[i]), static_cast<std::uint8_t>(b[i])};
}

void clearResult(ImageSegmented& image)
{
    const std::size_t count = image.pixelCount();
    std::fill(image.labels.data(), image.labels.data() + count, 0u);
    for (int c = 0; c < 3; ++c)
        std::fill(image.plane(c), image.plane(c) + count, 0);
}

} // namespace

bool OPCSC::fits(int width, int height)
{
    if (width < 1 || height < 1)
        return true;
    if (width > ipcIslandHierarchy::maxSide || height > ipcIslandHierarchy::maxSide)
        return false;
    const ipcIslandHierarchy hierarchy(width, height);
    return ipcCodeelementBase::elementCapacityFor(hierarchy, 4.0) <= ipcCodeelementBase::maxElementCapacity;
}

std::string OPCSC::resultName(int counter, Space space, int threshold)
{
    std::string name = "(";
    name.append(std::to_string(counter)).append(") CSC ");
    if (space == Space::RGB)
        name.append("RGB [Threshold=").append(std::to_string(threshold)).append("]");
    else
        name.append("HSV");
    return name;
}

OPCSC::Result OPCSC::execute(const ImageRGB& source, Space space, int threshold, const ivra::Progress& progress) const
{
    return execute(source, space, threshold, progress, 4.0);
}

OPCSC::Result OPCSC::execute(const ImageRGB& source, Space space, int threshold, const ivra::Progress& progress,
                             double elementsPerIsland) const
{
    if (threshold < minThreshold || threshold > maxThreshold)
        throw std::invalid_argument("CSC threshold must lie in 0..255");
    const int width = source.width(), height = source.height();
    if (!fits(width, height))
        throw std::length_error("The picture is too large for the Colour Structure Code (longest side at most 16384)");

    Result result;
    try {
        result.image = std::make_unique<ImageSegmented>(width, height);
        ImageSegmented& image = *result.image;
        const std::size_t count = image.pixelCount();
        if (count == 0)
            return result;
        // Every array of the result is written in full once: fewer, larger page faults.
        for (int c = 0; c < 3; ++c)
            ivra::preferHugePages(image.plane(c), count * sizeof(std::int32_t));
        ivra::preferHugePages(image.labels.data(), count * sizeof(std::uint32_t));
        ivra::preferHugePages(image.sourcePixels.data(), count * sizeof(RGB24));
        const std::int32_t* r = source.red();
        const std::int32_t* g = source.green();
        const std::int32_t* b = source.blue();
        RGB24* src = image.sourcePixels.data();
        copySource(r, g, b, count, src);
        const auto* rgb = reinterpret_cast<const std::uint8_t*>(src);

        try {
            std::vector<std::uint32_t> colourOfLabel;
            if (space == Space::RGB) {
                ipcCSCRGB csc;
                csc.elementsPerIsland = elementsPerIsland;
                csc.resize(width, height);
                csc.similarity.squaredThreshold = threshold * threshold;
                // The labels are written only when the regions are painted.
                csc.engine()->lendScratch(image.labels.data(), count * sizeof(std::uint32_t));
                csc.run(width, height, rgb, 0, 0, width, height, progress);
                colourOfLabel = paintRegions(*csc.store(), 0, 0, width, height, image.labels.data());
            } else {
                std::vector<std::uint32_t> hsvOfLabel;
                {
                    ipcCSCHSV csc;
                    csc.elementsPerIsland = elementsPerIsland;
                    csc.resize(width, height);
                    csc.engine()->lendScratch(image.labels.data(), count * sizeof(std::uint32_t));
                    {
                        // Only the level-0 phase reads the HSV pixels, and the blue plane is
                        // written only at the very end: it holds them meanwhile, which spares
                        // the faulting-in of a buffer of its size.
                        static_assert(sizeof(HSVPixel) == sizeof(std::int32_t) &&
                                      alignof(HSVPixel) <= alignof(std::int32_t));
                        HSVPixel* hsv = new (image.blue()) HSVPixel[count];
                        imageRgbToHsv(width, height, rgb, hsv);
                        csc.run(width, height, hsv, 0, 0, width, height, progress);
                    }
                    hsvOfLabel = paintRegions(*csc.store(), 0, 0, width, height, image.labels.data());
                }
                // A region shows its mean HSV converted back through the conversion tables.
                // Converting each region's colour once gives what converting the painted HSV
                // picture pixel by pixel would; pixels in no region hold HSV 0, i.e. black.
                colourOfLabel.resize(hsvOfLabel.size());
                for (std::size_t i = 0; i < hsvOfLabel.size(); ++i) {
                    HSVPixel p{static_cast<std::int16_t>(hueOf(hsvOfLabel[i])),
                               static_cast<std::uint8_t>(satOf(hsvOfLabel[i])),
                               static_cast<std::uint8_t>(valOf(hsvOfLabel[i]))};
                    std::uint8_t out[3];
                    pixelHsvToRgb(p, out);
                    colourOfLabel[i] = packRGB(out[0], out[1], out[2]);
                }
            }
            writePlanes(image, colourOfLabel);
        } catch (const advException& e) {
            std::cerr << e.message() << std::endl;
            result.complete = false;
            result.message = e.message();
            clearResult(image);
        }
    } catch (const std::bad_alloc&) {
        std::string text = "Not enough memory for the Colour Structure Code on a ";
        text.append(std::to_string(width)).append(" x ").append(std::to_string(height)).append(" picture");
        throw std::length_error(text);
    }
    return result;
}
