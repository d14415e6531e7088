#pragma once

#include "recipe/RecipeError.h"

#include "image/RGB24.h"
#include "segment/RegionBorders.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ivra::cli {

using recipe::StepCall;

struct Options {
    std::string input;               // the input of this run; planRuns() gives one Options per input
    std::vector<std::string> inputs; // every input, in the order given
    std::vector<std::string> steps;  // as written; parseSteps() reads them
    std::string recipe;              // --recipe FILE
    std::string output;              // output names: patterns with {stem} and {dir}
    std::string labels;
    std::string regions; // the region table, .csv
    std::string borders; // the border picture
    RGB24 borderColor = defaultBorderColor;
    bool json = false;
    bool hsvInput = false;
    bool printRecipe = false;
    int jobs = 0;               // 0: as many as fit the cores
    std::int64_t maxPixels = 0; // --max-pixels; 0: the picture reader's default budget
    int threads = 0; // --threads N; 0: all cores
};

// Reads the arguments; throws CliError for anything malformed.
Options parseArguments(int argc, char** argv);

// Reads the steps; throws CliError for an unknown step or a malformed pair. A noise
// step takes random_state=N, the generator state it starts from.
std::vector<StepCall> parseSteps(const std::vector<std::string>& steps);

// The text of --help: the usage and every step with its keys, their ranges and defaults.
std::string helpText();

// The text of --version.
std::string versionText();

} // namespace ivra::cli
