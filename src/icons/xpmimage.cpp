#include "icons/xpmimage.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "base/errors.h"
#include "graphics/canvas.h"
#include "icons/xpmcolors.h"
#include "icons/xsourcetext.h"

namespace varnel {

namespace {

constexpr int kMaxSide = 65536;
constexpr int64_t kMaxColors = 16777215;

[[noreturn]] void Invalid(int code) {
  throw EInvalidGraphic("Invalid XPM image data, err. " + std::to_string(code));
}

// Walks the quoted strings of a text one after another.
class QuotedStrings {
 public:
  QuotedStrings(std::string_view text, size_t from) : text_(text), at_(from) {}
  // The next string between double quotes; false when none follows.
  bool Next(std::string_view& value) {
    size_t open = text_.find('"', at_);
    if (open == std::string_view::npos) return false;
    size_t close = text_.find('"', open + 1);
    if (close == std::string_view::npos) return false;
    value = text_.substr(open + 1, close - open - 1);
    at_ = close + 1;
    return true;
  }

 private:
  std::string_view text_;
  size_t at_;
};

// Reads whitespace-separated integers from text; false when one is missing or malformed.
bool ReadIntegers(std::string_view text, int64_t* values, int count) {
  const char* p = text.data();
  const char* end = p + text.size();
  for (int i = 0; i < count; ++i) {
    while (p < end && *p == ' ') ++p;
    auto [next, error] = std::from_chars(p, end, values[i]);
    if (error != std::errc()) return false;
    p = next;
  }
  return true;
}

// The code of a pixel packed into one number (at most 4 characters of 8 bits).
uint32_t PackCode(std::string_view code) {
  uint32_t packed = 0;
  for (char c : code) packed = (packed << 8) | uint8_t(c);
  return packed;
}

std::string LowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = char(std::tolower(uint8_t(c)));
  return lower;
}

// The colour of one colour line after its code: the word after the first "c " key; a line
// without that key defines nothing.
std::optional<RGBQuad> ColorOfLine(std::string_view rest) {
  size_t key = rest.find("c ");
  if (key == std::string_view::npos) return std::nullopt;
  std::string_view spec = rest.substr(key + 2);
  size_t start = spec.find_first_not_of(' ');
  spec = start == std::string_view::npos ? std::string_view() : spec.substr(start);
  spec = spec.substr(0, spec.find(' '));
  return XpmColor(LowerCase(spec));
}

std::string NameOfPixmap(std::string_view text) {
  size_t star = text.find('*');
  size_t brackets = text.find("[]");
  if (star == std::string_view::npos || brackets == std::string_view::npos || brackets < star)
    return "";
  std::string_view name = text.substr(star + 1, brackets - star - 1);
  size_t first = name.find_first_not_of(' ');
  if (first == std::string_view::npos) return "";
  name = name.substr(first, name.find_last_not_of(' ') - first + 1);
  return std::string(name.substr(0, name.find("_xpm")));
}

// The 3-3-2 thumbnail's byte as a 32-bit pixel.
RGBQuad ThumbnailColor(uint8_t value) {
  auto level = [](int bits, int max) { return uint8_t((bits * 255 + max / 2) / max); };
  return {level(value & 3, 3), level((value >> 2) & 7, 7), level(value >> 5, 7), 255};
}

}  // namespace

void TXPMImage::LoadFromStream(Stream& stream) {
  int64_t size = stream.Remaining();
  std::vector<uint8_t> bytes = stream.ReadBytes(size_t(size));
  static constexpr std::string_view kThumbnail = "P7 332";
  if (bytes.size() >= kThumbnail.size() &&
      std::memcmp(bytes.data(), kThumbnail.data(), kThumbnail.size()) == 0)
    LoadThumbnail(bytes);
  else
    LoadPixmap(FilterPictureSource(bytes));
}

