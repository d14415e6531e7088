// The segmenters.
#include "ModuleParts.h"
#include "OperatorCall.h"

#include "csc/OPCSC.h"
#include "segment/OPRecursiveHistogramSplitting.h"
#include "segment/OPRegionGrowing.h"
#include "segment/OPSplitAndMerge.h"

namespace ivra::python {

namespace {

constexpr const char* rgbIn = "uint8 (H, W, 3) RGB picture (any integer dtype with values in 0..255).";
constexpr const char* segmentation =
    "Segmentation(labels, image): labels uint32 (H, W), the region number of every pixel; image uint8 "
    "(H, W, 3), every region painted in its colour.";

} // namespace

void addSegmentFunctions(pybind11::module_& m)
{
    bindOperator<RegionGrowingParams>(
        m, {"region_growing", "region-growing",
            "Region growing: regions grow from seeds over 4-connected pixels within span of the seed's value.",
            "uint8 (H, W) gray or (H, W, 3) RGB picture (any integer dtype with values in 0..255).",
            segmentation});
    bindOperator<CscParams>(
        m, {"csc", "csc",
            "Colour Structure Code: regions of similar colour grown over a hexagonal island pyramid; pixels in "
            "no region are black with label 0.",
            rgbIn, segmentation});
    bindOperator<RhsParams>(m, {"rhs", "rhs", "Recursive histogram splitting.", rgbIn, segmentation});
    bindOperator<SplitAndMergeParams>(
        m, {"smg", "smg",
            "Split and merge: a quadtree split by colour variance, merged bottom-up, then neighbouring regions "
            "grouped by colour distance.",
            rgbIn, segmentation});
}

} // namespace ivra::python
