#pragma once

#include "RecipeError.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace ivra::recipe {

// A recipe file: {"format": "ivra-recipe", "version": 1, "steps": [{"step": "hsv"},
// {"step": "csc", "space": "rgb", "threshold": 25}]}. Step names and keys are
// ivra-cli's; a written recipe lists every parameter, defaults too, and a noise
// step the generator state it started from ("random_state").
inline constexpr const char* recipeFormat = "ivra-recipe";
inline constexpr int recipeVersion = 1;

// The steps of a recipe text. Throws RecipeError for text that is no JSON object,
// an unknown format or version, an unknown step or key, a value of the wrong type
// or out of range; the message names the step and key.
std::vector<StepCall> readRecipe(const std::string& text);

// One step of a recipe document, checked as readRecipe() checks it.
StepCall readRecipeStep(const nlohmann::ordered_json& step);

// The recipe document of recorded steps (as runStep() records them), on one line.
std::string recipeText(const nlohmann::ordered_json& steps);

// The steps with every parameter filled in, as they run on an input of type
// `inputType` (0: a colour picture, or what the first step takes); found by
// running them on a tiny blank picture. A noise step records the state it starts
// from when that is known without the picture (the first one, or one given a
// state). Throws RecipeError like runStep().
nlohmann::ordered_json recordSteps(const std::vector<StepCall>& calls, int inputType = 0);

// A JSON value on one line with a space after each ':' and ',', keys in their order.
std::string oneLineJson(const nlohmann::ordered_json& value);

} // namespace ivra::recipe
