#include "ImageColor.h"

ImageColor::ImageColor(int width, int height)
    : Image(width, height), planes_{allocatePlane(), allocatePlane(), allocatePlane()}
{
}
