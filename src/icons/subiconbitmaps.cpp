// TSubIcon: the image as bitmaps (colour, mask, composed on a background), drawing, comparison.

#include <algorithm>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/mappingguard.h"
#include "graphics/bmpcodec.h"
#include "graphics/canvas.h"
#include "icons/dibheader.h"
#include "icons/maskbits.h"
#include "icons/subicon.h"

namespace varnel {

namespace {

constexpr TColor kInvertMask = 0xFFFFFF;

// Formats the icon model cannot use become 24-bit.
TBitmap UsableFormat(TBitmap bitmap) {
  if (bitmap.Format() == PixelFormat::Device || bitmap.Format() == PixelFormat::Custom)
    return ConvertFormat(bitmap, PixelFormat::Bits24);
  return bitmap;
}

uint8_t BlendChannel(int background, int source, int alpha) {
  return uint8_t(background + alpha * (source - background) / 255);
}

void BlendOverColor(TBitmap& bitmap, TColor back) {
  int br = GetRValue(back), bg = GetGValue(back), bb = GetBValue(back);
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 4) {
      int a = p[3];
      p[0] = BlendChannel(bb, p[0], a);
      p[1] = BlendChannel(bg, p[1], a);
      p[2] = BlendChannel(br, p[2], a);
      p[3] = 255;
    }
  }
}

}  // namespace

TBitmap TSubIcon::BlankBitmap(int width, int height, int bits, TColor fill) {
  PixelFormat format = FormatOfBits(bits);
  if (format == PixelFormat::Custom) format = PixelFormat::Bits24;
  TBitmap bitmap(width, height, format);
  if (format == PixelFormat::Bits1) bitmap.SetPalette(StandardPalette(1));
  bitmap.Fill(fill == clNone ? clBlack : fill);
  return bitmap;
}

std::optional<TBitmap> TSubIcon::ColorBitmap(const DibLayout& layout) const {
  size_t offset = size_t(std::min<int64_t>(layout.colorBitsOffset, int64_t(data_.size())));
  size_t end =
      size_t(std::min<int64_t>(int64_t(data_.size()), int64_t(offset) + layout.colorBitsSize));
  try {
    return UsableFormat(
        LoadIconDibColor(std::span<const uint8_t>(data_).first(end), layout.height, offset));
  } catch (const Exception&) {
    return std::nullopt;
  }
}

std::optional<TBitmap> TSubIcon::MaskBitmap(const DibLayout& layout) const {
  int64_t maskOffset = layout.colorBitsOffset + layout.colorBitsSize;
  if (maskOffset > int64_t(data_.size()) || int64_t(data_.size()) - maskOffset < layout.maskSize)
    return std::nullopt;
  TBitmap mask(layout.width, layout.height, PixelFormat::Bits1);
  mask.SetPalette({{0, 0, 0, 0}, {255, 255, 255, 0}});
  std::span<uint8_t> bits = mask.Bits();
  if (int64_t(bits.size()) > layout.maskSize) return std::nullopt;
  std::copy_n(data_.begin() + maskOffset, bits.size(), bits.begin());
  return mask;
}

void TSubIcon::CompositeOnBackground(TBitmap& composite, const TBitmap& mask, TColor backColor,
                                     int bits) {
  if (backColor == clNone) return;
  if (composite.Format() == PixelFormat::Bits32 && !AllAlphaZero(composite)) {
    BlendOverColor(composite, backColor);
    return;
  }
  TColor background = backColor;
  if (bits == 1 && backColor != clBlack)
    background = clWhite;
  else if (!composite.Palette().empty())
    background = composite.Palette()[composite.NearestPaletteIndex(backColor)].ToColor();
  int height = std::min(composite.Height(), mask.Height());
  int width = std::min(composite.Width(), mask.Width());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (!MaskBitSet(mask, x, y)) continue;
      bool white = composite.GetPixel(x, y) == clWhite;
      composite.SetPixel(x, y, white ? background ^ kInvertMask : background);
    }
  if (composite.Format() == PixelFormat::Bits32) SetOpaque(composite);
}

void TSubIcon::GetBitmaps(TBitmap* composite, TBitmap* image, TColor backColor,
                          TBitmap* mask) const {
  DecodeBitmaps(composite, image, backColor, mask);
  // Bytes of a file another program cut while they were mapped read as zeros: the image is
  // damaged, not blank.
  if (MappingGuard::Lost(data_.data(), data_.size())) throw EInvalidImage();
}

