#include "Step.h"
#include "Steps.h"

#include "image/ImageRGB.h"
#include "segment/OPRecursiveHistogramSplitting.h"

#include <string>

namespace ivra::cli {

// rhs:gt=,min-peak=,min-region= — recursive histogram splitting of a colour picture,
// with the dialog's defaults and ranges. Results are numbered like the dialog's,
// from 1 for the first run of the process.
StepResult stepRhs(const DataObject& input, StepArgs& args)
{
    const auto* image = dynamic_cast<const ImageRGB*>(&input);
    if (input.type() != TypeImageRGB || !image)
        refuseInput(args.step(), input);

    const RHSParameters defaults;
    RHSParameters p;
    p.gtWindow = args.integer("gt", defaults.gtWindow, RHSParameters::minValue, RHSParameters::maxValue);
    p.minSplitPeak = args.integer("min-peak", defaults.minSplitPeak, RHSParameters::minValue, RHSParameters::maxValue);
    p.minRegionSize =
        args.integer("min-region", defaults.minRegionSize, RHSParameters::minValue, RHSParameters::maxValue);
    args.finish();

    auto result = OPRecursiveHistogramSplitting().execute(*image, p);

    static int runCounter = 1;
    std::string name = "(";
    name += std::to_string(runCounter);
    name += ") RHS [GT=";
    name += std::to_string(p.gtWindow);
    name += ", MinSplitPeak=";
    name += std::to_string(p.minSplitPeak);
    name += ", MinRegionSize=";
    name += std::to_string(p.minRegionSize);
    name += "]";
    ++runCounter;
    return {std::move(result), std::move(name)};
}

} // namespace ivra::cli
