#include "icons/xpmcolors.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace varnel {

namespace {

struct NamedColor {
  std::string_view name;
  uint32_t rgb;  // 0xRRGGBB
};

// clang-format off
constexpr NamedColor kNamedColors[] = {
    {"black", 0x000000},
    {"white", 0xFFFFFF},
    {"aliceblue", 0xF0F8FF},
    {"antiquewhite", 0xFAEBD7},
    {"aqua", 0x00FFFF},
    {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF},
    {"beige", 0xF5F5DC},
    {"bisque", 0xFFE4C4},
    {"blanchedalmond", 0xFFEBCD},
    {"blue", 0x0000FF},
    {"blueviolet", 0x8A2BE2},
    {"brown", 0x8B2323},
    {"burlywood", 0xDEB887},
    {"cadetblue", 0x5F9EA0},
    {"chartreuse", 0x7FFF00},
    {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50},
    {"cornflowerblue", 0x6495ED},
    {"cornsilk", 0xFFF8DC},
    {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF},
    {"darkblue", 0x00008B},
    {"darkcyan", 0x008B8B},
    {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9},
    {"darkgrey", 0xA9A9A9},
    {"darkgreen", 0x006400},
    {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B},
    {"darkolivegreen", 0x556B2F},
    {"darkorange", 0xFF8C00},
    {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000},
    {"darksalmon", 0xE9967A},
    {"darkseagreen", 0x8FBC8F},
    {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F},
    {"darkslategrey", 0x2F4F4F},
    {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3},
    {"deeppink", 0xFF1493},
    {"deepskyblue", 0x00BFFF},
    {"dimgray", 0x696969},
    {"dimgrey", 0x696969},
    {"dodgerblue", 0x1E90FF},
    {"firebrick", 0xB22222},
    {"florawhite", 0xFFFAF0},
    {"forestgreen", 0x228B22},
    {"ghostwhite", 0xF8F8FF},
    {"gainsboro", 0xDCDCDC},
    {"gold", 0xFFD700},
    {"goldenrod", 0xDAA520},
    {"gray", 0xBEBEBE},
    {"grey", 0xBEBEBE},
    {"green", 0x00FF00},
    {"greenyellow", 0xADFF2F},
    {"honeydew", 0xF0FFF0},
    {"hotpink", 0xFF69B4},
    {"indianred", 0xCD5C5C},
    {"ivory", 0xFFFFF0},
    {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA},
    {"lavenderblush", 0xFFF0F5},
    {"lawngreen", 0x7CFC00},
    {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6},
    {"lightcoral", 0xF08080},
    {"lightcyan", 0xE0FFFF},
    {"lightgreen", 0x90EE90},
    {"lightgrey", 0xD3D3D3},
    {"lightgray", 0xD3D3D3},
    {"lightpink", 0xFFB6C1},
    {"lightsalmon", 0xFFA07A},
    {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA},
    {"lightslategray", 0x778899},
    {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE},
    {"lightyellow", 0xFFFFE0},
    {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6},
    {"magenta", 0xFF00FF},
    {"maroon", 0xB03060},
    {"mediumblue", 0x0000CD},
    {"mediumorchid", 0xBA55D3},
    {"mediumpurple", 0x9370DB},
    {"mediumseagreen", 0x3CB371},
    {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA},
    {"mistyrose", 0xFFE4E1},
    {"moccasin", 0xFFE4B5},
    {"navajowhite", 0xFFDEAD},
    {"navy", 0x000080},
    {"oldlace", 0xFDF5E6},
    {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500},
    {"orangered", 0xFF4500},
    {"orchid", 0xDA70D6},
    {"palegoldenrod", 0xEEE8AA},
    {"paleturquoise", 0xAFEEEE},
    {"palevioletred", 0xDB7093},
    {"papayawhip", 0xFFEFD5},
    {"peachpuff", 0xFFDAB9},
    {"peru", 0xCD853F},
    {"pink", 0xFFC0CB},
    {"plum", 0xDDA0DD},
    {"powderblue", 0xB0E0E6},
    {"purple", 0xA020F0},
    {"red", 0xFF0000},
    {"rosybrown", 0xBC8F8F},
    {"royalblue", 0x4169E1},
    {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072},
    {"sandybrown", 0xF4A460},
    {"seagreen", 0x2E8B57},
    {"seashell", 0xFFF5EE},
    {"sienna", 0xA0522D},
    {"skyblue", 0x87CEEB},
    {"slateblue", 0x6A5ACD},
    {"slategray", 0x708090},
    {"slategrey", 0x708090},
    {"snow", 0xFFFAFA},
    {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4},
    {"tan", 0xD2B48C},
    {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347},
    {"turquoise", 0x40E0D0},
    {"violet", 0xEE82EE},
    {"wheat", 0xF5DEB3},
    {"whitesmoke", 0xF5F5F5},
    {"yellow", 0xFFFF00},
    {"yellowgreen", 0x9ACD32},
    {"fuchsia", 0xFF00FF},
    {"indigo", 0x4B0082},
    {"lightgoldenrodyellow", 0xFAFAD2},
    {"lime", 0x00FF00},
    {"mediumaquamarine", 0x66CDAA},
    {"mediumslateblue", 0x7B68EE},
    {"mediumspringgreen", 0x00FA9A},
    {"mediumvioletred", 0xC71585},
    {"olive", 0x808000},
    {"palegreen", 0x98FB98},
    {"silver", 0xC0C0C0},
    {"teal", 0x008080},
};
// clang-format on
static_assert(std::size(kNamedColors) == 146);

RGBQuad Opaque(uint32_t rgb) {
  return {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 255};
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 0;
}

int HexByte(std::string_view digits, size_t at) {
  int high = at < digits.size() ? HexDigit(digits[at]) : 0;
  int low = at + 1 < digits.size() ? HexDigit(digits[at + 1]) : 0;
  return high * 16 + low;
}

// "#RRGGBB", or with more than 8 digits the high two digits of each third.
uint32_t HexColor(std::string_view digits) {
  size_t part = digits.size() > 8 ? digits.size() / 3 : 2;
  return uint32_t(HexByte(digits, 0) << 16) | uint32_t(HexByte(digits, part) << 8) |
         uint32_t(HexByte(digits, 2 * part));
}

uint32_t TableColor(std::string_view name) {
  for (const NamedColor& entry : kNamedColors)
    if (entry.name == name) return entry.rgb;
  return 0;
}

// Each channel times numerator / 255, rounded.
uint32_t Scaled(uint32_t rgb, int numerator) {
  uint32_t result = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    uint32_t channel = (rgb >> shift) & 0xFF;
    result |= ((channel * numerator + 127) / 255) << shift;
  }
  return result;
}

