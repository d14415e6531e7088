#include "Avx2Kernels.h"

#if IVRA_PYTHON_AVX2

#include <atomic>
#include <cstring>

namespace ivra::python::avx2 {

// A pshufb mask, the same for both 128-bit halves: byte k of a half takes byte
// mask[k] of the same half, or zero where mask[k] is -1.
#define IVRA_BOTH_HALVES(...) _mm256_setr_epi8(__VA_ARGS__, __VA_ARGS__)

namespace {
std::atomic<bool> allowed{true};
} // namespace

bool available()
{
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    return hasAvx2 && allowed.load(std::memory_order_relaxed);
}

void allow(bool yes) { allowed.store(yes, std::memory_order_relaxed); }

__attribute__((target("avx2"))) int splitBytes(const char* row, int width, std::int32_t* out0, std::int32_t* out1,
                                               std::int32_t* out2)
{
    // Each half holds four pixels in its first twelve bytes; a channel's bytes widen
    // to 32-bit lanes.
    const __m256i red = IVRA_BOTH_HALVES(0, -1, -1, -1, 3, -1, -1, -1, 6, -1, -1, -1, 9, -1, -1, -1);
    const __m256i green = IVRA_BOTH_HALVES(1, -1, -1, -1, 4, -1, -1, -1, 7, -1, -1, -1, 10, -1, -1, -1);
    const __m256i blue = IVRA_BOTH_HALVES(2, -1, -1, -1, 5, -1, -1, -1, 8, -1, -1, -1, 11, -1, -1, -1);
    int x = 0;
    // The second 16-byte load ends four bytes past the round's 24, so the rounds stop
    // two pixels before the row's end.
    for (; x + 10 <= width; x += 8) {
        const char* p = row + static_cast<std::ptrdiff_t>(x) * 3;
        const __m256i both = _mm256_inserti128_si256(
            _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))),
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 12)), 1);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out0 + x), _mm256_shuffle_epi8(both, red));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out1 + x), _mm256_shuffle_epi8(both, green));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out2 + x), _mm256_shuffle_epi8(both, blue));
    }
    return x;
}

__attribute__((target("avx2"))) std::size_t packBytes(const std::int32_t* in0, const std::int32_t* in1,
                                                      const std::int32_t* in2, std::size_t begin, std::size_t end,
                                                      std::uint8_t* out, std::uint32_t& all)
{
    const __m256i byte = _mm256_set1_epi32(0xFF);
    // R | G << 8 | B << 16 in each lane: its three low bytes, four lanes to a half.
    const __m256i gather = IVRA_BOTH_HALVES(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    __m256i any = _mm256_setzero_si256();
    std::size_t i = begin;
    // Each half's twelve bytes go out with a 16-byte store, the second over the first's
    // last four; the rounds stop where the second would reach out[3 * end].
    for (; i + 10 <= end; i += 8) {
        const __m256i r = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in0 + i));
        const __m256i g = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in1 + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in2 + i));
        any = _mm256_or_si256(any, _mm256_or_si256(r, _mm256_or_si256(g, b)));
        const __m256i pixels = _mm256_or_si256(_mm256_and_si256(r, byte),
                                               _mm256_or_si256(_mm256_slli_epi32(_mm256_and_si256(g, byte), 8),
                                                               _mm256_slli_epi32(_mm256_and_si256(b, byte), 16)));
        const __m256i packed = _mm256_shuffle_epi8(pixels, gather);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i * 3), _mm256_castsi256_si128(packed));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i * 3 + 12), _mm256_extracti128_si256(packed, 1));
    }
    __m128i half = _mm_or_si128(_mm256_castsi256_si128(any), _mm256_extracti128_si256(any, 1));
    half = _mm_or_si128(half, _mm_srli_si128(half, 8));
    half = _mm_or_si128(half, _mm_srli_si128(half, 4));
    all |= static_cast<std::uint32_t>(_mm_cvtsi128_si32(half));
    return i;
}

// The plain loops, compiled for 256-bit vectors.
__attribute__((target("avx2"))) bool copyRun(const char* __restrict in, int width, std::int32_t* __restrict out,
                                             std::uint32_t base, std::uint32_t span)
{
    unsigned outside = 0;
    for (int x = 0; x < width; ++x) {
        std::int32_t v;
        std::memcpy(&v, in + static_cast<std::size_t>(x) * sizeof v, sizeof v);
        outside |= static_cast<std::uint32_t>(v) - base > span;
        out[x] = v;
    }
    return outside != 0;
}

__attribute__((target("avx2"))) void copyRun(const std::uint8_t* __restrict in, int width,
                                             std::int32_t* __restrict out)
{
    for (int x = 0; x < width; ++x)
        out[x] = in[x];
}

#undef IVRA_BOTH_HALVES

} // namespace ivra::python::avx2

#endif
