// Writing TXPMImage as C source.

#include <cstdio>
#include <unordered_map>

#include "icons/xpmimage.h"
#include "icons/xsourcetext.h"

namespace varnel {

namespace {

constexpr int kCodeCount = 92;

// The printable characters from the blank to the tilde, without '"', '/' and '\'.
char CodeCharacter(int index) {
  static const std::string kCodes = [] {
    std::string codes;
    for (char c = ' '; c <= '~'; ++c)
      if (c != '"' && c != '/' && c != '\\') codes += c;
    return codes;
  }();
  return kCodes[size_t(index)];
}

int CharactersPerPixel(size_t colors) {
  int perPixel = 1;
  for (size_t capacity = kCodeCount; colors > capacity && perPixel < 4; capacity *= kCodeCount)
    ++perPixel;
  return perPixel;
}

// The code of colour k: first character k mod 92, the next (k div 92) mod 92, and so on.
std::string CodeOf(size_t index, int perPixel) {
  std::string code;
  for (int i = 0; i < perPixel; ++i, index /= kCodeCount)
    code += CodeCharacter(int(index % kCodeCount));
  return code;
}

std::string ColorName(TColor color) {
  if (color == clBlack) return "black";
  if (color == clWhite) return "white";
  char hex[8];
  std::snprintf(hex, sizeof hex, "#%02x%02x%02x", GetRValue(color), GetGValue(color),
                GetBValue(color));
  return hex;
}

// The colour table: the transparent entry "None" first, then the distinct colours of the colour
// bitmap in order of first appearance, top row first (the black under masked pixels included);
// indexOf maps each colour to its position.
struct PixmapColors {
  std::vector<TColor> colors;
  std::unordered_map<TColor, size_t> indexOf;
};

constexpr size_t kNoneIndex = 0;

PixmapColors CollectColors(const TBitmap& color) {
  PixmapColors result;
  for (int y = 0; y < color.Height(); ++y)
    for (int x = 0; x < color.Width(); ++x) {
      TColor pixel = color.GetPixel(x, y);
      if (result.indexOf.emplace(pixel, kNoneIndex + 1 + result.colors.size()).second)
        result.colors.push_back(pixel);
    }
  return result;
}

}  // namespace

void TXPMImage::SaveToStream(Stream& stream) const {
  TBitmap color, mask;
  GetBitmaps(color, mask);
  PixmapColors palette = CollectColors(color);
  size_t count = palette.colors.size() + 1;
  int perPixel = CharactersPerPixel(count);

  std::string text =
      "/* XPM */ \nstatic const unsigned char * " + CleanPictureName(VarName) + "_xpm[] = {\n";
  char values[64];
  std::snprintf(values, sizeof values, "%d %d %d %d", Width(), Height(), int(count), perPixel);
  text += "\"" + std::string(values) + "\",\n";
  text += "\"" + CodeOf(kNoneIndex, perPixel) + "\tc None\",\n";
  for (TColor entry : palette.colors)
    text += "\"" + CodeOf(palette.indexOf[entry], perPixel) + "\tc " + ColorName(entry) + "\",\n";
  for (int y = 0; y < Height(); ++y) {
    text += '"';
    for (int x = 0; x < Width(); ++x)
      text += CodeOf(mask.GetIndex(x, y) ? kNoneIndex : palette.indexOf[color.GetPixel(x, y)],
                     perPixel);
    text += y + 1 < Height() ? "\",\n" : "\"};";
  }
  stream.WriteBuffer(text.data(), text.size());
}

}  // namespace varnel
