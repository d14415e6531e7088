// The region table and border picture of a segmentation.
#include "ModuleParts.h"
#include "PictureInput.h"

#include "image/ImageColor.h"
#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "segment/RegionBorders.h"
#include "segment/RegionMeasurements.h"
#include "segment/RegionTableCsv.h"

#include <pybind11/numpy.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <sstream>

namespace py = pybind11;

namespace ivra::python {

namespace {

Array2D<std::uint32_t> readLabels(const py::object& object)
{
    if (!py::isinstance<py::array>(object))
        throw py::type_error("labels must be a NumPy array, not " +
                             std::string(py::str(object.get_type().attr("__name__"))));
    const auto labels = py::reinterpret_borrow<py::array>(object);
    const char kind = labels.dtype().kind();
    if (kind != 'i' && kind != 'u')
        throw py::type_error("labels must hold integers, not " + std::string(py::str(labels.dtype())));
    if (labels.ndim() != 2 || labels.size() == 0)
        throw py::value_error("labels must have the shape (H, W)");
    if (labels.attr("min")().cast<py::int_>() < py::int_(0) ||
        labels.attr("max")().cast<py::int_>() > py::int_(std::numeric_limits<std::uint32_t>::max()))
        throw py::value_error("labels must lie in 0..4294967295");
    const auto exact = py::array_t<std::uint32_t, py::array::c_style | py::array::forcecast>::ensure(labels);
    Array2D<std::uint32_t> out(static_cast<int>(labels.shape(1)), static_cast<int>(labels.shape(0)));
    std::memcpy(out.data(), exact.data(), out.size() * sizeof(std::uint32_t));
    return out;
}

// The picture's pixels as bytes; a gray picture gives its gray in all three.
Array2D<RGB24> sourcePixels(const Image& image)
{
    Array2D<RGB24> out(image.width(), image.height());
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (image.type() == TypeImageGray) {
            const auto g = static_cast<std::uint8_t>(static_cast<const ImageGray&>(image).data()[i]);
            out[i] = {g, g, g};
        } else {
            const auto& color = static_cast<const ImageColor&>(image);
            out[i] = {static_cast<std::uint8_t>(color.plane(0)[i]), static_cast<std::uint8_t>(color.plane(1)[i]),
                      static_cast<std::uint8_t>(color.plane(2)[i])};
        }
    }
    return out;
}

struct Inputs {
    Array2D<std::uint32_t> labels;
    std::unique_ptr<Image> image;
};

Inputs readInputs(const py::object& labels, const py::object& image)
{
    Inputs in{readLabels(labels), PictureInput(image, {TypeImageGray, TypeImageRGB}).read()};
    if (in.labels.width() != in.image->width() || in.labels.height() != in.image->height())
        throw py::value_error("labels and image must have the same height and width");
    return in;
}

template <class T, class Field>
py::array column(const std::vector<RegionMeasurement>& rows, Field field)
{
    py::array_t<T> out(static_cast<py::ssize_t>(rows.size()));
    T* p = out.mutable_data();
    for (const RegionMeasurement& m : rows)
        *p++ = static_cast<T>(field(m));
    return out;
}

py::dict regions(const py::object& labels, const py::object& image, const py::object& result)
{
    const Inputs in = readInputs(labels, image);
    std::unique_ptr<Image> painted;
    if (!result.is_none()) {
        painted = PictureInput(result, {TypeImageRGB}, "result").read();
        if (painted->type() != TypeImageRGB || painted->width() != in.image->width() ||
            painted->height() != in.image->height())
            throw py::value_error("result must be an (H, W, 3) picture of the labels' size");
    }
    std::vector<RegionMeasurement> rows;
    {
        py::gil_scoped_release release;
        if (!painted) { // the region colours are left out below: a black picture serves
            auto black = std::make_unique<ImageRGB>(in.image->width(), in.image->height());
            std::fill_n(black->plane(0), in.labels.size() * 3, 0); // the three planes are one block
            painted = std::move(black);
        }
        rows = measureRegions(in.labels, sourcePixels(*in.image), static_cast<const ImageRGB&>(*painted));
    }
    // The columns are those of ivra-cli's --regions table, in its order.
    std::vector<py::array> columns{
        column<std::uint32_t>(rows, [](const auto& m) { return m.label; }),
        column<std::uint64_t>(rows, [](const auto& m) { return m.pixels; }),
        column<std::int32_t>(rows, [](const auto& m) { return m.xMin; }),
        column<std::int32_t>(rows, [](const auto& m) { return m.yMin; }),
        column<std::int32_t>(rows, [](const auto& m) { return m.xMax; }),
        column<std::int32_t>(rows, [](const auto& m) { return m.yMax; }),
        column<double>(rows, [](const auto& m) { return m.centroidX; }),
        column<double>(rows, [](const auto& m) { return m.centroidY; }),
        column<double>(rows, [](const auto& m) { return m.meanRed; }),
        column<double>(rows, [](const auto& m) { return m.meanGreen; }),
        column<double>(rows, [](const auto& m) { return m.meanBlue; }),
        column<std::int32_t>(rows, [](const auto& m) { return m.regionRed; }),
        column<std::int32_t>(rows, [](const auto& m) { return m.regionGreen; }),
        column<std::int32_t>(rows, [](const auto& m) { return m.regionBlue; }),
        column<std::uint64_t>(rows, [](const auto& m) { return m.perimeter; }),
    };
    std::istringstream header(regionTableCsv({}));
    py::dict table;
    std::string name;
    for (std::size_t i = 0; i < columns.size() && std::getline(header, name, i + 1 < columns.size() ? ',' : '\n'); ++i)
        if (!result.is_none() || name.rfind("region_", 0) != 0)
            table[py::str(name)] = columns[i];
    return table;
}

py::array borders(const py::object& labels, const py::object& image, const py::object& color)
{
    const Inputs in = readInputs(labels, image);
    RGB24 paint = defaultBorderColor;
    if (!color.is_none()) {
        const py::tuple values(color);
        if (values.size() != 3)
            throw py::value_error("color must be three integers (R, G, B)");
        std::uint8_t rgb[3] = {};
        for (std::size_t k = 0; k < 3; ++k) {
            const py::object v = values[k];
            if (!PyIndex_Check(v.ptr()) || PyBool_Check(v.ptr()))
                throw py::type_error("color must be three integers (R, G, B)");
            const auto value = v.cast<long long>();
            if (value < 0 || value > 255)
                throw py::value_error("color values must lie in 0..255");
            rgb[k] = static_cast<std::uint8_t>(value);
        }
        paint = {rgb[0], rgb[1], rgb[2]};
    }
    Array2D<RGB24> out;
    {
        py::gil_scoped_release release;
        out = paintBorders(in.labels, sourcePixels(*in.image), paint);
    }
    py::array_t<std::uint8_t> picture({static_cast<py::ssize_t>(out.height()), static_cast<py::ssize_t>(out.width()),
                                       py::ssize_t{3}});
    std::memcpy(picture.mutable_data(), out.data(), out.size() * sizeof(RGB24));
    return picture;
}

} // namespace

