#pragma once

#include "ConflictResolution.h"
#include "IslandHierarchy.h"
#include "PackedColor.h"
#include "PixelPairs.h"
#include "SimilarityRGB.h"
#include "util/Simd.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ivra::csc::detail {

// The linking engine's view of RGB pixels (3 bytes R, G, B) and colours: the level-0
// similarity bits of pixel pairs, the mean colour of a set of pixels, and the growth
// predicate of the levels above.
struct SpaceRGB {
    static constexpr int pixelBytes = 3;
    SimilarityRGB sim;

    // One pixel row, channels apart (16 bits each) so that the pair tests vectorise.
    struct Row {
        std::vector<std::int16_t> r, g, b;
        void resize(int n)
        {
            r.resize(n);
            g.resize(n);
            b.resize(n);
        }
    };
    static void loadRow(const std::uint8_t* p, int n, Row& row)
    {
        int x = 0;
#if IVRA_SIMD_SSE2
        const __m128i zero = _mm_setzero_si128();
        // Sixteen pixels (48 bytes) at a time: four rounds of the same three-way byte
        // interleave sort the channels apart, then each is widened to 16 bits.
        const auto sort = [](__m128i a, __m128i b, __m128i c, __m128i& x, __m128i& y, __m128i& z) {
            x = _mm_unpacklo_epi8(a, _mm_unpackhi_epi64(b, b));
            y = _mm_unpacklo_epi8(_mm_unpackhi_epi64(a, a), c);
            z = _mm_unpacklo_epi8(b, _mm_unpackhi_epi64(c, c));
        };
        const auto store16 = [&](std::int16_t* out, __m128i bytes) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
        };
        for (; x + 16 <= n; x += 16, p += 48) {
            __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
            __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 32));
            __m128i d, e, f;
            sort(a, b, c, d, e, f);
            sort(d, e, f, a, b, c);
            sort(a, b, c, d, e, f);
            sort(d, e, f, a, b, c); // a: red, b: green, c: blue
            store16(row.r.data() + x, a);
            store16(row.g.data() + x, b);
            store16(row.b.data() + x, c);
        }
#endif
        for (; x < n; ++x, p += 3) {
            row.r[x] = p[0];
            row.g[x] = p[1];
            row.b[x] = p[2];
        }
    }
    // out[x] |= bit where pixel x of a is similar to pixel x + shift of b, for x in [from, to).
    void pairBits(const Row& a, const Row& b, int shift, int from, int to, std::uint8_t bit, std::uint8_t* out) const
    {
        const int t = sim.squaredThreshold;
        const std::int16_t *ar = a.r.data(), *ag = a.g.data(), *ab = a.b.data();
        const std::int16_t *br = b.r.data(), *bg = b.g.data(), *bb = b.b.data();
        for (int x = from; x < to; ++x) {
            const int y = x + shift;
            const int dr = ar[x] - br[y], dg = ag[x] - bg[y], db = ab[x] - bb[y];
            out[x] |= static_cast<std::uint8_t>(dr * dr + dg * dg + db * db < t ? bit : 0);
        }
    }
    // The similarity bits of one row: out[x] gets bitRight, bitBelow and bitDiagonal
    // for the pairs of pixel x with its right neighbour and its two lower neighbours
    // (next is null on the last row). out starts zeroed.
    void rowBits(const Row& cur, const Row* next, bool oddRow, int n, std::uint8_t* out) const
    {
#if IVRA_SIMD_SSE2
        if (next && n >= 10 && sim.squaredThreshold >= 0 && sim.squaredThreshold <= 0xFFFF) {
            rowBitsAllDirections(cur, *next, oddRow, n, out);
            return;
        }
#endif
        pairBits(cur, cur, 1, 0, n - 1, bitRight, out);
        if (next) {
            pairBits(cur, *next, 0, 0, n, bitBelow, out);
            if (oddRow)
                pairBits(cur, *next, 1, 0, n - 1, bitDiagonal, out);
            else
                pairBits(cur, *next, -1, 1, n, bitDiagonal, out);
        }
    }
