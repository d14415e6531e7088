#pragma once

#include "image/HistogramGray.h"
#include "image/ImageGray.h"
#include "util/Progress.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace ivra {

// Gray-level histogram: counts the values of a gray image into equally wide bins.
// Gray-level histogram: the number of bins.
struct HistogramParams {
    int bins = 256;

    template <class Visitor>
    void visit(Visitor& v)
    {
        v.choice("bins", bins, {{"16", 16}, {"32", 32}, {"64", 64}, {"128", 128}, {"256", 256}});
    }
};

class OPHistogram {
public:
    virtual ~OPHistogram() = default;

    // bins in 1..256 (the dialogs offer 2..256, powers of two); bin width 256 / bins.
    // A value v lands in bin v / width (truncating toward zero) when that is a bin:
    // with 16 bins -1 still counts in bin 0, 256 and above are never counted.
    // Throws std::invalid_argument for a bin count outside 1..256.
    static std::unique_ptr<HistogramGray> execute(const ImageGray& src, int bins, const ivra::Progress& progress = {});

    // Gray images; throws std::invalid_argument for any other type.
    static std::unique_ptr<HistogramGray> execute(const Image& src, const HistogramParams& params,
                                                  const ivra::Progress& progress = {});
    // "Histogram".
    static std::string resultName(const HistogramParams& params);
};

} // namespace ivra
