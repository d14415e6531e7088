#include "ipcCSCEngine.h"

#include "IslandComponents.h"
#include "ipcConflictResolution.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>

namespace ivra {
#endif

namespace {

using Hierarchy = ipcIslandHierarchy;
constexpr std::uint32_t none = ipcCodeelement::none;
constexpr std::uint8_t taken = ipcCodeelement::takenFlag;
constexpr std::uint8_t root = ipcCodeelement::rootFlag;

// Similarity bits of a pixel towards three of its hexagonal neighbours: the right one,
// the one below (same column) and the diagonal one below (to the left on even rows,
// to the right on odd rows).
constexpr std::uint8_t bitRight = 1, bitBelow = 2, bitDiagonal = 4;

// Division of the sums of at most seven pixels by their count: s / c equals
// s * smallReciprocal[c] >> 16 (the reciprocal rounded up) for every s below 13107,
// which covers seven bytes and seven hues of at most 420 (hue + 360).
constexpr std::uint32_t smallReciprocal[8] = {0, 65536, 32768, 21846, 16384, 13108, 10923, 9363};

// cellCount[mask]: the number of cells in a 7-bit cell set.
constexpr std::array<std::uint8_t, 128> cellCount = [] {
    std::array<std::uint8_t, 128> c{};
    for (int i = 0; i < 128; ++i)
        c[i] = static_cast<std::uint8_t>(std::popcount(static_cast<unsigned>(i)));
    return c;
}();

struct RGBVariant {
    static constexpr int pixelBytes = 3;
    ipcSimilarityRGB sim;

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
#if defined(__SSE2__)
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
#if defined(__SSE2__)
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
#if defined(__SSE2__)
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
#if defined(__SSE2__)
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
            static_assert(Hierarchy::cellOffsetX[4] == -1 && Hierarchy::cellOffsetY[4] == -1 &&
                          Hierarchy::cellOffsetX[5] == 0 && Hierarchy::cellOffsetY[5] == -1 &&
                          Hierarchy::cellOffsetX[6] == -1 && Hierarchy::cellOffsetY[6] == 0 &&
                          Hierarchy::cellOffsetX[1] == 1 && Hierarchy::cellOffsetY[1] == 0 &&
                          Hierarchy::cellOffsetX[2] == -1 && Hierarchy::cellOffsetY[2] == 1 &&
                          Hierarchy::cellOffsetX[3] == 0 && Hierarchy::cellOffsetY[3] == 1);
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
    static constexpr bool hasInnerMeans = false;
    struct IslandPixels {
        IslandPixels(const std::uint8_t*, std::ptrdiff_t, int) {}
        std::uint32_t mean(unsigned) const { return 0; }
    };
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
    void start(std::uint32_t colour, int level) { sim.start(colour, level); }
    bool accept(std::uint32_t reference, std::uint32_t candidate) { return sim.accept(reference, candidate); }
    std::uint32_t colour() const { return sim.finalColour(); }
    static int closer(std::uint32_t g, std::uint32_t s1, std::uint32_t s2) { return closerRGB(g, s1, s2); }
};

constexpr std::uint64_t hsvGuardBits = 0x0000800080008000ull;
constexpr std::array<std::uint64_t, 256> guardedTolerances0()
{
    std::array<std::uint64_t, 256> t{};
    for (int i = 0; i < 256; ++i)
        t[i] = static_cast<std::uint64_t>(ipcSimilarityHSV::hueTolerance0[i]) |
               static_cast<std::uint64_t>(ipcSimilarityHSV::satTolerance0[i]) << 16 |
               static_cast<std::uint64_t>(ipcSimilarityHSV::valTolerance0[i]) << 32 | hsvGuardBits;
    return t;
}

struct HSVVariant {
    static constexpr int pixelBytes = 4;
#if defined(__SSE2__)
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
    static constexpr bool hasInnerMeans = false;
    struct IslandPixels {
        IslandPixels(const std::uint8_t*, std::ptrdiff_t, int) {}
        std::uint32_t mean(unsigned) const { return 0; }
    };
#endif
    ipcSimilarityHSV sim;

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
#if defined(__SSE2__)
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

    // The pixel test of ipcSimilarityHSV::pixelSimilar in two passes over a block of
    // pairs: first the table index and the three differences, packed into 16-bit
    // fields of one word (hue, saturation, value); then one table look-up per pair.
    // The table word holds the tolerances in the same fields with bit 15 of each field
    // set: subtracting the differences clears that bit exactly in a field whose
    // difference exceeds its tolerance (fields never borrow, differences stay < 2^15).
    static constexpr std::uint64_t guardBits = hsvGuardBits;
    static constexpr std::array<std::uint64_t, 256> tolerances = guardedTolerances0();

