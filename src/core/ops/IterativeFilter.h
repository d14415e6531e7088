#pragma once

#include "util/ParallelRows.h"
#include "util/Progress.h"

#include <algorithm>

namespace ivra {

// The repeat loop of the iterative filters: `iterations` passes over the rows
// first .. last - 1; pass(i, y0, y1) filters rows y0 .. y1 - 1 in pass i (two buffers:
// pass i reads buffer i % 2 and writes the other), called from threadCount() threads on
// disjoint rows. Large pictures report progress every million pixels or so, small
// ones once per pass; the progress callback may throw ivra::Cancelled between chunks.
// Returns the index of the buffer written last, iterations % 2.
template <class Pass>
int repeatFilterPasses(int iterations, int width, int first, int last, const Progress& progress, Pass pass)
{
    const int rows = std::max(last - first, 0);
    const int threads = std::max(1, threadCount());
    // Each thread takes one contiguous run of rows (a piece costs a few rows of set-up),
    // cut further only for progress on large pictures.
    const int chunk = std::min(rowsPerPiece(width, 1 << 20), std::max(1, (rows + threads - 1) / threads));
    const double total = static_cast<double>(iterations) * std::max(rows, 1);
    int cur = 0;
    for (int i = 0; i < iterations; ++i) {
        parallelRows(
            first, last, chunk, [&](int y0, int y1) { pass(i, y0, y1); },
            [&](int done) { progress.update(static_cast<double>(i) * rows + done, total); });
        if (rows == 0)
            progress.update(static_cast<double>(i + 1), total);
        cur = 1 - cur;
    }
    return cur;
}

} // namespace ivra
