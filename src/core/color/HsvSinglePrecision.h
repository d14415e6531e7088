#pragma once

namespace ivra {

// The HSV conversions in single precision that the Kuwahara-Nagao filter forms its
// HSV mean colour with. Same convention as the double-precision pair: hue in
// degrees, saturation and value as unit values.

// v = max, s = (max - min) / max (0 for black); when s = 0 the hue is `undefinedHue`.
void rgbToHsvF(float r, float g, float b, float undefinedHue, float& h, float& s, float& v);

// s = 0 gives the gray v; a hue of 360 is taken as 0. Hues are expected in [0, 360].
void hsvToRgbF(float h, float s, float v, float& r, float& g, float& b);

} // namespace ivra
