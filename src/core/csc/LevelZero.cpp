#include "Levels.h"

#include "IslandComponents.h"
#include "LevelPiece.h"
#include "SpaceHSV.h"
#include "SpaceRGB.h"
#include "util/ParallelRows.h"
#include "util/Simd.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace ivra::csc::detail {

namespace {

// Where the islands of level-0 rows keep their elements: the store itself.
template <class V>
struct StoreRows {
    LinkingContext<V>& c;
    void reserve(std::int64_t n) { c.reserve(n); }
    void beginIsland(int walk) { c.store.beginIsland(walk); }
    void skipIslands(int walk, int n) { c.store.skipIslands(walk, n); }
    void addLeaf(std::uint8_t mask, std::uint32_t color) { c.addLeaf(mask, color); }
    void appendLeaf(const CodeElement& e) { c.store.appendLeaf(e); }
    // True when `more` elements may not fit.
    bool mayFill(std::int64_t more) const { return c.store.usedElements() + more >= c.store.elementCapacity(); }
};

// ... or the store's pools written directly, by threads that each own rows whose first
// element they know (the elements of the rows before them were counted first).
struct PoolRows {
    ElementStore::Pools pools;
    std::uint32_t next; // the next element
    void reserve(std::int64_t) {}
    void beginIsland(int walk) { pools.first[walk] = next; }
    void skipIslands(int walk, int n)
    {
        for (int i = 0; i < n; ++i)
            pools.first[walk + i] = next;
    }
    void addLeaf(std::uint8_t mask, std::uint32_t color)
    {
        pools.elements[next++] = CodeElement{mask, 0, CodeElement::rootFlag, 0, color, CodeElement::none,
                                             CodeElement::none};
    }
    void appendLeaf(const CodeElement& e) { pools.elements[next++] = e; }
    bool mayFill(std::int64_t) const { return false; }
};

// Level 0: the similarity of every neighbouring pixel pair is computed once into a
// bit plane; each island's pattern of similar pairs then names its elements
// (IslandComponents.h).
template <class V>
class LevelZero {
public:
    LevelZero(LinkingContext<V>& c, const std::uint8_t* pixels, int stride) : c(c), pixels_(pixels), stride_(stride)
    {
        for (int k = 0; k < 7; ++k)
            offsets_[k] = static_cast<std::ptrdiff_t>(IslandHierarchy::cellOffsetY[k]) * stride +
                          IslandHierarchy::cellOffsetX[k];
    }

    void build()
    {
        const Window& w = c.window;
        pw_ = w.x1 + 3;
        const std::size_t planeBytes = static_cast<std::size_t>(pw_) * static_cast<std::size_t>(w.y1 + 3);
        std::vector<std::uint8_t> ownPlane;
        std::uint8_t* plane = c.scratch.data;
        if (planeBytes <= c.scratch.bytes) {
            const std::size_t rowBytes = static_cast<std::size_t>(pw_);
            parallelRows(0, w.y1 + 3, rowsPerPiece(pw_, 1 << 18), [&](int y0, int y1) {
                std::memset(plane + y0 * rowBytes, 0, (y1 - y0) * rowBytes);
            });
        } else {
            ownPlane.assign(planeBytes, 0);
            plane = ownPlane.data();
        }
        base_ = plane + pw_ + 1; // pixel (0, 0); one zero column/row around
        buildPlane();

        const int threads = std::min(threadCount(), c.hierarchy.rowLength(0));
        if (threads > 1 && buildOnThreads(threads))
            return;
        const LevelRows rows(c.hierarchy, 0, 1);
        StoreRows<V> store{c};
        for (int i = 0; i < static_cast<int>(rows.y.size()); ++i)
            if (islandRow(rows.rowAt(i), rows.walkAt(i), store))
                c.reportProgress(rows.walkAt(i + 1));
    }

private:
    // The similarity bits of the window's rows, into the plane (zero outside).
    void buildPlane() const
    {
        const Window& w = c.window;
        if (w.x0 >= w.x1 || w.y0 >= w.y1)
            return;
        const int n = w.x1 - w.x0;
        const auto rowAt = [&](int y) {
            return pixels_ + (static_cast<std::ptrdiff_t>(y) * stride_ + w.x0) * V::pixelBytes;
        };
        // Each row's bits depend on that row and the next alone.
        parallelRows(w.y0, w.y1, rowsPerPiece(n), [&](int ya, int yb) {
            typename V::Row cur, next;
            cur.resize(n);
            next.resize(n);
            V::loadRow(rowAt(ya), n, cur);
            for (int y = ya; y < yb; ++y) {
                std::uint8_t* out = base_ + static_cast<std::ptrdiff_t>(y) * pw_ + w.x0; // zero from the start
                const bool last = y + 1 == w.y1;
                if (!last)
                    V::loadRow(rowAt(y + 1), n, next);
                c.space.rowBits(cur, last ? nullptr : &next, (y & 1) != 0, n, out);
                std::swap(cur, next);
            }
        });
    }

