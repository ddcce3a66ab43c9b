#include "icons/subiconlist.h"

#include <algorithm>

#include "base/errors.h"
#include "graphics/bmpcodec.h"
#include "graphics/canvas.h"
#include "icons/advancedicon.h"
#include "icons/dibheader.h"
#include "icons/maskbits.h"

namespace varnel {

namespace {

constexpr uint32_t kCoreHeaderSize = 12;
constexpr uint32_t kBitFields = 3;
constexpr int kMaxDimension = 6000;

[[noreturn]] void InvalidBitmap() {
  throw EInvalidGraphic("Bitmap image is not valid");
}

// A 1-bit mask whose set bits are exactly its white pixels, whatever palette it came with.
TBitmap NormalizedMask(const TBitmap& mask) {
  const auto& palette = mask.Palette();
  bool standard = mask.Format() == PixelFormat::Bits1 && palette.size() >= 2 &&
                  palette[0].ToColor() == clBlack && palette[1].ToColor() == clWhite;
  if (standard) return mask;
  TBitmap result(mask.Width(), mask.Height(), PixelFormat::Bits1);
  result.SetPalette(StandardPalette(1));
  for (int y = 0; y < mask.Height(); ++y)
    for (int x = 0; x < mask.Width(); ++x) {
      TColor c = mask.GetPixel(x, y);
      if (GetRValue(c) + GetGValue(c) + GetBValue(c) >= 3 * 128) SetMaskBit(result, x, y);
    }
  return result;
}

TBitmap MaskFromAlpha(const TBitmap& color, uint8_t maskFill) {
  TBitmap mask(std::max(color.Width(), 1), std::max(color.Height(), 1), PixelFormat::Bits1);
  mask.SetPalette(StandardPalette(1));
  for (int y = 0; y < color.Height(); ++y) {
    const uint8_t* row = color.ScanLine(y);
    for (int x = 0; x < color.Width(); ++x)
      if (row[4 * x + 3] <= maskFill) SetMaskBit(mask, x, y);
  }
  return mask;
}

// The colour bitmap in a format that goes into an image unchanged.
TBitmap UsableColor(const TBitmap& color) {
  switch (color.Format()) {
    case PixelFormat::Bits1:
    case PixelFormat::Bits4:
    case PixelFormat::Bits8:
      if (!color.Empty()) return color;
      break;
    case PixelFormat::Bits24:
    case PixelFormat::Bits32:
      if (!color.Empty()) {
        TBitmap copy = color;
        copy.SetPalette({});
        return copy;
      }
      break;
    default:
      if (!color.Empty()) return ConvertFormat(color, PixelFormat::Bits24);
  }
  TBitmap blank(std::max(color.Width(), 1), std::max(color.Height(), 1), PixelFormat::Bits24);
  Draw(blank, 0, 0, color);
  return blank;
}

// Reads the bitmap header at the stream position as a 40-byte info header (a core header is
// widened, the extra fields of later versions dropped); channel masks of bit-field bitmaps are
// returned separately.
TBitmapInfoHeader ReadInfoHeader(Stream& stream, int64_t& remaining, std::vector<uint8_t>& masks,
                                 bool& core) {
  uint32_t size = stream.ReadU32();
  TBitmapInfoHeader header;
  core = size == kCoreHeaderSize;
  if (core) {
    header.biWidth = stream.ReadU16();
    header.biHeight = stream.ReadU16();
    header.biPlanes = stream.ReadU16();
    header.biBitCount = stream.ReadU16();
  } else {
    if (size < TBitmapInfoHeader::kSize || size > remaining) InvalidBitmap();
    std::vector<uint8_t> bytes(size);
    WriteU32LE(bytes.data(), size);
    stream.ReadBuffer(bytes.data() + 4, size - 4);
    header = TBitmapInfoHeader::Decode(bytes.data());
    header.biSize = TBitmapInfoHeader::kSize;
    bool bitFields =
        header.biCompression == kBitFields && (header.biBitCount == 16 || header.biBitCount == 32);
    if (bitFields && size >= TBitmapInfoHeader::kSize + 12)
      masks.assign(bytes.begin() + 40, bytes.begin() + 52);
    else if (bitFields)
      masks = stream.ReadBytes(12), remaining -= 12;
  }
  remaining -= core ? kCoreHeaderSize : size;
  return header;
}

}  // namespace

TSubIcon* TSubIconList::Items(int index) const {
  return index >= 0 && index < Count() ? items_[size_t(index)].get() : nullptr;
}

int TSubIconList::Add(std::unique_ptr<TSubIcon> image) {
  if (Count() >= kMaxCount) throw Exception("Too many images in icon");
  items_.push_back(std::move(image));
  capacity_ = std::max(capacity_, Count());
  return Count();
}

void TSubIconList::Insert(int index, std::unique_ptr<TSubIcon> image) {
  if (index < 0) index = 0;
  if (index >= Count()) {
    Add(std::move(image));
    return;
  }
  if (Count() >= kMaxCount) throw Exception("Too many images in icon");
  items_.insert(items_.begin() + index, std::move(image));
  capacity_ = std::max(capacity_, Count());
}

void TSubIconList::Delete(int index) {
  Extract(index);
}

std::unique_ptr<TSubIcon> TSubIconList::Extract(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  auto image = std::move(items_[size_t(index)]);
  items_.erase(items_.begin() + index);
  return image;
}

void TSubIconList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex || !Items(curIndex) || newIndex < 0 || newIndex >= Count()) return;
  auto image = Extract(curIndex);
  items_.insert(items_.begin() + newIndex, std::move(image));
}

