#pragma once

#include "ConflictResolution.h"
#include "PackedColor.h"
#include "PixelPairs.h"
#include "SimilarityHSV.h"
#include "util/Simd.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace ivra::csc::detail {

// The pixel tolerances of SimilarityHSV in the layout of SpaceHSV::tolerances.
constexpr std::uint64_t hsvGuardBits = 0x0000800080008000ull;
constexpr std::array<std::uint64_t, 256> guardedTolerances0()
{
    std::array<std::uint64_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<std::uint64_t>(SimilarityHSV::hueTolerance0[i]) |
               static_cast<std::uint64_t>(SimilarityHSV::satTolerance0[i]) << 16 |
               static_cast<std::uint64_t>(SimilarityHSV::valTolerance0[i]) << 32 | hsvGuardBits;
    return t;
}

// The linking engine's view of HSV pixels (HSVPixel words, hues 0..359) and colours,
// as SpaceRGB for RGB.
struct SpaceHSV {
    static constexpr int pixelBytes = 4;
#if IVRA_SIMD_SSE2
    // The seven pixels of an island lying wholly inside the picture, one 16-bit lane per
    // cell (lanes: cells 4, 5, 6, 0, 1, 2, none, 3), with the per-pixel tests of
    // meanOfPixels done once; mean() gives what meanOfPixels gives for a component.
    static constexpr bool hasInnerMeans = true;
    class IslandPixels {
    public:
        // The middle row is read 16 bytes wide: the fourth word lies at most in the next
        // row, which exists. The outer rows are read as two words each.
        IslandPixels(const std::uint8_t* pixels, std::ptrdiff_t centre, int stride)
        {
            const std::uint8_t* left = pixels + (centre - 1) * pixelBytes;
            const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(stride) * pixelBytes;
            const __m128i up = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(left - row));
            const __m128i mid = _mm_loadu_si128(reinterpret_cast<const __m128i*>(left));
            const __m128i low = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(left + row));
            const __m128i a = _mm_unpacklo_epi64(up, mid);                      // cells 4, 5, 6, 0
            const __m128i b = _mm_unpacklo_epi32(_mm_srli_si128(mid, 8), low); // cells 1, 2, -, 3
            const auto hue = [](__m128i w) { return _mm_srai_epi32(_mm_slli_epi32(w, 16), 16); };
            const __m128i byte = _mm_set1_epi32(0xFF);
            const auto sat = [&](__m128i w) { return _mm_and_si128(_mm_srli_epi32(w, 16), byte); };
            const __m128i h = _mm_packs_epi32(hue(a), hue(b));
            sat_ = _mm_packs_epi32(sat(a), sat(b));
            val_ = _mm_packs_epi32(_mm_srli_epi32(a, 24), _mm_srli_epi32(b, 24));
            chromatic_ = _mm_andnot_si128(_mm_cmpeq_epi16(sat_, _mm_setzero_si128()), _mm_set1_epi16(-1));
            hue_ = _mm_and_si128(h, chromatic_);
            wrapping_ = _mm_and_si128(chromatic_, _mm_cmplt_epi16(h, _mm_set1_epi16(61)));
            high_ = _mm_and_si128(chromatic_, _mm_cmpgt_epi16(h, _mm_set1_epi16(299)));
        }
        std::uint32_t mean(unsigned mask) const
        {
            const __m128i cells = _mm_setr_epi16(1 << 4, 1 << 5, 1 << 6, 1 << 0, 1 << 1, 1 << 2, 0x80, 1 << 3);
            const __m128i in = _mm_cmpeq_epi16(_mm_and_si128(_mm_set1_epi16(static_cast<short>(mask)), cells), cells);
            const __m128i one = _mm_set1_epi16(1);
            const unsigned n = cellCount[mask & 0x7F];
            const unsigned chromatic = sum(_mm_and_si128(_mm_and_si128(chromatic_, in), one));
            int hue = 0;
            if (chromatic != 0) {
                // As the running sums of meanOfPixels: unsigned, hues converted one by one.
                const auto hueSum = static_cast<unsigned>(static_cast<std::int16_t>(sum(_mm_and_si128(hue_, in))));
                const unsigned wrapSum = 360u * sum(_mm_and_si128(_mm_and_si128(wrapping_, in), one));
                const bool highHue = _mm_movemask_epi8(_mm_and_si128(high_, in)) != 0;
                const unsigned total = hueSum + (highHue ? wrapSum : 0) + chromatic / 2;
                hue = static_cast<int>(total * smallReciprocal[chromatic] >> 16);
                if (hue >= 360)
                    hue -= 360;
            }
            return packHSV(hue, static_cast<int>(sum(_mm_and_si128(sat_, in)) * smallReciprocal[n] >> 16),
                           static_cast<int>(sum(_mm_and_si128(val_, in)) * smallReciprocal[n] >> 16));
        }

    private:
        // The sum of the eight 16-bit lanes (kept in 16 bits), as its low 16 bits.
        static unsigned sum(__m128i v)
        {
            v = _mm_add_epi16(v, _mm_srli_si128(v, 8));
            v = _mm_add_epi16(v, _mm_srli_si128(v, 4));
            v = _mm_add_epi16(v, _mm_srli_si128(v, 2));
            return static_cast<unsigned>(_mm_extract_epi16(v, 0));
        }
        __m128i hue_, sat_, val_, chromatic_, wrapping_, high_;
    };