    // The rows on threads of their own: the elements of every row are counted first,
    // then each row writes its own into the store from where the rows before it end.
    // False (having changed nothing) when the store might fill within level 0, which
    // one thread then meets where it always did.
    bool buildOnThreads(int threads)
    {
        const LevelRows rows(c.hierarchy, 0, threads);
        std::vector<std::int64_t> elementAt(rows.y.size() + 1, 0); // by position, counts first
        parallelPieces(0, rows.runCount(), threads, [&](int r) {
            for (int i = rows.runBegin(r); i < rows.runEnd[static_cast<std::size_t>(r)]; ++i)
                elementAt[static_cast<std::size_t>(i) + 1] = rowElementCount(rows.rowAt(i));
        });
        for (std::size_t i = 1; i < elementAt.size(); ++i)
            elementAt[i] += elementAt[i - 1];
        if (elementAt.back() + 3 >= c.store.elementCapacity())
            return false;
        c.reserve(elementAt.back());
        c.store.adoptFilled(elementAt.back(), 0, rows.walk.back() - 1);
        const ElementStore::Pools pools = c.store.pools();
        parallelPieces(0, rows.runCount(), threads, [&](int r) {
            for (int i = rows.runBegin(r); i < rows.runEnd[static_cast<std::size_t>(r)]; ++i) {
                PoolRows target{pools, static_cast<std::uint32_t>(elementAt[static_cast<std::size_t>(i)])};
                islandRow(rows.rowAt(i), rows.walkAt(i), target);
            }
        });
        c.reportProgress(rows.walk.back());
        return true;
    }

    // How many elements islandRow() makes for row y when the store cannot fill: the
    // same islands take the same ways.
    std::int64_t rowElementCount(int y) const
    {
        const Window& w = c.window;
        const int rs = c.hierarchy.rowSize(0, y);
        const int cy = 2 * y;
        if (cy - 1 >= w.y1 || cy + 1 < w.y0)
            return 0;
        const int shift = c.hierarchy.levels() == 2 ? 1 - (y & 1) : (y & 1);
        const std::uint8_t* const rowBits = base_ + static_cast<std::ptrdiff_t>(cy) * pw_;
        int innerBegin = rs, innerEnd = rs;
        if (V::hasInnerMeans && cy >= 1 && cy + 1 < w.y1) {
            innerBegin = std::min((2 - shift) / 2, rs);
            innerEnd = std::clamp((w.x1 - shift) / 2, innerBegin, rs);
        }
        std::int64_t count = 0;
        const auto clipped = [&](int x) {
            const int cx = 2 * x + shift;
            if (cx + 1 >= w.x0 && cx - 1 < w.x1)
                count += islandComponents[patternAt(rowBits + cx)].count;
        };
        for (int x = 0; x < innerBegin; ++x)
            clipped(x);
        forInnerPatterns(rowBits, shift, innerBegin, innerEnd,
                         [&count](int, unsigned pattern) { count += islandComponents[pattern].count; });
        for (int x = innerEnd; x < rs; ++x)
            clipped(x);
        return count;
    }

