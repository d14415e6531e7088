#include "RegionPainter.h"

#include "util/HugePages.h"
#include "util/ParallelRows.h"
#include "util/Simd.h"

#include <algorithm>
#include <bit>
#include <memory>
#include <utility>
#include <vector>

namespace ivra::csc {

namespace {

// Every pixel ends with the label of the last root, in root order, whose region
// reaches it. Roots are numbered in root order, so that is the largest root number
// among the roots above the pixel: each element receives the largest number found
// among itself (if it is a root) and its parents, level by level from the top, and
// each pixel the largest number among the level-0 elements covering it. Links and
// parent slots always change together (linking sets both, overlap resolution clears
// both), so climbing parents reaches exactly the roots whose links descend to an
// element.
class RegionPainter {
public:
    RegionPainter(const ElementStore& store, int x0, int y0, int w, int h, std::uint32_t* labels)
        : store_(store), h_(store.hierarchy()), x0_(x0), y0_(y0), w_(w), hgt_(h), labels_(labels),
          // Owners of the elements above level 0, which follow the level-0 elements in the store.
          base_(store.firstOf(h_.indexOffset(1))),
          owner_(allocateLarge<std::uint32_t>(static_cast<std::uint32_t>(store.usedElements()) - base_)) // all written
    {
    }

    std::vector<std::uint32_t> paint()
    {
        // Most of the labels are fresh memory: clearing them on every thread shares the
        // page faults.
        const std::size_t w = static_cast<std::size_t>(w_);
        parallelRows(0, hgt_, rowsPerPiece(w_, 1 << 18),
                     [&](int y0, int y1) { std::fill(labels_ + y0 * w, labels_ + y1 * w, 0u); });
        numberUpperLevels();
        paintLevelZero();
        return std::move(colors_);
    }

private:
    std::uint32_t ownerOf(const CodeElement& el) const
    {
        std::uint32_t o = 0;
        if (el.parent1 != CodeElement::none)
            o = owner_[el.parent1 - base_];
        if (el.parent2 != CodeElement::none)
            o = std::max(o, owner_[el.parent2 - base_]);
        return o;
    }

    // Runs work(p, next) for the pieces p = 0 .. n - 1 on all threads, next being the
    // first number of piece p's roots: numbering goes on from label_ through the pieces
    // in order, each holding count(p) roots, so the roots of each piece are counted
    // first. Every number gets its slot in colors_ beforehand.
    template <class Count, class Work>
    void numberPieces(int n, Count&& count, Work&& work)
    {
        std::vector<std::uint32_t> first(static_cast<std::size_t>(n)); // roots, then the first number
        parallelRows(0, n, 1, [&](int p0, int p1) {
            for (int p = p0; p < p1; ++p)
                first[p] = count(p);
        });
        std::uint32_t next = label_ + 1;
        for (std::uint32_t& f : first)
            next += std::exchange(f, next);
        label_ = next - 1;
        colors_.resize(next);
        parallelRows(0, n, 1, [&](int p0, int p1) {
            for (int p = p0; p < p1; ++p)
                work(p, first[p]);
        });
    }

    // A level above 0 takes its parents' numbers, so the levels go one after the other
    // from the top; within one its elements are independent, taken in pieces.
    void numberUpperLevels()
    {
        constexpr std::uint32_t piece = 1 << 14; // elements
        for (int level = h_.levels() - 1; level >= 1; --level) {
            const std::uint32_t begin = store_.firstOf(h_.indexOffset(level));
            const std::uint32_t end = store_.firstOf(h_.indexOffset(level + 1));
            const auto pieceBegin = [&](int p) { return begin + static_cast<std::uint32_t>(p) * piece; };
            const auto pieceEnd = [&](int p) { return std::min(end, pieceBegin(p + 1)); };
            numberPieces(static_cast<int>((end - begin + piece - 1) / piece),
                         [&](int p) { return countRoots(pieceBegin(p), pieceEnd(p)); },
                         [&](int p, std::uint32_t next) {
                             for (std::uint32_t e = pieceBegin(p); e < pieceEnd(p); ++e)
                                 owner_[e - base_] = numberOf(store_.element(e), next);
                         });
        }
    }

