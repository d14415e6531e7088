// Reading and writing pictures as the workbench and ivra-cli do.
#include "ModuleParts.h"
#include "PictureInput.h"
#include "PictureOutput.h"

#include "InputLoader.h"

#include "NpyWriter.h"
#include "PictureWriter.h"

#include <stdexcept>

namespace py = pybind11;

namespace ivra::python {

namespace {

std::string pathText(py::handle path) { return py::module_::import("os").attr("fsdecode")(path).cast<std::string>(); }

py::array load(const py::object& path, bool hsv)
{
    cli::Options options;
    options.input = pathText(path);
    options.hsvInput = hsv;
    ArrayBuffer picture;
    try {
        py::gil_scoped_release release;
        std::unique_ptr<DataObject> image = cli::loadInput(options);
        picture = pictureBuffer(std::unique_ptr<Image>(static_cast<Image*>(image.release())));
    } catch (const std::range_error&) {
        throw py::value_error(options.input + ": a value lies outside 0..255, which a uint8 picture cannot hold");
    }
    return picture.toArray();
}

void save(const py::object& path, const py::object& array)
{
    const std::string file = pathText(path);
    const PictureInput input(array, {TypeImageGray, TypeImageRGB, TypeImageHSV}, "array");
    py::gil_scoped_release release;
    const std::unique_ptr<Image> image = input.read();
    if (cli::suffixOf(file) == "npy")
        writeNpy(*image, cli::qPath(file));
    else
        writePicture(*image, cli::qPath(file));
}

} // namespace

void addFileFunctions(py::module_& m)
{
    m.def("load", &load, py::arg("path"), py::kw_only(), py::arg("hsv") = false,
          "Reads a picture as the workbench opens it and ivra-cli reads its input: the format named by the "
          "extension (PNG, JPEG, BMP, TIFF, PBM, PGM, PPM, XPM; see the README's 'Loading pictures'), a picture "
          "whose colour table is all gray as a gray picture, anything else as RGB (alpha dropped); or a .npy "
          "file holding an int32 (H, W) gray or (3, H, W) RGB array as ivra-cli reads and writes it, HSV with "
          "hsv=True.\n\n"
          "Returns uint8 (H, W) gray or (H, W, 3) RGB, or int32 (H, W, 3) HSV, a view of its three planes "
          "(strides (4W, 4, 4HW)).\n"
          "Raises OSError for a file that cannot be read, ValueError for one the workbench refuses.");
    m.def("save", &save, py::arg("path"), py::arg("array"),
          "Writes a picture in the format of the path's extension, replacing the file only once it is written "
          "in full: .png, .ppm, .pgm or .xpm as the workbench displays the picture, or .npy with the exact "
          "values in ivra-cli's layout (int32 (H, W) gray, (3, H, W) colour planes).\n\n"
          "array: uint8 (H, W) gray or (H, W, 3) RGB (any integer dtype with values in 0..255), or int32 "
          "(H, W, 3) HSV (hue -1..359).\n"
          "Raises OSError when the file cannot be written or the extension is unknown.");
}

} // namespace ivra::python
