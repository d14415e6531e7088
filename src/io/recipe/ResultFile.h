#pragma once

#include "StepCatalogue.h"

#include <QString>

namespace ivra::recipe {

// Writes a step's result to a file chosen by its extension, as ivra-cli's -o does:
// .npy the exact values (the three histograms of a per-channel colour histogram
// as one array), a picture format the picture as displayed or the histograms'
// drawing. Written to a temporary file and renamed into place (PendingFile); throws IoError.
void writeResultFile(const StepResult& result, const QString& path);

} // namespace ivra::recipe
