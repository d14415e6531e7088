// Noise and smoothing filters.
#include "ModuleParts.h"
#include "OperatorCall.h"

#include "ops/OPGauss.h"
#include "ops/OPKuwaharaNagao.h"
#include "ops/OPSNN.h"
#include "ops/OPSaltAndPepper.h"

namespace ivra::python {

namespace {

constexpr const char* grayOrRgbIn =
    "uint8 (H, W) gray or (H, W, 3) RGB picture (any integer dtype with values in 0..255).";
constexpr const char* rgbIn = "uint8 (H, W, 3) RGB picture (any integer dtype with values in 0..255).";

} // namespace

void addFilterFunctions(pybind11::module_& m)
{
    bindOperator<GaussParams>(m, {"gauss", "gauss", "Adds normally distributed noise of the given mean and variance.",
                                  grayOrRgbIn, "uint8 array of the input's shape.", true});
    bindOperator<SaltAndPepperParams>(
        m, {"salt_pepper", "salt-pepper", "Turns a percentage of the pixels white (salt), black (pepper) or either.",
            grayOrRgbIn, "uint8 array of the input's shape.", true});
    bindOperator<KuwaharaNagaoParams>(
        m, {"kuwahara", "kuwahara",
            "Kuwahara-Nagao filter: each pixel takes the mean of its most uniform sub-window, formed in RGB or "
            "HSV.",
            rgbIn, "uint8 (H, W, 3)."});
    bindOperator<SnnParams>(m, {"snn", "snn", "Symmetric nearest neighbour filter.", rgbIn, "uint8 (H, W, 3)."});
}

} // namespace ivra::python
