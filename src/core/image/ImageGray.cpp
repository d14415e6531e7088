#include "ImageGray.h"

ImageGray::ImageGray(int width, int height) : Image(width, height), plane_(allocatePlane()) {}
