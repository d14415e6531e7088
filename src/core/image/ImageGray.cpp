#include "ImageGray.h"

namespace ivra {

ImageGray::ImageGray(int width, int height) : Image(width, height), plane_(allocatePlane()) {}

} // namespace ivra
