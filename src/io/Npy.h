#pragma once

#include "image/Array2D.h"
#include "image/DataObject.h"
#include "image/Histogram.h"
#include "image/Image.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ivra {

// NumPy .npy files (format versions 1.0, 2.0 and 3.0 read; 1.0 written, or 2.0 when
// the header needs it), little-endian, C order.

enum class NpyType { Bool, Int8, UInt8, Int16, UInt16, Int32, UInt32, Int64, UInt64, Float32, Float64 };

// Bytes per element of a type.
int npyItemSize(NpyType type);
// The type's descr string as NumPy writes it ("<i4", "|u1", ...).
const char* npyDescr(NpyType type);

// A whole array as stored: element type, shape (outermost first), raw little-endian data.
struct NpyArray {
    NpyType type = NpyType::Int32;
    std::vector<std::int64_t> shape;
    QByteArray data;

    std::int64_t elementCount() const;
    // Element i as a 64-bit integer; only for the integer and bool types.
    std::int64_t integerAt(std::int64_t i) const;
    // Element i as a double; for every type.
    double realAt(std::int64_t i) const;
};

// Largest header accepted when reading; real headers are a few dozen bytes.
inline constexpr std::uint32_t npyMaxHeaderLength = 64 * 1024;

// Reads an array. Throws IoError for a file that is not a .npy file, a truncated,
// corrupt or oversized header, a big-endian or Fortran-ordered array, an element
// type other than bool, integers and floats, or data shorter or longer than the
// header announces. The data size is checked against the file before anything is
// allocated. `name` is used in messages.
NpyArray readNpy(QIODevice& device, const std::string& name);
NpyArray readNpy(const QString& path);

// The colour space of a three-plane array.
enum class NpyColour { Rgb, Hsv };

// Reads an image: (H, W) is a gray image, (3, H, W) an RGB or HSV image in plane
// order. Integer element types are accepted when every value fits in 32 signed
// bits; bool and floating-point arrays are refused, as are empty arrays and sides
// above Image::maxSide. Throws IoError naming the problem.
std::unique_ptr<Image> imageFromNpy(const NpyArray& array, NpyColour colour, const std::string& name);
std::unique_ptr<Image> readNpyImage(const QString& path, NpyColour colour);

// Encodes an array with the given header fields; `data` holds the elements in C order.
void encodeNpy(QIODevice& device, NpyType type, const std::vector<std::int64_t>& shape, const void* data,
               std::size_t bytes);

// Encodes a data object with its exact values: a gray image as int32 (H, W); an
// RGB or HSV image as int32 (3, H, W) in plane order; histogram counts as
// int32 (gray), float32 (RGB) or float64 (HSV), shape (bins).
void encodeNpy(QIODevice& device, const DataObject& object);
// Three histograms of one class and bin count stacked as (3, bins).
void encodeNpy(QIODevice& device, const std::vector<const Histogram*>& histograms);
// Region labels as uint32 (H, W).
void encodeNpyLabels(QIODevice& device, const Array2D<std::uint32_t>& labels);

// Writes one data object to a file, replacing it atomically (no partial file on
// failure). Throws IoError.
void writeNpy(const DataObject& object, const QString& path);

} // namespace ivra
