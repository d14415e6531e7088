#pragma once

#include "image/ImageRGB.h"
#include "util/Progress.h"

#include <cstdint>
#include <memory>
#include <string>

namespace ivra {

// Symmetric nearest neighbour: how many times the filter runs.
struct SnnParams {
    static constexpr int minIterations = 1;
    static constexpr int maxIterations = 65536;
    int iterations = 1;

    template <class Visitor>
    void visit(Visitor& v)
    {
        v.integer("iterations", iterations, minIterations, maxIterations);
    }
};

// Symmetric nearest neighbour filter: the eight neighbours of a pixel form four
// pairs of opposite neighbours (left/right, above/below, above-left/below-right,
// above-right/below-left); from each pair that lies inside the picture the one
// nearer in colour to the pixel is taken (the first-named one on a tie), and the
// pixel becomes the truncated mean of the taken neighbours. A pixel without any
// pair (a corner) keeps its colour.
class OPSNN {
public:

    virtual ~OPSNN() = default;

    // Applies the filter `iterations` times and returns a new image of the source's
    // size. Throws std::invalid_argument for an iteration count outside the range
    // above and ivra::Cancelled when the progress callback cancels.
    std::unique_ptr<ImageRGB> execute(const ImageRGB& src, int iterations, const ivra::Progress& progress = {}) const;

    // "(%1) SNN [Iterations=%2]" with the dialog's run counter.
    // RGB images; throws std::invalid_argument for any other type.
    std::unique_ptr<ImageRGB> execute(const Image& src, const SnnParams& params,
                                      const ivra::Progress& progress = {}) const;

    static std::string resultName(int run, int iterations);
    static std::string resultName(int run, const SnnParams& p) { return resultName(run, p.iterations); }
};

// One iteration over width x height pixels of 3 bytes R, G, B, row after row;
// writes every pixel of dst. src and dst must not overlap.
void snnFilter(int width, int height, const std::uint8_t* src, std::uint8_t* dst);

// Squared Euclidean distance of two R, G, B byte triples, 0 .. 3 x 255^2.
int colorDistance(const std::uint8_t* a, const std::uint8_t* b);

} // namespace ivra
