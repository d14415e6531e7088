#pragma once

#include "Options.h"

#include <string>
#include <vector>

namespace ivra::cli {

// The output name for an input: {stem} becomes the input's file name without its
// extension, {dir} its folder.
std::string expandPattern(const std::string& pattern, const std::string& input);

// One Options per input, in the order given, with the output names expanded and
// checked (checkOutputNames()). Before any work, throws CliError for an output
// name without {stem} when there are several inputs, and for two inputs that
// would write the same file.
std::vector<Options> planRuns(const Options& o);

} // namespace ivra::cli
