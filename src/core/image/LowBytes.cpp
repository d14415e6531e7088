#include "LowBytes.h"

#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>

namespace ivra {
#endif

// The planes' low bytes as packed R, G, B. Four pixels make three whole words, so the
// copy stores words instead of single bytes.
void copyLowBytes(const ImageColor& source, RGB24* out)
{
    const std::int32_t* r = source.plane(0);
    const std::int32_t* g = source.plane(1);
    const std::int32_t* b = source.plane(2);
    const std::size_t count = source.pixelCount();
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

void copyToPlanes(const RGB24* pixels, ImageColor& target)
{
    std::int32_t* r = target.plane(0);
    std::int32_t* g = target.plane(1);
    std::int32_t* b = target.plane(2);
    for (std::size_t i = 0, n = target.pixelCount(); i < n; ++i) {
        r[i] = pixels[i].r;
        g[i] = pixels[i].g;
        b[i] = pixels[i].b;
    }
}

} // namespace ivra
