#include "OperatorCall.h"

#include "PictureOutput.h"

#include "recipe/RecipeRunner.h"

#include "util/RandomGenerator.h"
#include "util/Threads.h"

#include <chrono>
#include <limits>

namespace py = pybind11;

namespace ivra::python {

namespace {

// An integer keyword in lo..hi; none when absent or None.
std::optional<long long> takeInteger(py::dict& kwargs, const char* name, long long lo, long long hi,
                                     const char* range)
{
    if (!kwargs.contains(name))
        return std::nullopt;
    const py::object value = kwargs.attr("pop")(name);
    if (value.is_none())
        return std::nullopt;
    if (PyBool_Check(value.ptr()) || !PyIndex_Check(value.ptr()))
        throw py::type_error(std::string(name) + " must be " + range + ", not a " +
                             std::string(py::str(value.get_type().attr("__name__"))));
    const py::int_ number(value);
    if (number < py::int_(lo) || number > py::int_(hi))
        throw py::value_error(std::string(name) + " must be " + range + ", not " + std::string(py::str(value)));
    return number.cast<long long>();
}

thread_local double lastCoreMilliseconds = 0;

} // namespace

double lastCoreMs() { return lastCoreMilliseconds; }

CallOptions takeCallOptions(py::dict& kwargs, bool noise)
{
    CallOptions options;
    if (const auto threads = takeInteger(kwargs, "threads", 1, std::numeric_limits<int>::max(),
                                         "None or a thread count of at least 1"))
        options.threads = static_cast<int>(*threads);
    if (noise) {
        const auto state = takeInteger(kwargs, "random_state", 0, std::numeric_limits<std::uint32_t>::max(),
                                       "an integer in 0..4294967295");
        options.randomState = static_cast<std::uint32_t>(state.value_or(RandomGenerator::initialState));
    }
    return options;
}

recipe::StepResult runStep(const recipe::StepDefinition& step, const PictureInput& input,
                        const std::map<std::string, std::string>& pairs, const CallOptions& options)
{
    const ThreadLimit limit(options.threads);
    const std::unique_ptr<Image> image = input.read();
    // Through the recipe runner, so noise calls take turns on the process's generator
    // with every other chain, each from its own start.
    recipe::StepCall call{step.name, pairs, {}, options.randomState};
    recipe::ChainState chain;
    const auto begin = std::chrono::steady_clock::now();
    recipe::StepResult result = recipe::runStep(*image, call, chain);
    lastCoreMilliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    return result;
}

} // namespace ivra::python
