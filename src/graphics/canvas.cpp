#include "graphics/canvas.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "graphics/nearestindex.h"
#include "graphics/pixelrow.h"

namespace varnel {

namespace {

bool SameStorage(const TBitmap& a, const TBitmap& b) {
  if (a.Format() != b.Format()) return false;
  if (IsIndexedFormat(a.Format())) return a.Palette() == b.Palette();
  if (a.Format() == PixelFormat::Bits16)
    return std::equal(a.ChannelMasks(), a.ChannelMasks() + 3, b.ChannelMasks());
  return true;
}

// Converts pixels of a source bitmap into the representation of a destination bitmap, a row at
// a time: palette indices when the destination is indexed, colour quads otherwise.
class PixelTransfer {
 public:
  PixelTransfer(const TBitmap& source, TBitmap& dest)
      : source_(source),
        dest_(dest),
        destIndexed_(IsIndexedFormat(dest.Format())),
        sourceIndexed_(IsIndexedFormat(source.Format())),
        sameStorage_(SameStorage(source, dest)),
        nearest_(dest) {
    if (sourceIndexed_ && destIndexed_ && !sameStorage_) BuildIndexMap();
    int width = std::max(source.Width(), dest.Width());
    sourceIndices_.resize(size_t(width));
    sourceColors_.resize(size_t(width));
    destIndices_.resize(size_t(width));
    destColors_.resize(size_t(width));
  }

  bool DestIndexed() const { return destIndexed_; }

  // Converts count source pixels of row sy: columns[i] when columns is given, else sx + i.
  // The result is in DestIndices() or DestColors().
  void ConvertRow(int sy, int sx, int count, const int* columns) {
    if (sourceIndexed_) {
      LoadRow(ReadIndexRow, sy, sx, count, columns, sourceIndices_.data(), indexScratch_);
      MapIndices(count);
    } else {
      LoadRow(ReadColorRow, sy, sx, count, columns, sourceColors_.data(), colorScratch_);
      MapColors(count);
    }
  }

  // Copies pixels of row sy straight into row dy when both bitmaps store pixels alike and the
  // formats are byte-aligned; false when a conversion is needed.
  bool CopyRawRow(int sy, int sx, int dy, int dx, int count) {
    int bits = dest_.BitsPerPixel();
    if (!sameStorage_ || bits < 8) return false;
    size_t bytesPerPixel = size_t(bits / 8);
    std::memmove(dest_.ScanLine(dy) + dx * bytesPerPixel, source_.ScanLine(sy) + sx * bytesPerPixel,
                 count * bytesPerPixel);
    return true;
  }

  void WriteRow(int dy, int dx, int count) {
    if (destIndexed_)
      WriteIndexRow(dest_, dy, dx, count, destIndices_.data());
    else
      WriteColorRow(dest_, dy, dx, count, destColors_.data());
  }

  uint8_t* DestIndices() { return destIndices_.data(); }
  RGBQuad* DestColors() { return destColors_.data(); }

 private:
  void BuildIndexMap() {
    const auto& palette = source_.Palette();
    for (int i = 0; i < 256; ++i)
      indexMap_[i] = i < int(palette.size()) ? nearest_.IndexOf(palette[i]) : nearest_.IndexOf({});
  }

  template <typename T, typename Reader>
  void LoadRow(Reader read, int sy, int sx, int count, const int* columns, T* out,
               std::vector<T>& scratch) {
    if (!columns) {
      read(source_, sy, sx, count, out);
      return;
    }
    scratch.resize(size_t(source_.Width()));
    read(source_, sy, 0, source_.Width(), scratch.data());
    for (int i = 0; i < count; ++i) out[i] = scratch[size_t(columns[i])];
  }

  void MapIndices(int count) {
    if (destIndexed_) {
      for (int i = 0; i < count; ++i)
        destIndices_[i] = sameStorage_ ? sourceIndices_[i] : indexMap_[sourceIndices_[i]];
      return;
    }
    const auto& palette = source_.Palette();
    for (int i = 0; i < count; ++i) {
      uint8_t index = sourceIndices_[i];
      destColors_[i] = index < palette.size() ? palette[index] : RGBQuad{};
      destColors_[i].reserved = 0;
    }
  }

  void MapColors(int count) {
    if (destIndexed_) {
      for (int i = 0; i < count; ++i) destIndices_[i] = nearest_.IndexOf(sourceColors_[i]);
    } else {
      std::memcpy(destColors_.data(), sourceColors_.data(), size_t(count) * 4);
    }
  }