    // Row y of level 0, whose first island has the given walk index; false for a row
    // with no pixel in the window.
    template <class Target>
    bool islandRow(int y, int walk, Target& target)
    {
        const Window& w = c.window;
        const int rs = c.hierarchy.rowSize(0, y);
        const int cy = 2 * y;
        if (cy - 1 >= w.y1 || cy + 1 < w.y0) { // no pixel in the window
            target.skipIslands(walk, rs);
            return false;
        }
        const bool shiftedRows = c.hierarchy.levels() == 2; // level 0 is then also level L-2
        const int shift = shiftedRows ? 1 - (y & 1) : (y & 1);
        target.reserve(7 * rs); // an island makes at most 7 elements (one per seed)
        const std::uint8_t* const rowBits = base_ + static_cast<std::ptrdiff_t>(cy) * pw_;
        // Islands innerBegin <= x < innerEnd have all seven pixels in the picture
        // (columns 2x + shift - 1 .. 2x + shift + 1) and room for three elements each;
        // they take the short way.
        int innerBegin = rs, innerEnd = rs;
        if constexpr (V::hasInnerMeans) {
            if (cy >= 1 && cy + 1 < c.window.y1 && !target.mayFill(3 * rs)) {
                innerBegin = std::min((2 - shift) / 2, rs);
                innerEnd = std::clamp((c.window.x1 - shift) / 2, innerBegin, rs);
            }
        }
        for (int x = 0; x < innerBegin; ++x)
            clippedIsland(walk + x, rowBits, 2 * x + shift, cy, target);
        if constexpr (V::hasInnerMeans) {
            if (innerBegin < innerEnd)
                innerIslands(rowBits, cy, shift, innerBegin, innerEnd, walk + innerBegin, target);
        }
        for (int x = innerEnd; x < rs; ++x)
            clippedIsland(walk + x, rowBits, 2 * x + shift, cy, target);
        return true;
    }

    // The island centred at pixel (cx, cy), whose pixels may leave the window.
    template <class Target>
    void clippedIsland(int walk, const std::uint8_t* rowBits, int cx, int cy, Target& target)
    {
        target.beginIsland(walk);
        if (cx + 1 < c.window.x0 || cx - 1 >= c.window.x1)
            return;
        const IslandComponents& comps = islandComponents[patternAt(rowBits + cx)];
        const std::ptrdiff_t centre = static_cast<std::ptrdiff_t>(cy) * stride_ + cx;
        if (target.mayFill(3)) {
            nearlyFullIsland(centre, comps, cx, cy);
            return;
        }
        for (int i = 0; i < comps.count; ++i)
            target.addLeaf(comps.masks[i], V::meanOfPixels(pixels_, centre, offsets_, comps.masks[i]));
    }

    // The similarity pattern of the island centred at p in the pair plane. Bit order of
    // islandEdges: centre (3 bits), upper left (3), upper right (below, diagonal), left
    // (right, below), right (diagonal), lower left (right).
    unsigned patternAt(const std::uint8_t* p) const
    {
        return p[0] | p[-pw_ - 1] << 3 | (p[-pw_] & 6u) << 5 | (p[-1] & 3u) << 8 | (p[1] & 4u) << 8 |
               (p[pw_ - 1] & 1u) << 11;
    }

    // Islands x = begin .. end - 1 of a level-0 row, centred at (2x + shift, cy), which
    // lie wholly inside the picture and cannot fill the store; island begin has the
    // given walk index.
    template <class Target>
    void innerIslands(const std::uint8_t* rowBits, int cy, int shift, int begin, int end, int walk, Target& target)
    {
        forInnerPatterns(rowBits, shift, begin, end, [&](int x, unsigned pattern) {
            target.beginIsland(walk + (x - begin));
            const IslandComponents& comps = islandComponents[pattern];
            if (comps.count == 0)
                return;
            const std::ptrdiff_t centre = static_cast<std::ptrdiff_t>(cy) * stride_ + 2 * x + shift;
            const typename V::IslandPixels island(pixels_, centre, stride_);
            for (int k = 0; k < comps.count; ++k)
                target.appendLeaf(CodeElement{comps.masks[k], 0, CodeElement::rootFlag, 0, island.mean(comps.masks[k]),
                                              CodeElement::none, CodeElement::none});
        });
    }

    // Calls take(x, pattern) for the islands x = begin .. end - 1 of a row, in order,
    // their patterns made in blocks (see innerPatterns).
    template <class Take>
    void forInnerPatterns(const std::uint8_t* rowBits, int shift, int begin, int end, Take&& take) const
    {
        std::uint16_t patterns[64];
        for (int x0 = begin; x0 < end; x0 += 64) {
            const int m = std::min(64, end - x0);
            const int vectorised = innerPatterns(rowBits, shift, x0, m, patterns);
            for (int i = vectorised; i < m; ++i)
                patterns[i] = static_cast<std::uint16_t>(patternAt(rowBits + 2 * (x0 + i) + shift));
            for (int i = 0; i < m; ++i)
                take(x0 + i, patterns[i]);
        }
    }

