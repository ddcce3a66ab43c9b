#pragma once
// The standard Mac OS colour tables that 4-bit and 8-bit Mac icon pictures index.

#include <vector>

#include "graphics/color.h"

namespace varnel {

// The 16-colour table: white, yellow, orange, red, magenta, purple, blue, cyan, green, dark
// green, brown, tan, light grey, grey, dark grey, black.
const std::vector<RGBQuad>& MacPalette16();
// The 256-colour table: the 6 x 6 x 6 colour cube without black (red slowest, channels from
// FF down to 00), ten-step ramps of red, green, blue and grey, and black last.
const std::vector<RGBQuad>& MacPalette256();

}  // namespace varnel
