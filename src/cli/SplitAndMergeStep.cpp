#include "Steps.h"

#include "image/ImageRGB.h"
#include "segment/OPSplitAndMerge.h"

#include <string>

namespace ivra::cli {

// smg:split=,merge=,group= — the Split-And-Merge dialog on an RGB picture (or a
// segmentation result, which is one).
StepResult stepSplitAndMerge(const DataObject& input, StepArgs& args)
{
    // Counts results as the dialog does in a fresh session: (1), (2), ...
    static int runCounter = 1;

    if (input.type() != TypeImageRGB)
        refuseInput(args.step(), input);
    const int split = args.integer("split", OPSplitAndMerge::defaultSplitThreshold, 0, OPSplitAndMerge::maxThreshold);
    const int merge = args.integer("merge", OPSplitAndMerge::defaultMergeThreshold, 0, OPSplitAndMerge::maxThreshold);
    const int group = args.integer("group", OPSplitAndMerge::defaultGroupThreshold, 0, OPSplitAndMerge::maxThreshold);
    args.finish();

    StepResult result;
    result.data = OPSplitAndMerge().execute(static_cast<const ImageRGB&>(input), split, merge, group);
    result.name.append("(").append(std::to_string(runCounter)).append(") SMG [Split=").append(std::to_string(split));
    result.name.append(", Merge=").append(std::to_string(merge)).append(", Group=").append(std::to_string(group));
    result.name.append("]");
    ++runCounter;
    return result;
}

} // namespace ivra::cli