void TXPMImage::LoadPixmap(const std::string& text) {
  VarName = NameOfPixmap(text);
  size_t brace = text.find('{');
  if (brace == std::string::npos) Invalid(1);
  QuotedStrings strings(text, brace);
  std::string_view line;
  int64_t values[4] = {};  // width, height, colours, characters per pixel
  if (!strings.Next(line)) Invalid(1);
  if (!ReadIntegers(line, values, 4)) Invalid(2);
  auto [width, height, colors, perPixel] = values;
  if (width <= 0 || width >= kMaxSide || height <= 0 || height >= kMaxSide || colors <= 0 ||
      colors >= kMaxColors || perPixel < 0 || perPixel >= 5)
    Invalid(2);
  // A picture the text cannot hold (every pixel takes its code, at least one character) is
  // refused before it is made.
  if (width * height * std::max<int64_t>(perPixel, 1) > int64_t(text.size())) Invalid(2);

  std::unordered_map<uint32_t, RGBQuad> palette;
  for (int64_t i = 0; i < colors && strings.Next(line); ++i) {
    std::string_view code = line.substr(0, size_t(perPixel));
    if (auto color = ColorOfLine(line.substr(code.size()))) palette[PackCode(code)] = *color;
  }
  SetSize(int(width), int(height));  // all transparent
  for (int y = 0; y < height && strings.Next(line); ++y) {
    auto* row = reinterpret_cast<RGBQuad*>(ScanLine(y));
    for (int64_t x = 0; x < width && (x + 1) * perPixel <= int64_t(line.size()); ++x) {
      auto found = palette.find(PackCode(line.substr(size_t(x * perPixel), size_t(perPixel))));
      if (found != palette.end()) row[x] = found->second;
    }
  }
}

void TXPMImage::LoadThumbnail(std::span<const uint8_t> bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  // Thumbnails write the marker without the colon; both forms are taken.
  size_t marker = text.find("#END_OF_COMMENTS");
  if (marker == std::string_view::npos) throw EInvalidGraphic("#END_OF_COMMENTS: not found");
  size_t valuesAt = text.find('\n', marker);
  size_t pixelsAt = valuesAt == std::string_view::npos ? valuesAt : text.find('\n', valuesAt + 1);
  if (pixelsAt == std::string_view::npos) Invalid(3);
  int64_t values[3] = {};  // width, height, maximum
  std::string_view line = text.substr(valuesAt + 1, pixelsAt - valuesAt - 1);
  if (!ReadIntegers(line, values, 3)) Invalid(3);
  auto [width, height, maximum] = values;
  if (width <= 0 || width >= kMaxSide || height <= 0 || height >= kMaxSide || maximum <= 0 ||
      maximum >= kMaxColors)
    Invalid(3);
  std::span<const uint8_t> pixels = bytes.subspan(pixelsAt + 1);
  if (width * height > int64_t(pixels.size())) Invalid(3);
  VarName.clear();
  SetSize(int(width), int(height));
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<RGBQuad*>(ScanLine(y));
    for (int x = 0; x < width; ++x) row[x] = ThumbnailColor(pixels[size_t(y * width + x)]);
  }
}

void TXPMImage::GetBitmaps(TBitmap& color, TBitmap& mask) const {
  color = TBitmap(Width(), Height(), PixelFormat::Bits24);
  mask = TBitmap(Width(), Height(), PixelFormat::Bits1);
  for (int y = 0; y < Height(); ++y) {
    const auto* row = reinterpret_cast<const RGBQuad*>(ScanLine(y));
    uint8_t* out = color.ScanLine(y);
    for (int x = 0; x < Width(); ++x) {
      if (row[x].reserved == 0) {
        mask.SetIndex(x, y, 1);
        continue;
      }
      out[3 * x] = row[x].blue;
      out[3 * x + 1] = row[x].green;
      out[3 * x + 2] = row[x].red;
    }
  }
}

void TXPMImage::SetFromBitmaps(const TBitmap& color, const TBitmap* mask, int alphaThreshold) {
  TBitmap picture =
      color.Format() == PixelFormat::Bits32 ? color : ConvertFormat(color, PixelFormat::Bits32);
  bool ownAlpha = color.Format() == PixelFormat::Bits32;
  bool masked = mask && mask->Width() == color.Width() && mask->Height() == color.Height();
  for (int y = 0; y < picture.Height(); ++y) {
    auto* row = reinterpret_cast<RGBQuad*>(picture.ScanLine(y));
    for (int x = 0; x < picture.Width(); ++x) {
      int alpha = ownAlpha ? row[x].reserved : 255;
      if (masked && mask->GetIndex(x, y)) alpha = 0;
      row[x] =
          alpha < alphaThreshold ? RGBQuad{} : RGBQuad{row[x].blue, row[x].green, row[x].red, 255};
    }
  }
  static_cast<TBitmap&>(*this) = std::move(picture);
}

}  // namespace varnel
