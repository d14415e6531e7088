#include "StepArgs.h"

#include <charconv>

namespace ivra::recipe {

StepArgs::StepArgs(std::string step, std::map<std::string, std::string> values, int inputType,
                   std::set<std::string> textKeys)
    : step_(std::move(step)), values_(std::move(values)), textKeys_(std::move(textKeys)), inputType_(inputType)
{
}

std::optional<std::string> StepArgs::take(const char* key)
{
    const auto it = values_.find(key);
    if (it == values_.end())
        return std::nullopt;
    std::string text = std::move(it->second);
    values_.erase(it);
    return text;
}

void StepArgs::integer(const char* key, int& value, int min, int max)
{
    const auto text = take(key);
    if (!text)
        return;
    const std::string range = std::to_string(min) + ".." + std::to_string(max);
    if (textKeys_.count(key))
        throw RecipeError("step '" + step_ + "': " + key + " must be an integer in " + range + ", not the text '" +
                          *text + "'");
    int parsed = 0;
    const char* end = text->data() + text->size();
    const auto [ptr, ec] = std::from_chars(text->data(), end, parsed);
    if (ec != std::errc() || ptr != end || parsed < min || parsed > max)
        throw RecipeError("step '" + step_ + "': " + key + " must be an integer in " + range + ", not '" + *text + "'");
    value = parsed;
}

void StepArgs::finish() const
{
    if (!values_.empty())
        throw RecipeError("step '" + step_ + "': unknown key '" + values_.begin()->first + "'");
}

} // namespace ivra::recipe
