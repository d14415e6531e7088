#include "OperatorCall.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace ivra::python {

namespace {

// A help line of the step table with its keys written as keywords:
// "on RGB image (type 3): min-peak=..." -> "on RGB image (type 3): min_peak=...".
std::string withKeywords(std::string line)
{
    std::size_t start = line.find(": ");
    while (start != std::string::npos) {
        start += 2;
        const std::size_t eq = line.find('=', start);
        if (eq == std::string::npos)
            break;
        line.replace(start, eq - start, keywordOf(line.substr(start, eq - start)));
        start = line.find(", ", eq);
    }
    return line;
}

} // namespace

std::string docstring(const OperatorBinding& binding, const recipe::StepDefinition& step)
{
    std::string text = std::string(binding.summary) + "\n\nimage: " + binding.input + "\n\n";
    // "on RGB image (type 3): keys" lines, those with the same keys joined as ivra-cli --help joins them.
    std::vector<std::pair<std::string, std::string>> groups; // input types, keys
    for (const std::string& line : step.help()) {
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos)
            continue;
        const std::string types = line.substr(0, colon), keys = withKeywords(line).substr(colon + 2);
        auto same = std::find_if(groups.begin(), groups.end(), [&](const auto& g) { return g.second == keys; });
        if (same == groups.end())
            groups.emplace_back(types, keys);
        else
            same->first += " or " + types.substr(3);
    }
    std::string keys;
    for (const auto& [types, list] : groups)
        keys += "    " + types + ": " + list + "\n";
    if (groups.empty() || groups.front().second.empty())
        text += "No parameters.\n";
    else
        text += "Keyword parameters (range, default), as ivra-cli's step '" + step.name + "' takes them:\n" + keys;
    text += "threads: None (all cores) or the number of threads to use.\n";
    if (binding.noise)
        text += "random_state: where the random generator starts, 0..4294967295 (default 1); the same start "
                "gives the same noise.\n";
    text += "\nReturns " + std::string(binding.returns) +
            "\nRaises TypeError or ValueError, with ivra-cli's message, for a bad argument; the input is never "
            "modified.";
    return text;
}

} // namespace ivra::python
