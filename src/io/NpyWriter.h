#pragma once

#include "NpyArray.h"

#include "image/Array2D.h"
#include "image/DataObject.h"
#include "image/Histogram.h"

#include <QIODevice>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ivra {

// Encodes an array with the given header fields; `data` holds the elements in C
// order. Throws IoError when the device refuses the bytes.
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
