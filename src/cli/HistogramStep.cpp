#include "Step.h"
#include "Steps.h"

#include "ops/OPHistogram.h"

namespace ivra::cli {

// histogram:bins=16|32|64|128|256 — the gray-level histogram dialog: gray
// pictures only, "256 Levels" selected at first, result named "Histogram".
StepResult stepHistogram(const DataObject& input, StepArgs& args)
{
    if (input.type() != TypeImageGray)
        refuseInput(args.step(), input);
    const int bins = std::stoi(args.choice("bins", "256", {"16", "32", "64", "128", "256"}));
    args.finish();
    return {OPHistogram::execute(static_cast<const ImageGray&>(input), bins), "Histogram", {}};
}

} // namespace ivra::cli
