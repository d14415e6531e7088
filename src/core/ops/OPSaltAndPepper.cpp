#include "OPSaltAndPepper.h"

#include "util/MessageSink.h"
#include "util/RandomGenerator.h"
#include "util/VectorState.h"

#include <algorithm>
#include <cstdint>
#include <vector>
#include <stdexcept>
#include <string>

namespace ivra {

namespace {

// Scales a draw of 0..32767 onto [0, 1]; the generator's range is fixed at 32767.
constexpr double kOneOverRange = 1.0 / 32767.0;

using Mode = OPSaltAndPepper::Mode;

void checkParameters(Mode mode, int value)
{
    if (mode != Mode::Salt && mode != Mode::Pepper && mode != Mode::SaltAndPepper)
        throw std::invalid_argument("salt-and-pepper noise: mode " + std::to_string(static_cast<int>(mode)) + " is not 0, 1 or 2");
    if (value < SaltAndPepperParams::minPercent || value > SaltAndPepperParams::maxPercent)
        throw std::invalid_argument("salt-and-pepper noise: percentage " + std::to_string(value) + " is outside " +
                                    std::to_string(SaltAndPepperParams::minPercent) + ".." +
                                    std::to_string(SaltAndPepperParams::maxPercent));
}

// Draws the numbers column by column and calls hit(index, colour) for a pixel that
// the noise hits (colour 255 or 0) and keep(index) for every other one. The draws
// are made for a strip of columns at a time and the pixels then written row by row,
// which spares the cache a walk down every column of every plane.
template <typename Hit, typename Keep>
void scatter(int width, int height, Mode mode, int value, const ivra::Progress& progress, Hit hit, Keep keep)
{
    enum : std::uint8_t { Kept, White, Black };
    constexpr int strip = 64;
    auto& random = ivra::RandomGenerator::instance();
    const double p = value * 0.01;
    const std::size_t rows = static_cast<std::size_t>(height);
    std::vector<std::uint8_t> marks(static_cast<std::size_t>(std::min(strip, width)) * rows);
    ivra::clearUpperVectorState();
    for (int x0 = 0; x0 < width; x0 += strip) {
        progress.update(x0, width);
        const int columns = std::min(strip, width - x0);
        for (int dx = 0; dx < columns; ++dx) {
            std::uint8_t* column = marks.data() + static_cast<std::size_t>(dx) * rows;
            for (std::size_t y = 0; y < rows; ++y) {
                column[y] = Kept;
                if (random.next() * kOneOverRange < p) {
                    const double r2 = random.next() * kOneOverRange;
                    const bool white = mode == Mode::Salt ||
                                       (mode == Mode::SaltAndPepper && r2 < 0.5);
                    column[y] = white ? White : Black;
                }
            }
        }
        for (std::size_t y = 0; y < rows; ++y) {
            const std::size_t row = y * static_cast<std::size_t>(width) + static_cast<std::size_t>(x0);
            for (int dx = 0; dx < columns; ++dx) {
                const std::uint8_t mark = marks[static_cast<std::size_t>(dx) * rows + y];
                if (mark == Kept)
                    keep(row + static_cast<std::size_t>(dx));
                else
                    hit(row + static_cast<std::size_t>(dx), mark == White ? 255 : 0);
            }
        }
    }
}

} // namespace

std::string OPSaltAndPepper::resultName(int run, Mode mode, int value)
{
    const char* kind = mode == Mode::Salt ? "Salt" : mode == Mode::Pepper ? "Pepper" : "Salt and Pepper";
    // Appended piece by piece: GCC 12 warns falsely about "(" + std::string.
    std::string name = "(";
    name += std::to_string(run);
    name += ") ";
    name += kind;
    name += " [Percent=";
    name += std::to_string(value);
    name += "%]";
    return name;
}

std::unique_ptr<ImageRGB> OPSaltAndPepper::execute(const ImageRGB& src, Mode mode, int value,
                                                   const ivra::Progress& progress) const
{
    ivra::MessageSink::instance().message("OPSaltAndPepper::execute(const ImageRGB& src, int mode, int value)");
    checkParameters(mode, value);
    auto result = std::make_unique<ImageRGB>(src.width(), src.height());
    const std::int32_t* in[3] = {src.red(), src.green(), src.blue()};
    std::int32_t* out[3] = {result->red(), result->green(), result->blue()};

    ivra::RandomStateGuard guard;
    scatter(
        src.width(), src.height(), mode, value, progress,
        [&](std::size_t i, std::int32_t color) { out[0][i] = out[1][i] = out[2][i] = color; },
        [&](std::size_t i) {
            for (int c = 0; c < 3; ++c)
                out[c][i] = in[c][i];
        });
    guard.release();
    return result;
}

std::unique_ptr<ImageGray> OPSaltAndPepper::execute(const ImageGray& src, Mode mode, int value,
                                                    const ivra::Progress& progress) const
{
    checkParameters(mode, value);
    auto result = std::make_unique<ImageGray>(src.width(), src.height());
    const std::int32_t* in = src.data();
    std::int32_t* out = result->data();

    ivra::RandomStateGuard guard;
    scatter(
        src.width(), src.height(), mode, value, progress, [&](std::size_t i, std::int32_t color) { out[i] = color; },
        [&](std::size_t i) { out[i] = in[i]; });
    guard.release();
    return result;
}

std::unique_ptr<Image> OPSaltAndPepper::execute(const Image& src, const SaltAndPepperParams& params,
                                                const ivra::Progress& progress) const
{
    if (src.type() == TypeImageRGB)
        return execute(static_cast<const ImageRGB&>(src), params.mode, params.percent, progress);
    if (src.type() == TypeImageGray)
        return execute(static_cast<const ImageGray&>(src), params.mode, params.percent, progress);
    throw UnacceptedInput("Salt-and-pepper noise", src.type());
}

} // namespace ivra
