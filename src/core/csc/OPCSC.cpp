#include "OPCSC.h"

#include "image/LowBytes.h"
#include "CSCException.h"
#include "CSCRegionOutput.h"
#include "colour/ColourConversion.h"
#include "ipcCSC.h"
#include "ipcCodeelementBase.h"
#include "util/HugePages.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <new>
#include <stdexcept>

#if defined(__SSE2__)
#include <emmintrin.h>

namespace ivra {
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
        // Regions are large: mostly the four pixels share one label and one colour.
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(labels + i));
        const __m128i same = _mm_cmpeq_epi32(four, _mm_shuffle_epi32(four, 0));
        const __m128i c = _mm_movemask_epi8(same) == 0xFFFF
                              ? _mm_set1_epi32(static_cast<int>(rgbOfLabel[labels[i]]))
                              : _mm_setr_epi32(static_cast<int>(rgbOfLabel[labels[i]]),
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
        // The three planes are one block (red, green, blue).
        std::uint8_t* const planes = reinterpret_cast<std::uint8_t*>(image.red());
        const std::size_t planeBytes = 3 * count * sizeof(std::int32_t);
        ivra::preferHugePages(planes, planeBytes);
        ivra::preferHugePages(image.labels.data(), count * sizeof(std::uint32_t));
        ivra::preferHugePages(image.sourcePixels.data(), count * sizeof(RGB24));
        RGB24* src = image.sourcePixels.data();
        copyLowBytes(source, src);
        const auto* rgb = reinterpret_cast<const std::uint8_t*>(src);

        try {
            std::vector<std::uint32_t> colourOfLabel;
            if (space == Space::RGB) {
                ipcCSCRGB csc;
                csc.elementsPerIsland = elementsPerIsland;
                csc.resize(width, height);
                csc.similarity.squaredThreshold = threshold * threshold;
                // The labels are written only when the regions are painted, and the
                // planes after that: meanwhile they hold the level-0 scratch plane and
                // the element store, which spares faulting in memory of their own.
                csc.engine()->lendScratch(image.labels.data(), count * sizeof(std::uint32_t));
                csc.store()->lend(planes, planeBytes);
                csc.run(width, height, rgb, 0, 0, width, height, progress);
                colourOfLabel = paintRegions(*csc.store(), 0, 0, width, height, image.labels.data());
            } else {
                std::vector<std::uint32_t> hsvOfLabel;
                {
                    ipcCSCHSV csc;
                    csc.elementsPerIsland = elementsPerIsland;
                    csc.resize(width, height);
                    // As for RGB, but the labels hold the HSV pixels, which only the
                    // level-0 phase reads, and the scratch plane goes to the end of the
                    // planes, which hold the store before it.
                    const std::size_t scratch = (static_cast<std::size_t>(width) + 3) * (height + 3);
                    if (2 * scratch <= planeBytes) {
                        csc.engine()->lendScratch(planes + planeBytes - scratch, scratch);
                        csc.store()->lend(planes, planeBytes - scratch);
                    } else {
                        csc.store()->lend(planes, planeBytes);
                    }
                    {
                        static_assert(sizeof(HSVPixel) == sizeof(std::uint32_t) &&
                                      alignof(HSVPixel) <= alignof(std::uint32_t));
                        HSVPixel* hsv = new (image.labels.data()) HSVPixel[count];
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

} // namespace ivra
