#pragma once

#include <pybind11/pybind11.h>

namespace ivra::python {

// Each group of functions adds itself to the module.
void addOperatorFunctions(pybind11::module_& m);
void addFileFunctions(pybind11::module_& m);
void addRegionFunctions(pybind11::module_& m);
void addRecipeFunctions(pybind11::module_& m);

} // namespace ivra::python
