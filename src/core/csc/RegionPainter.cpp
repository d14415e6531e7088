#include "RegionPainter.h"

#include "util/HugePages.h"
#include "util/ParallelRows.h"
#include "util/Simd.h"
#include "util/Threads.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
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
        cutIntoPieces();
        clearLabelsAndCountRoots();
        // A level above 0 takes its parents' numbers, so the levels go one after the
        // other from the top; within one the elements are independent.
        const int upperLevels = h_.levels() - 1;
        for (int part = 0; part < upperLevels; ++part)
            forPieces(part, [&](int p) {
                std::uint32_t next = firstLabel_[p];
                for (std::uint32_t e = pieces_[p].begin; e < pieces_[p].end; ++e)
                    owner_[e - base_] = numberOf(store_.element(e), next);
            });
        // Island row y of level 0 covers pixel rows 2y - 1 .. 2y + 1, so the rows of one
        // parity touch disjoint pixels and are painted at once; the two parities share
        // pixel rows and go one after the other. Raising to the largest number does
        // not depend on the order.
        for (int phase = 0; phase < 2; ++phase)
            forPieces(upperLevels + phase, [&](int p) {
                const int y = 2 * (p - parts_[upperLevels + phase]) + phase;
                paintRow(y, h_.walkIndex({0, 0, y}), firstLabel_[p]);
            });
        return std::move(colors_);
    }

private:
    struct ElementRange {
        std::uint32_t begin, end;
    };

    std::uint32_t ownerOf(const CodeElement& el) const
    {
        std::uint32_t o = 0;
        if (el.parent1 != CodeElement::none)
            o = owner_[el.parent1 - base_];
        if (el.parent2 != CodeElement::none)
            o = std::max(o, owner_[el.parent2 - base_]);
        return o;
    }

    // Cuts the elements into pieces in root order: the levels above 0 from the top,
    // each in pieces of a fixed size, then the level-0 island rows in walk order (the
    // even rows, then the odd ones). Each level and each row parity is a part.
    void cutIntoPieces()
    {
        constexpr std::uint32_t piece = 1 << 10; // elements
        for (int level = h_.levels() - 1; level >= 1; --level) {
            parts_.push_back(static_cast<int>(pieces_.size()));
            const std::uint32_t end = store_.firstOf(h_.indexOffset(level + 1));
            for (std::uint32_t e = store_.firstOf(h_.indexOffset(level)); e < end; e += piece)
                pieces_.push_back({e, std::min(end, e + piece)});
        }
        const int n = h_.rowLength(0);
        for (int phase = 0, walk = 0; phase < 2; ++phase) {
            parts_.push_back(static_cast<int>(pieces_.size()));
            for (int y = phase; y < n; y += 2) {
                const int islands = h_.rowSize(0, y);
                pieces_.push_back({store_.firstOf(walk), store_.firstOf(walk + islands)});
                walk += islands;
            }
        }
        parts_.push_back(static_cast<int>(pieces_.size()));
    }

    // Roots are numbered in root order from 1; each piece numbers its own from
    // firstLabel_, found by counting the roots of the pieces before it. Every number
    // gets its slot in colors_ here. Clearing the labels needs nothing of this, so one
    // pass does both, each thread a share of the rows and of the pieces; most of the
    // labels are fresh memory, so all threads share the page faults.
    void clearLabelsAndCountRoots()
    {
        const int pieces = static_cast<int>(pieces_.size());
        firstLabel_.resize(pieces_.size());
        const std::int64_t pixels = std::int64_t{w_} * hgt_; // a thread for every 64 Ki of them
        const int n = static_cast<int>(std::min<std::int64_t>(threadCount(), 1 + (pixels >> 16)));
        parallelRows(0, n, 1, [&](int t0, int t1) {
            const std::size_t w = static_cast<std::size_t>(w_);
            std::fill(labels_ + hgt_ * t0 / n * w, labels_ + hgt_ * t1 / n * w, 0u);
            for (int p = pieces * t0 / n; p < pieces * t1 / n; ++p) {
                std::uint32_t roots = 0;
                for (std::uint32_t e = pieces_[p].begin; e < pieces_[p].end; ++e)
                    roots += (store_.element(e).flags & CodeElement::rootFlag) != 0;
                firstLabel_[p] = roots;
            }
        });
        std::uint32_t next = 1;
        for (std::uint32_t& first : firstLabel_)
            next += std::exchange(first, next);
        colors_.resize(next);
    }

    // Runs body(p) for the pieces p of one part, on all threads unless they are few.
    template <class Body>
    void forPieces(int part, Body&& body)
    {
        const int begin = parts_[part], end = parts_[part + 1];
        const auto run = [&](int p0, int p1) {
            for (int p = p0; p < p1; ++p)
                body(p);
        };
        // Fewer pieces take about as long as waking the other threads, and a loaded
        // machine makes each wait for them longer.
        constexpr int fewPieces = 8;
        if (end - begin < fewPieces)
            run(begin, end);
        else
            parallelRows(begin, end, end - begin, run);
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
        // The fourth lane lies at most in the next row, which exists and lies under no
        // other island row of this parity.
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
    std::vector<ElementRange> pieces_;
    std::vector<int> parts_;                // pieces parts_[j] .. parts_[j + 1] - 1 form part j
    std::vector<std::uint32_t> firstLabel_; // by piece
    std::vector<std::uint32_t> colors_{0};
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
