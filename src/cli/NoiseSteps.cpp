// Steps of the Gauss and Salt-and-Pepper noise dialogs.
#include "Steps.h"

#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "ops/OPGauss.h"
#include "ops/OPSaltAndPepper.h"

namespace ivra::cli {

namespace {
// The salt-and-pepper dialog's run counter: one per process, as in a fresh workbench.
int saltAndPepperRun = 1;
} // namespace

// gauss:mean=-255..255,variance=0..255 on gray and RGB images.
StepResult stepGauss(const DataObject& input, StepArgs& args)
{
    if (input.type() != TypeImageRGB && input.type() != TypeImageGray)
        refuseInput(args.step(), input);
    const int mean = args.integer("mean", OPGauss::defaultMean, OPGauss::minMean, OPGauss::maxMean);
    const int variance =
        args.integer("variance", OPGauss::defaultVariance, OPGauss::minVariance, OPGauss::maxVariance);
    args.finish();
    const OPGauss op;
    std::unique_ptr<DataObject> result;
    if (input.type() == TypeImageRGB)
        result = op.execute(static_cast<const ImageRGB&>(input), mean, variance);
    else
        result = op.execute(static_cast<const ImageGray&>(input), mean, variance);
    return {std::move(result), OPGauss::resultName(mean, variance)};
}

// salt-pepper:mode=salt|pepper|both,percent=0..50 on gray and RGB images.
StepResult stepSaltPepper(const DataObject& input, StepArgs& args)
{
    if (input.type() != TypeImageRGB && input.type() != TypeImageGray)
        refuseInput(args.step(), input);
    const std::string mode = args.choice("mode", "both", {"salt", "pepper", "both"});
    const int percent = args.integer("percent", OPSaltAndPepper::defaultPercent, OPSaltAndPepper::minPercent,
                                     OPSaltAndPepper::maxPercent);
    args.finish();
    const int modeCode = mode == "salt"     ? OPSaltAndPepper::Salt
                         : mode == "pepper" ? OPSaltAndPepper::Pepper
                                            : OPSaltAndPepper::SaltAndPepper;
    const OPSaltAndPepper op;
    std::unique_ptr<DataObject> result;
    if (input.type() == TypeImageRGB)
        result = op.execute(static_cast<const ImageRGB&>(input), modeCode, percent);
    else
        result = op.execute(static_cast<const ImageGray&>(input), modeCode, percent);
    return {std::move(result), OPSaltAndPepper::resultName(saltAndPepperRun++, modeCode, percent)};
}

} // namespace ivra::cli
