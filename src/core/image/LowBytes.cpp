#include "LowBytes.h"

#include "util/ParallelRows.h"
#include "util/Simd.h"

#include <bit>
#include <cstring>

namespace ivra {

namespace {

// Pixels begin .. begin + count - 1 of the planes' low bytes as packed R, G, B. Four
// pixels make three whole words, so the copy stores words instead of single bytes;
// no store reaches past the range, so ranges may be copied side by side.
void copyLowBytes(const ImageColor& source, std::size_t begin, std::size_t count, RGB24* out)
{
    const std::int32_t* r = source.plane(0) + begin;
    const std::int32_t* g = source.plane(1) + begin;
    const std::int32_t* b = source.plane(2) + begin;
    out += begin;
    const auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v) & 0xFFu; };
    auto* bytes = reinterpret_cast<std::uint8_t*>(out);
    std::size_t i = 0;
#if IVRA_SIMD_SSE2
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

} // namespace

void copyLowBytes(const ImageColor& source, RGB24* out)
{
    const std::size_t w = static_cast<std::size_t>(source.width());
    parallelRows(0, source.height(), rowsPerPiece(source.width()),
                 [&](int y0, int y1) { copyLowBytes(source, y0 * w, (y1 - y0) * w, out); });
}

void copyToPlanes(const RGB24* pixels, ImageColor& target)
{
    std::int32_t* r = target.plane(0);
    std::int32_t* g = target.plane(1);
    std::int32_t* b = target.plane(2);
    const std::size_t w = static_cast<std::size_t>(target.width());
    parallelRows(0, target.height(), rowsPerPiece(target.width()), [&](int y0, int y1) {
        for (std::size_t i = y0 * w; i < y1 * w; ++i) {
            r[i] = pixels[i].r;
            g[i] = pixels[i].g;
            b[i] = pixels[i].b;
        }
    });
}

} // namespace ivra
