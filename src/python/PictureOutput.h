#pragma once

#include "recipe/StepCatalogue.h"

#include "image/Array2D.h"
#include "image/Image.h"

#include <pybind11/numpy.h>

#include <cstdint>

namespace ivra::python {

// The core's results as NumPy arrays. Call with the interpreter lock held; the
// element loops run without it.

// A gray picture as uint8 (H, W), an RGB picture as uint8 (H, W, 3), an HSV picture
// as int32 (H, W, 3) with hue -1..359; `wide` gives int32 for every type (a plane
// split from an HSV picture may hold hues). Throws std::range_error for a uint8
// value outside 0..255.
pybind11::array pictureArray(const Image& image, bool wide = false);

// Region labels as uint32 (H, W); the array takes over the labels' memory.
pybind11::array labelsArray(Array2D<std::uint32_t>&& labels);

// What a step gave: a picture, a segmentation (labels, image) as the module's
// Segmentation tuple, a histogram's counts (int32 gray, float32 RGB, float64 HSV,
// shape (bins,)), or three per-channel histograms stacked as (3, bins). A picture
// split from an HSV picture is int32.
pybind11::object resultObject(recipe::StepResult&& result, int inputType);

} // namespace ivra::python
