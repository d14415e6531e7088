#pragma once

#include "image/DataObject.h"

#include <QString>

namespace ivra {

// The information line for picture point (x, y) of a gray, RGB or HSV picture:
// " X=%1 Y=%2  RGB=(%3,%4,%5)  HSV=(%6,%7,%8)". An RGB or gray picture gives its
// HSV through the exact pixel conversion, an HSV picture its RGB through the table
// conversion; an undefined hue is written as -1. A null string for a point outside
// the picture or for an object that is not a picture.
QString pixelInfoText(const DataObject& data, int x, int y);

// The status bar's line for the pointer: a gray picture's one value
// (" X=3 Y=4  Gray=120"), a colour picture's RGB and HSV as above.
QString pixelStatusText(const DataObject& data, int x, int y);

} // namespace ivra
