#include "StepCatalogue.h"

#include "csc/OPCSC.h"
#include "ops/OPColorHistogram.h"
#include "ops/OPColorTransform.h"
#include "ops/OPGauss.h"
#include "ops/OPHistogram.h"
#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"
#include "ops/OPSaltAndPepper.h"
#include "ops/OPSplit.h"
#include "segment/OPRecursiveHistogramSplitting.h"
#include "segment/OPRegionGrowing.h"
#include "segment/OPSplitAndMerge.h"

namespace ivra::recipe {

namespace {

using Names = std::vector<std::string>;

// The colour transform's two directions are two steps without keys.
StepDefinition colorTransformStep(const char* name, ColorTransformParams::Target target, std::vector<int> accepts)
{
    return makeStep<ColorTransformParams>(
        name, std::move(accepts), false,
        [target](const Image& image, ColorTransformParams p) {
            p.target = target;
            return OPColorTransform().execute(image, p);
        },
        [target](int, int, ColorTransformParams p) {
            p.target = target;
            return Names{OPColorTransform::resultName(p)};
        });
}

std::vector<StepDefinition> buildSteps()
{
    const std::vector<int> rgb{TypeImageRGB};
    const std::vector<int> grayOrRgb{TypeImageRGB, TypeImageGray};
    std::vector<StepDefinition> steps;
    steps.push_back(makeStep<SplitParams>(
        "split", {TypeImageRGB, TypeImageHSV}, false,
        [](const Image& image, const SplitParams& p) { return OPSplit().execute(image, p); },
        [](int, int type, const SplitParams& p) { return Names{OPSplit::resultName(type, p)}; }));
    steps.push_back(colorTransformStep("hsv", ColorTransformParams::Target::HSV, rgb));
    steps.push_back(colorTransformStep("rgb", ColorTransformParams::Target::RGB, {TypeImageHSV, TypeImageGray}));
    steps.push_back(makeStep<HistogramParams>(
        "histogram", {TypeImageGray}, false,
        [](const Image& image, const HistogramParams& p) { return OPHistogram::execute(image, p); },
        [](int, int, const HistogramParams& p) { return Names{OPHistogram::resultName(p)}; }));
    steps.push_back(makeStep<ColorHistogramParams>(
        "color-histogram", {TypeImageRGB, TypeImageHSV}, false,
        [](const Image& image, const ColorHistogramParams& p) { return OPColorHistogram::execute(image, p); },
        [](int, int type, const ColorHistogramParams& p) { return OPColorHistogram::resultNames(type, p); }));
    steps.push_back(makeStep<GaussParams>(
        "gauss", grayOrRgb, false, [](const Image& image, const GaussParams& p) { return OPGauss().execute(image, p); },
        [](int, int, const GaussParams& p) { return Names{OPGauss::resultName(p)}; }));
    steps.back().random = true;
    steps.push_back(makeStep<SaltAndPepperParams>(
        "salt-pepper", grayOrRgb, true,
        [](const Image& image, const SaltAndPepperParams& p) { return OPSaltAndPepper().execute(image, p); },
        [](int run, int, const SaltAndPepperParams& p) { return Names{OPSaltAndPepper::resultName(run, p)}; }));
    steps.back().random = true;
    steps.push_back(makeStep<KuwaharaNagaoParams>(
        "kuwahara", rgb, true,
        [](const Image& image, const KuwaharaNagaoParams& p) { return OPKuwaharaNagao().execute(image, p); },
        [](int run, int, const KuwaharaNagaoParams& p) { return Names{OPKuwaharaNagao::resultName(run, p)}; }));
    steps.push_back(makeStep<SnnParams>(
        "snn", rgb, true, [](const Image& image, const SnnParams& p) { return OPSNN().execute(image, p); },
        [](int run, int, const SnnParams& p) { return Names{OPSNN::resultName(run, p)}; }));
    // A full element store still gives a (black) result; its message has gone to
    // standard error through the message sink.
    steps.push_back(makeStep<CscParams>(
        "csc", rgb, true, [](const Image& image, const CscParams& p) { return OPCSC().execute(image, p).image; },
        [](int run, int, const CscParams& p) { return Names{OPCSC::resultName(run, p)}; }));
    steps.push_back(makeStep<RhsParams>(
        "rhs", rgb, true,
        [](const Image& image, const RhsParams& p) { return OPRecursiveHistogramSplitting().execute(image, p); },
        [](int run, int, const RhsParams& p) { return Names{OPRecursiveHistogramSplitting::resultName(run, p)}; }));
    steps.push_back(makeStep<SplitAndMergeParams>(
        "smg", rgb, true,
        [](const Image& image, const SplitAndMergeParams& p) { return OPSplitAndMerge().execute(image, p); },
        [](int run, int, const SplitAndMergeParams& p) { return Names{OPSplitAndMerge::resultName(run, p)}; }));
    steps.push_back(makeStep<RegionGrowingParams>(
        "region-growing", grayOrRgb, false,
        [](const Image& image, const RegionGrowingParams& p) { return OPRegionGrowing().execute(image, p); },
        [](int run, int, const RegionGrowingParams& p) { return Names{OPRegionGrowing::resultName(run, p)}; }));
    return steps;
}

} // namespace

const std::vector<StepDefinition>& allSteps()
{
    static const std::vector<StepDefinition> steps = buildSteps();
    return steps;
}

const StepDefinition* findStep(const std::string& name)
{
    for (const StepDefinition& d : allSteps())
        if (d.name == name)
            return &d;
    return nullptr;
}

} // namespace ivra::recipe
