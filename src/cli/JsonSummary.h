#pragma once

#include "recipe/RecipeRunner.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace ivra::cli {

using recipe::StepResult;
using recipe::StepTiming;

// The one-line JSON summary of --json: type, size or bins, name(s), the number of
// distinct labels of a segmentation and of its regions (labels other than 0), the
// thread count the steps ran with, and each step's run time. A batch puts the
// input's name `before` these keys and its time split `after` them.
std::string jsonSummary(const StepResult& result, const std::vector<StepTiming>& timings, int threads,
                        const nlohmann::ordered_json& before = nlohmann::ordered_json::object(),
                        const nlohmann::ordered_json& after = nlohmann::ordered_json::object());

// The --json line of a batch input that failed: its name and the reason.
std::string jsonFailure(const std::string& input, const std::string& reason);

// Milliseconds to the microsecond, as the summary gives them.
double roundedMs(double ms);

} // namespace ivra::cli
