#include "OPCSC.h"

#include "ElementStore.h"
#include "ElementStoreOverrun.h"
#include "PackedColor.h"
#include "RegionPainter.h"
#include "Segmenter.h"
#include "color/ColorConversion.h"
#include "image/LowBytes.h"
#include "util/ParallelRows.h"
#include "util/MessageSink.h"
#include "util/Simd.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <stdexcept>

namespace ivra {

// Memory plan of a run. Every array of the result is written in full exactly once, at
// the end; until then the run borrows it instead of faulting in memory of its own:
//
//   result array            bytes/pixel  RGB run lends it to        HSV run lends it to
//   labels                  4            the level-0 pair plane,    the HSV pixels (read only by level 0),
//                                        then the pieces of the     then the pieces of the levels above
//                                        levels above (threads)     (threads)
//   planes (red|green|blue) 12           the element store          the element store, and the pair plane
//                                                                   at its end when the plane fits twice
//   sourcePixels            3            the input bytes, as they stay in the result
//
// paintRegions then writes the labels (it reads the store, still in the planes), and
// writePlanes last turns each label into its colour over the store.
namespace {

using namespace csc;

// Writes the painted regions into the result planes: label -> packed R, G, B.
// Pixels begin .. begin + count - 1.
void writePlanes(ImageSegmented& image, const std::vector<std::uint32_t>& rgbOfLabel, std::size_t begin,
                 std::size_t count)
{
    const std::uint32_t* labels = image.labels.data() + begin;
    std::int32_t* r = image.red() + begin;
    std::int32_t* g = image.green() + begin;
    std::int32_t* b = image.blue() + begin;
    std::size_t i = 0;
#if IVRA_SIMD_SSE2
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

void writePlanes(ImageSegmented& image, const std::vector<std::uint32_t>& rgbOfLabel)
{
    const std::size_t w = static_cast<std::size_t>(image.width());
    parallelRows(0, image.height(), rowsPerPiece(image.width()),
                 [&](int y0, int y1) { writePlanes(image, rgbOfLabel, y0 * w, (y1 - y0) * w); });
}

void clearResult(ImageSegmented& image)
{
    const std::size_t count = image.pixelCount();
    std::fill(image.labels.data(), image.labels.data() + count, 0u);
    for (int c = 0; c < 3; ++c)
        std::fill(image.plane(c), image.plane(c) + count, 0);
}

// The result planes as one block of bytes (red, green, blue follow each other).
std::uint8_t* planeBlock(ImageSegmented& image)
{
    return reinterpret_cast<std::uint8_t*>(image.red());
}
std::size_t planeBlockBytes(const ImageSegmented& image)
{
    return 3 * image.pixelCount() * sizeof(std::int32_t);
}

// Takes the input into sourcePixels. Each array of the result (huge-page aligned by
// its allocation) is written in full once: fewer, larger page faults.
void prepareResult(const ImageRGB& source, ImageSegmented& image)
{
    copyLowBytes(source, image.sourcePixels.data());
}

const std::uint8_t* inputBytes(const ImageSegmented& image)
{
    return reinterpret_cast<const std::uint8_t*>(image.sourcePixels.data());
}

// Runs the RGB code and paints the labels; returns the colour of every label.
std::vector<std::uint32_t> segmentRGB(ImageSegmented& image, int threshold, double elementsPerIsland,
                                      const ivra::Progress& progress)
{
    const int width = image.width(), height = image.height();
    SegmenterRGB csc;
    csc.elementsPerIsland = elementsPerIsland;
    csc.resize(width, height);
    csc.similarity.squaredThreshold = threshold * threshold;
    csc.engine()->lendScratch(image.labels.data(), image.pixelCount() * sizeof(std::uint32_t));
    csc.engine()->lendLaterScratch(image.labels.data(), image.pixelCount() * sizeof(std::uint32_t));
    csc.store()->lend(planeBlock(image), planeBlockBytes(image));
    csc.run(width, height, inputBytes(image), 0, 0, width, height, progress);
    return paintRegions(*csc.store(), 0, 0, width, height, image.labels.data());
}

// Runs the HSV code on the input's table HSV and paints the labels; returns the mean
// HSV of every label.
std::vector<std::uint32_t> segmentHSV(ImageSegmented& image, double elementsPerIsland, const ivra::Progress& progress)
{
    const int width = image.width(), height = image.height();
    std::uint8_t* const planes = planeBlock(image);
    const std::size_t planeBytes = planeBlockBytes(image);
    SegmenterHSV csc;
    csc.elementsPerIsland = elementsPerIsland;
    csc.resize(width, height);
    const std::size_t scratch = (static_cast<std::size_t>(width) + 3) * (height + 3);
    if (2 * scratch <= planeBytes) {
        csc.engine()->lendScratch(planes + planeBytes - scratch, scratch);
        csc.store()->lend(planes, planeBytes - scratch);
    } else {
        csc.store()->lend(planes, planeBytes);
    }
    static_assert(sizeof(HSVPixel) == sizeof(std::uint32_t) && alignof(HSVPixel) <= alignof(std::uint32_t));
    HSVPixel* hsv = new (image.labels.data()) HSVPixel[image.pixelCount()];
    csc.engine()->lendLaterScratch(hsv, image.pixelCount() * sizeof(HSVPixel)); // read by level 0 only
    imageRgbToHsv(width, height, inputBytes(image), hsv);
    csc.run(width, height, hsv, 0, 0, width, height, progress);
    return paintRegions(*csc.store(), 0, 0, width, height, image.labels.data());
}

// A region shows its mean HSV converted back through the conversion tables.
// Converting each region's colour once gives what converting the painted HSV picture
// pixel by pixel would; pixels in no region hold HSV 0, i.e. black.
std::vector<std::uint32_t> rgbOfHsv(const std::vector<std::uint32_t>& hsvOfLabel)
{
    std::vector<std::uint32_t> rgb(hsvOfLabel.size());
    for (std::size_t i = 0; i < hsvOfLabel.size(); ++i) {
        const HSVPixel p{static_cast<std::int16_t>(hueOf(hsvOfLabel[i])), static_cast<std::uint8_t>(satOf(hsvOfLabel[i])),
                         static_cast<std::uint8_t>(valOf(hsvOfLabel[i]))};
        std::uint8_t out[3];
        pixelHsvToRgb(p, out);
        rgb[i] = packRGB(out[0], out[1], out[2]);
    }
    return rgb;
}

} // namespace

bool OPCSC::fits(int width, int height)
{
    if (width < 1 || height < 1)
        return true;
    if (width > IslandHierarchy::maxSide || height > IslandHierarchy::maxSide)
        return false;
    const IslandHierarchy hierarchy(width, height);
    return ElementStore::elementCapacityFor(hierarchy, 4.0) <= ElementStore::maxElementCapacity;
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
    if (threshold < CscParams::minThreshold || threshold > CscParams::maxThreshold)
        throw std::invalid_argument("CSC threshold must lie in 0..255");
    const int width = source.width(), height = source.height();
    if (!fits(width, height))
        throw std::length_error("The picture is too large for the Colour Structure Code (longest side at most 16384)");

    Result result;
    try {
        result.image = std::make_unique<ImageSegmented>(width, height);
        ImageSegmented& image = *result.image;
        if (image.pixelCount() == 0)
            return result;
        prepareResult(source, image);
        try {
            writePlanes(image, space == Space::RGB ? segmentRGB(image, threshold, elementsPerIsland, progress)
                                                   : rgbOfHsv(segmentHSV(image, elementsPerIsland, progress)));
        } catch (const ElementStoreOverrun& e) {
            MessageSink::instance().error(e.what());
            result.complete = false;
            result.message = e.what();
            clearResult(image);
        }
    } catch (const std::bad_alloc&) {
        std::string text = "Not enough memory for the Colour Structure Code on a ";
        text.append(std::to_string(width)).append(" x ").append(std::to_string(height)).append(" picture");
        throw std::length_error(text);
    }
    return result;
}

OPCSC::Result OPCSC::execute(const Image& source, const CscParams& params, const ivra::Progress& progress) const
{
    if (source.type() != TypeImageRGB)
        throw UnacceptedInput("CSC", source.type());
    return execute(static_cast<const ImageRGB&>(source), params.space, params.threshold, progress);
}

} // namespace ivra