    std::uint32_t countRoots(std::uint32_t begin, std::uint32_t end) const
    {
        std::uint32_t roots = 0;
        for (std::uint32_t e = begin; e < end; ++e)
            roots += (store_.element(e).flags & CodeElement::rootFlag) != 0;
        return roots;
    }

    // The number an element passes down: for a root the next number (next moves on),
    // else its parents' largest.
    std::uint32_t numberOf(const CodeElement& el, std::uint32_t& next)
    {
        if (el.flags & CodeElement::rootFlag) {
            colors_[next] = el.color;
            return next++;
        }
        return ownerOf(el);
    }

    // The pixels of the level-0 elements. Walk order takes the even island rows, then
    // the odd ones; island row y covers pixel rows 2y - 1 .. 2y + 1, so the rows of one
    // parity touch disjoint pixels and are painted on all threads at once, the even
    // rows before the odd ones (pixel rows 2y + 1 lie under both). Raising to the
    // largest number does not depend on the order, only the numbering of the roots.
    void paintLevelZero()
    {
        const int n = h_.rowLength(0);
        for (int phase = 0, walk = 0; phase < 2; ++phase) {
            std::vector<int> rowWalk; // walk index of the first island of each row of the phase
            for (int y = phase; y < n; y += 2) {
                rowWalk.push_back(walk);
                walk += h_.rowSize(0, y);
            }
            const auto rowRoots = [&](int k) {
                return countRoots(store_.firstOf(rowWalk[k]), store_.firstOf(rowWalk[k] + h_.rowSize(0, phase + 2 * k)));
            };
            numberPieces(static_cast<int>(rowWalk.size()), rowRoots,
                         [&](int k, std::uint32_t next) { paintRow(phase + 2 * k, rowWalk[k], next); });
        }
    }

    // The islands of level-0 row y, the first of which has walk index walk; its roots
    // are numbered from next on.
    void paintRow(int y, int walk, std::uint32_t next)
    {
        const int rs = h_.rowSize(0, y);
        const int row = 2 * y - y0_;
        // With two levels, level 0 lies just below the top, where odd rows shift left.
        const int shift = (h_.levels() == 2 ? 1 - (y & 1) : (y & 1)) - x0_;
        // Islands innerBegin <= x < innerEnd have all seven pixels in the window
        // (columns 2x + shift - 1 .. 2x + shift + 1).
        int innerBegin = rs, innerEnd = rs;
#if IVRA_SIMD_SSE2
        if (row >= 1 && row + 1 < hgt_) {
            innerBegin = std::clamp((2 - shift) / 2, 0, rs);
            innerEnd = std::clamp((w_ - shift) / 2, innerBegin, rs);
        }
#endif
        for (int x = 0; x < innerBegin; ++x)
            next = paintClipped(walk + x, row, 2 * x + shift, next);
#if IVRA_SIMD_SSE2
        std::uint32_t* const rowLabels = labels_ + static_cast<std::ptrdiff_t>(row) * w_ + shift;
        for (int x = innerBegin; x < innerEnd; ++x)
            next = paintInner(walk + x, rowLabels + 2 * x, next);
#endif
        for (int x = innerEnd; x < rs; ++x)
            next = paintClipped(walk + x, row, 2 * x + shift, next);
    }

