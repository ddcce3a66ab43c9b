#pragma once
// The colours of XPM pictures: the 146 colour names, their numbered variants and hexadecimal
// values.

#include <string>

#include "graphics/color.h"

namespace varnel {

// The 32-bit pixel (blue, green, red, alpha) of a colour value as XPM colour lines give
// it, already lower-cased: empty or "none" is transparent (all zero); "#RRGGBB", or
// "#RRRRGGGGBBBB" of which the high two digits of each part count; a colour name, possibly with
// a number ("grey50", "red3"). Every other colour is opaque; an unknown name is black.
RGBQuad XpmColor(const std::string& spec);

}  // namespace varnel
