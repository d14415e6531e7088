#include "Recipe.h"

#include "RecipeRunner.h"

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <limits>

namespace ivra::recipe {

namespace {

using Json = nlohmann::ordered_json;

std::uint32_t randomStateOf(const std::string& step, const Json& value)
{
    if (!value.is_number_integer() || value.get<std::int64_t>() < 0 ||
        value.get<std::int64_t>() > std::numeric_limits<std::uint32_t>::max())
        throw RecipeError("step '" + step + "': random_state must be an integer in 0..4294967295, not " +
                          value.dump());
    return static_cast<std::uint32_t>(value.get<std::int64_t>());
}

StepCall readStep(const Json& entry, std::size_t index)
{
    const std::string where = "recipe step " + std::to_string(index + 1);
    if (!entry.is_object())
        throw RecipeError(where + " is not a JSON object");
    if (!entry.contains("step") || !entry["step"].is_string())
        throw RecipeError(where + " has no \"step\" name");
    StepCall call{entry["step"].get<std::string>(), {}};
    const StepDefinition* step = findStep(call.name);
    if (!step)
        throw RecipeError(where + ": unknown step '" + call.name + "'");
    for (const auto& [key, value] : entry.items()) {
        if (key == "step")
            continue;
        if (key == "random_state" && step->random)
            call.randomState = randomStateOf(call.name, value);
        else if (key == "result")
            call.result = resultNumber(call.name, value.is_number_integer() ? value.dump() : "");
        else if (value.is_string()) {
            call.values[key] = value.get<std::string>();
            call.textKeys.insert(key);
        } else if (value.is_number_integer())
            call.values[key] = value.dump();
        else
            throw RecipeError("step '" + call.name + "': " + key + " must be an integer or a word, not " +
                              value.dump());
    }
    step->check(call);
    return call;
}

} // namespace

std::vector<StepCall> readRecipe(const std::string& text)
{
    const Json doc = Json::parse(text, nullptr, false);
    if (doc.is_discarded() || !doc.is_object())
        throw RecipeError("not a recipe: the text is no JSON object");
    if (!doc.contains("format") || doc["format"] != recipeFormat)
        throw RecipeError("not a recipe: format must be \"" + std::string(recipeFormat) + "\"");
    if (!doc.contains("version") || doc["version"] != recipeVersion)
        throw RecipeError("unsupported recipe version " + (doc.contains("version") ? doc["version"].dump() : "(none)") +
                          " (this program reads version " + std::to_string(recipeVersion) + ")");
    if (!doc.contains("steps") || !doc["steps"].is_array())
        throw RecipeError("not a recipe: \"steps\" must be a list");
    for (const auto& [key, value] : doc.items())
        if (key != "format" && key != "version" && key != "steps")
            throw RecipeError("recipe: unknown key '" + key + "'");
    std::vector<StepCall> calls;
    for (std::size_t i = 0; i < doc["steps"].size(); ++i)
        calls.push_back(readStep(doc["steps"][i], i));
    return calls;
}

StepCall readRecipeStep(const Json& step)
{
    return readStep(step, 0);
}

std::string recipeText(const Json& steps)
{
    const Json doc = {{"format", recipeFormat}, {"version", recipeVersion}, {"steps", steps}};
    return oneLineJson(doc);
}

Json recordSteps(const std::vector<StepCall>& calls, int inputType)
{
    Json steps = Json::array();
    if (calls.empty())
        return steps;
    if (inputType == 0) {
        const std::vector<int>& first = findStep(calls[0].name)->accepts;
        inputType = first[0];
        for (const int type : first)
            inputType = type == TypeImageRGB ? type : inputType;
    }
    StepResult blank;
    if (inputType == TypeImageGray)
        blank.data = std::make_unique<ImageGray>(2, 2);
    else if (inputType == TypeImageHSV)
        blank.data = std::make_unique<ImageHSV>(2, 2);
    else
        blank.data = std::make_unique<ImageRGB>(2, 2);
    runSteps(std::move(blank), calls, nullptr, &steps);
    // A noise step after the first continues from where the one before ended,
    // which depends on the picture: it records a state only when it was given one.
    bool drawn = false;
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (!findStep(calls[i].name)->random)
            continue;
        if (drawn && !calls[i].randomState)
            steps[i].erase("random_state");
        drawn = true;
    }
    return steps;
}

std::string oneLineJson(const Json& value)
{
    // A name that is no valid UTF-8 (a file name in another encoding) is written
    // with replacement characters rather than refused.
    const auto dump = [](const Json& v) { return v.dump(-1, ' ', false, Json::error_handler_t::replace); };
    std::string text;
    if (value.is_object()) {
        for (const auto& [key, item] : value.items())
            text += (text.empty() ? "" : ", ") + dump(Json(key)) + ": " + oneLineJson(item);
        return "{" + text + "}";
    }
    if (value.is_array()) {
        for (const Json& item : value)
            text += (text.empty() ? "" : ", ") + oneLineJson(item);
        return "[" + text + "]";
    }
    return dump(value);
}

} // namespace ivra::recipe
