#include "icons/gifimport.h"

#include <algorithm>
#include <array>

#include "base/fileio.h"
#include "graphics/exactpalette.h"
#include "icons/gifframes.h"
#include "icons/maskbits.h"
#include "icons/maskfrombackgrounds.h"

namespace varnel {

namespace {

constexpr RGBQuad kBlackEntry{0, 0, 0, 0};
constexpr RGBQuad kWhiteEntry{255, 255, 255, 0};

// The first frame's palette indices on the whole screen (the background index around it), with
// the frame's colour map as palette, widened to 256 entries.
TBitmap FirstFrameIndices(const GifPicture& gif) {
  const GifFrame& frame = gif.frames.front();
  TBitmap bitmap(gif.width, gif.height, PixelFormat::Bits8);
  std::vector<RGBQuad> palette = gif.MapOf(frame);
  palette.resize(256);
  bitmap.SetPalette(std::move(palette));
  for (int y = 0; y < bitmap.Height(); ++y)
    std::fill_n(bitmap.ScanLine(y), bitmap.Width(), uint8_t(gif.backgroundIndex));
  for (int y = std::max(frame.top, 0); y < std::min(frame.top + frame.height, gif.height); ++y)
    for (int x = std::max(frame.left, 0); x < std::min(frame.left + frame.width, gif.width); ++x)
      bitmap.ScanLine(y)[x] =
          frame.pixels[size_t(y - frame.top) * size_t(frame.width) + size_t(x - frame.left)];
  return bitmap;
}

// A composed frame drawn on a plain background, 24-bit (its transparent pixels are black).
TBitmap DrawnOn(const TFrameItem& item, TColor background) {
  TBitmap result = item.color;
  for (int y = 0; y < result.Height(); ++y)
    for (int x = 0; x < result.Width(); ++x)
      if (MaskBitSet(item.mask, x, y)) result.SetPixel(x, y, background);
  return result;
}

int EntryOf(const std::vector<RGBQuad>& palette, RGBQuad color) {
  auto at = std::find(palette.begin(), palette.end(), color);
  return at == palette.end() ? -1 : int(at - palette.begin());
}

// An entry no pixel uses (other than keep), else the least-used one.
int FreeEntry(const std::array<int64_t, 256>& uses, int keep) {
  int best = -1;
  for (int i = 0; i < 256; ++i)
    if (i != keep && (best < 0 || uses[size_t(i)] < uses[size_t(best)])) best = i;
  return best;
}

// Unused entries become black; black and white are entered when missing. Returns black's entry.
int CleanPalette(TBitmap& bitmap) {
  std::array<int64_t, 256> uses{};
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) ++uses[bitmap.ScanLine(y)[x]];
  std::vector<RGBQuad> palette = bitmap.Palette();
  for (size_t i = 0; i < palette.size(); ++i)
    if (!uses[i]) palette[i] = kBlackEntry;
  int black = EntryOf(palette, kBlackEntry);
  if (black < 0) palette[size_t(black = FreeEntry(uses, -1))] = kBlackEntry;
  if (EntryOf(palette, kWhiteEntry) < 0) palette[size_t(FreeEntry(uses, black))] = kWhiteEntry;
  bitmap.SetPalette(std::move(palette));
  return black;
}

void SetMaskedTo(TBitmap& bitmap, const TBitmap& mask, int index) {
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      if (MaskBitSet(mask, x, y)) bitmap.ScanLine(y)[x] = uint8_t(index);
}

void BlackenMasked(TBitmap& bitmap, const TBitmap& mask) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* row = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x)
      if (MaskBitSet(mask, x, y)) std::fill_n(row + 3 * x, 3, uint8_t(0));
  }
}

GifPicture ReadGif(const std::string& fileName) {
  return DecodeGif(ReadWholeFile(fileName));
}

}  // namespace

void AddImageFromGif(TAdvancedIcon& icon, const GifPicture& gif) {
  std::vector<TFrameItem> first;
  if (!ComposeGifFrames(gif, first, 1) || first.empty()) return;
  TBitmap onBlack = DrawnOn(first.front(), clBlack);
  TBitmap mask;
  MaskFromBackgrounds(onBlack, DrawnOn(first.front(), clWhite), mask);
  TBitmap color = FirstFrameIndices(gif);
  SetMaskedTo(color, mask, CleanPalette(color));
  icon.Images().AddFromBitmap(color, &mask, 0);
}

void LoadGifFile(TAdvancedIcon& icon, const std::string& fileName, bool allowLarge, int& height,
                 int& width) {
  GifPicture gif = ReadGif(fileName);
  width = gif.width;
  height = gif.height;
  if (!allowLarge && (width > kMaxDirectPictureSide || height > kMaxDirectPictureSide)) return;
  AddImageFromGif(icon, gif);
}

void AddGifFrames(TAdvancedIcon& icon, const GifPicture& gif) {
  std::vector<TFrameItem> items;
  ComposeGifFrames(gif, items);
  for (TFrameItem& item : items) {
    BlackenMasked(item.color, item.mask);
    std::optional<TBitmap> indexed = IndexedExactly(item.color, {clBlack});
    icon.Images().AddFromBitmap(indexed ? *indexed : item.color, &item.mask, 0);
  }
}

void LoadGifFrames(const std::string& fileName, TAdvancedIcon& icon) {
  AddGifFrames(icon, ReadGif(fileName));
}

void AddGifImages(TAdvancedIcon& icon, std::span<const uint8_t> bytes) {
  GifPicture gif = DecodeGif(bytes);
  if (gif.frames.size() > 1)
    AddGifFrames(icon, gif);
  else
    AddImageFromGif(icon, gif);
}

}  // namespace varnel