    // The similarity bits of one row (see RGBVariant::rowBits), all three directions in
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
#if defined(__SSE2__)
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
    // The means of ipcSimilarityHSV (start, add, means) over the component's pixels,
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
    void start(std::uint32_t colour, int level) { sim.start(colour, level); }
    bool accept(std::uint32_t, std::uint32_t candidate) { return sim.acceptElement(candidate); }
    std::uint32_t colour() const { return sim.meanColour(); }
    static int closer(std::uint32_t g, std::uint32_t s1, std::uint32_t s2) { return closerHSV(g, s1, s2); }
};

// sharedNeighbours[k][mask]: the siblings n of child k whose shared pixel
// (cell sharedCell[k][n] of child k) is among the cells of mask, as a bit set.
constexpr std::array<std::array<std::uint8_t, 128>, 7> buildSharedNeighbours()
{
    std::array<std::array<std::uint8_t, 128>, 7> table{};
    for (int k = 0; k < 7; ++k)
        for (int mask = 0; mask < 128; ++mask)
            for (int n = 0; n < 7; ++n)
                if (Hierarchy::sharedCell[k][n] >= 0 && (mask >> Hierarchy::sharedCell[k][n] & 1))
                    table[k][mask] |= static_cast<std::uint8_t>(1 << n);
    return table;
}
constexpr auto sharedNeighbours = buildSharedNeighbours();

// orderedNeighbours[k][set]: the siblings of child k that lie in the bit set, in the
// order of cellNeighbours[k] (the order of the breadth-first growth), as 3-bit fields
// holding sibling + 1, first sibling in the lowest field, 0 after the last.
constexpr std::array<std::array<std::uint32_t, 128>, 7> buildOrderedNeighbours()
{
    std::array<std::array<std::uint32_t, 128>, 7> table{};
    for (int k = 0; k < 7; ++k)
        for (int set = 0; set < 128; ++set) {
            std::uint32_t list = 0;
            int shift = 0;
            for (const int* nb = Hierarchy::cellNeighbours[k]; *nb >= 0; ++nb)
                if (set >> *nb & 1) {
                    list |= static_cast<std::uint32_t>(*nb + 1) << shift;
                    shift += 3;
                }
            table[k][set] = list;
        }
    return table;
}
constexpr auto orderedNeighbours = buildOrderedNeighbours();

// byteSpread[set]: byte n is 1 for every bit n of the 7-bit set.
constexpr std::array<std::uint64_t, 128> buildByteSpread()
{
    std::array<std::uint64_t, 128> table{};
    for (int set = 0; set < 128; ++set)
        for (int n = 0; n < 7; ++n)
            if (set >> n & 1)
                table[set] |= std::uint64_t{1} << (8 * n);
    return table;
}
constexpr auto byteSpread = buildByteSpread();

struct QueueEntry {
    std::uint32_t element;
    std::int32_t cell;
};

template <class V>
class Builder {
public:
    Builder(const Hierarchy& hierarchy, ipcCodeelementBase& store, const V& variant, int splitMode,
            std::vector<ipcConflict>& conflicts, int x0, int y0, int x1, int y1, const ivra::Progress& progress,
            std::uint8_t* scratch, std::size_t scratchBytes)
        : h_(hierarchy), store_(store), v_(variant), splitMode_(splitMode), conflicts_(conflicts), x0_(x0), y0_(y0),
          x1_(x1), y1_(y1), progress_(progress), el_(store.elements()), scratch_(scratch), scratchBytes_(scratchBytes)
    {
    }

    void run(const std::uint8_t* pixels, int stride)
    {
        store_.reset();
        conflicts_.clear();
        level0(pixels, stride);
        for (int level = 1; level < h_.levels(); ++level) {
            linkLevel(level);
            if (!conflicts_.empty())
                resolveConflicts(store_, conflicts_, V::closer);
        }
    }

private:
    void reportProgress(int walk) const { progress_.update(walk, h_.islandCount()); }

    void setParent(ipcCodeelement& child, std::uint32_t parent)
    {
        if (child.parent1 == none)
            child.parent1 = parent;
        else
            child.parent2 = parent;
        child.flags &= static_cast<std::uint8_t>(~root);
    }

    // Makes room in the element pool; el_ follows it if it moves.
    void reserve(std::int64_t elements)
    {
        if (store_.reserve(elements))
            el_ = store_.elements();
    }

    // A seed that finds no similar neighbour forms no element. Its allocation is only
    // checked (a full store fails at the same seed as always); the element itself is
    // written when the first neighbour joins it.
    void checkSeed() const
    {
        if (store_.isFull())
            throw ipcCodeelementBaseOverrun();
    }

