// The strict netpbm check on any bytes: refusals are IoErrors; an accepted plain
// bitmap packs into exactly the rows its header announces.
#include "FuzzSupport.h"

#include "IoError.h"
#include "NetpbmValidator.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ivra::fuzz::InputDevice device(data, size);
    QByteArray bitmap;
    try {
        const ivra::NetpbmHeader h = ivra::validateNetpbm(device, "fuzz", {}, &bitmap);
        if (h.plain && h.type == ivra::PictureType::Pbm && bitmap.size() != qsizetype(h.width + 7) / 8 * h.height)
            std::abort();
    } catch (const ivra::IoError&) {
    }
    return 0;
}
