// The `ivra` Python module: the workbench's operators on NumPy arrays.
#include "Avx2Kernels.h"
#include "ModuleParts.h"
#include "OperatorCall.h"

#include "CliError.h"
#include "recipe/RecipeError.h"
#include "IoError.h"

#include "util/MessageSink.h"

#include <cstdio>

namespace py = pybind11;

namespace {

// Operators' progress lines are dropped, as a library should be quiet; a line
// saying that a result is incomplete still reaches standard error.
class QuietMessageSink : public ivra::MessageSink {
public:
    void message(const std::string&) override {}
    void error(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

} // namespace

PYBIND11_MODULE(ivra, m)
{
    m.doc() = "Ivra's colour image operators and segmenters on NumPy arrays: the same values as the workbench "
              "and ivra-cli.\n\n"
              "Pictures are uint8 (H, W) gray or (H, W, 3) RGB (any integer dtype is read when every value is "
              "in range), HSV pictures int32 (H, W, 3) with hue -1..359 (results are views of three planes, "
              "strides (4W, 4, 4HW)). Functions take the CLI step's keys as "
              "keyword arguments ('-' written '_') and threads=None; segmenters return "
              "Segmentation(labels, image). Every call releases the interpreter lock while it runs.";
    ivra::MessageSink::install(std::make_unique<QuietMessageSink>());
    py::register_exception_translator([](std::exception_ptr p) {
        try {
            if (p)
                std::rethrow_exception(p);
        } catch (const ivra::cli::CliError& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const ivra::recipe::RecipeError& e) {
            PyErr_SetString(PyExc_ValueError, e.what());
        } catch (const ivra::IoError& e) {
            PyErr_SetString(PyExc_OSError, e.what());
        }
    });
    m.attr("Segmentation") = py::module_::import("collections").attr("namedtuple")("Segmentation", "labels image");
    m.attr("Segmentation").attr("__module__") = "ivra";
    ivra::python::addOperatorFunctions(m);
    ivra::python::addFileFunctions(m);
    ivra::python::addRecipeFunctions(m);
    ivra::python::addRegionFunctions(m);
    m.def("_last_core_ms", &ivra::python::lastCoreMs,
          "Milliseconds the calling thread's last operator spent in the core, without the conversions.");
    m.def("_allow_avx2", &ivra::python::avx2::allow,
          "Lets the conversions use AVX2 where the processor has it (the default), or not (for the tests).");
    m.def("_last_core_cpu_ms", &ivra::python::lastCoreCpuMs,
          "Processor milliseconds the calling thread spent in its last operator's core call.");
}
