#pragma once

#include <charconv>
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
// text by key, for a step that draws random numbers the generator state it starts
// from (none: it continues where the previous noise step left off), and which of
// the step's results it keeps (key "result", 1 the first; none: all of them, as
// the per-channel colour histogram gives three).
struct StepCall {
    std::string name;
    std::map<std::string, std::string> values;
    std::set<std::string> textKeys{}; // keys a recipe gave as JSON strings: never integers
    std::optional<std::uint32_t> randomState{};
    std::optional<int> result{};
};

// The N of a step's "result" key: a whole number of at least 1.
inline int resultNumber(const std::string& step, const std::string& text)
{
    int n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || n < 1)
        throw RecipeError("step '" + step + "': result must be a whole number of at least 1, not '" + text + "'");
    return n;
}

} // namespace ivra::recipe
