#pragma once

#include "Threads.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>

#include <omp.h>

namespace ivra {

// Runs body(y0, y1) over the rows begin .. end - 1 cut into pieces of at most `grain`
// rows (with n > 1 threads, of at most a n-th of the rows). The pieces are dealt statically: thread t of n takes the t-th contiguous
// n-th of them, so which rows a thread computes depends on the count alone, and a
// kernel whose rows are independent gives the same values for every count.
//
// report(done) is called on the calling thread only (progress callbacks may touch
// the user interface), after each of its pieces, with an estimate of the rows done
// overall, and once more with all rows when every thread is done; with one thread
// the figures are exact. An exception thrown by body or report on
// any thread (ivra::Cancelled included) stops the other threads at their next piece
// and is rethrown here.
template <class Body, class Report>
void parallelRows(int begin, int end, int grain, Body&& body, Report&& report)
{
    const int rows = end - begin;
    if (rows <= 0)
        return;
    // Several threads cut at least once per thread, so that each gets a fair share.
    const int most = std::min(threadCount(), rows);
    grain = std::max(1, most > 1 ? std::min(grain, (rows + most - 1) / most) : grain);
    const int pieces = (rows - 1) / grain + 1;
    const int threads = std::min(most, pieces);
    if (threads == 1) {
        for (int y = begin; y < end; y += grain) {
            const int y1 = std::min(end, y + grain);
            body(y, y1);
            report(y1 - begin);
        }
        return;
    }
    std::atomic<bool> stop{false};
    std::exception_ptr error;
#pragma omp parallel num_threads(threads)
    {
        const std::int64_t t = omp_get_thread_num();
        const std::int64_t n = omp_get_num_threads();
        const int first = static_cast<int>(pieces * t / n);
        const int last = static_cast<int>(pieces * (t + 1) / n);
        for (int p = first; p < last && !stop.load(std::memory_order_relaxed); ++p) {
            const int y0 = begin + p * grain;
            const int y1 = std::min(end, y0 + grain);
            try {
                body(y0, y1);
                if (t == 0)
                    report(static_cast<int>(std::min<std::int64_t>(rows, (y1 - begin) * n)));
            } catch (...) {
#pragma omp critical(ivra_parallel_rows_error)
                if (!error)
                    error = std::current_exception();
                stop.store(true, std::memory_order_relaxed);
            }
        }
    }
    if (error)
        std::rethrow_exception(error);
    report(rows);
}

// The same without progress.
template <class Body>
void parallelRows(int begin, int end, int grain, Body&& body)
{
    parallelRows(begin, end, grain, body, [](int) {});
}

// Runs body(i) for the pieces i = first .. end - 1 on up to `threads` threads, piece i
// on thread (i - first) mod threads (a fixed deal: which thread computes a piece
// depends on the count alone). An exception thrown by a body (the first one caught)
// comes back here once every thread is done.
template <class Body>
void parallelPieces(int first, int end, int threads, Body&& body)
{
    std::exception_ptr error;
#pragma omp parallel for num_threads(threads) schedule(static, 1)
    for (int i = first; i < end; ++i) {
        try {
            body(i);
        } catch (...) {
#pragma omp critical(ivra_parallel_pieces_error)
            if (!error)
                error = std::current_exception();
        }
    }
    if (error)
        std::rethrow_exception(error);
}

// Pieces of about `pixels` pixels for rows of `width` pixels: large enough that a
// thread's start-up cost vanishes, small enough for smooth progress.
inline int rowsPerPiece(int width, int pixels = 1 << 16)
{
    return std::max(1, pixels / std::max(width, 1));
}

} // namespace ivra