// A name followed by a number: grey levels in percent, or the shades 1 to 4 of a named colour.
uint32_t NumberedColor(std::string_view base, std::string_view digits) {
  uint64_t number = 0;
  for (char c : digits) number = std::min<uint64_t>(number * 10 + uint64_t(c - '0'), 1000);
  if (base == "grey" || base == "gray") {
    uint32_t level = uint32_t(std::min<uint64_t>((number * 255 + 50) / 100, 255));
    return level * 0x010101;
  }
  static constexpr std::array kShades = {255, 255, 238, 205, 139};
  if (number < 1 || number > 4) return 0;
  return Scaled(TableColor(base), kShades[number]);
}

}  // namespace

RGBQuad XpmColor(const std::string& spec) {
  if (spec.empty() || spec == "none") return {};
  std::string_view text(spec);
  if (text[0] == '#') return Opaque(HexColor(text.substr(1)));
  size_t digitsAt = text.size();
  while (digitsAt > 0 && text[digitsAt - 1] >= '0' && text[digitsAt - 1] <= '9') --digitsAt;
  if (digitsAt > 0 && digitsAt < text.size())
    return Opaque(NumberedColor(text.substr(0, digitsAt), text.substr(digitsAt)));
  return Opaque(TableColor(text));
}

}  // namespace varnel
