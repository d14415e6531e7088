#include "DataObject.h"

namespace ivra {

std::string typeName(int typeCode)
{
    switch (typeCode) {
    case TypeImageGray: return "gray image (type 2)";
    case TypeImageRGB: return "RGB image (type 3)";
    case TypeImageHSV: return "HSV image (type 4)";
    case TypeHistogramGray: return "gray histogram (type 6)";
    case TypeHistogramHSV: return "HSV histogram (type 7)";
    case TypeHistogramRGB: return "RGB histogram (type 8)";
    default: return "object of type " + std::to_string(typeCode);
    }
}

} // namespace ivra
