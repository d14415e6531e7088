#pragma once

#include "Options.h"

#include "image/DataObject.h"

#include <QString>

#include <memory>
#include <string>

namespace ivra::cli {

QString qPath(const std::string& path);
// The file name's extension in lower case, without the dot.
std::string suffixOf(const std::string& path);

// The input picture or .npy array, loaded as File > Open loads it; throws
// CliError or IoError with the reason.
std::unique_ptr<DataObject> loadInput(const Options& o);

} // namespace ivra::cli