    std::uint32_t newElement(int mask, bool leaf = false)
    {
        const std::uint32_t idx = leaf ? store_.allocateLeaf() : store_.allocate();
        ipcCodeelement& e = el_[idx];
        e.mask = static_cast<std::uint8_t>(mask);
        e.childCount = 0;
        e.flags = root;
        e.spare = 0;
        e.parent1 = e.parent2 = none;
        return idx;
    }

    // A level-0 element, written whole and kept at once.
    void addLeaf(std::uint8_t mask, std::uint32_t colour)
    {
        el_[store_.allocateLeaf()] = ipcCodeelement{mask, 0, root, 0, colour, none, none};
        store_.commitLeaf();
    }

    // Joins element f of child nn to the element growing from seed e of child k; the
    // element is made at its first join, so that a seed joined by none costs nothing.
    void join(std::uint32_t& idx, int k, std::uint32_t e, int nn, std::uint32_t f)
    {
        if (idx == none) {
            idx = newElement(1 << k);
            store_.appendLink(idx, k, e);
        }
        el_[idx].mask |= static_cast<std::uint8_t>(1 << nn);
        store_.appendLink(idx, nn, f);
        setParent(el_[f], idx);
    }

    // Keeps the element grown from seed e, if anything joined it (it then has at least
    // two children).
    void finish(std::uint32_t idx, std::uint32_t e, const V& v)
    {
        if (idx == none)
            return;
        el_[idx].colour = v.colour();
        setParent(el_[e], idx);
        store_.commit();
    }

    // Records that the parents of g, element ce of child q (holding g in its cell s) and
    // the one of sibling nn, are dissimilar: the record names each parent's cell for g.
    void recordConflict(std::uint32_t g, std::uint32_t ce, int q, int s, int nn)
    {
        const ipcCodeelement& G = el_[g];
        const int cellF = Hierarchy::sharedCell[nn][q];
        if (G.parent1 == ce)
            conflicts_.push_back({s, cellF, G.parent1, G.parent2, g});
        else
            conflicts_.push_back({cellF, s, G.parent1, G.parent2, g});
    }

    // Level 0: the similarity of every neighbouring pixel pair is computed once into a
    // bit plane; each island's pattern of similar pairs then names its elements.
    void level0(const std::uint8_t* pixels, int stride)
    {
        const int pw = x1_ + 3;
        const std::size_t planeBytes = static_cast<std::size_t>(pw) * static_cast<std::size_t>(y1_ + 3);
        std::vector<std::uint8_t> ownPlane;
        std::uint8_t* plane = scratch_;
        if (planeBytes <= scratchBytes_) {
            std::memset(plane, 0, planeBytes);
        } else {
            ownPlane.assign(planeBytes, 0);
            plane = ownPlane.data();
        }
        std::uint8_t* const base = plane + pw + 1; // pixel (0, 0); one zero column/row around
        buildPlane(pixels, stride, base, pw);

        std::ptrdiff_t offsets[7];
        for (int k = 0; k < 7; ++k)
            offsets[k] = static_cast<std::ptrdiff_t>(Hierarchy::cellOffsetY[k]) * stride + Hierarchy::cellOffsetX[k];

        const int n = h_.rowLength(0);
        const bool shiftedRows = h_.levels() == 2; // level 0 is then also level L-2
        int walk = 0;
        for (int phase = 0; phase < 2; ++phase) {
            for (int y = phase; y < n; y += 2) {
                const int rs = h_.rowSize(0, y);
                const int cy = 2 * y;
                if (cy - 1 >= y1_ || cy + 1 < y0_) {
                    store_.skipIslands(walk, rs);
                    walk += rs;
                    continue;
                }
                const int shift = shiftedRows ? 1 - (y & 1) : (y & 1);
                reserve(7 * rs); // an island makes at most 7 elements (one per seed)
                std::uint8_t* const rowBits = base + static_cast<std::ptrdiff_t>(cy) * pw;
                // Islands innerBegin <= x < innerEnd have all seven pixels in the picture
                // (columns 2x + shift - 1 .. 2x + shift + 1) and room for three elements
                // each; they take the short way.
                int innerBegin = rs, innerEnd = rs;
                if constexpr (V::hasInnerMeans) {
                    if (cy >= 1 && cy + 1 < y1_ && store_.usedElements() + 3 * rs < store_.elementCapacity()) {
                        innerBegin = std::min((2 - shift) / 2, rs);
                        innerEnd = std::clamp((x1_ - shift) / 2, innerBegin, rs);
                    }
                }
                int x = 0;
                const auto clipped = [&](int end) {
                    for (; x < end; ++x, ++walk) {
                        store_.beginIsland(walk);
                        const int cx = 2 * x + shift;
                        if (cx + 1 < x0_ || cx - 1 >= x1_)
                            continue;
                        const IslandComponents& comps = islandComponents[patternAt(rowBits + cx, pw)];
                        const std::ptrdiff_t centre = static_cast<std::ptrdiff_t>(cy) * stride + cx;
                        if (store_.usedElements() + 3 >= store_.elementCapacity()) {
                            nearlyFullIsland0(pixels, centre, offsets, comps, cx, cy);
                            continue;
                        }
                        for (int i = 0; i < comps.count; ++i)
                            addLeaf(comps.masks[i], V::meanOfPixels(pixels, centre, offsets, comps.masks[i]));
                    }
                };
                clipped(innerBegin);
                if (innerBegin < innerEnd) {
                    innerIslands0(pixels, stride, rowBits, pw, cy, shift, innerBegin, innerEnd, walk);
                    walk += innerEnd - innerBegin;
                    x = innerEnd;
                }
                clipped(rs);
                reportProgress(walk);
            }
        }
    }