void addRegionFunctions(py::module_& m)
{
    m.def("regions", &regions, py::arg("labels"), py::arg("image"), py::kw_only(), py::arg("result") = py::none(),
          "The region table of a segmentation, as ivra-cli's --regions writes it: a dict of NumPy columns, one "
          "row per label other than 0 in increasing order.\n\n"
          "labels: integer (H, W) region numbers, as a segmenter returns them.\n"
          "image: the picture that was segmented, uint8 (H, W, 3) RGB or (H, W) gray.\n"
          "result: the segmenter's picture, for the colours it gives each region; without it the region_red, "
          "region_green and region_blue columns are left out.\n\n"
          "Columns: label (uint32), pixels (uint64), x_min, y_min, x_max, y_max (int32, inclusive box; x the "
          "column), centroid_x, centroid_y, mean_red, mean_green, mean_blue (float64: the image's mean colour), "
          "region_red, region_green, region_blue (int32), perimeter (uint64: pixel edges towards other labels "
          "or the picture's border).");
    m.def("borders", &borders, py::arg("labels"), py::arg("image"), py::arg("color") = py::none(),
          "The image with every region border pixel painted: a pixel lies on a border when one of its "
          "4-neighbours carries another label.\n\n"
          "labels: integer (H, W) region numbers. image: uint8 (H, W, 3) RGB or (H, W) gray.\n"
          "color: (R, G, B), each 0..255; default (255, 255, 0).\n\n"
          "Returns uint8 (H, W, 3).");
}

} // namespace ivra::python
