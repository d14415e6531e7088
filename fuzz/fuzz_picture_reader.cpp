// The picture reader on any bytes: refusals are IoErrors, anything else is a bug.
// The name's type is the type the content shows (so every decoder is reached), or
// PNG when the content shows none. The pixel limit keeps decoded pictures small.
#include "FuzzSupport.h"

#include "IoError.h"
#include "PictureReader.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ivra::fuzz::silenceToolkit();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ivra::fuzz::InputDevice device(data, size);
    ivra::PictureType type = ivra::pictureTypeOfContent(device.peek(16));
    if (!ivra::isOpenedType(type))
        type = ivra::PictureType::Png;
    try {
        ivra::decodePicture(device, type, "fuzz", ivra::PictureLimits{1 << 22});
    } catch (const ivra::IoError&) {
    }
    return 0;
}
