#pragma once

#include "RegionMeasurements.h"

#include <string>
#include <vector>

namespace ivra {

// The region table as CSV: a header line naming the columns, one row per region
// in the order given, integers as integers, centroids and means with six digits
// after the point (whatever the process locale), commas, '\n' line ends.
std::string regionTableCsv(const std::vector<RegionMeasurement>& regions);

} // namespace ivra
