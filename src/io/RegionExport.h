#pragma once

#include "image/Array2D.h"
#include "image/RGB24.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <string>

namespace ivra {

// Saving a segmentation's regions for other tools. Every file is replaced
// atomically: on failure an existing file keeps its old contents. Errors are
// IoErrors naming the file and the problem.

// The largest label a 16-bit gray picture can hold.
inline constexpr std::uint32_t maxGray16Label = 65535;

// The labels as a 16-bit gray picture; IoError when the largest label exceeds
// maxGray16Label.
QImage labelsAsGray16(const Array2D<std::uint32_t>& labels);

// The labels as .npy, uint32 (H, W).
void writeLabelsNpy(const Array2D<std::uint32_t>& labels, const QString& path);
// The labels as a 16-bit gray PNG (the path must end in .png).
void writeLabelsPng16(const Array2D<std::uint32_t>& labels, const QString& path);

// An RGB24 array as a picture (a border picture, for instance).
QImage pictureOf(const Array2D<RGB24>& pixels);

// Writes text (the region table) as it is.
void writeTextFile(const std::string& text, const QString& path);

} // namespace ivra
