#pragma once

#include "Options.h"

#include <string>
#include <vector>

namespace ivra::cli {

// What one input's run took: loading, the steps and saving, in milliseconds.
struct InputTimes {
    double load = 0;
    double steps = 0;
    double save = 0;
};

// Runs the steps on the input of `o` and writes its outputs (each atomically:
// a run that fails writes none). Returns the --json summary (empty without
// --json); `batch` adds the input's name and the time split to it. Throws
// CliError, IoError or RecipeError with the reason when the input fails.
std::string runInput(const Options& o, const std::vector<StepCall>& calls, bool batch, InputTimes& times);

} // namespace ivra::cli