    // The similarity pattern of the island centred at c in the pair plane. Bit order of
    // islandEdges: centre (3 bits), upper left (3), upper right (below, diagonal), left
    // (right, below), right (diagonal), lower left (right).
    static unsigned patternAt(const std::uint8_t* c, int pw)
    {
        return c[0] | c[-pw - 1] << 3 | (c[-pw] & 6u) << 5 | (c[-1] & 3u) << 8 | (c[1] & 4u) << 8 |
               (c[pw - 1] & 1u) << 11;
    }

    // Islands x = begin .. end - 1 of a level-0 row, centred at (2x + shift, cy), which
    // lie wholly inside the picture and cannot fill the store.
    void innerIslands0(const std::uint8_t* pixels, int stride, const std::uint8_t* rowBits, int pw, int cy,
                       int shift, int begin, int end, int walk)
    {
        std::uint16_t patterns[64];
        for (int x0 = begin; x0 < end; x0 += 64) {
            const int m = std::min(64, end - x0);
            int i = 0;
#if defined(__SSE2__)
            // Eight islands at a time: 16-bit lane j holds the bytes of columns cx - 1 and
            // cx of island x0 + i + j, as long as the loads stay inside the plane row
            // (columns -1 .. x1 + 1).
            const __m128i low3 = _mm_set1_epi16(7), bit0 = _mm_set1_epi16(1), bit2 = _mm_set1_epi16(4);
            const __m128i bits12 = _mm_set1_epi16(6), bits01 = _mm_set1_epi16(3);
            for (; i + 8 <= m && 2 * (x0 + i) + shift + 16 <= x1_ + 1; i += 8) {
                const std::uint8_t* c = rowBits + 2 * (x0 + i) + shift - 1;
                const auto load = [](const std::uint8_t* p) {
                    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
                };
                const __m128i up = load(c - pw), mid = load(c), right = load(c + 2), down = load(c + pw);
                __m128i p = _mm_and_si128(_mm_srli_epi16(mid, 8), low3);
                p = _mm_or_si128(p, _mm_slli_epi16(_mm_and_si128(up, low3), 3));
                p = _mm_or_si128(p, _mm_slli_epi16(_mm_and_si128(_mm_srli_epi16(up, 8), bits12), 5));
                p = _mm_or_si128(p, _mm_slli_epi16(_mm_and_si128(mid, bits01), 8));
                p = _mm_or_si128(p, _mm_slli_epi16(_mm_and_si128(right, bit2), 8));
                p = _mm_or_si128(p, _mm_slli_epi16(_mm_and_si128(down, bit0), 11));
                _mm_storeu_si128(reinterpret_cast<__m128i*>(patterns + i), p);
            }
#endif
            for (; i < m; ++i)
                patterns[i] = static_cast<std::uint16_t>(patternAt(rowBits + 2 * (x0 + i) + shift, pw));
            for (i = 0; i < m; ++i) {
                store_.beginIsland(walk + (x0 - begin) + i);
                const IslandComponents& comps = islandComponents[patterns[i]];
                if (comps.count == 0)
                    continue;
                const std::ptrdiff_t centre = static_cast<std::ptrdiff_t>(cy) * stride + 2 * (x0 + i) + shift;
                const typename V::IslandPixels island(pixels, centre, stride);
                for (int k = 0; k < comps.count; ++k)
                    store_.appendLeaf(
                        ipcCodeelement{comps.masks[k], 0, root, 0, island.mean(comps.masks[k]), none, none});
            }
        }
    }