void TSubIcon::DecodeBitmaps(TBitmap* composite, TBitmap* image, TColor backColor,
                             TBitmap* mask) const {
  if (data_.empty()) {
    for (TBitmap* bitmap : {composite, image, mask})
      if (bitmap) *bitmap = TBitmap();
    return;
  }
  if (IsPng()) return GetPngBitmaps(composite, image, backColor, mask);
  if (ImageWidth() == 0 || ImageHeight() == 0) {
    if (image) *image = TBitmap(0, 0, PixelFormat::Bits24);
    if (composite) *composite = TBitmap(0, 0, PixelFormat::Bits24);
    if (mask) *mask = TBitmap(0, 0, PixelFormat::Bits1);
    return;
  }
  std::optional<DibLayout> layout = Layout();
  if (!layout) throw EInvalidImage();
  int width = layout->width, height = layout->height;
  std::optional<TBitmap> colour;
  if (image || composite) colour = ColorBitmap(*layout);
  if (!colour) colour = BlankBitmap(width, height, layout->bits, backColor);
  std::optional<TBitmap> maskBitmap = MaskBitmap(*layout);
  if (!maskBitmap || maskBitmap->Format() != PixelFormat::Bits1)
    maskBitmap = BlankBitmap(width, height, 1, backColor);
  DeliverBitmaps(std::move(*colour), std::move(*maskBitmap), layout->bits, composite, image,
                 backColor, mask);
}

void TSubIcon::DeliverBitmaps(TBitmap colour, TBitmap maskBitmap, int bits, TBitmap* composite,
                              TBitmap* image, TColor backColor, TBitmap* mask) {
  if (composite) {
    *composite = colour;
    CompositeOnBackground(*composite, maskBitmap, backColor, bits);
  }
  if (image) *image = std::move(colour);
  if (mask) *mask = std::move(maskBitmap);
}

const TIconHandle* TSubIcon::Handle() const {
  if (!handle_ && !data_.empty()) {
    auto handle = std::make_shared<TIconHandle>();
    GetBitmaps(nullptr, &handle->color, clNone, &handle->mask);
    handle_ = std::move(handle);
  }
  return handle_.get();
}

void TSubIcon::Draw(TBitmap& canvas, int x, int y) const {
  const TIconHandle* handle = Handle();
  if (!handle || handle->color.Empty()) return;
  const TBitmap& color = handle->color;
  if (color.Format() != PixelFormat::Bits32 || AllAlphaZero(color)) {
    DrawMaskedXor(canvas, x, y, color, handle->mask);
    return;
  }
  for (int row = 0; row < color.Height(); ++row) {
    int dy = y + row;
    if (dy < 0 || dy >= canvas.Height()) continue;
    const uint8_t* src = color.ScanLine(row);
    for (int col = 0; col < color.Width(); ++col) {
      int dx = x + col;
      if (dx < 0 || dx >= canvas.Width()) continue;
      const uint8_t* p = src + 4 * col;
      TColor under = canvas.GetPixel(dx, dy);
      canvas.SetPixel(dx, dy,
                      RGB(BlendChannel(GetRValue(under), p[2], p[3]),
                          BlendChannel(GetGValue(under), p[1], p[3]),
                          BlendChannel(GetBValue(under), p[0], p[3])));
    }
  }
}

void TSubIcon::AssignTo(TBitmap& dest) const {
  int bits = BitsPerPixel();
  if (bits == 32) {
    GetBitmaps(nullptr, &dest, clNone, nullptr);
    return;
  }
  PixelFormat format = FormatOfBits(bits);
  if (format == PixelFormat::Custom) format = PixelFormat::Bits24;
  dest = TBitmap(ImageWidth(), ImageHeight(), format);
  if (bits <= 8) dest.SetPalette(StandardPalette(bits <= 1 ? 1 : bits <= 4 ? 4 : 8));
  Draw(dest, 0, 0);
}

namespace {

bool SameAlphaPixels(std::span<const uint8_t> a, std::span<const uint8_t> b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i + 3 < a.size(); i += 4) {
    uint32_t pa = a[i + 3] ? ReadU32LE(&a[i]) : 0;
    uint32_t pb = b[i + 3] ? ReadU32LE(&b[i]) : 0;
    if (pa != pb) return false;
  }
  return true;
}

bool SameBits24(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  TBitmap a24 = ConvertFormat(a, PixelFormat::Bits24);
  TBitmap b24 = ConvertFormat(b, PixelFormat::Bits24);
  return std::ranges::equal(a24.Bits(), b24.Bits());
}

}  // namespace

bool TSubIcon::SameImage(const TSubIcon& other) const {
  if (data_.empty() && other.data_.empty()) return true;
  int width = ImageWidth(), height = ImageHeight();
  if (width != other.ImageWidth() || height != other.ImageHeight() ||
      entry_.bColorCount != other.entry_.bColorCount)
    return false;
  if (data_.empty()) return false;
  // The same bytes unpacked for the same depth give the same pixels.
  if (data_ == other.data_ && entry_.wBitCount == other.entry_.wBitCount) return true;
  bool anyZero = width == 0 || height == 0 || other.ImageWidth() == 0 || other.ImageHeight() == 0;
  if (BitsPerPixel() == 32 && !anyZero && !IsPng() && !other.IsPng())
    return SameAlphaPixels(GetPixelBits(), other.GetPixelBits());
  if (anyZero) return true;
  TBitmap colorA, maskA, colorB, maskB;
  GetBitmaps(nullptr, &colorA, clNone, &maskA);
  other.GetBitmaps(nullptr, &colorB, clNone, &maskB);
  return SameBits24(colorA, colorB) && SameBits24(maskA, maskB);
}

}  // namespace varnel
