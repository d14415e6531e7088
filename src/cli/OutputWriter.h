#pragma once

#include "Options.h"
#include "recipe/PendingFile.h"
#include "recipe/StepCatalogue.h"

#include <memory>
#include <string>

namespace ivra::cli {

using recipe::StepResult;

// Checks the output names before any work: a known format for -o and --borders,
// a .npy labels file, a .csv region table, no two outputs the same file. Throws CliError.
void checkOutputNames(const Options& o);

using recipe::PendingFile;

// The output files of a run, opened as temporaries before any step runs (so an
// unwritable output is reported at once) and renamed into place only when every
// one is complete; a run that fails leaves no new or half-written file.
class OutputFiles {
public:
    explicit OutputFiles(const Options& o); // throws IoError when a file cannot be written
    ~OutputFiles();
    OutputFiles(const OutputFiles&) = delete;
    OutputFiles& operator=(const OutputFiles&) = delete;

    // Writes the final result to -o (and its labels, region table and border
    // picture when asked) and renames them into place. Throws CliError when
    // segmentation outputs are asked of a result that is no segmentation, IoError
    // when a file cannot be written.
    void write(const StepResult& result);

private:
    void writeSegmentationOutputs(const StepResult& result);

    const Options& options_;
    std::unique_ptr<PendingFile> out_;
    std::unique_ptr<PendingFile> labels_;
    std::unique_ptr<PendingFile> regions_;
    std::unique_ptr<PendingFile> borders_;
};

} // namespace ivra::cli