    // A level-0 island when the store may fill up within it: every seed is an
    // allocation, single pixels included, so the store overruns exactly when a seed
    // (lowest cell of a component of usable pixels) arrives at a full store.
    void nearlyFullIsland0(const std::uint8_t* pixels, std::ptrdiff_t centre, const std::ptrdiff_t* offsets,
                           const IslandComponents& comps, int cx, int cy)
    {
        unsigned usable = 0;
        for (int k = 0; k < 7; ++k) {
            const int px = cx + Hierarchy::cellOffsetX[k], py = cy + Hierarchy::cellOffsetY[k];
            if (px >= x0_ && px < x1_ && py >= y0_ && py < y1_)
                usable |= 1u << k;
        }
        unsigned assigned = ~usable & 0x7Fu;
        for (int k = 0; k < 7; ++k) {
            if (assigned & (1u << k))
                continue;
            const std::uint32_t e = newElement(1 << k, true); // throws on a full store
            assigned |= 1u << k;
            for (int i = 0; i < comps.count; ++i) {
                if (comps.masks[i] & (1u << k)) {
                    el_[e].mask = comps.masks[i];
                    el_[e].colour = V::meanOfPixels(pixels, centre, offsets, comps.masks[i]);
                    assigned |= comps.masks[i];
                    store_.commit();
                }
            }
        }
    }

    void buildPlane(const std::uint8_t* pixels, int stride, std::uint8_t* base, int pw) const
    {
        if (x0_ >= x1_ || y0_ >= y1_)
            return;
        const int n = x1_ - x0_;
        typename V::Row cur, next;
        cur.resize(n);
        next.resize(n);
        const auto rowAt = [&](int y) { return pixels + (static_cast<std::ptrdiff_t>(y) * stride + x0_) * V::pixelBytes; };
        V::loadRow(rowAt(y0_), n, cur);
        for (int y = y0_; y < y1_; ++y) {
            std::uint8_t* out = base + static_cast<std::ptrdiff_t>(y) * pw + x0_; // zero from the start
            const bool last = y + 1 == y1_;
            if (!last)
                V::loadRow(rowAt(y + 1), n, next);
            v_.rowBits(cur, last ? nullptr : &next, (y & 1) != 0, n, out);
            std::swap(cur, next);
        }
    }

    struct Range {
        std::uint32_t begin;
        std::uint32_t end;
    };

    void linkLevel(int level)
    {
        // Walk index of the first island of every row of the child level, and row sizes.
        const int childLevel = level - 1;
        const int nc = h_.rowLength(childLevel);
        rowBase_.resize(nc);
        rowSize_.resize(nc);
        for (int r = 0; r < nc; ++r) {
            rowBase_[r] = h_.walkIndex({childLevel, 0, r});
            rowSize_[r] = h_.rowSize(childLevel, r);
        }

        const auto link = [&](const Range* r, std::uint32_t total) {
            if (total < 2 && (level == 1 || total == 0))
                return;
            // An element takes at least two of the children's elements, each once.
            reserve(total);
            if (level == 1 && total == 7 && wholeIsland1(r))
                return;
            if (level == 1)
                island1(r);
            else if (total <= 7 && atMostOnePerChild(r))
                islandNSingle(r, level, total);
            else
                islandN(r, level, total);
        };
        const int n = h_.rowLength(level);
        int walk = h_.indexOffset(level);
        for (int phase = 0; phase < 2; ++phase) {
            for (int y = phase; y < n; y += 2) {
                const int rs = h_.rowSize(level, y);
                // The centre child of island x is (c0.x + 2x, cy).
                const CellPos c0 = h_.centreChild({level, 0, y});
                const int cy = c0.y;
                // Islands innerBegin <= x < innerEnd have all seven children: their
                // centre column cx has 1 <= cx, cx + 1 < rowSize(cy) and cx < the sizes
                // of the rows above and below.
                int innerBegin = rs, innerEnd = rs;
                if (cy >= 1 && cy + 1 < nc) {
                    const int limit = std::min({rowSize_[cy] - 1, rowSize_[cy - 1], rowSize_[cy + 1]});
                    innerBegin = std::min((2 - c0.x) / 2, rs);
                    innerEnd = std::clamp((limit - c0.x + 1) / 2, innerBegin, rs);
                }
                const auto clipped = [&](int x) {
                    Range r[7];
                    std::uint32_t total = 0;
                    for (int k = 0; k < 7; ++k) {
                        const int row = cy + Hierarchy::cellOffsetY[k];
                        const int col = c0.x + 2 * x + Hierarchy::cellOffsetX[k];
                        if (row < 0 || row >= nc || col < 0 || col >= rowSize_[row]) {
                            r[k] = {0, 0};
                        } else {
                            const int cw = rowBase_[row] + col;
                            r[k] = {store_.firstOf(cw), store_.firstOf(cw + 1)};
                            total += r[k].end - r[k].begin;
                        }
                    }
                    link(r, total);
                };
                int x = 0;
                for (; x < innerBegin; ++x, ++walk) {
                    store_.beginIsland(walk);
                    clipped(x);
                }
                if (x < innerEnd) {
                    // In each child row the children are neighbours in walk order, so each
                    // child's range ends where the next begins.
                    static_assert(Hierarchy::cellOffsetX[4] == -1 && Hierarchy::cellOffsetY[4] == -1 &&
                                  Hierarchy::cellOffsetX[6] == -1 && Hierarchy::cellOffsetY[6] == 0 &&
                                  Hierarchy::cellOffsetX[2] == -1 && Hierarchy::cellOffsetY[2] == 1);
                    const int above = rowBase_[cy - 1] + c0.x - 1; // cells 4, 5
                    const int middle = rowBase_[cy] + c0.x - 1;    // cells 6, 0, 1
                    const int below = rowBase_[cy + 1] + c0.x - 1; // cells 2, 3
                    for (; x < innerEnd; ++x, ++walk) {
                        store_.beginIsland(walk);
                        const int o = 2 * x;
                        const std::uint32_t a0 = store_.firstOf(above + o), a1 = store_.firstOf(above + o + 1),
                                            a2 = store_.firstOf(above + o + 2);
                        const std::uint32_t m0 = store_.firstOf(middle + o), m1 = store_.firstOf(middle + o + 1),
                                            m2 = store_.firstOf(middle + o + 2), m3 = store_.firstOf(middle + o + 3);
                        const std::uint32_t b0 = store_.firstOf(below + o), b1 = store_.firstOf(below + o + 1),
                                            b2 = store_.firstOf(below + o + 2);
                        const Range r[7] = {{m1, m2}, {m2, m3}, {b0, b1}, {b1, b2}, {a0, a1}, {a1, a2}, {m0, m1}};
                        link(r, (a2 - a0) + (m3 - m0) + (b2 - b0));
                    }
                }
                for (; x < rs; ++x, ++walk) {
                    store_.beginIsland(walk);
                    clipped(x);
                }
                reportProgress(walk);
            }
        }
    }