#if IVRA_SIMD_SSE2
    // rowBits with a next row and a squared threshold of 16 bits: the three directions
    // of eight pixels at a time in one pass, in 16-bit lanes. A squared difference of
    // two bytes is below 2^16, so its low 16 bits are exact; the sum of the three
    // saturates at 2^16 - 1, which leaves "sum < threshold" unchanged for a threshold
    // below 2^16. The pixels at both ends, whose right or diagonal partner may lie
    // outside the row, go through pairBits.
    void rowBitsAllDirections(const Row& cur, const Row& next, bool oddRow, int n, std::uint8_t* out) const
    {
        const __m128i t = _mm_set1_epi16(static_cast<short>(static_cast<std::uint16_t>(sim.squaredThreshold)));
        const __m128i zero = _mm_setzero_si128();
        const std::int16_t *ar = cur.r.data(), *ag = cur.g.data(), *ab = cur.b.data();
        const std::int16_t *br = next.r.data(), *bg = next.g.data(), *bb = next.b.data();
        const int diagonal = oddRow ? 1 : -1;
        const auto load = [](const std::int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
        const auto similar = [&](int x, const std::int16_t* pr, const std::int16_t* pg, const std::int16_t* pb,
                                 int bit) {
            const __m128i dr = _mm_sub_epi16(load(ar + x), load(pr));
            const __m128i dg = _mm_sub_epi16(load(ag + x), load(pg));
            const __m128i db = _mm_sub_epi16(load(ab + x), load(pb));
            const __m128i sum = _mm_adds_epu16(_mm_adds_epu16(_mm_mullo_epi16(dr, dr), _mm_mullo_epi16(dg, dg)),
                                               _mm_mullo_epi16(db, db));
            // threshold - sum, saturated at 0, is non-zero exactly when sum < threshold
            const __m128i below = _mm_cmpeq_epi16(_mm_subs_epu16(t, sum), zero);
            return _mm_andnot_si128(below, _mm_set1_epi16(static_cast<short>(bit)));
        };
        // Pixels 1 .. n-2 have all three partners inside the rows.
        int x = 1;
        for (; x + 8 <= n - 1; x += 8) {
            const int d = x + diagonal;
            const __m128i bits = _mm_or_si128(_mm_or_si128(similar(x, ar + x + 1, ag + x + 1, ab + x + 1, bitRight),
                                                           similar(x, br + x, bg + x, bb + x, bitBelow)),
                                              similar(x, br + d, bg + d, bb + d, bitDiagonal));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out + x), _mm_packus_epi16(bits, zero));
        }
        // The rest: pixel 0 and pixels x .. n-1, exactly as the plain path does them.
        const auto plain = [&](int from, int to) {
            pairBits(cur, cur, 1, from, std::min(to, n - 1), bitRight, out);
            pairBits(cur, next, 0, from, to, bitBelow, out);
            if (oddRow)
                pairBits(cur, next, 1, from, std::min(to, n - 1), bitDiagonal, out);
            else
                pairBits(cur, next, -1, std::max(from, 1), to, bitDiagonal, out);
        };
        plain(0, 1);
        plain(x, n);
    }
