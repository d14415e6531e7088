#pragma once

#include "StepCounters.h"
#include "StepArgs.h"
#include "StepHelp.h"
#include "StepRecord.h"

#include "image/DataObject.h"
#include "image/Image.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ivra::recipe {

// What a step hands on: the new object and the name the workbench gives it.
// A step that yields three histograms at once (the per-channel colour histogram)
// puts the first in data/name and the second and third, in channel order, in
// `more`. The next step, if any, takes `data`.
struct StepResult {
    std::unique_ptr<DataObject> data;
    std::string name;
    std::vector<StepResult> more{};
};

// One step of the command line: an operator with its parameter struct.
struct StepDefinition {
    std::string name;
    std::vector<int> accepts; // type codes the operator's dialog lists
    bool random = false;      // draws from the process-wide random generator
    // Reads the parameters for the input (throws RecipeError for an input type not in
    // `accepts`, an unknown key or a bad value, before any work), writes them all
    // into `record` when one is given, runs the operator and names the results.
    std::function<StepResult(const DataObject& input, StepArgs& args, StepCounters& counters,
                             nlohmann::ordered_json* record)>
        run;
    // Throws the RecipeError of the call's keys and values when no accepted input type takes them.
    std::function<void(const StepCall& call)> check;
    // The keys with their ranges and defaults, one line per accepted type where they differ.
    std::function<std::vector<std::string>()> help;
};

// All steps, in the Operator menu's order.
const std::vector<StepDefinition>& allSteps();
const StepDefinition* findStep(const std::string& name);

// The parameters an operator starts from for an input of this type: its
// dialog's initial values.
template <class Params>
Params defaultParams(int inputType)
{
    if constexpr (requires { Params::defaultsFor(inputType); })
        return Params::defaultsFor(inputType);
    else
        return Params{};
}

// Builds a step from an operator's parameter struct. `execute(image, params)`
// returns the operator's results (one object or a vector of them);
// `names(run, inputType, params)` their names; `counted` steps number their runs.
template <class Params, class Execute, class Names>
StepDefinition makeStep(std::string name, std::vector<int> accepts, bool counted, Execute execute, Names names)
{
    StepDefinition d;
    d.name = name;
    d.accepts = accepts;
    d.run = [name, accepts, counted, execute, names](const DataObject& input, StepArgs& args,
                                                      StepCounters& counters, nlohmann::ordered_json* record) {
        bool accepted = false;
        for (const int type : accepts)
            accepted = accepted || type == input.type();
        if (!accepted)
            throw RecipeError("step '" + name + "' does not accept a " + typeName(input.type()));
        Params params = defaultParams<Params>(input.type());
        params.visit(args);
        args.finish();
        if (record) {
            StepRecord writer(input.type(), *record);
            params.visit(writer);
        }
        auto objects = execute(static_cast<const Image&>(input), params);
        const std::vector<std::string> resultNames = names(counted ? counters.next(name) : 0, input.type(), params);
        StepResult result;
        if constexpr (requires { objects.size(); }) {
            result = {std::move(objects[0]), resultNames[0], {}};
            for (std::size_t i = 1; i < objects.size(); ++i)
                result.more.push_back({std::move(objects[i]), resultNames[i], {}});
        } else {
            result = {std::move(objects), resultNames[0], {}};
        }
        return result;
    };
    d.check = [accepts](const StepCall& call) {
        for (std::size_t i = 0; i < accepts.size(); ++i) {
            try {
                Params params = defaultParams<Params>(accepts[i]);
                StepArgs args(call.name, call.values, accepts[i], call.textKeys);
                params.visit(args);
                args.finish();
                return;
            } catch (const RecipeError&) {
                if (i + 1 == accepts.size())
                    throw;
            }
        }
    };
    d.help = [accepts]() {
        std::vector<std::string> lines;
        for (const int type : accepts) {
            Params params = defaultParams<Params>(type);
            StepHelp first(type, -1);
            params.visit(first);
            std::vector<StepHelp::Entry> entries = first.entries();
            for (int i = 0; i < first.firstChoiceWords(); ++i) {
                Params forced = defaultParams<Params>(type);
                StepHelp more(type, i);
                forced.visit(more);
                for (const StepHelp::Entry& e : more.entries()) {
                    bool known = false;
                    for (const StepHelp::Entry& k : entries)
                        known = known || k.key == e.key;
                    if (!known)
                        entries.push_back(e);
                }
            }
            lines.push_back("on " + typeName(type) + ": " + describeEntries(entries));
        }
        return lines;
    };
    return d;
}

} // namespace ivra::recipe