    // Level 1: elements of neighbouring child islands link when both contain the pixel
    // the two islands share. The elements of one level-0 island are disjoint, so each
    // shared pixel belongs to at most one element on either side: the island's
    // candidates form a graph of at most twelve edges, found once per island. A
    // level-0 island holds at most three elements, so they fit a small local table.
    void island1(const Range* r)
    {
        std::uint32_t element[21];
        std::uint32_t colour[21];
        std::int8_t cellOf[21];
        // A local predicate: the stores into the element pool cannot alias it, so its
        // running sums stay in registers.
        V v = v_;
        // Byte n of owner[q]: 1 + the local index of the element of child q holding the
        // pixel q shares with its neighbour n, or 0. The elements of one child are
        // disjoint, so each one fills its bytes with a single multiplication.
        std::uint64_t owner[7] = {};
        // sharing[j]: the siblings with whose island element j shares its pixel, in the
        // order in which the growth visits them.
        std::uint32_t sharing[21];
        int count = 0;
        for (int k = 0; k < 7; ++k) {
            for (std::uint32_t e = r[k].begin; e < r[k].end; ++e) {
                const unsigned siblings = sharedNeighbours[k][el_[e].mask];
                owner[k] |= byteSpread[siblings] * static_cast<std::uint64_t>(count + 1);
                sharing[count] = orderedNeighbours[k][siblings];
                element[count] = e;
                colour[count] = el_[e].colour;
                cellOf[count++] = static_cast<std::int8_t>(k);
            }
        }

        unsigned takenBits = 0;
        int untaken = count;
        int queue[21];
        for (int i = 0; i < count; ++i) {
            if (untaken < 2)
                return;
            if (takenBits & (1u << i))
                continue;
            const int k = cellOf[i];
            checkSeed();
            std::uint32_t idx = none;
            takenBits |= 1u << i;
            --untaken;
            v.start(colour[i], 1);
            queue[0] = i;
            int qn = 1;
            // Once every element is taken, the rest of the queue can find nothing.
            for (int qi = 0; qi < qn && untaken > 0; ++qi) {
                const int j = queue[qi];
                const int q = cellOf[j];
                for (std::uint32_t list = sharing[j]; list != 0; list >>= 3) {
                    const int nn = static_cast<int>(list & 7u) - 1;
                    const int f = static_cast<int>(owner[nn] >> (8 * q) & 0xFF) - 1;
                    if (f < 0 || (takenBits & (1u << f)))
                        continue;
                    if (!v.accept(colour[j], colour[f]))
                        continue;
                    takenBits |= 1u << f;
                    --untaken;
                    queue[qn++] = f;
                    join(idx, k, element[i], nn, element[f]);
                }
            }
            finish(idx, element[i], v);
        }
    }

