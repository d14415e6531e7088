#include "InputRun.h"

#include "InputLoader.h"
#include "JsonSummary.h"
#include "OutputWriter.h"

#include "recipe/RecipeRunner.h"
#include "util/Threads.h"

#include <QFileInfo>

#include <chrono>

namespace ivra::cli {

namespace {

double msSince(std::chrono::steady_clock::time_point& start)
{
    const auto now = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(now - start).count();
    start = now;
    return ms;
}

} // namespace

std::string runInput(const Options& o, const std::vector<StepCall>& calls, bool batch, InputTimes& times)
{
    auto clock = std::chrono::steady_clock::now();
    OutputFiles outputs(o);
    recipe::StepResult input;
    input.data = loadInput(o);
    input.name = QFileInfo(qPath(o.input)).fileName().toStdString();
    times.load = msSince(clock);

    std::vector<recipe::StepTiming> timings;
    const recipe::StepResult result = recipe::runSteps(std::move(input), calls, &timings);
    times.steps = msSince(clock);
    outputs.write(result);
    times.save = msSince(clock);
    if (!o.json)
        return {};
    if (!batch)
        return jsonSummary(result, timings, threadCount());
    return jsonSummary(result, timings, threadCount(), {{"input", o.input}},
                       {{"load_ms", roundedMs(times.load)}, {"save_ms", roundedMs(times.save)}});
}

} // namespace ivra::cli
