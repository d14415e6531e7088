#include "Steps.h"

#include "csc/OPCSC.h"
#include "image/ImageRGB.h"

#include <stdexcept>
#include <string>

namespace ivra::cli {

// csc:space=rgb|hsv,threshold= — the Color Structure Code dialog on an RGB picture
// (or a segmentation result, which is one). The threshold belongs to the RGB
// similarity; with HSV it is checked but unused, as the dialog disables it.
StepResult stepCsc(const DataObject& input, StepArgs& args)
{
    // Counts results as the dialog does in a fresh session: (1), (2), ...
    static int runCounter = 1;

    if (input.type() != TypeImageRGB)
        refuseInput(args.step(), input);
    const std::string space = args.choice("space", "rgb", {"rgb", "hsv"});
    const int threshold =
        args.integer("threshold", OPCSC::defaultThreshold, OPCSC::minThreshold, OPCSC::maxThreshold);
    args.finish();

    const OPCSC::Space s = space == "rgb" ? OPCSC::Space::RGB : OPCSC::Space::HSV;
    OPCSC::Result result;
    try {
        // An overflowing element store still gives a (black) result; its message has
        // gone to standard error.
        result = OPCSC().execute(static_cast<const ImageRGB&>(input), s, threshold);
    } catch (const std::length_error& e) {
        throw CliError(e.what());
    }
    StepResult step;
    step.data = std::move(result.image);
    step.name = OPCSC::resultName(runCounter, s, threshold);
    ++runCounter;
    return step;
}

} // namespace ivra::cli
