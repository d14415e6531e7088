#pragma once

#include "KeywordArgs.h"
#include "PictureInput.h"
#include "PictureOutput.h"
#include "recipe/StepCatalogue.h"

#include <pybind11/pybind11.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace ivra::python {

// How one module function maps onto a CLI step, and what its docstring says
// besides the parameters the step table lists.
struct OperatorBinding {
    const char* function; // the Python name
    const char* step;     // the ivra-cli step it runs
    const char* summary;  // one paragraph: what it does
    const char* input;    // the arrays it takes
    const char* returns;  // what it gives back
    bool noise = false;   // draws random numbers: takes random_state
};

// The keywords every operator takes besides its parameters, taken out of the call's
// keywords: threads (None or >= 1) and, for noise, random_state (0..2^32-1).
struct CallOptions {
    int threads = 0; // 0: all cores
    std::optional<std::uint32_t> randomState;
};
CallOptions takeCallOptions(pybind11::dict& kwargs, bool noise);

// Reads the picture, runs the step on it with the pairs as the CLI would (same
// defaults, checks and messages) and converts its result. Runs without the
// interpreter lock; noise calls start the generator at their random_state and
// give it back, one at a time.
ConvertedResult runStep(const recipe::StepDefinition& step, const PictureInput& input,
                        const std::map<std::string, std::string>& pairs, const CallOptions& options);

// How long the last step of the calling thread took, conversions excluded: what
// the same call costs in C++ (for the overhead benchmark). Wall time, and the
// calling thread's processor time (all of it with threads=1).
double lastCoreMs();
double lastCoreCpuMs();

// The function's docstring: summary, arguments, the step's keys with their
// ranges and defaults (as keywords), threads, random_state, result.
std::string docstring(const OperatorBinding& binding, const recipe::StepDefinition& step);

// Adds `binding.function(image, **keywords)` to the module for the operator whose
// parameter struct is Params.
template <class Params>
void bindOperator(pybind11::module_& module, const OperatorBinding& binding)
{
    const recipe::StepDefinition* step = recipe::findStep(binding.step);
    const bool noise = binding.noise;
    module.def(
        binding.function,
        [step, noise](pybind11::object image, pybind11::kwargs kwargs) {
            const PictureInput input(image, step->accepts);
            const CallOptions options = takeCallOptions(kwargs, noise);
            KeywordArgs keywords(step->name, kwargs, input.type());
            Params params = recipe::defaultParams<Params>(input.type());
            params.visit(keywords);
            const std::map<std::string, std::string> pairs = keywords.finish();
            ConvertedResult result;
            {
                pybind11::gil_scoped_release release;
                result = runStep(*step, input, pairs, options);
            }
            return resultObject(std::move(result));
        },
        pybind11::arg("image"), docstring(binding, *step).c_str());
}

} // namespace ivra::python
