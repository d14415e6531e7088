// ivra-cli: runs the workbench's operators headless.
//   ivra-cli INPUT [STEP...] -o OUTPUT [--labels LABELS] [--json] [--hsv-input] [--threads N]
#include "CliError.h"
#include "InputLoader.h"
#include "JsonSummary.h"
#include "Options.h"
#include "OutputWriter.h"
#include "RunCounters.h"
#include "StepCatalogue.h"

#include "util/MessageSink.h"
#include "util/Threads.h"

#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <vector>

namespace ivra::cli {
namespace {

// Runs the steps in order, each on the result of the one before; a step's
// parameters are read when its input is known, before it starts.
StepResult runSteps(StepResult result, std::vector<StepCall> calls, std::vector<StepTiming>& timings)
{
    RunCounters counters;
    for (StepCall& call : calls) {
        const StepDefinition& step = *findStep(call.name);
        StepArgs args(call.name, std::move(call.values), result.data->type());
        const auto start = std::chrono::steady_clock::now();
        StepResult next = step.run(*result.data, args, counters);
        const auto end = std::chrono::steady_clock::now();
        timings.push_back({call.name, std::chrono::duration<double, std::milli>(end - start).count()});
        result = std::move(next);
    }
    return result;
}

int run(int argc, char** argv)
{
    const Options o = parseArguments(argc, argv);
    if (o.threads > 0)
        setDefaultThreadCount(o.threads);
    checkOutputNames(o);
    std::vector<StepCall> calls = parseSteps(o.steps);
    OutputFiles outputs(o);

    StepResult input;
    input.data = loadInput(o);
    input.name = QFileInfo(qPath(o.input)).fileName().toStdString();

    std::vector<StepTiming> timings;
    const StepResult result = runSteps(std::move(input), std::move(calls), timings);
    outputs.write(result);
    if (o.json)
        std::cout << jsonSummary(result, timings, threadCount()) << std::endl;
    return 0;
}

void reportError(const std::string& message)
{
    std::string line = message;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::cerr << "ivra-cli: " << line << std::endl;
}

} // namespace
} // namespace ivra::cli

int main(int argc, char** argv)
{
    // Diagnostic lines of the operators go to standard error; standard output
    // carries only the JSON summary.
    ivra::MessageSink::install(std::make_unique<ivra::StreamMessageSink>(stderr, stderr));
    // The toolkit's own warnings (a decoder complaining about a broken file) are
    // dropped: a failure is reported once, as the one error line below.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            std::cout << ivra::cli::helpText();
            return 0;
        }
        if (a == "--version") {
            std::cout << ivra::cli::versionText();
            return 0;
        }
    }
    try {
        return ivra::cli::run(argc, argv);
    } catch (const std::exception& e) {
        ivra::cli::reportError(e.what());
    }
    return 2;
}
