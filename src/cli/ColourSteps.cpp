// Steps of the Split and Color Transform dialogs.
#include "Steps.h"

#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"
#include "ops/OPColorTransform.h"
#include "ops/OPSplit.h"

namespace ivra::cli {

// split:channel=red|green|blue (RGB) or hue|saturation|value (HSV); one channel per
// step, named as the dialog names it.
StepResult stepSplit(const DataObject& input, StepArgs& args)
{
    if (input.type() != TypeImageRGB && input.type() != TypeImageHSV)
        refuseInput(args.step(), input);
    const bool rgb = input.type() == TypeImageRGB;
    const std::vector<std::string> channels =
        rgb ? std::vector<std::string>{"red", "green", "blue"} : std::vector<std::string>{"hue", "saturation", "value"};
    const std::string channel = args.choice("channel", channels[0], channels);
    args.finish();

    static const char* const rgbNames[] = {"Red", "Green", "Blue"};
    static const char* const hsvNames[] = {"Hue", "Saturation", "Value"};
    int plane = 0;
    while (channels[plane] != channel)
        ++plane;
    const auto& image = static_cast<const ImageColor&>(input);
    return {OPSplit::channel(image, plane), rgb ? rgbNames[plane] : hsvNames[plane]};
}

// hsv: the dialog's "RGB -> HSV", offered for RGB images only.
StepResult stepHsv(const DataObject& input, StepArgs& args)
{
    if (input.type() != TypeImageRGB)
        refuseInput(args.step(), input);
    args.finish();
    return {OPColorTransform().RGB2HSV(static_cast<const ImageRGB&>(input)), "HSV"};
}

// rgb: "HSV -> RGB" for HSV images, "Gray -> RGB" for gray images.
StepResult stepRgb(const DataObject& input, StepArgs& args)
{
    if (input.type() != TypeImageHSV && input.type() != TypeImageGray)
        refuseInput(args.step(), input);
    args.finish();
    const OPColorTransform op;
    if (input.type() == TypeImageHSV)
        return {op.HSV2RGB(static_cast<const ImageHSV&>(input)), "RGB"};
    return {op.Gray2RGB(static_cast<const ImageGray&>(input)), "RGB"};
}

} // namespace ivra::cli
