#include "icons/gifimport.h"

#include <algorithm>
#include <array>

#include "base/fileio.h"
#include "graphics/boxquantizer.h"
#include "graphics/canvas.h"
#include "graphics/exactpalette.h"
#include "graphics/resample.h"
#include "icons/gifframes.h"
#include "icons/maskbits.h"
#include "icons/maskfrombackgrounds.h"
#include "icons/picturesizing.h"

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
  return DecodeGif(ReadWholeFile(fileName, kMaxGifFileBytes));
}

// The first frame composed, or nothing for a GIF without frames or colours.
std::optional<TFrameItem> FirstFrame(const GifPicture& gif) {
  std::vector<TFrameItem> first;
  if (!ComposeGifFrames(gif, first, 1) || first.empty()) return std::nullopt;
  return std::move(first.front());
}

// Adds a 24-bit picture whose masked pixels are black as an 8-bit image: its own colours when
// they fit (black and white first), else 254 quantised ones followed by black and white.
void AddIndexed(TAdvancedIcon& icon, const TBitmap& picture, const TBitmap& mask) {
  if (std::optional<TBitmap> exact = IndexedExactly(picture, {clBlack, clWhite})) {
    icon.Images().AddFromBitmap(*exact, &mask, 0);
    return;
  }
  std::vector<RGBQuad> palette = QuantizeColors(picture, 254);
  palette.resize(256);
  palette[254] = kBlackEntry;
  palette[255] = kWhiteEntry;
  TBitmap indexed = MapToPalette(picture, palette);
  SetMaskedTo(indexed, mask, 254);
  icon.Images().AddFromBitmap(indexed, &mask, 0);
}

// The frame stretched into rect of a width x height bitmap of the background colour.
TBitmap StretchedOn(const TFrameItem& item, TColor background, const TRect& rect, int width,
                    int height) {
  TBitmap result(width, height, PixelFormat::Bits24);
  result.Fill(background);
  StretchDraw(result, rect, DrawnOn(item, background));
  return result;
}

void AddGifSized(TAdvancedIcon& icon, const GifPicture& gif, int width, bool keepProportions,
                 int height) {
  std::optional<TFrameItem> item = FirstFrame(gif);
  if (!item) return;
  TRect rect = TargetRectangle(gif.width, gif.height, keepProportions, width, height);
  TBitmap onBlack = StretchedOn(*item, clBlack, rect, width, height);
  TBitmap mask;
  MaskFromBackgrounds(onBlack, StretchedOn(*item, clWhite, rect, width, height), mask);
  AddIndexed(icon, onBlack, mask);
}

void AddGifResampled(TAdvancedIcon& icon, const GifPicture& gif, int width, int filter,
                     int alphaThreshold, bool keepProportions, int height) {
  std::optional<TFrameItem> item = FirstFrame(gif);
  if (!item) return;
  TBitmap onBlack = DrawnOn(*item, clBlack), mask;
  MaskFromBackgrounds(onBlack, DrawnOn(*item, clWhite), mask);
  TBitmap picture = ConvertFormat(onBlack, PixelFormat::Bits32);
  AlphaFromMask(picture, mask);
  TRect rect = TargetRectangle(gif.width, gif.height, keepProportions, width, height);
  TBitmap scaled(rect.Width(), rect.Height(), PixelFormat::Bits32);
  ResampleAlpha(picture, scaled, filter);
  TBitmap canvas(width, height, PixelFormat::Bits32);
  Draw(canvas, rect.left, rect.top, scaled);
  TBitmap result = ConvertFormat(canvas, PixelFormat::Bits24);
  TBitmap resultMask(width, height, PixelFormat::Bits1);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (canvas.ScanLine(y)[4 * x + 3] < alphaThreshold) SetMaskBit(resultMask, x, y);
  BlackenMasked(result, resultMask);
  AddIndexed(icon, result, resultMask);
}

}  // namespace

std::optional<TColorAndMask> GifFirstFramePicture(const GifPicture& gif) {
  std::optional<TFrameItem> first = FirstFrame(gif);
  if (!first) return std::nullopt;
  TBitmap onBlack = DrawnOn(*first, clBlack);
  TColorAndMask picture;
  MaskFromBackgrounds(onBlack, DrawnOn(*first, clWhite), picture.mask);
  picture.color = FirstFrameIndices(gif);
  SetMaskedTo(picture.color, picture.mask, CleanPalette(picture.color));
  return picture;
}

void AddImageFromGif(TAdvancedIcon& icon, const GifPicture& gif) {
  if (std::optional<TColorAndMask> picture = GifFirstFramePicture(gif))
    icon.Images().AddFromBitmap(picture->color, &picture->mask, 0);
}

void LoadGifFile(TAdvancedIcon& icon, const std::string& fileName, bool allowLarge, int& height,
                 int& width) {
  GifPicture gif = ReadGif(fileName);
  width = gif.width;
  height = gif.height;
  if (!allowLarge && (width > kMaxDirectPictureSide || height > kMaxDirectPictureSide)) return;
  AddImageFromGif(icon, gif);
}

void LoadGifFileSized(TAdvancedIcon& icon, const std::string& fileName, int width,
                      bool keepProportions, int height) {
  GifPicture gif = ReadGif(fileName);
  width = std::max(width, 1), height = std::max(height, 1);
  if (gif.width == width && gif.height == height)
    AddImageFromGif(icon, gif);
  else
    AddGifSized(icon, gif, width, keepProportions, height);
}

void LoadGifFileResampled(TAdvancedIcon& icon, const std::string& fileName, int width, int filter,
                          int alphaThreshold, bool keepProportions, int height) {
  if (filter == 0) return LoadGifFileSized(icon, fileName, width, keepProportions, height);
  GifPicture gif = ReadGif(fileName);
  width = std::max(width, 1), height = std::max(height, 1);
  if (gif.width == width && gif.height == height)
    AddImageFromGif(icon, gif);
  else
    AddGifResampled(icon, gif, width, filter, alphaThreshold, keepProportions, height);
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
