#include "Step.h"
#include "Steps.h"

namespace ivra::cli {

const std::vector<StepDefinition>& allSteps()
{
    static const std::vector<StepDefinition> steps = {
        {"split", stepSplit},
        {"hsv", stepHsv},
        {"rgb", stepRgb},
        {"histogram", stepHistogram},
        {"color-histogram", stepColorHistogram},
        {"gauss", stepGauss},
        {"salt-pepper", stepSaltPepper},
        {"kuwahara", stepKuwahara},
        {"snn", stepSnn},
        {"csc", stepCsc},
        {"rhs", stepRhs},
        {"smg", stepSplitAndMerge},
        {"region-growing", stepRegionGrowing},
    };
    return steps;
}

} // namespace ivra::cli