    // The most frequent level-1 island by far (inside any area of gently varying
    // colour): each child holds one element covering all seven pixels, so every pair of
    // neighbouring children shares its pixel. The growth from child 0 then meets
    // children 1..6 in this order, and if the running mean accepts all six, it takes
    // them all and the island forms one element of seven links. Answers false, having
    // changed nothing, for any other island, which then takes the general way.
    bool wholeIsland1(const Range* r)
    {
        unsigned masks = 0x7F;
        for (int k = 0; k < 7; ++k) {
            if (r[k].end - r[k].begin != 1)
                return false;
            masks &= el_[r[k].begin].mask;
        }
        if (masks != 0x7F)
            return false;
        static_assert(Hierarchy::cellNeighbours[0][0] == 1 && Hierarchy::cellNeighbours[0][5] == 6);
        V v = v_;
        const std::uint32_t seed = el_[r[0].begin].colour;
        v.start(seed, 1);
        for (int k = 1; k < 7; ++k)
            if (!v.accept(seed, el_[r[k].begin].colour))
                return false;
        checkSeed();
        const std::uint32_t idx = newElement(0x7F);
        ipcCodeelementLink* const links = store_.appendLinks(idx, 7);
        for (int k = 0; k < 7; ++k) {
            links[k] = makeLink(k, r[k].begin);
            setParent(el_[r[k].begin], idx);
        }
        el_[idx].colour = v.colour();
        store_.commit();
        return true;
    }

    static bool atMostOnePerChild(const Range* r)
    {
        for (int k = 0; k < 7; ++k)
            if (r[k].end - r[k].begin > 1)
                return false;
        return true;
    }

    // islandN for an island whose children hold at most one element each, the usual
    // case above level 1. A candidate reached through child g of ce in the cell shared
    // with sibling n is g's other parent, an element of n (g's island has no parent
    // island but those two, and ce's island gave it one parent at most), so here it is
    // n's only element: "taken" is a bit per child, which is known before g is read,
    // and no mark needs clearing afterwards. Same seeds, order, tests and conflicts.
    void islandNSingle(const Range* r, int level, std::uint32_t untaken)
    {
        V v = v_;
        unsigned takenChildren = 0;
        for (int k = 0; k < 7 && untaken > 0; ++k) {
            if (r[k].begin == r[k].end || (takenChildren & (1u << k)))
                continue;
            const std::uint32_t e = r[k].begin;
            checkSeed();
            std::uint32_t idx = none;
            takenChildren |= 1u << k;
            --untaken;
            v.start(el_[e].colour, level);
            int queue[7];
            queue[0] = k;
            int qn = 1;
            for (int qi = 0; qi < qn && untaken > 0; ++qi) {
                const int q = queue[qi];
                const std::uint32_t ceIdx = r[q].begin;
                const ipcCodeelement& ce = el_[ceIdx];
                const ipcCodeelementLink* links = store_.linksOf(ceIdx);
                const int childCount = ce.childCount;
                for (int j = 0; j < childCount; ++j) {
                    const int s = linkCell(links[j]);
                    const int nn = Hierarchy::sharingChild[q][s];
                    if (nn < 0 || (takenChildren & (1u << nn)))
                        continue;
                    const std::uint32_t g = linkChild(links[j]);
                    const ipcCodeelement& G = el_[g];
                    const std::uint32_t f = G.parent1 != ceIdx ? G.parent1 : G.parent2;
                    if (f == none)
                        continue;
                    ipcCodeelement& F = el_[f];
                    if (v.accept(ce.colour, F.colour)) {
                        takenChildren |= 1u << nn;
                        --untaken;
                        queue[qn++] = nn;
                        join(idx, k, e, nn, f);
                    } else if (splitMode_ == 1) {
                        recordConflict(g, ceIdx, q, s, nn);
                    }
                }
            }
            finish(idx, e, v);
        }
    }

