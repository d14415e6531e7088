#pragma once

#include "IslandHierarchy.h"

#include <cstdint>
#include <vector>

namespace ivra::csc::detail {

// The rows of one level in walk order (the rows of phase 0, y even, then those of
// phase 1), and the cut of each phase into one run of rows per thread, of about equal
// island counts: run t of phase 0 is run t, that of phase 1 run threads + t. Runs of
// rows in walk order hold contiguous walk indexes, so pieces of a level made on
// several threads are laid into the store one after the other. Within a phase, the
// islands of different rows have no child in common (row y's children lie in rows
// 2y - 1 .. 2y + 1 of the level below).
struct LevelRows {
    std::vector<int> y;      // row of each position
    std::vector<int> walk;   // walk index of each position's first island, then the level's end
    int phaseOneBegin = 0;   // position of the first row of phase 1
    std::vector<int> runEnd; // end position of each run

    LevelRows(const IslandHierarchy& h, int level, int threads) : walk{h.indexOffset(level)}
    {
        const int n = h.rowLength(level);
        for (int phase = 0; phase < 2; ++phase) {
            if (phase == 1)
                phaseOneBegin = static_cast<int>(y.size());
            for (int row = phase; row < n; row += 2) {
                y.push_back(row);
                walk.push_back(walk.back() + h.rowSize(level, row));
            }
        }
        const int ends[2] = {phaseOneBegin, static_cast<int>(y.size())};
        for (int phase = 0, position = 0; phase < 2; ++phase) {
            const int first = walk[static_cast<std::size_t>(position)];
            const std::int64_t islands = walk[static_cast<std::size_t>(ends[phase])] - first;
            for (int t = 0; t < threads; ++t) {
                const std::int64_t goal = first + islands * (t + 1) / threads;
                while (position < ends[phase] && walk[static_cast<std::size_t>(position)] < goal)
                    ++position;
                runEnd.push_back(position);
            }
            runEnd.back() = position = ends[phase];
        }
    }

    int runCount() const { return static_cast<int>(runEnd.size()); }
    int runBegin(int t) const { return t == 0 ? 0 : runEnd[static_cast<std::size_t>(t - 1)]; }
    int walkAt(int position) const { return walk[static_cast<std::size_t>(position)]; }
    int rowAt(int position) const { return y[static_cast<std::size_t>(position)]; }
    // Islands of run t.
    int runIslands(int t) const
    {
        return walkAt(runEnd[static_cast<std::size_t>(t)]) - walkAt(runBegin(t));
    }
};

} // namespace ivra::csc::detail
