// The .npy reader on any bytes, read as a file and as an image of either colour
// space: refusals are IoErrors, anything else is a bug.
#include "FuzzSupport.h"

#include "IoError.h"
#include "Npy.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ivra::fuzz::InputDevice device(data, size);
    try {
        const ivra::NpyArray array = ivra::readNpy(device, "fuzz");
        for (const ivra::NpyColor color : {ivra::NpyColor::Rgb, ivra::NpyColor::Hsv})
            try {
                ivra::imageFromNpy(array, color, "fuzz");
            } catch (const ivra::IoError&) {
            }
    } catch (const ivra::IoError&) {
    }
    return 0;
}
