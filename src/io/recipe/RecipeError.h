#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>

namespace ivra::recipe {

// A step or recipe that cannot run: an unknown step or key, a value out of range
// or of the wrong type, a file that is no recipe. The message names the step and key.
class RecipeError : public std::runtime_error {
public:
    explicit RecipeError(const std::string& message) : std::runtime_error(message) {}
};

// One step as written on a command line or in a recipe: its name, its values as
// text by key, and, for a step that draws random numbers, the generator state it
// starts from (none: it continues where the previous noise step left off).
struct StepCall {
    std::string name;
    std::map<std::string, std::string> values;
    std::set<std::string> textKeys{}; // keys a recipe gave as JSON strings: never integers
    std::optional<std::uint32_t> randomState{};
};

} // namespace ivra::recipe
