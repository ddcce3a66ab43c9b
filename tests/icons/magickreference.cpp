#include "magickreference.h"

#include <cstdlib>
#include <sstream>

#include "support/process.h"

namespace varnel::test {

std::optional<RgbaPicture> MagickPicture(const std::string& path, int frame) {
  std::string source = "'" + path + "[" + std::to_string(frame) + "]'";
  ProcessResult size = RunCommand("convert " + source + " -format '%w %h' info:- 2>/dev/null");
  RgbaPicture picture;
  std::istringstream dims(size.out);
  if (size.status != 0 || !(dims >> picture.width >> picture.height)) return std::nullopt;
  ProcessResult pixels = RunCommand("convert " + source + " -depth 8 rgba:- 2>/dev/null");
  if (pixels.status != 0 || pixels.out.size() != size_t(picture.width) * size_t(picture.height) * 4)
    return std::nullopt;
  picture.rgba.assign(pixels.out.begin(), pixels.out.end());
  return picture;
}

std::optional<RgbaPicture> PillowPicture(const std::string& path) {
  ProcessResult result = RunCommand(
      "/usr/bin/python3 -c \"import sys; from PIL import Image; i=Image.open(sys.argv[1])."
      "convert('RGBA'); sys.stdout.write('%d %d ' % i.size); sys.stdout.flush(); "
      "sys.stdout.buffer.write(i.tobytes())\" '" +
      path + "' 2>/dev/null");
  RgbaPicture picture;
  std::istringstream dims(result.out);
  if (result.status != 0 || !(dims >> picture.width >> picture.height)) return std::nullopt;
  size_t start = size_t(dims.tellg()) + 1;
  if (result.out.size() != start + size_t(picture.width) * size_t(picture.height) * 4)
    return std::nullopt;
  picture.rgba.assign(result.out.begin() + ptrdiff_t(start), result.out.end());
  return picture;
}

RgbaPicture RgbaOf(const TBitmap& bitmap) {
  RgbaPicture picture{bitmap.Width(), bitmap.Height(), {}};
  bool alpha = bitmap.Format() == PixelFormat::Bits32;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      TColor color = bitmap.GetPixel(x, y);
      picture.rgba.insert(picture.rgba.end(),
                          {GetRValue(color), GetGValue(color), GetBValue(color),
                           alpha ? bitmap.ScanLine(y)[4 * x + 3] : uint8_t(255)});
    }
  return picture;
}

namespace {

bool PixelsMatch(const uint8_t* actual, const uint8_t* expected, Comparison comparison) {
  if (comparison.opaqueOnly && expected[3] != 255) return true;
  if (actual[3] == 0 && expected[3] == 0) return true;
  for (int k = 0; k < 4; ++k)
    if (std::abs(int(actual[k]) - int(expected[k])) > comparison.tolerance) return false;
  return true;
}

}  // namespace

std::string FirstDifference(const RgbaPicture& actual, const RgbaPicture& expected,
                            Comparison comparison) {
  if (actual.width != expected.width || actual.height != expected.height)
    return "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
           " instead of " + std::to_string(expected.width) + "x" + std::to_string(expected.height);
  for (size_t i = 0; i < actual.rgba.size(); i += 4) {
    if (PixelsMatch(&actual.rgba[i], &expected.rgba[i], comparison)) continue;
    std::ostringstream text;
    size_t pixel = i / 4;
    text << "pixel (" << pixel % size_t(actual.width) << ", " << pixel / size_t(actual.width)
         << "): ";
    for (int k = 0; k < 4; ++k) text << int(actual.rgba[i + k]) << (k < 3 ? "," : "");
    text << " instead of ";
    for (int k = 0; k < 4; ++k) text << int(expected.rgba[i + k]) << (k < 3 ? "," : "");
    return text.str();
  }
  return "";
}

}  // namespace varnel::test
