// The operators, one row each: the function, the ivra-cli step it runs and what its
// docstring says besides the step's keys.
#include "ModuleParts.h"
#include "OperatorCall.h"

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

namespace ivra::python {

namespace {

constexpr const char* rgbIn = "uint8 (H, W, 3) RGB picture (any integer dtype with values in 0..255).";
constexpr const char* grayOrRgbIn =
    "uint8 (H, W) gray or (H, W, 3) RGB picture (any integer dtype with values in 0..255).";
constexpr const char* rgbOrHsvIn =
    "(H, W, 3) RGB picture with values in 0..255, or int32 (H, W, 3) HSV picture (hue -1..359, "
    "saturation and value 0..255), as hsv() returns it.";
constexpr const char* sameShape = "uint8 array of the input's shape.";
constexpr const char* segmentation =
    "Segmentation(labels, image): labels uint32 (H, W), the region number of every pixel; image uint8 "
    "(H, W, 3), every region painted in its colour.";

struct OperatorRow {
    void (*bind)(pybind11::module_&, const OperatorBinding&); // bindOperator<the operator's Params>
    OperatorBinding binding;
};

const OperatorRow operators[] = {
    {bindOperator<ColorTransformParams>,
     {"hsv", "hsv",
      "Converts an RGB picture to HSV: hue in whole degrees (-1 for black), saturation and value 0..255.", rgbIn,
      "int32 (H, W, 3): hue, saturation, value; a view of the result's three planes, one after the other "
      "(strides (4W, 4, 4HW)): np.ascontiguousarray() makes the interleaved copy."}},
    {bindOperator<ColorTransformParams>,
     {"rgb", "rgb", "Converts an HSV picture, or a gray one, to RGB.",
      "(H, W, 3) HSV picture (hue -1..359, saturation and value 0..255) or uint8 (H, W) gray picture.",
      "uint8 (H, W, 3)."}},
    {bindOperator<SplitParams>,
     {"split", "split", "Copies one channel of a colour picture into a gray picture.", rgbOrHsvIn,
      "uint8 (H, W) gray picture; int32 (H, W) from an HSV picture, whose hue plane holds -1..359."}},
    {bindOperator<HistogramParams>,
     {"histogram", "histogram", "Counts the gray levels of a gray picture into equally wide bins.",
      "uint8 (H, W) gray picture (any integer dtype with values in 0..255).", "int32 (bins,) counts."}},
    {bindOperator<ColorHistogramParams>,
     {"color_histogram", "color-histogram",
      "Colour histogram: three per-channel histograms, or a static or fuzzy histogram on an RGB cube or on the "
      "HSV sectors-and-rings layout. Only the keywords of the chosen kind apply.",
      rgbOrHsvIn,
      "the counts as the histograms keep them: int32 (3, bins) for the per-channel kind, float32 (bins,) for the "
      "RGB cubes, float64 (bins,) for HSV."}},
    {bindOperator<GaussParams>,
     {"gauss", "gauss", "Adds normally distributed noise of the given mean and variance.", grayOrRgbIn, sameShape,
      true}},
    {bindOperator<SaltAndPepperParams>,
     {"salt_pepper", "salt-pepper", "Turns a percentage of the pixels white (salt), black (pepper) or either.",
      grayOrRgbIn, sameShape, true}},
    {bindOperator<KuwaharaNagaoParams>,
     {"kuwahara", "kuwahara",
      "Kuwahara-Nagao filter: each pixel takes the mean of its most uniform sub-window, formed in RGB or HSV.",
      rgbIn, "uint8 (H, W, 3)."}},
    {bindOperator<SnnParams>, {"snn", "snn", "Symmetric nearest neighbour filter.", rgbIn, "uint8 (H, W, 3)."}},
    {bindOperator<RegionGrowingParams>,
     {"region_growing", "region-growing",
      "Region growing: regions grow from seeds over 4-connected pixels within span of the seed's value.",
      grayOrRgbIn, segmentation}},
    {bindOperator<CscParams>,
     {"csc", "csc",
      "Colour Structure Code: regions of similar colour grown over a hexagonal island pyramid; pixels in no "
      "region are black with label 0.",
      rgbIn, segmentation}},
    {bindOperator<RhsParams>, {"rhs", "rhs", "Recursive histogram splitting.", rgbIn, segmentation}},
    {bindOperator<SplitAndMergeParams>,
     {"smg", "smg",
      "Split and merge: a quadtree split by colour variance, merged bottom-up, then neighbouring regions grouped "
      "by colour distance.",
      rgbIn, segmentation}},
};

} // namespace

void addOperatorFunctions(pybind11::module_& m)
{
    for (const OperatorRow& row : operators)
        row.bind(m, row.binding);
}

} // namespace ivra::python
