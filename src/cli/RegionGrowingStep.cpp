#include "Step.h"
#include "Steps.h"

#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "segment/OPRegionGrowing.h"

namespace ivra::cli {

// region-growing:span=N (0..255, default 50), on gray and RGB pictures.
StepResult stepRegionGrowing(const DataObject& input, StepArgs& args)
{
    if (input.type() != TypeImageGray && input.type() != TypeImageRGB)
        refuseInput(args.step(), input);
    const int span =
        args.integer("span", OPRegionGrowing::defaultSpan, OPRegionGrowing::minSpan, OPRegionGrowing::maxSpan);
    args.finish();

    const OPRegionGrowing op;
    std::unique_ptr<DataObject> result;
    if (input.type() == TypeImageGray)
        result = op.execute(static_cast<const ImageGray&>(input), span);
    else
        result = op.execute(static_cast<const ImageRGB&>(input), span);
    return {std::move(result), "Region Growing"};
}

} // namespace ivra::cli
