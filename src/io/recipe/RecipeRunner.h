#pragma once

#include "RecipeError.h"
#include "StepCatalogue.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

namespace ivra::recipe {

struct StepTiming {
    std::string name;
    double ms;
};

// Where a chain of steps stands: the run counters that number its results and
// the random generator state its next noise step starts from.
struct ChainState {
    StepCounters counters{};
    std::uint32_t randomState = 1;
};

// Runs one step on `input`. A noise step starts from its call's state, else from
// the chain's, and leaves the chain at the state it ended with; the process-wide
// generator is put back as it was, and noise steps of several threads take turns,
// so a chain's values never depend on what runs beside it. When `record` is given,
// the step with all its parameters (and the state a noise step started from) is
// appended to it. A call with a result number gives that one of the step's results
// alone. Throws RecipeError for a call the input does not take or a result number
// beyond the step's results.
StepResult runStep(const DataObject& input, const StepCall& call, ChainState& chain,
                   nlohmann::ordered_json* record = nullptr);

// Runs the steps in order, each on the result of the one before, from a fresh
// chain (counters at 0, generator state 1): the recipe of ivra-cli and the
// workbench's replay. Each step's time goes to `timings` when given.
StepResult runSteps(StepResult input, const std::vector<StepCall>& calls, std::vector<StepTiming>* timings = nullptr,
                    nlohmann::ordered_json* record = nullptr);

} // namespace ivra::recipe
