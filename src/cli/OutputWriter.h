#pragma once

#include "Options.h"
#include "StepCatalogue.h"

#include <string>

namespace ivra::cli {

// Checks the output names before any work: a known format for -o, a .npy labels
// file that is not the output itself. Throws CliError.
void checkOutputNames(const Options& o);

// Writes the final result to -o (and its labels to --labels): every file to a
// temporary first, renamed into place only when all are complete. Throws CliError
// when labels are asked of a result that is no segmentation, IoError when a file
// cannot be written.
void writeOutputs(const Options& o, const StepResult& result);

} // namespace ivra::cli
