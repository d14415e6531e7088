#include "OPGauss.h"

#include "util/RandomGenerator.h"
#include "util/VectorState.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace ivra {

namespace {

// Scales a draw of 0..32767 onto [0, 2]; the generator's range is fixed at 32767.
constexpr double kTwoOverRange = 2.0 / 32767.0;

void checkParameters(int mean, int variance)
{
    if (mean < OPGauss::minMean || mean > OPGauss::maxMean)
        throw std::invalid_argument("Gauss noise: mean " + std::to_string(mean) + " is outside " +
                                    std::to_string(OPGauss::minMean) + ".." + std::to_string(OPGauss::maxMean));
    if (variance < OPGauss::minVariance || variance > OPGauss::maxVariance)
        throw std::invalid_argument("Gauss noise: variance " + std::to_string(variance) + " is outside " +
                                    std::to_string(OPGauss::minVariance) + ".." +
                                    std::to_string(OPGauss::maxVariance));
}

std::int32_t noisy(std::int32_t value, int mean, int variance)
{
    // The two integers are summed first (in 64 bits: a plane may hold any int).
    const double x = static_cast<double>(static_cast<std::int64_t>(value) + mean) + OPGauss::deviate() * variance;
    if (x < 0)
        return 0;
    if (x > 255)
        return 255;
    return static_cast<std::int32_t>(x);
}

} // namespace

std::string OPGauss::resultName(int mean, int variance)
{
    return "Gauss Noise [mean=" + std::to_string(mean) + ", variance=" + std::to_string(variance) + "]";
}

double OPGauss::deviate()
{
    auto& random = ivra::RandomGenerator::instance();
    double u1 = 0;
    double s = 0;
    do {
        u1 = random.next() * kTwoOverRange - 1;
        const double u2 = random.next() * kTwoOverRange - 1;
        s = u2 * u2 + u1 * u1;
        // s = 0 cannot arise (no draw maps exactly onto 0), but would give NaN.
    } while (s >= 1 || s == 0);
    return u1 * std::sqrt((std::log(s) * -2) / s);
}

std::unique_ptr<ImageRGB> OPGauss::execute(const ImageRGB& src, int mean, int variance,
                                           const ivra::Progress& progress) const
{
    checkParameters(mean, variance);
    auto result = std::make_unique<ImageRGB>(src.width(), src.height());
    const std::int32_t* in[3] = {src.red(), src.green(), src.blue()};
    std::int32_t* out[3] = {result->red(), result->green(), result->blue()};
    const std::size_t width = static_cast<std::size_t>(src.width());
    const int height = src.height();

    ivra::RandomStateGuard guard;
    ivra::clearUpperVectorState();
    for (int y = 0; y < height; ++y) {
        progress.update(y, height);
        const std::size_t row = static_cast<std::size_t>(y) * width;
        for (std::size_t i = row; i < row + width; ++i)
            for (int c = 0; c < 3; ++c)
                out[c][i] = noisy(in[c][i], mean, variance);
    }
    guard.release();
    return result;
}

std::unique_ptr<ImageGray> OPGauss::execute(const ImageGray& src, int mean, int variance,
                                            const ivra::Progress& progress) const
{
    checkParameters(mean, variance);
    auto result = std::make_unique<ImageGray>(src.width(), src.height());
    const std::int32_t* in = src.data();
    std::int32_t* out = result->data();
    const std::size_t width = static_cast<std::size_t>(src.width());
    const int height = src.height();

    ivra::RandomStateGuard guard;
    ivra::clearUpperVectorState();
    for (int y = 0; y < height; ++y) {
        progress.update(y, height);
        const std::size_t row = static_cast<std::size_t>(y) * width;
        for (std::size_t i = row; i < row + width; ++i)
            out[i] = noisy(in[i], mean, variance);
    }
    guard.release();
    return result;
}

} // namespace ivra