    // The patterns of islands x0 .. x0 + m - 1 eight at a time, as far as the vectors
    // go; returns how many it wrote (the rest take patternAt).
    int innerPatterns([[maybe_unused]] const std::uint8_t* rowBits, [[maybe_unused]] int shift,
                      [[maybe_unused]] int x0, [[maybe_unused]] int m, [[maybe_unused]] std::uint16_t* patterns) const
    {
        int i = 0;
#if IVRA_SIMD_SSE2
        // 16-bit lane j holds the bytes of columns cx - 1 and cx of island x0 + i + j, as
        // long as the loads stay inside the plane row (columns -1 .. x1 + 1).
        const __m128i low3 = _mm_set1_epi16(7), bit0 = _mm_set1_epi16(1), bit2 = _mm_set1_epi16(4);
        const __m128i bits12 = _mm_set1_epi16(6), bits01 = _mm_set1_epi16(3);
        const auto load = [](const std::uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); };
        for (; i + 8 <= m && 2 * (x0 + i) + shift + 16 <= c.window.x1 + 1; i += 8) {
            const std::uint8_t* p = rowBits + 2 * (x0 + i) + shift - 1;
            const __m128i up = load(p - pw_), mid = load(p), right = load(p + 2), down = load(p + pw_);
            __m128i q = _mm_and_si128(_mm_srli_epi16(mid, 8), low3);
            q = _mm_or_si128(q, _mm_slli_epi16(_mm_and_si128(up, low3), 3));
            q = _mm_or_si128(q, _mm_slli_epi16(_mm_and_si128(_mm_srli_epi16(up, 8), bits12), 5));
            q = _mm_or_si128(q, _mm_slli_epi16(_mm_and_si128(mid, bits01), 8));
            q = _mm_or_si128(q, _mm_slli_epi16(_mm_and_si128(right, bit2), 8));
            q = _mm_or_si128(q, _mm_slli_epi16(_mm_and_si128(down, bit0), 11));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(patterns + i), q);
        }
#endif
        return i;
    }

    // A level-0 island when the store may fill up within it: every seed is an
    // allocation, single pixels included, so the store overruns exactly when a seed
    // (lowest cell of a component of usable pixels) arrives at a full store.
    void nearlyFullIsland(std::ptrdiff_t centre, const IslandComponents& comps, int cx, int cy)
    {
        const Window& w = c.window;
        unsigned usable = 0;
        for (int k = 0; k < 7; ++k) {
            const int px = cx + IslandHierarchy::cellOffsetX[k], py = cy + IslandHierarchy::cellOffsetY[k];
            if (px >= w.x0 && px < w.x1 && py >= w.y0 && py < w.y1)
                usable |= 1u << k;
        }
        unsigned assigned = ~usable & 0x7Fu;
        for (int k = 0; k < 7; ++k) {
            if (assigned & (1u << k))
                continue;
            const std::uint32_t e = c.newElement(1 << k, true); // throws on a full store
            assigned |= 1u << k;
            for (int i = 0; i < comps.count; ++i) {
                if (comps.masks[i] & (1u << k)) {
                    c.el[e].mask = comps.masks[i];
                    c.el[e].color = V::meanOfPixels(pixels_, centre, offsets_, comps.masks[i]);
                    assigned |= comps.masks[i];
                    c.store.commit();
                }
            }
        }
    }

    LinkingContext<V>& c;
    const std::uint8_t* pixels_;
    int stride_;
    std::ptrdiff_t offsets_[7];
    int pw_ = 0;                    // the plane's row length: the window's columns and one zero column either side
    std::uint8_t* base_ = nullptr; // pixel (0, 0) in the plane
};

} // namespace

template <class V>
void buildLevelZero(LinkingContext<V>& c, const std::uint8_t* pixels, int stride)
{
    LevelZero<V>(c, pixels, stride).build();
}

template void buildLevelZero(LinkingContext<SpaceRGB>&, const std::uint8_t*, int);
template void buildLevelZero(LinkingContext<SpaceHSV>&, const std::uint8_t*, int);

} // namespace ivra::csc::detail
