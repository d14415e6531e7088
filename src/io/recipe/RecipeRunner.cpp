#include "RecipeRunner.h"

#include "util/RandomGenerator.h"

#include <chrono>
#include <mutex>

namespace ivra::recipe {

namespace {

std::mutex& generatorTurn()
{
    static std::mutex turn;
    return turn;
}

// The n-th of a step's results (1: the first) alone.
StepResult keepResult(StepResult all, int n, const std::string& step)
{
    const std::size_t count = 1 + all.more.size();
    if (static_cast<std::size_t>(n) > count)
        throw RecipeError("step '" + step + "': result=" + std::to_string(n) + ", but the step gives " +
                          std::to_string(count) + (count == 1 ? " result" : " results"));
    if (n == 1) {
        all.more.clear();
        return all;
    }
    return std::move(all.more[static_cast<std::size_t>(n) - 2]);
}

} // namespace

StepResult runStep(const DataObject& input, const StepCall& call, ChainState& chain, nlohmann::ordered_json* record)
{
    const StepDefinition* step = findStep(call.name);
    if (!step)
        throw RecipeError("unknown step '" + call.name + "'");
    if (call.randomState && !step->random)
        throw RecipeError("step '" + call.name + "': unknown key 'random_state'");
    nlohmann::ordered_json recorded = {{"step", call.name}};
    StepArgs args(call.name, call.values, input.type(), call.textKeys);
    StepResult result;
    if (!step->random) {
        result = step->run(input, args, chain.counters, &recorded);
    } else {
        const std::uint32_t start = call.randomState.value_or(chain.randomState);
        const std::lock_guard<std::mutex> turn(generatorTurn());
        RandomGenerator& generator = RandomGenerator::instance();
        const std::uint32_t outside = generator.state();
        generator.setState(start);
        try {
            result = step->run(input, args, chain.counters, &recorded);
        } catch (...) {
            generator.setState(outside);
            throw;
        }
        chain.randomState = generator.state();
        generator.setState(outside);
        recorded["random_state"] = start;
    }
    if (call.result) {
        result = keepResult(std::move(result), *call.result, call.name);
        recorded["result"] = *call.result;
    }
    if (record)
        record->push_back(std::move(recorded));
    return result;
}

StepResult runSteps(StepResult input, const std::vector<StepCall>& calls, std::vector<StepTiming>* timings,
                    nlohmann::ordered_json* record)
{
    ChainState chain;
    StepResult result = std::move(input);
    for (const StepCall& call : calls) {
        const auto start = std::chrono::steady_clock::now();
        StepResult next = runStep(*result.data, call, chain, record);
        const auto end = std::chrono::steady_clock::now();
        if (timings)
            timings->push_back({call.name, std::chrono::duration<double, std::milli>(end - start).count()});
        result = std::move(next);
    }
    return result;
}

} // namespace ivra::recipe