#endif
#if IVRA_SIMD_SSE2
    // The seven pixels of an island lying wholly inside the picture, as 16-bit channel
    // values in three rows of the same layout (R, G, B of a left and a right pixel):
    // upper (cells 4, 5), middle (cells 6, 0), lower (cells 2, 3), and cell 1 alone.
    // mean() gives what meanOfPixels gives for a component of the island.
    static constexpr bool hasInnerMeans = true;
    class IslandPixels {
    public:
        // The middle row is read 16 bytes wide: beyond the island's pixels that reaches
        // at most into the next row, which exists. The outer rows are read 8 bytes wide,
        // which ends inside the pixel right of the island's centre column.
        IslandPixels(const std::uint8_t* pixels, std::ptrdiff_t centre, int stride)
        {
            static_assert(IslandHierarchy::cellOffsetX[4] == -1 && IslandHierarchy::cellOffsetY[4] == -1 &&
                          IslandHierarchy::cellOffsetX[5] == 0 && IslandHierarchy::cellOffsetY[5] == -1 &&
                          IslandHierarchy::cellOffsetX[6] == -1 && IslandHierarchy::cellOffsetY[6] == 0 &&
                          IslandHierarchy::cellOffsetX[1] == 1 && IslandHierarchy::cellOffsetY[1] == 0 &&
                          IslandHierarchy::cellOffsetX[2] == -1 && IslandHierarchy::cellOffsetY[2] == 1 &&
                          IslandHierarchy::cellOffsetX[3] == 0 && IslandHierarchy::cellOffsetY[3] == 1);
            const __m128i zero = _mm_setzero_si128();
            const std::uint8_t* left = pixels + (centre - 1) * pixelBytes;
            const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(stride) * pixelBytes;
            const __m128i mid = _mm_loadu_si128(reinterpret_cast<const __m128i*>(left));
            upper_ = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(left - row)), zero);
            lower_ = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(left + row)), zero);
            middle_ = _mm_unpacklo_epi8(mid, zero);
            right_ = _mm_unpacklo_epi8(_mm_srli_si128(mid, 6), zero);
        }
        std::uint32_t mean(unsigned mask) const
        {
            // Lanes 0..2 select the left pixel of a row, lanes 3..5 the right one; lanes
            // 6, 7 test bit 7, which no mask has.
            const __m128i bits = _mm_set1_epi16(static_cast<short>(mask));
            const auto take = [&](__m128i values, int leftCell, int rightCell) {
                const auto l = static_cast<short>(1 << leftCell), r = static_cast<short>(1 << rightCell);
                const __m128i cell = _mm_setr_epi16(l, l, l, r, r, r, 0x80, 0x80);
                return _mm_and_si128(values, _mm_cmpeq_epi16(_mm_and_si128(bits, cell), cell));
            };
            __m128i sum = _mm_add_epi16(_mm_add_epi16(take(upper_, 4, 5), take(middle_, 6, 0)),
                                        _mm_add_epi16(take(lower_, 2, 3), take(right_, 1, 7)));
            sum = _mm_add_epi16(sum, _mm_srli_si128(sum, 6)); // left + right pixel
            const std::uint32_t m = smallReciprocal[cellCount[mask & 0x7F]];
            const auto channel = [&](unsigned total) { return static_cast<int>(total * m >> 16); };
            return packRGB(channel(static_cast<unsigned>(_mm_extract_epi16(sum, 0))),
                           channel(static_cast<unsigned>(_mm_extract_epi16(sum, 1))),
                           channel(static_cast<unsigned>(_mm_extract_epi16(sum, 2))));
        }

    private:
        __m128i upper_, middle_, lower_, right_;
    };
#else
    static constexpr bool hasInnerMeans = false; // inner islands take meanOfPixels too
#endif
    // Plain average of the component's pixels, per channel with integer division.
    static std::uint32_t meanOfPixels(const std::uint8_t* pixels, std::ptrdiff_t centre, const std::ptrdiff_t* offsets,
                                      unsigned mask)
    {
        unsigned r = 0, g = 0, b = 0, n = 0;
        for (; mask != 0; mask &= mask - 1, ++n) {
            const std::uint8_t* p = pixels + (centre + offsets[std::countr_zero(mask)]) * pixelBytes;
            r += p[0];
            g += p[1];
            b += p[2];
        }
        const std::uint32_t m = smallReciprocal[n];
        return packRGB(static_cast<int>(r * m >> 16), static_cast<int>(g * m >> 16), static_cast<int>(b * m >> 16));
    }
    void start(std::uint32_t color, int level) { sim.start(color, level); }
    bool accept(std::uint32_t reference, std::uint32_t candidate) { return sim.accept(reference, candidate); }
    std::uint32_t color() const { return sim.finalColor(); }
    static int closer(std::uint32_t g, std::uint32_t s1, std::uint32_t s2) { return closerRGB(g, s1, s2); }
};

} // namespace ivra::csc::detail