#else
    static constexpr bool hasInnerMeans = false; // inner islands take meanOfPixels too
#endif
    SimilarityHSV sim;

    // One pixel row, hue, saturation and value apart (16 bits each) so that the
    // differences and the table index of eight pairs are computed at once.
    struct Row {
        // One zero pixel before and after the row, so that the three directions can be
        // tested over the whole row (the results of pairs leaving it are cleared).
        std::vector<std::int16_t> h, s, v;
        void resize(int n)
        {
            h.resize(n + 2);
            s.resize(n + 2);
            v.resize(n + 2);
        }
    };
    static void loadRow(const std::uint8_t* p, int n, Row& row)
    {
        int x = 0;
#if IVRA_SIMD_SSE2
        // Eight pixels at a time: the fields of two vectors of pixel words, narrowed to
        // 16 bits with signed saturation, which every hue, saturation and value passes
        // unchanged.
        const __m128i low = _mm_set1_epi32(0xFF);
        for (; x + 8 <= n; x += 8, p += 32) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
            const auto hue = [](__m128i w) { return _mm_srai_epi32(_mm_slli_epi32(w, 16), 16); };
            const auto sat = [&](__m128i w) { return _mm_and_si128(_mm_srli_epi32(w, 16), low); };
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row.h.data() + x + 1), _mm_packs_epi32(hue(a), hue(b)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row.s.data() + x + 1), _mm_packs_epi32(sat(a), sat(b)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(row.v.data() + x + 1),
                             _mm_packs_epi32(_mm_srli_epi32(a, 24), _mm_srli_epi32(b, 24)));
        }
