#pragma once

#include <map>
#include <string>

namespace ivra::recipe {

// The operators' run counters of one ivra-cli run: each counted step numbers its
// results (1), (2), ... as its dialog does in a fresh workbench.
class StepCounters {
public:
    // The number for this run of the step; the next run of it gets one more.
    int next(const std::string& step) { return ++counts_[step]; }

private:
    std::map<std::string, int> counts_;
};

} // namespace ivra::recipe