  const TBitmap& source_;
  TBitmap& dest_;
  bool destIndexed_;
  bool sourceIndexed_;
  bool sameStorage_;
  NearestColorCache nearest_;
  uint8_t indexMap_[256] = {};
  std::vector<uint8_t> sourceIndices_;
  std::vector<RGBQuad> sourceColors_;
  std::vector<uint8_t> destIndices_;
  std::vector<RGBQuad> destColors_;
  std::vector<uint8_t> indexScratch_;
  std::vector<RGBQuad> colorScratch_;
};

// The part of a source placed at (x, y) that falls inside dest.
struct ClippedPlacement {
  int sx = 0, sy = 0, dx = 0, dy = 0, width = 0, height = 0;
  bool Empty() const { return width <= 0 || height <= 0; }
};

ClippedPlacement Clip(const TBitmap& dest, int x, int y, int width, int height) {
  ClippedPlacement p;
  p.sx = std::max(0, -x);
  p.sy = std::max(0, -y);
  p.dx = x + p.sx;
  p.dy = y + p.sy;
  p.width = std::min(width - p.sx, dest.Width() - p.dx);
  p.height = std::min(height - p.sy, dest.Height() - p.dy);
  return p;
}

// For each destination pixel along one axis of a stretch, the nearest source pixel (the one
// under the centre of the destination pixel); mirrored when the destination runs backwards.
std::vector<int> StretchMap(int destLength, int sourceLength, bool mirrored) {
  std::vector<int> map(static_cast<size_t>(destLength));
  for (int64_t i = 0; i < destLength; ++i) {
    int s = int(((2 * i + 1) * sourceLength) / (2 * int64_t(destLength)));
    map[size_t(i)] = mirrored ? sourceLength - 1 - s : s;
  }
  return map;
}

}  // namespace

void FillRect(TBitmap& dest, const TRect& rect, TColor color) {
  int left = std::max(rect.left, 0), top = std::max(rect.top, 0);
  int right = std::min(rect.right, dest.Width()), bottom = std::min(rect.bottom, dest.Height());
  if (left >= right || top >= bottom) return;
  int count = right - left;
  if (IsIndexedFormat(dest.Format())) {
    std::vector<uint8_t> row(size_t(count), uint8_t(dest.NearestPaletteIndex(color)));
    for (int y = top; y < bottom; ++y) WriteIndexRow(dest, y, left, count, row.data());
  } else {
    std::vector<RGBQuad> row(size_t(count), RGBQuad::FromColor(color));
    for (int y = top; y < bottom; ++y) WriteColorRow(dest, y, left, count, row.data());
  }
}

void Draw(TBitmap& dest, int x, int y, const TBitmap& source) {
  if (&source == &dest) return Draw(dest, x, y, TBitmap(source));
  ClippedPlacement p = Clip(dest, x, y, source.Width(), source.Height());
  if (p.Empty()) return;
  PixelTransfer transfer(source, dest);
  for (int row = 0; row < p.height; ++row) {
    if (transfer.CopyRawRow(p.sy + row, p.sx, p.dy + row, p.dx, p.width)) continue;
    transfer.ConvertRow(p.sy + row, p.sx, p.width, nullptr);
    transfer.WriteRow(p.dy + row, p.dx, p.width);
  }
}

TBitmap ConvertFormat(const TBitmap& source, PixelFormat format,
                      const std::vector<RGBQuad>* palette) {
  TBitmap result(0, 0, format);
  if (palette && IsIndexedFormat(format)) result.SetPalette(*palette);
  result.SetSize(source.Width(), source.Height());
  Draw(result, 0, 0, source);
  return result;
}

void StretchDraw(TBitmap& dest, const TRect& rect, const TBitmap& source) {
  if (&source == &dest) return StretchDraw(dest, rect, TBitmap(source));
  if (source.Empty() || rect.Width() == 0 || rect.Height() == 0) return;
  int left = std::min(rect.left, rect.right), top = std::min(rect.top, rect.bottom);
  int width = std::abs(rect.Width()), height = std::abs(rect.Height());
  ClippedPlacement p = Clip(dest, left, top, width, height);
  if (p.Empty()) return;
  std::vector<int> columns = StretchMap(width, source.Width(), rect.Width() < 0);
  std::vector<int> rows = StretchMap(height, source.Height(), rect.Height() < 0);
  PixelTransfer transfer(source, dest);
  for (int row = 0; row < p.height; ++row) {
    transfer.ConvertRow(rows[size_t(p.sy + row)], 0, p.width, columns.data() + p.sx);
    transfer.WriteRow(p.dy + row, p.dx, p.width);
  }
}

void DrawBlended(TBitmap& dest, int x, int y, const TBitmap& source) {
  if (source.Format() != PixelFormat::Bits32) return Draw(dest, x, y, source);
  if (&source == &dest) return DrawBlended(dest, x, y, TBitmap(source));
  ClippedPlacement p = Clip(dest, x, y, source.Width(), source.Height());
  if (p.Empty()) return;
  bool indexed = IsIndexedFormat(dest.Format());
  NearestColorCache nearest(dest);
  std::vector<RGBQuad> sourceRow(size_t(p.width)), destRow(size_t(p.width));
  std::vector<uint8_t> indices(indexed ? size_t(p.width) : 0);
  auto blend = [](int d, int s, int a) { return uint8_t(d + a * (s - d) / 255); };
  for (int row = 0; row < p.height; ++row) {
    int dy = p.dy + row;
    ReadColorRow(source, p.sy + row, p.sx, p.width, sourceRow.data());
    ReadColorRow(dest, dy, p.dx, p.width, destRow.data());
    for (int i = 0; i < p.width; ++i) {
      const RGBQuad& s = sourceRow[i];
      RGBQuad& d = destRow[i];
      int a = s.reserved;
      d.blue = blend(d.blue, s.blue, a);
      d.green = blend(d.green, s.green, a);
      d.red = blend(d.red, s.red, a);
      d.reserved = uint8_t(a + d.reserved * (255 - a) / 255);
    }
    if (indexed) {
      for (int i = 0; i < p.width; ++i) indices[i] = nearest.IndexOf(destRow[i]);
      WriteIndexRow(dest, dy, p.dx, p.width, indices.data());
    } else {
      WriteColorRow(dest, dy, p.dx, p.width, destRow.data());
    }
  }
}

void DrawMaskedXor(TBitmap& dest, int x, int y, const TBitmap& colour, const TBitmap& mask) {
  if (&colour == &dest || &mask == &dest) {
    TBitmap copy(dest);
    return DrawMaskedXor(dest, x, y, &colour == &dest ? copy : colour,
                         &mask == &dest ? copy : mask);
  }
  int width = std::min(colour.Width(), mask.Width());
  int height = std::min(colour.Height(), mask.Height());
  ClippedPlacement p = Clip(dest, x, y, width, height);
  if (p.Empty()) return;
  PixelTransfer transfer(colour, dest);
  std::vector<uint8_t> maskBits(size_t(p.width));
  std::vector<uint8_t> destIndices(size_t(p.width));
  std::vector<RGBQuad> destColors(size_t(p.width));
  for (int row = 0; row < p.height; ++row) {
    int dy = p.dy + row;
    ReadIndexRow(mask, p.sy + row, p.sx, p.width, maskBits.data());
    transfer.ConvertRow(p.sy + row, p.sx, p.width, nullptr);
    if (transfer.DestIndexed()) {
      const uint8_t* xorIndices = transfer.DestIndices();
      ReadIndexRow(dest, dy, p.dx, p.width, destIndices.data());
      for (int i = 0; i < p.width; ++i)
        destIndices[i] = uint8_t((maskBits[i] ? destIndices[i] : 0) ^ xorIndices[i]);
      WriteIndexRow(dest, dy, p.dx, p.width, destIndices.data());
    } else {
      const RGBQuad* xorColors = transfer.DestColors();
      ReadColorRow(dest, dy, p.dx, p.width, destColors.data());
      for (int i = 0; i < p.width; ++i) {
        RGBQuad& d = destColors[i];
        const RGBQuad& c = xorColors[i];
        bool keep = maskBits[i] != 0;
        d.blue = uint8_t((keep ? d.blue : 0) ^ c.blue);
        d.green = uint8_t((keep ? d.green : 0) ^ c.green);
        d.red = uint8_t((keep ? d.red : 0) ^ c.red);
        if (!keep) d.reserved = 0xFF;
      }
      WriteColorRow(dest, dy, p.dx, p.width, destColors.data());
    }
  }
}

}  // namespace varnel
