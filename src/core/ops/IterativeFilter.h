#pragma once

#include "util/Progress.h"

#include <algorithm>

namespace ivra {

// The repeat loop of the iterative filters: `iterations` passes over the rows
// first .. last - 1, each pass reading buffer `cur` and writing buffer 1 - cur.
// pass(cur, y0, y1) filters rows y0 .. y1 - 1. Large pictures report progress every
// million pixels or so, small ones once per pass; the progress callback may throw
// ivra::Cancelled between chunks. Returns the index of the buffer written last.
template <class Pass>
int repeatFilterPasses(int iterations, int width, int first, int last, const Progress& progress, Pass pass)
{
    const int rows = std::max(last - first, 0);
    const int chunk = std::max(1, (1 << 20) / std::max(width, 1));
    const double total = static_cast<double>(iterations) * std::max(rows, 1);
    int cur = 0;
    for (int i = 0; i < iterations; ++i) {
        for (int y = first; y < last; y += chunk) {
            const int yEnd = std::min(last, y + chunk);
            pass(cur, y, yEnd);
            progress.update(static_cast<double>(i) * rows + (yEnd - first), total);
        }
        if (rows == 0)
            progress.update(static_cast<double>(i + 1), total);
        cur = 1 - cur;
    }
    return cur;
}

} // namespace ivra
