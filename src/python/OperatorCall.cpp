#include "OperatorCall.h"

#include "RecycledMemory.h"
#include "PictureOutput.h"

#include "recipe/RecipeRunner.h"

#include "util/RandomGenerator.h"
#include "util/Threads.h"

#include <chrono>
#include <ctime>
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
thread_local double lastCoreCpuMilliseconds = 0;

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) * 1e-6;
}

} // namespace

double lastCoreMs() { return lastCoreMilliseconds; }
double lastCoreCpuMs() { return lastCoreCpuMilliseconds; }

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

ConvertedResult runStep(const recipe::StepDefinition& step, const PictureInput& input,
                        const std::map<std::string, std::string>& pairs, const CallOptions& options)
{
    const ThreadLimit limit(options.threads);
    std::unique_ptr<Image> image = input.read();
    // Through the recipe runner, so noise calls take turns on the process's generator
    // with every other chain, each from its own start.
    recipe::StepCall call{step.name, pairs, {}, options.randomState};
    recipe::ChainState chain;
    const auto begin = std::chrono::steady_clock::now();
    const double cpuBegin = threadCpuMs();
    recipe::StepResult result = recipe::runStep(*image, call, chain);
    lastCoreCpuMilliseconds = threadCpuMs() - cpuBegin;
    lastCoreMilliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count();
    recycleImage(std::move(image));
    return convertResult(std::move(result), input.type());
}

} // namespace ivra::python
