// Colour transforms, channel split and histograms.
#include "ModuleParts.h"
#include "OperatorCall.h"

#include "ops/OPColorHistogram.h"
#include "ops/OPColorTransform.h"
#include "ops/OPHistogram.h"
#include "ops/OPSplit.h"

namespace ivra::python {

namespace {

constexpr const char* rgbIn = "uint8 (H, W, 3) RGB picture (any integer dtype with values in 0..255).";
constexpr const char* rgbOrHsvIn =
    "(H, W, 3) RGB picture with values in 0..255, or int32 (H, W, 3) HSV picture (hue -1..359, "
    "saturation and value 0..255), as hsv() returns it.";

} // namespace

void addColorFunctions(pybind11::module_& m)
{
    bindOperator<ColorTransformParams>(
        m, {"hsv", "hsv", "Converts an RGB picture to HSV: hue in whole degrees (-1 for black), saturation and "
                          "value 0..255.",
            rgbIn, "int32 (H, W, 3): hue, saturation, value."});
    bindOperator<ColorTransformParams>(
        m, {"rgb", "rgb", "Converts an HSV picture, or a gray one, to RGB.",
            "(H, W, 3) HSV picture (hue -1..359, saturation and value 0..255) or uint8 (H, W) gray picture.",
            "uint8 (H, W, 3)."});
    bindOperator<SplitParams>(
        m, {"split", "split", "Copies one channel of a colour picture into a gray picture.", rgbOrHsvIn,
            "uint8 (H, W) gray picture; int32 (H, W) from an HSV picture, whose hue plane holds -1..359."});
    bindOperator<HistogramParams>(
        m, {"histogram", "histogram", "Counts the gray levels of a gray picture into equally wide bins.",
            "uint8 (H, W) gray picture (any integer dtype with values in 0..255).", "int32 (bins,) counts."});
    bindOperator<ColorHistogramParams>(
        m, {"color_histogram", "color-histogram",
            "Colour histogram: three per-channel histograms, or a static or fuzzy histogram on an RGB cube or "
            "on the HSV sectors-and-rings layout. Only the keywords of the chosen kind apply.",
            rgbOrHsvIn,
            "the counts as the histograms keep them: int32 (3, bins) for the per-channel kind, float32 "
            "(bins,) for the RGB cubes, float64 (bins,) for HSV."});
}

} // namespace ivra::python
