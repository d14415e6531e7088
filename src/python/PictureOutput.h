#pragma once

#include "ArrayBuffer.h"

#include "recipe/StepCatalogue.h"

#include "image/Image.h"

#include <pybind11/numpy.h>

#include <memory>

namespace ivra::python {

// The core's results as NumPy arrays, in two halves: the conversion runs without
// the interpreter lock (its rows cut over the calling thread's thread count), the
// wrapping takes the lock and costs no copy.

// A gray picture as uint8 (H, W), an RGB picture as uint8 (H, W, 3), an HSV picture
// as int32 (H, W, 3) with hue -1..359; `wide` gives int32 for every type (a plane
// split from an HSV picture may hold hues). An int32 array views the picture's own
// planes, colour ones with the strides (4W, 4, 4HW), and gives the picture back to
// the recycler when it goes. Throws std::range_error for a uint8 value outside 0..255.
ArrayBuffer pictureBuffer(std::unique_ptr<Image> image, bool wide = false);

// A step's result ready for the caller: its arrays converted, histograms (small)
// kept for copying with the lock.
struct ConvertedResult {
    ArrayBuffer picture;
    ArrayBuffer labels; // a segmentation's, sharing their memory; no data otherwise
    recipe::StepResult histograms;
};
ConvertedResult convertResult(recipe::StepResult&& result, int inputType);

// What a step gave: a picture, a segmentation (labels, image) as the module's
// Segmentation tuple, a histogram's counts (int32 gray, float32 RGB, float64 HSV,
// shape (bins,)), or three per-channel histograms stacked as (3, bins). A picture
// split from an HSV picture is int32. Call with the lock held.
pybind11::object resultObject(ConvertedResult&& result);

} // namespace ivra::python
