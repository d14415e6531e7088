#pragma once

#include "recipe/StepRecord.h"

#include <nlohmann/json.hpp>

#include <QString>

#include <cstdint>

namespace ivra {

// How a tree entry was made: the picture file it comes from and the chain of
// steps, each with all its parameters (and a noise step's generator state), in
// ivra-cli's words. A loaded picture has its file and no steps; an entry whose
// source is unknown has no file.
struct EntryRecipe {
    QString source;
    nlohmann::ordered_json steps = nlohmann::ordered_json::array();

    // The recipe of a result of this entry made by `step`.
    EntryRecipe then(nlohmann::ordered_json step) const;
    // The same for the n-th (1: the first) of several results of the last step:
    // its record says which ("result"), so the command and recipe give that one alone.
    EntryRecipe keeping(int n) const;
};

// Adds "random_state" to the record of a step that draws random numbers.
void addRandomState(nlohmann::ordered_json& record, std::uint32_t randomState);

// One recorded step: the step's name, every field of the operator's parameters
// for an input of type `inputType`, and, for a noise step, the generator state
// it started from.
template <class Params>
nlohmann::ordered_json recordStep(const char* step, Params params, int inputType, std::uint32_t randomState)
{
    nlohmann::ordered_json record = {{"step", step}};
    recipe::StepRecord writer(inputType, record);
    params.visit(writer);
    addRandomState(record, randomState);
    return record;
}

// The ivra-cli command line that makes the entry again from its source file,
// with the result written to `output`; arguments quoted for a POSIX shell.
QString commandLine(const EntryRecipe& recipe, const QString& output);

// The recipe file's text.
QString recipeDocument(const EntryRecipe& recipe);

} // namespace ivra