    // Levels >= 2: elements of neighbouring child islands link when they share a child
    // (the common member of their overlap); a dissimilar pair is recorded as a conflict.
    void islandN(const Range* r, int level, std::uint32_t untaken)
    {
        V v = v_; // local, as in island1
        // The links of one element that lead into a shared cell, with the sibling that
        // shares it (an element has at most 255 links).
        ipcCodeelementLink sharedLink[255];
        std::int8_t sharedSibling[255];
        // The queue keeps every element the island takes (the growths one after the
        // other), so that their marks are cleared at the end without visiting the rest.
        queue_.clear();
        // Every untaken element becomes a seed in turn; once none is left, nothing more
        // can happen in this island.
        for (int k = 0; k < 7 && untaken > 0; ++k) {
            for (std::uint32_t e = r[k].begin; e < r[k].end && untaken > 0; ++e) {
                if (el_[e].flags & taken)
                    continue;
                checkSeed();
                std::uint32_t idx = none;
                el_[e].flags |= taken;
                v.start(el_[e].colour, level);
                const std::size_t first = queue_.size();
                queue_.push_back({e, k});
                --untaken;
                // A candidate is always an element of a sibling child, so once all are
                // taken the rest of the queue can find nothing (not even a conflict).
                for (std::size_t qi = first; qi < queue_.size() && untaken > 0; ++qi) {
                    const int q = queue_[qi].cell;
                    const std::uint32_t ceIdx = queue_[qi].element;
                    const ipcCodeelement& ce = el_[ceIdx];
                    const ipcCodeelementLink* links = store_.linksOf(ceIdx);
                    // The children in a cell this island shares with a sibling, in link
                    // order, gathered without a branch (whether a cell is shared follows
                    // no pattern the processor could predict).
                    const int childCount = ce.childCount;
                    int shared = 0;
                    for (int j = 0; j < childCount; ++j) {
                        const ipcCodeelementLink link = links[j];
                        const int nn = Hierarchy::sharingChild[q][linkCell(link)];
                        sharedLink[shared] = link;
                        sharedSibling[shared] = static_cast<std::int8_t>(nn);
                        shared += nn >= 0;
                    }
                    for (int j = 0; j < shared; ++j) {
                        const int s = linkCell(sharedLink[j]);
                        const int nn = sharedSibling[j];
                        const std::uint32_t g = linkChild(sharedLink[j]);
                        const ipcCodeelement& G = el_[g];
                        const std::uint32_t f = G.parent1 != ceIdx ? G.parent1 : G.parent2;
                        if (f == none)
                            continue;
                        ipcCodeelement& F = el_[f];
                        if (F.flags & taken)
                            continue;
                        if (v.accept(ce.colour, F.colour)) {
                            F.flags |= taken;
                            --untaken;
                            queue_.push_back({f, nn});
                            join(idx, k, e, nn, f);
                        } else if (splitMode_ == 1) {
                            recordConflict(g, ceIdx, q, s, nn);
                        }
                    }
                }
                finish(idx, e, v);
            }
        }
        for (const QueueEntry& entry : queue_)
            el_[entry.element].flags &= static_cast<std::uint8_t>(~taken);
    }

    const Hierarchy& h_;
    ipcCodeelementBase& store_;
    V v_;
    int splitMode_;
    std::vector<ipcConflict>& conflicts_;
    int x0_, y0_, x1_, y1_;
    const ivra::Progress& progress_;
    ipcCodeelement* el_;
    std::vector<QueueEntry> queue_ = std::vector<QueueEntry>(2000);
    std::vector<int> rowBase_, rowSize_;
    std::uint8_t* scratch_;
    std::size_t scratchBytes_;
};

} // namespace

ipcCSCEngine::ipcCSCEngine(const ipcIslandHierarchy& hierarchy, ipcCodeelementBase& store, int splitMode)
    : hierarchy_(hierarchy), store_(store), splitMode_(splitMode)
{
    setWindow(0, 0, hierarchy.coveredSize(), hierarchy.coveredSize());
}

void ipcCSCEngine::setWindow(int x0, int y0, int x1, int y1)
{
    x0_ = x0;
    y0_ = y0;
    x1_ = x1;
    y1_ = y1;
}

ipcCSCEngineRGB::ipcCSCEngineRGB(const ipcIslandHierarchy& hierarchy, ipcCodeelementBase& store,
                                 const ipcSimilarityRGB& similarity, int splitMode)
    : ipcCSCEngine(hierarchy, store, splitMode), similarity_(similarity)
{
}

void ipcCSCEngineRGB::run(const void* pixels, int stride, const ivra::Progress& progress)
{
    RGBVariant variant{similarity_};
    Builder<RGBVariant>(hierarchy_, store_, variant, splitMode_, conflicts_, x0_, y0_, x1_, y1_, progress, scratch_,
                          scratchBytes_)
        .run(static_cast<const std::uint8_t*>(pixels), stride);
}

ipcCSCEngineHSV::ipcCSCEngineHSV(const ipcIslandHierarchy& hierarchy, ipcCodeelementBase& store,
                                 const ipcSimilarityHSV& similarity, int splitMode)
    : ipcCSCEngine(hierarchy, store, splitMode), similarity_(similarity)
{
}

void ipcCSCEngineHSV::run(const void* pixels, int stride, const ivra::Progress& progress)
{
    HSVVariant variant{similarity_};
    Builder<HSVVariant>(hierarchy_, store_, variant, splitMode_, conflicts_, x0_, y0_, x1_, y1_, progress, scratch_,
                          scratchBytes_)
        .run(static_cast<const std::uint8_t*>(pixels), stride);
}

} // namespace ivra
