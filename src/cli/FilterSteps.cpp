// Steps of the Kuwahara-Nagao and SNN filter dialogs.
#include "Steps.h"

#include "image/ImageRGB.h"
#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"

namespace ivra::cli {

namespace {
// The dialogs' run counters: one per process, as in a fresh workbench.
int kuwaharaRun = 1;
int snnRun = 1;
} // namespace

// kuwahara:iterations=1..65536,space=rgb|hsv on RGB images.
StepResult stepKuwahara(const DataObject& input, StepArgs& args)
{
    if (input.type() != TypeImageRGB)
        refuseInput(args.step(), input);
    const int iterations = args.integer("iterations", OPKuwaharaNagao::defaultIterations,
                                        OPKuwaharaNagao::minIterations, OPKuwaharaNagao::maxIterations);
    const std::string space = args.choice("space", "rgb", {"rgb", "hsv"});
    args.finish();
    auto result = OPKuwaharaNagao().execute(static_cast<const ImageRGB&>(input), iterations,
                                            space == "hsv" ? OPKuwaharaNagao::Space::HSV
                                                           : OPKuwaharaNagao::Space::RGB);
    return {std::move(result), OPKuwaharaNagao::resultName(kuwaharaRun++, iterations)};
}

// snn:iterations=1..65536 on RGB images.
StepResult stepSnn(const DataObject& input, StepArgs& args)
{
    if (input.type() != TypeImageRGB)
        refuseInput(args.step(), input);
    const int iterations =
        args.integer("iterations", OPSNN::defaultIterations, OPSNN::minIterations, OPSNN::maxIterations);
    args.finish();
    auto result = OPSNN().execute(static_cast<const ImageRGB&>(input), iterations);
    return {std::move(result), OPSNN::resultName(snnRun++, iterations)};
}

} // namespace ivra::cli
