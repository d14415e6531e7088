#pragma once

#include "image/DataObject.h"

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ivra::cli {

// A user error on the command line: one line on standard error, exit status 2.
class CliError : public std::runtime_error {
public:
    explicit CliError(const std::string& message) : std::runtime_error(message) {}
};

// The key=value parameters of one step. Each accessor consumes its key; keys left
// over when the step has read all it knows are reported as unknown.
class StepArgs {
public:
    StepArgs(std::string step, std::map<std::string, std::string> values);

    // An integer in [min, max]; the default when the key is absent.
    int integer(const std::string& key, int defaultValue, int min, int max);
    // A number in [min, max]; the default when the key is absent.
    double real(const std::string& key, double defaultValue, double min, double max);
    // One of the given words; the default when the key is absent.
    std::string choice(const std::string& key, const std::string& defaultValue,
                       const std::vector<std::string>& allowed);
    // Throws CliError naming the first key that no accessor consumed.
    void finish() const;

    const std::string& step() const { return step_; }

private:
    std::string step_;
    std::map<std::string, std::string> values_;
};

// What a step hands on: the new object and the name the workbench gives it.
// A step that yields three histograms at once (the per-channel colour histogram)
// puts the first in data/name and the second and third, in channel order, in
// `more`; every other step leaves `more` empty. The next step, if any, takes `data`.
struct StepResult {
    std::unique_ptr<DataObject> data;
    std::string name;
    std::vector<StepResult> more{};
};

// A step runs one operator as its dialog would. It throws CliError when the input
// type is one its dialog would not list or a parameter is out of range. It reads
// all its parameters and calls args.finish() before the work starts, so a
// misspelt key is reported before a long run.
using StepFunction = StepResult (*)(const DataObject& input, StepArgs& args);

struct StepDefinition {
    const char* name;
    StepFunction run;
};

// All steps, in the Operator menu's order.
const std::vector<StepDefinition>& allSteps();

// Helpers for step implementations.
std::string typeName(int typeCode);
[[noreturn]] void refuseInput(const std::string& step, const DataObject& input);

} // namespace ivra::cli
