#pragma once

#include "image/HistogramGray.h"
#include "image/ImageGray.h"
#include "util/Progress.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace ivra {

// Gray-level histogram: counts the values of a gray image into equally wide bins.
class OPHistogram {
public:
    virtual ~OPHistogram() = default;

    // bins in 1..256 (the dialogs offer 2..256, powers of two); bin width 256 / bins.
    // A value v lands in bin v / width (truncating toward zero) when that is a bin:
    // with 16 bins -1 still counts in bin 0, 256 and above are never counted.
    // Throws std::invalid_argument for a bin count outside 1..256.
    static std::unique_ptr<HistogramGray> execute(const ImageGray& src, int bins, const ivra::Progress& progress = {});
};

} // namespace ivra
