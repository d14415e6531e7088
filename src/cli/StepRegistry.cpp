#include "Step.h"
#include "Steps.h"

namespace ivra::cli {

const std::vector<StepDefinition>& allSteps()
{
    static const std::vector<StepDefinition> steps = {
        {"hsv", stepHsv},
        {"rgb", stepRgb},
        {"split", stepSplit},
        {"csc", stepCsc},
    };
    return steps;
}

} // namespace ivra::cli
