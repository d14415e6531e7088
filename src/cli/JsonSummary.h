#pragma once

#include "StepCatalogue.h"

#include <string>
#include <vector>

namespace ivra::cli {

struct StepTiming {
    std::string name;
    double ms;
};

// The one-line JSON summary of --json: type, size or bins, name(s), the number of
// distinct labels of a segmentation and of its regions (labels other than 0), the
// thread count the steps ran with, and each step's run time.
std::string jsonSummary(const StepResult& result, const std::vector<StepTiming>& timings, int threads);

} // namespace ivra::cli
