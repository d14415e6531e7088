#include "HsvSinglePrecision.h"

#include <algorithm>
#include <cmath>

namespace ivra {

void rgbToHsvF(float r, float g, float b, float undefinedHue, float& h, float& s, float& v)
{
    const float max = std::max(std::max(r, g), b);
    const float min = std::min(std::min(r, g), b);
    const float delta = max - min;
    v = max;
    s = max != 0.0f ? delta / max : 0.0f;
    if (s == 0.0f) {
        h = undefinedHue;
        return;
    }
    if (r == max)
        h = 60.0f * ((g - b) / delta);
    else if (g == max)
        h = 60.0f * (2.0f + (b - r) / delta);
    else
        h = 60.0f * (4.0f + (r - g) / delta);
    if (h < 0.0f)
        h += 360.0f;
}

void hsvToRgbF(float h, float s, float v, float& r, float& g, float& b)
{
    if (s == 0.0f) {
        r = g = b = v;
        return;
    }
    if (h == 360.0f || !(h >= 0.0f && h < 360.0f)) // the last test also catches NaN
        h = 0.0f;
    const float sector = h * (1.0f / 60.0f);
    const float i = std::floor(sector);
    const float f = sector - i;
    const float p = v * (1.0f - s);
    const float q = v * (1.0f - s * f);
    const float t = v * (1.0f - (1.0f - f) * s);
    switch (static_cast<int>(i)) {
    case 1: r = q; g = v; b = p; break;
    case 2: r = p; g = v; b = t; break;
    case 3: r = p; g = q; b = v; break;
    case 4: r = t; g = p; b = v; break;
    case 5: r = v; g = p; b = q; break;
    default: r = v; g = t; b = p; break; // sector 0 (and hues outside 0..360)
    }
}

} // namespace ivra