void TSubIconList::TakeFrom(TAdvancedIcon& icon, int index) {
  if (&icon.Images() == this || !icon.Images().Items(index)) return;
  Add(icon.Images().Extract(index));
}

void TSubIconList::TakeAll(TAdvancedIcon& icon) {
  if (&icon.Images() == this) return;
  while (icon.Images().Count()) Add(icon.Images().Extract(0));
}

void TSubIconList::Clear() {
  items_.clear();
  items_.shrink_to_fit();
  capacity_ = 0;
}

void TSubIconList::SetCapacity(int capacity) {
  capacity_ = std::clamp(capacity, Count(), kMaxCount);
  items_.reserve(size_t(capacity_));
}

void TSubIconList::Sort() {
  std::stable_sort(items_.begin(), items_.end(), [](const auto& a, const auto& b) {
    if (a->BitsPerPixel() != b->BitsPerPixel()) return a->BitsPerPixel() > b->BitsPerPixel();
    return a->ImageWidth() > b->ImageWidth();
  });
}

void TSubIconList::AddFromBitmap(const TBitmap& color, const TBitmap* mask, uint8_t maskFill) {
  std::optional<TBitmap> maskInUse;
  if (mask && mask->Width() > 0) {
    if (mask->Width() != color.Width() || mask->Height() != color.Height()) InvalidBitmap();
    maskInUse = NormalizedMask(*mask);
  } else if (!mask && color.Format() == PixelFormat::Bits32) {
    maskInUse = MaskFromAlpha(color, maskFill);
  }
  TBitmap usable = UsableColor(color);
  std::vector<uint8_t> colorFile = SaveBmp(usable);
  MemoryStream colorStream(std::move(colorFile));
  colorStream.SetPosition(14);
  std::optional<MemoryStream> maskStream;
  if (maskInUse) {
    maskStream.emplace(SaveBmp(*maskInUse));
    maskStream->SetPosition(ReadU32LE(maskStream->Bytes().data() + 10));
  }
  if (usable.Width() > 0)
    AddFromBitmapStreams(colorStream, maskStream ? &*maskStream : nullptr, maskFill,
                         colorStream.Size() - 14);
}

void TSubIconList::AddFromBitmapStreams(Stream& colorStream, Stream* maskStream, uint8_t maskFill,
                                        int64_t colorSize) {
  int64_t remaining = std::min(colorSize, colorStream.Remaining());
  std::vector<uint8_t> masks;
  bool core = false;
  TBitmapInfoHeader header = ReadInfoHeader(colorStream, remaining, masks, core);
  if (header.biPlanes != 1) InvalidBitmap();
  if (header.biWidth < 0 || header.biWidth >= kMaxDimension || header.biHeight <= -kMaxDimension ||
      header.biHeight >= kMaxDimension)
    throw Exception("Invalid image");
  int bits = header.biBitCount;
  uint32_t colors = header.biClrUsed;
  if (!colors) colors = bits == 1 ? 2 : bits == 4 ? 16 : bits == 8 ? 256 : 0;
  int entrySize = core ? 3 : 4;
  if (colors > 256 || int64_t(colors) * entrySize > remaining) InvalidBitmap();
  std::vector<uint8_t> table(colors * 4);
  for (uint32_t i = 0; i < colors; ++i) colorStream.ReadBuffer(&table[i * 4], size_t(entrySize));
  remaining -= int64_t(colors) * entrySize;

  int64_t width = header.biWidth, height = header.biHeight;
  int64_t bitsSize = header.biSizeImage ? int64_t(header.biSizeImage)
                                        : IconRowBytes(width, bits) * std::abs(height);
  bitsSize = std::clamp<int64_t>(bitsSize, 0, std::max<int64_t>(remaining, 0));
  int64_t maskSize = IconRowBytes(width, 1) * std::abs(height);

  header.biHeight = int32_t(height * 2);
  header.biSizeImage = uint32_t(bitsSize + maskSize);
  std::vector<uint8_t> data(TBitmapInfoHeader::kSize);
  header.Encode(data.data());
  data.insert(data.end(), masks.begin(), masks.end());
  data.insert(data.end(), table.begin(), table.end());
  std::vector<uint8_t> colorBits = colorStream.ReadBytes(size_t(bitsSize));
  data.insert(data.end(), colorBits.begin(), colorBits.end());
  if (maskStream) {
    std::vector<uint8_t> maskBits = maskStream->ReadBytes(size_t(maskSize));
    data.insert(data.end(), maskBits.begin(), maskBits.end());
  } else {
    data.insert(data.end(), size_t(maskSize), maskFill);
  }

  TIconDirEntry entry;
  entry.bWidth = uint8_t(width);
  entry.bHeight = uint8_t(height);
  entry.bColorCount = bits == 1 ? 2 : bits == 4 ? 16 : 0;
  entry.wPlanes = header.biPlanes;
  entry.wBitCount = header.biBitCount;
  entry.dwBytesInRes = uint32_t(data.size());
  auto image = std::make_unique<TFileIconImage>();
  MemoryStream dataStream(std::move(data));
  image->LoadFromEntry(dataStream, entry, false);
  Add(std::move(image));
}

}  // namespace varnel
