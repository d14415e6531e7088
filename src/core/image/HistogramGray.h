#pragma once

#include "Histogram.h"

#include <cstdint>
#include <vector>

namespace ivra {

// binCount 32-bit integer counts, zero after construction.
class HistogramGray : public Histogram {
public:
    explicit HistogramGray(int binCount) : Histogram(binCount), counts_(static_cast<std::size_t>(binCount), 0) {}

    int type() const override { return TypeHistogramGray; }

    std::int32_t* counts() { return counts_.data(); }
    const std::int32_t* counts() const { return counts_.data(); }

private:
    std::vector<std::int32_t> counts_;
};

} // namespace ivra
