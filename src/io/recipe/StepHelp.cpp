#include "StepHelp.h"

namespace ivra::recipe {

std::string describeEntries(const std::vector<StepHelp::Entry>& entries)
{
    std::string text;
    for (const StepHelp::Entry& e : entries)
        text += (text.empty() ? "" : ", ") + e.key + "=" + e.range + " (default " + e.value + ")";
    return text;
}

} // namespace ivra::recipe
