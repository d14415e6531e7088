#include "Step.h"
#include "Steps.h"

namespace ivra::cli {

const std::vector<StepDefinition>& allSteps()
{
    static const std::vector<StepDefinition> steps = {
        {"split", stepSplit},
        {"hsv", stepHsv},
        {"rgb", stepRgb},
        {"rhs", stepRhs},
    };
    return steps;
}

} // namespace ivra::cli
