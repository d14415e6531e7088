#pragma once

#include "image/RGB24.h"
#include "segment/RegionBorders.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace ivra::cli {

// One step on the command line: its name and its key=value pairs.
struct StepCall {
    std::string name;
    std::map<std::string, std::string> values;
};

struct Options {
    std::string input;
    std::vector<std::string> steps; // as written; parseSteps() reads them
    std::string output;
    std::string labels;
    std::string regions; // the region table, .csv
    std::string borders; // the border picture
    RGB24 borderColor = defaultBorderColor;
    bool json = false;
    bool hsvInput = false;
    std::int64_t maxPixels = 0; // --max-pixels; 0: the picture reader's default budget
    int threads = 0; // --threads N; 0: all cores
};

// Reads the arguments; throws CliError for anything malformed.
Options parseArguments(int argc, char** argv);

// Reads the steps; throws CliError for an unknown step or a malformed pair.
std::vector<StepCall> parseSteps(const std::vector<std::string>& steps);

// The text of --help: the usage and every step with its keys, their ranges and defaults.
std::string helpText();

// The text of --version.
std::string versionText();

} // namespace ivra::cli
