#include "Step.h"

#include <charconv>
#include <cmath>
#include <sstream>

namespace ivra::cli {

StepArgs::StepArgs(std::string step, std::map<std::string, std::string> values)
    : step_(std::move(step)), values_(std::move(values))
{
}

namespace {

std::string formatReal(double x)
{
    std::ostringstream out;
    out << x;
    return out.str();
}

} // namespace

int StepArgs::integer(const std::string& key, int defaultValue, int min, int max)
{
    const auto it = values_.find(key);
    if (it == values_.end())
        return defaultValue;
    const std::string text = it->second;
    values_.erase(it);
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < min || value > max)
        throw CliError("step '" + step_ + "': " + key + " must be an integer in " + std::to_string(min) + ".." +
                       std::to_string(max) + ", not '" + text + "'");
    return value;
}

double StepArgs::real(const std::string& key, double defaultValue, double min, double max)
{
    const auto it = values_.find(key);
    if (it == values_.end())
        return defaultValue;
    const std::string text = it->second;
    values_.erase(it);
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value) || value < min || value > max)
        throw CliError("step '" + step_ + "': " + key + " must be a number in " + formatReal(min) + ".." +
                       formatReal(max) + ", not '" + text + "'");
    return value;
}

std::string StepArgs::choice(const std::string& key, const std::string& defaultValue,
                             const std::vector<std::string>& allowed)
{
    const auto it = values_.find(key);
    if (it == values_.end())
        return defaultValue;
    const std::string text = it->second;
    values_.erase(it);
    for (const std::string& a : allowed)
        if (a == text)
            return text;
    std::string list;
    for (const std::string& a : allowed)
        list += (list.empty() ? "" : "|") + a;
    throw CliError("step '" + step_ + "': " + key + " must be one of " + list + ", not '" + text + "'");
}

void StepArgs::finish() const
{
    if (!values_.empty())
        throw CliError("step '" + step_ + "': unknown key '" + values_.begin()->first + "'");
}

std::string typeName(int typeCode)
{
    switch (typeCode) {
    case TypeImageGray: return "gray image (type 2)";
    case TypeImageRGB: return "RGB image (type 3)";
    case TypeImageHSV: return "HSV image (type 4)";
    case TypeHistogramGray: return "gray histogram (type 6)";
    case TypeHistogramHSV: return "HSV histogram (type 7)";
    case TypeHistogramRGB: return "RGB histogram (type 8)";
    default: return "object of type " + std::to_string(typeCode);
    }
}

void refuseInput(const std::string& step, const DataObject& input)
{
    throw CliError("step '" + step + "' does not accept a " + typeName(input.type()));
}

} // namespace ivra::cli
