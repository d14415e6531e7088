#pragma once

#include "NpyArray.h"

#include "image/Image.h"

#include <QIODevice>
#include <QString>

#include <memory>
#include <string>

namespace ivra {

// Reads an array (format versions 1.0, 2.0 and 3.0, little-endian, C order).
// Throws IoError for what readNpyHeader() refuses and for data shorter or longer
// than the header announces. The data size is checked against the file before
// anything is allocated. `name` is used in messages.
NpyArray readNpy(QIODevice& device, const std::string& name);
NpyArray readNpy(const QString& path);

// The colour space of a three-plane array.
enum class NpyColor { Rgb, Hsv };

// Reads an image: (H, W) is a gray image, (3, H, W) an RGB or HSV image in plane
// order. Integer element types are accepted when every value fits in 32 signed
// bits; bool and floating-point arrays are refused, as are empty arrays and sides
// above Image::maxSide. Throws IoError naming the problem.
std::unique_ptr<Image> imageFromNpy(const NpyArray& array, NpyColor color, const std::string& name);
std::unique_ptr<Image> readNpyImage(const QString& path, NpyColor color);

} // namespace ivra
