#pragma once

#include "Options.h"

#include <cstdio>
#include <vector>

namespace ivra::cli {

// How many inputs run at once and how many threads each may use: --jobs and
// --threads as given (0: not given); else as many jobs as fit the cores at the
// thread count, and jobs share the cores unless a thread count was asked for.
struct JobShape {
    int jobs;
    int threadsPerJob;
};
JobShape jobShape(int jobsAsked, int threadsAsked, int inputs);

// Runs every input (one Options each, from planRuns()), --jobs of them at a time. A failing
// input is reported on `err` and the others go on; the --json lines come out in
// the order of the inputs. Returns the exit status: 0 when all succeeded, else 1.
int runBatch(const std::vector<Options>& runs, const std::vector<StepCall>& calls, std::FILE* err);

} // namespace ivra::cli
