#include "OPSaltAndPepper.h"

#include "util/CMessageHandler.h"
#include "util/RandomGenerator.h"

#include <cstdint>
#include <stdexcept>
#include <string>

namespace {

// Scales a draw of 0..32767 onto [0, 1]; the generator's range is fixed at 32767.
constexpr double kOneOverRange = 1.0 / 32767.0;

void checkParameters(int mode, int value)
{
    if (mode < OPSaltAndPepper::Salt || mode > OPSaltAndPepper::SaltAndPepper)
        throw std::invalid_argument("salt-and-pepper noise: mode " + std::to_string(mode) + " is not 0, 1 or 2");
    if (value < OPSaltAndPepper::minPercent || value > OPSaltAndPepper::maxPercent)
        throw std::invalid_argument("salt-and-pepper noise: percentage " + std::to_string(value) + " is outside " +
                                    std::to_string(OPSaltAndPepper::minPercent) + ".." +
                                    std::to_string(OPSaltAndPepper::maxPercent));
}

// Visits the pixels column by column and calls hit(index, colour) for a pixel that
// the noise hits (colour 255 or 0) and keep(index) for every other one.
template <typename Hit, typename Keep>
void scatter(int width, int height, int mode, int value, const ivra::Progress& progress, Hit hit, Keep keep)
{
    auto& random = ivra::RandomGenerator::instance();
    const double p = value * 0.01;
    for (int x = 0; x < width; ++x) {
        progress.update(x, width);
        for (int y = 0; y < height; ++y) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + x;
            if (random.next() * kOneOverRange < p) {
                const double r2 = random.next() * kOneOverRange;
                const bool white = mode == OPSaltAndPepper::Salt ||
                                   (mode == OPSaltAndPepper::SaltAndPepper && r2 < 0.5);
                hit(i, white ? 255 : 0);
            } else {
                keep(i);
            }
        }
    }
}

} // namespace

std::unique_ptr<ImageRGB> OPSaltAndPepper::execute(const ImageRGB& src, int mode, int value,
                                                   const ivra::Progress& progress) const
{
    tools::CMessageHandler::instance().message("OPSaltAndPepper::execute(const ImageRGB& src, int mode, int value)");
    checkParameters(mode, value);
    auto result = std::make_unique<ImageRGB>(src.width(), src.height());
    const std::int32_t* in[3] = {src.red(), src.green(), src.blue()};
    std::int32_t* out[3] = {result->red(), result->green(), result->blue()};

    ivra::RandomStateGuard guard;
    scatter(
        src.width(), src.height(), mode, value, progress,
        [&](std::size_t i, std::int32_t colour) { out[0][i] = out[1][i] = out[2][i] = colour; },
        [&](std::size_t i) {
            for (int c = 0; c < 3; ++c)
                out[c][i] = in[c][i];
        });
    guard.release();
    return result;
}

std::unique_ptr<ImageGray> OPSaltAndPepper::execute(const ImageGray& src, int mode, int value,
                                                    const ivra::Progress& progress) const
{
    checkParameters(mode, value);
    auto result = std::make_unique<ImageGray>(src.width(), src.height());
    const std::int32_t* in = src.data();
    std::int32_t* out = result->data();

    ivra::RandomStateGuard guard;
    scatter(
        src.width(), src.height(), mode, value, progress, [&](std::size_t i, std::int32_t colour) { out[i] = colour; },
        [&](std::size_t i) { out[i] = in[i]; });
    guard.release();
    return result;
}
