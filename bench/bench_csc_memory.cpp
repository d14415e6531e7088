// Working memory of the Colour Structure Code on a 12-megapixel photo (4000 x 3000):
// the peak resident set during a run, minus what was resident before it (the input
// picture) and minus the result picture it returns (three planes, the source copy and
// the labels: 19 bytes per pixel). Linux only: reads /proc/self/status and resets the
// peak through /proc/self/clear_refs.
#include "PictureReader.h"
#include "csc/CSCRegionOutput.h"
#include "csc/OPCSC.h"
#include "csc/ipcCSC.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace ivra;

namespace {

long statusKiB(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::strtol(line.c_str() + std::char_traits<char>::length(field), nullptr, 10);
    return -1;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace

int main()
{
    const char* dir = std::getenv("IVRA_SAMPLES_DIR");
    auto loaded = ivra::readPicture(QString(dir ? dir : IVRA_SAMPLES_DIR) + "/rocket.ppm");
    if (!loaded || loaded->type() != TypeImageRGB) {
        std::fprintf(stderr, "cannot read rocket.ppm\n");
        return 1;
    }
    const auto& photo = static_cast<const ImageRGB&>(*loaded);
    const int w = 4000, h = 3000;
    ImageRGB image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto p = photo.pixel(x * photo.width() / w, y * photo.height() / h);
            image.setPixel(static_cast<std::size_t>(y) * w + x, static_cast<std::int16_t>(p[0]),
                           static_cast<std::int16_t>(p[1]), static_cast<std::int16_t>(p[2]));
        }
    loaded.reset();
    const double pixels = static_cast<double>(w) * h;
    const double resultKiB = pixels * 19 / 1024;

    for (const auto space : {OPCSC::Space::RGB, OPCSC::Space::HSV}) {
        resetPeak();
        const long before = statusKiB("VmRSS:");
        long peak = 0;
        std::size_t labelled = 0;
        std::uint32_t regions = 0;
        {
            const auto result = OPCSC().execute(image, space, 25);
            peak = statusKiB("VmHWM:");
            for (std::size_t i = 0; i < result.image->pixelCount(); ++i) {
                labelled += result.image->labels[i] != 0;
                regions = std::max(regions, result.image->labels[i]);
            }
        }
        const double working = (static_cast<double>(peak - before) - resultKiB) * 1024;
        std::printf("%s 4000x3000: resident before %ld KiB, peak %ld KiB, result %.0f KiB, "
                    "working memory %.1f MiB = %.2f bytes per pixel (%u regions, %.1f%% of the pixels in one)\n",
                    space == OPCSC::Space::RGB ? "RGB" : "HSV", before, peak, resultKiB, working / 1048576,
                    working / pixels, regions, 100.0 * static_cast<double>(labelled) / pixels);
    }

    // The engine alone, with its input bytes and the label picture already resident:
    // everything above them is the run's own memory (store, bit plane, painting).
    {
        std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * 3);
        for (std::size_t i = 0; i < image.pixelCount(); ++i) {
            rgb[3 * i] = static_cast<std::uint8_t>(image.red()[i]);
            rgb[3 * i + 1] = static_cast<std::uint8_t>(image.green()[i]);
            rgb[3 * i + 2] = static_cast<std::uint8_t>(image.blue()[i]);
        }
        std::vector<std::uint32_t> labels(image.pixelCount(), 1);
        resetPeak();
        const long before = statusKiB("VmRSS:");
        long long elements = 0, links = 0;
        {
            ipcCSCRGB csc;
            csc.resize(w, h);
            csc.similarity.squaredThreshold = 25 * 25;
            csc.run(w, h, rgb.data(), 0, 0, w, h);
            paintRegions(*csc.store(), 0, 0, w, h, labels.data());
            elements = csc.store()->usedElements();
            links = csc.store()->usedLinks();
        }
        const double working = static_cast<double>(statusKiB("VmHWM:") - before) * 1024;
        std::printf("RGB engine alone: %lld elements, %lld links, peak above input and labels %.1f MiB = %.2f bytes "
                    "per pixel\n",
                    elements, links, working / 1048576, working / pixels);
    }
    return 0;
}