#endif
        for (; x < n; ++x, p += 4) {
            const std::uint32_t w = load(p);
            row.h[x + 1] = static_cast<std::int16_t>(hueOf(w));
            row.s[x + 1] = static_cast<std::int16_t>(satOf(w));
            row.v[x + 1] = static_cast<std::int16_t>(valOf(w));
        }
    }

    // The pixel test of SimilarityHSV::pixelSimilar in two passes over a block of
    // pairs: first the table index and the three differences, packed into 16-bit
    // fields of one word (hue, saturation, value); then one table look-up per pair.
    // The table word holds the tolerances in the same fields with bit 15 of each field
    // set: subtracting the differences clears that bit exactly in a field whose
    // difference exceeds its tolerance (fields never borrow, differences stay < 2^15).
    static constexpr std::uint64_t guardBits = hsvGuardBits;
    static constexpr std::array<std::uint64_t, 256> tolerances = guardedTolerances0();

    // The similarity bits of one row (see SpaceRGB::rowBits), all three directions in
    // one pass over blocks of the row.
    void rowBits(const Row& cur, const Row* next, bool oddRow, int n, std::uint8_t* out) const
    {
        constexpr int block = 64;
        alignas(16) std::uint64_t diff[3][block];
        alignas(16) std::uint8_t index[3][block];
        const auto similar = [&](int d, int i) {
            return static_cast<unsigned>(((tolerances[index[d][i]] - diff[d][i]) & guardBits) == guardBits);
        };
        const int diagonal = oddRow ? 1 : -1; // the lower neighbour that is not below
        for (int x0 = 0; x0 < n; x0 += block) {
            const int m = std::min(block, n - x0);
            const int a = x0 + 1; // padded index of pixel x0
            differences(cur, a, cur, a + 1, m, diff[0], index[0]);
            if (next) {
                differences(cur, a, *next, a, m, diff[1], index[1]);
                differences(cur, a, *next, a + diagonal, m, diff[2], index[2]);
                for (int i = 0; i < m; ++i)
                    out[x0 + i] = static_cast<std::uint8_t>(similar(0, i) * bitRight | similar(1, i) * bitBelow |
                                                            similar(2, i) * bitDiagonal);
            } else {
                for (int i = 0; i < m; ++i)
                    out[x0 + i] = static_cast<std::uint8_t>(similar(0, i) * bitRight);
            }
        }
        // Pairs with the padding: right of the last pixel, and the diagonal one beyond
        // the row's end (odd rows) or before its start (even rows).
        out[n - 1] &= static_cast<std::uint8_t>(~(bitRight | (oddRow ? bitDiagonal : 0)));
        if (!oddRow)
            out[0] &= static_cast<std::uint8_t>(~bitDiagonal);
    }

    static void differences(const Row& a, int ai, const Row& b, int bi, int n, std::uint64_t* diff, std::uint8_t* index)
    {
        differences(a.h.data() + ai, a.s.data() + ai, a.v.data() + ai, b.h.data() + bi, b.s.data() + bi,
                    b.v.data() + bi, n, diff, index);
    }

    // diff[i] = hue distance | saturation difference << 16 | value difference << 32 and
    // index[i] = (smaller saturation >> 4) * 16 + (larger value >> 4) for pair i.
    static void differences(const std::int16_t* ha, const std::int16_t* sa, const std::int16_t* va,
                            const std::int16_t* hb, const std::int16_t* sb, const std::int16_t* vb, int n,
                            std::uint64_t* diff, std::uint8_t* index)
    {
        int i = 0;
#if IVRA_SIMD_SSE2
        const __m128i full = _mm_set1_epi16(360), zero = _mm_setzero_si128(), high = _mm_set1_epi16(0xF0);
        const auto load8 = [](const std::int16_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
        for (; i + 8 <= n; i += 8) {
            const __m128i h1 = load8(ha + i), h2 = load8(hb + i);
            const __m128i d = _mm_sub_epi16(_mm_max_epi16(h1, h2), _mm_min_epi16(h1, h2));
            const __m128i hd = _mm_min_epi16(d, _mm_sub_epi16(full, d)); // d > 180 -> 360 - d
            const __m128i s1 = load8(sa + i), s2 = load8(sb + i);
            const __m128i sMin = _mm_min_epi16(s1, s2), sd = _mm_sub_epi16(_mm_max_epi16(s1, s2), sMin);
            const __m128i v1 = load8(va + i), v2 = load8(vb + i);
            const __m128i vMax = _mm_max_epi16(v1, v2), vd = _mm_sub_epi16(vMax, _mm_min_epi16(v1, v2));
            const __m128i idx = _mm_or_si128(_mm_and_si128(sMin, high), _mm_srli_epi16(vMax, 4));
            _mm_storel_epi64(reinterpret_cast<__m128i*>(index + i), _mm_packus_epi16(idx, idx));
            const __m128i hsLo = _mm_unpacklo_epi16(hd, sd), hsHi = _mm_unpackhi_epi16(hd, sd);
            const __m128i v0Lo = _mm_unpacklo_epi16(vd, zero), v0Hi = _mm_unpackhi_epi16(vd, zero);
            auto* out = reinterpret_cast<__m128i*>(diff + i);
            _mm_store_si128(out, _mm_unpacklo_epi32(hsLo, v0Lo));
            _mm_store_si128(out + 1, _mm_unpackhi_epi32(hsLo, v0Lo));
            _mm_store_si128(out + 2, _mm_unpacklo_epi32(hsHi, v0Hi));
            _mm_store_si128(out + 3, _mm_unpackhi_epi32(hsHi, v0Hi));
        }
#endif
        for (; i < n; ++i) {
            const int d = std::abs(ha[i] - hb[i]);
            const int hd = std::min(d, 360 - d);
            const int sMin = std::min(sa[i], sb[i]), vMax = std::max(va[i], vb[i]);
            const int sd = std::max(sa[i], sb[i]) - sMin, vd = vMax - std::min(va[i], vb[i]);
            index[i] = static_cast<std::uint8_t>((sMin & 0xF0) | vMax >> 4);
            diff[i] = static_cast<std::uint64_t>(hd) | static_cast<std::uint64_t>(sd) << 16 |
                      static_cast<std::uint64_t>(vd) << 32;
        }
    }

    static std::uint32_t load(const std::uint8_t* p)
    {
        std::uint32_t w;
        std::memcpy(&w, p, sizeof w);
        return w;
    }
    // The means of SimilarityHSV (start, add, means) over the component's pixels,
    // with the sums kept here and the small divisions done by reciprocals.
    static std::uint32_t meanOfPixels(const std::uint8_t* pixels, std::ptrdiff_t centre, const std::ptrdiff_t* offsets,
                                      unsigned mask)
    {
        unsigned n = 0, chromatic = 0, hueSum = 0, wrapSum = 0, satSum = 0, valSum = 0;
        bool highHue = false;
        for (; mask != 0; mask &= mask - 1, ++n) {
            const std::uint32_t w = load(pixels + (centre + offsets[std::countr_zero(mask)]) * pixelBytes);
            const int h = hueOf(w), s = satOf(w);
            if (s != 0) {
                ++chromatic;
                hueSum += static_cast<unsigned>(h);
                if (h <= 60)
                    wrapSum += 360;
                else if (h >= 300)
                    highHue = true;
            }
            satSum += static_cast<unsigned>(s);
            valSum += static_cast<unsigned>(valOf(w));
        }
        int hue = 0;
        if (chromatic != 0) {
            const unsigned total = hueSum + (highHue ? wrapSum : 0) + chromatic / 2; // rounded mean
            hue = static_cast<int>(total * smallReciprocal[chromatic] >> 16);
            if (hue >= 360)
                hue -= 360;
        }
        return packHSV(hue, static_cast<int>(satSum * smallReciprocal[n] >> 16),
                       static_cast<int>(valSum * smallReciprocal[n] >> 16));
    }
    void start(std::uint32_t color, int level) { sim.start(color, level); }
    bool accept(std::uint32_t, std::uint32_t candidate) { return sim.acceptElement(candidate); }
    std::uint32_t color() const { return sim.meanColor(); }
    static int closer(std::uint32_t g, std::uint32_t s1, std::uint32_t s2) { return closerHSV(g, s1, s2); }
};

} // namespace ivra::csc::detail