    // Raises the pixels of the island with the given walk index, centred at (column,
    // row) of the window, to the numbers of its elements, skipping pixels outside; its
    // roots are numbered from next on, and the number after them is returned.
    std::uint32_t paintClipped(int walk, int row, int column, std::uint32_t next)
    {
        for (std::uint32_t e = store_.firstOf(walk), stop = store_.firstOf(walk + 1); e < stop; ++e) {
            const CodeElement& el = store_.element(e);
            const std::uint32_t o = numberOf(el, next);
            if (o == 0)
                continue;
            for (unsigned mask = el.mask; mask != 0; mask &= mask - 1) {
                const int k = std::countr_zero(mask);
                const int c = column + IslandHierarchy::cellOffsetX[k];
                const int r = row + IslandHierarchy::cellOffsetY[k];
                if (c < 0 || c >= w_ || r < 0 || r >= hgt_)
                    continue;
                std::uint32_t& target = labels_[static_cast<std::ptrdiff_t>(r) * w_ + c];
                target = std::max(target, o);
            }
        }
        return next;
    }

#if IVRA_SIMD_SSE2
    // An island whose seven pixels lie in the window, centred at *centre. Its elements
    // are disjoint: their numbers are gathered into one lane per cell, then its three
    // rows are raised at once: the upper and lower pair in one vector (cells 4, 5, 2,
    // 3), the middle three in another (cells 6, 0, 1, and a lane for the pixel right
    // of them, which stays as it is). Numbers its roots as paintClipped does.
    std::uint32_t paintInner(int walk, std::uint32_t* centre, std::uint32_t next)
    {
        static_assert(IslandHierarchy::cellOffsetX[4] == -1 && IslandHierarchy::cellOffsetY[4] == -1 &&
                      IslandHierarchy::cellOffsetX[5] == 0 && IslandHierarchy::cellOffsetY[5] == -1 &&
                      IslandHierarchy::cellOffsetX[6] == -1 && IslandHierarchy::cellOffsetY[6] == 0 &&
                      IslandHierarchy::cellOffsetX[0] == 0 && IslandHierarchy::cellOffsetY[0] == 0 &&
                      IslandHierarchy::cellOffsetX[1] == 1 && IslandHierarchy::cellOffsetY[1] == 0 &&
                      IslandHierarchy::cellOffsetX[2] == -1 && IslandHierarchy::cellOffsetY[2] == 1 &&
                      IslandHierarchy::cellOffsetX[3] == 0 && IslandHierarchy::cellOffsetY[3] == 1);
        const std::uint32_t first = store_.firstOf(walk), stop = store_.firstOf(walk + 1);
        if (first == stop)
            return next;
        const __m128i outerCells = _mm_setr_epi32(1 << 4, 1 << 5, 1 << 2, 1 << 3);
        const __m128i middleCells = _mm_setr_epi32(1 << 6, 1 << 0, 1 << 1, 1 << 7); // bit 7: never set
        __m128i outer = _mm_setzero_si128(), middle = _mm_setzero_si128();
        for (std::uint32_t e = first; e < stop; ++e) {
            const CodeElement& el = store_.element(e);
            const __m128i o = _mm_set1_epi32(static_cast<int>(numberOf(el, next)));
            const __m128i m = _mm_set1_epi32(el.mask);
            outer = _mm_or_si128(outer, _mm_and_si128(o, _mm_cmpeq_epi32(_mm_and_si128(m, outerCells), outerCells)));
            middle = _mm_or_si128(middle, _mm_and_si128(o, _mm_cmpeq_epi32(_mm_and_si128(m, middleCells), middleCells)));
        }
        // Numbers stay below 2^31, so the signed comparison orders them.
        const auto raise = [](__m128i a, __m128i b) {
            const __m128i greater = _mm_cmpgt_epi32(a, b);
            return _mm_or_si128(_mm_and_si128(greater, a), _mm_andnot_si128(greater, b));
        };
        auto* up = reinterpret_cast<__m128i*>(centre - w_ - 1);
        auto* mid = reinterpret_cast<__m128i*>(centre - 1);
        auto* low = reinterpret_cast<__m128i*>(centre + w_ - 1);
        const __m128i rows = raise(_mm_unpacklo_epi64(_mm_loadl_epi64(up), _mm_loadl_epi64(low)), outer);
        _mm_storel_epi64(up, rows);
        _mm_storel_epi64(low, _mm_srli_si128(rows, 8));
        // The fourth lane lies at most in the next row, which exists and lies under
        // this island row alone in its phase.
        _mm_storeu_si128(mid, raise(_mm_loadu_si128(mid), middle));
        return next;
    }
#endif

    const ElementStore& store_;
    const IslandHierarchy& h_;
    int x0_, y0_, w_, hgt_;
    std::uint32_t* labels_;
    const std::uint32_t base_;
    const LargeArray<std::uint32_t> owner_; // by element index - base_
    std::vector<std::uint32_t> colors_{0};
    std::uint32_t label_ = 0;
};

} // namespace

std::vector<std::uint32_t> paintRegions(const ElementStore& store, int x0, int y0, int w, int h,
                                        std::uint32_t* labels)
{
    if (w < 1 || h < 1)
        return {0};
    return RegionPainter(store, x0, y0, w, h, labels).paint();
}

} // namespace ivra::csc
