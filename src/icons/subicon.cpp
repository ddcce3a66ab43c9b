// TSubIcon: construction, validation, properties, descriptions and the stream forms.

#include "icons/subicon.h"

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "base/errors.h"
#include "graphics/pngcodec.h"
#include "icons/dibheader.h"
#include "icons/filer.h"
#include "icons/imagevalidation.h"
#include "icons/resourcesource.h"

namespace varnel {

namespace {

constexpr uint8_t kRecordMarker = 12;
// The filer record of an image held as a DIB that is to be written as PNG (Packed set); readers
// take any marker but 0 as a record.
constexpr uint8_t kPackedDibRecordMarker = 13;

// Planes times bits per plane; absurd products (beyond any valid depth) stay large but defined.
int DepthOf(const TBitmapInfoHeader& header) {
  return int(std::min<int64_t>(int64_t(header.biPlanes) * header.biBitCount, INT32_MAX));
}

struct ColorTexts {
  const char* shortText;
  const char* longText;
};

ColorTexts ColorTextsOf(int bits) {
  switch (bits) {
    case 1:
      return {"2", "2 colors"};
    case 4:
      return {"16", "16 colors"};
    case 8:
      return {"256", "256 colors"};
    case 16:
      return {"65k", "65k colors"};
    case 24:
      return {"16M", "True Color"};
    case 32:
      return {"32bpp", "32 bpp"};
    default:
      return {"", ""};
  }
}

std::string Format(const char* format, int a, int b, const char* text) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, format, a, b, text);
  return buffer;
}

// Reads count bytes at the stream position, or nothing when they are not all there; then the
// stream is left at its end, as a short read leaves it.
std::vector<uint8_t> ReadDataOrNothing(Stream& stream, uint32_t count) {
  if (int64_t(count) > stream.Remaining()) {
    stream.Seek(0, SeekOrigin::End);
    return {};
  }
  return stream.ReadBytes(count);
}

}  // namespace

int64_t IconRowBytes(int64_t width, int bits) {
  return ((width * bits + 31) / 32) * 4;
}

void TSubIcon::ResetData(ByteBlock data) {
  handle_.reset();
  cachedBits_ = 0;
  headSize_ = 0;
  data_ = std::move(data);
  entry_.dwBytesInRes = uint32_t(data_.size());
}

void TSubIcon::SetData(ByteBlock data) {
  ResetData(std::move(data));
}

void TSubIcon::LoadFromData(Stream& stream) {
  entry_ = {};
  stream.SetPosition(0);
  ResetData(stream.ReadBytes(size_t(stream.Size())));
  UpdateEntry();
}

void TSubIcon::LoadFromIcoStream(Stream& stream, int64_t base) {
  TIconDirEntry entry = TIconDirEntry::Read(stream);
  uint32_t offset = stream.ReadU32();
  int64_t after = stream.Position();
  stream.SetPosition(base + offset);
  LoadFromEntry(stream, entry, false);
  stream.SetPosition(after);
}

void TSubIcon::LoadFromEntry(Stream& stream, const TIconDirEntry& entry, bool restorePosition) {
  int64_t start = stream.Position();
  std::vector<uint8_t> data = stream.ReadBytes(entry.dwBytesInRes);
  if (restorePosition) stream.SetPosition(start);
  entry_ = entry;
  ResetData(std::move(data));
  UpdateEntry();
}

void TSubIcon::LoadCursorFromStream(Stream& stream, uint16_t headerType, int64_t base) {
  TIconDirEntry entry = TIconDirEntry::Read(stream);
  uint32_t offset = stream.ReadU32();
  int64_t after = stream.Position();
  if (headerType == 2) {
    hotSpot_ = entry.wPlanes | (uint32_t(entry.wBitCount) << 16);
    // The two words are the hotspot, not the depth: a PNG image must not be converted to it.
    entry.wPlanes = 0;
    entry.wBitCount = 0;
  }
  stream.SetPosition(base + offset);
  uint32_t hotSpot = hotSpot_;
  LoadFromEntry(stream, entry, false);
  hotSpot_ = hotSpot;
  stream.SetPosition(after);
}

void TSubIcon::LoadFromResourceModule(Stream& group, IconResourceSource& module,
                                      std::optional<uint32_t> language, bool cursor) {
  entry_ = TIconDirEntry::Read(group);
  uint16_t id = group.ReadU16();
  ResetData({});
  entry_.dwBytesInRes = 0;
  // A cursor entry starts with its width as u16: its high byte is no reserved byte.
  if (cursor) entry_.bReserved = 0;
  std::string type = cursor ? "1" : "3";
  std::string name = std::to_string(id);
  Stream* resource = language ? module.FindResourceStreamInLanguage(type, name, *language)
                              : module.FindResourceStream(type, name);
  if (!resource) return;
  if (cursor) return LoadFromResourceData(*resource, true);
  resource->SetPosition(0);
  ResetData(resource->ReadBytes(size_t(resource->Size())));
  UpdateEntry();
}

void TSubIcon::LoadFromMappedRecord(const TIconDirEntry& entry, ByteBlock data,
                                    std::span<const uint8_t> head) {
  entry_ = entry;
  ResetData(std::move(data));
  headSize_ = uint8_t(std::min({head.size(), data_.size(), head_.size()}));
  std::copy_n(head.begin(), headSize_, head_.begin());
  packed_ = IsPng();
  DropUnlessDrawable();
}

std::span<const uint8_t> TSubIcon::Head() const {
  if (headSize_) return {head_.data(), headSize_};
  return data_.Span().first(std::min(data_.size(), kImageHeadSize));
}

void TSubIcon::LoadCopy(const TSubIcon& source) {
  entry_ = source.entry_;
  data_ = source.data_;
  head_ = source.head_;
  headSize_ = source.headSize_;
  hotSpot_ = source.hotSpot_;
  packed_ = source.packed_;
  cachedBits_ = source.cachedBits_;
  handle_ = source.handle_;
}

void TSubIcon::LoadFromResourceData(Stream& stream, bool withHotSpot) {
  stream.SetPosition(0);
  entry_ = {};
  ResetData({});
  if (withHotSpot) {
    uint16_t x = stream.ReadU16();
    uint16_t y = stream.ReadU16();
    hotSpot_ = x | (uint32_t(y) << 16);
  }
  ResetData(stream.ReadBytes(size_t(stream.Remaining())));
  UpdateEntry();
}

void TSubIcon::LoadFromBareImageFile(Stream& stream) {
  entry_ = {};
  ResetData({});
  stream.SetPosition(10);
  uint32_t length = stream.ReadU32();
  stream.SetPosition(18);
  ResetData(ReadDataOrNothing(stream, length));
  UpdateEntry();
}

void TSubIcon::UpdateEntry() {
  if (data_.empty()) return;
  if (!IsDrawable()) throw EInvalidImage();
  if (IsPng()) return UpdatePngEntry();
  packed_ = false;
  TBitmapInfoHeader header = TBitmapInfoHeader::Decode(Head().data());
  entry_.wPlanes = header.biPlanes;
  entry_.wBitCount = header.biBitCount;
  SetEntryShape(DepthOf(header));
}

void TSubIcon::SetEntryShape(int depth) {
  cachedBits_ = depth;
  entry_.bColorCount = depth < 8 ? uint8_t(1 << depth) : 0;
  int w = ImageWidth(), h = ImageHeight();
  entry_.bWidth = w <= 255 ? uint8_t(w) : 0;
  entry_.bHeight = h <= 255 ? uint8_t(h) : 0;
}

bool TSubIcon::IsDrawable() const {
  return IsValidIconImageHead(Head(), data_.size());
}

void TSubIcon::DropUnlessDrawable() {
  if (data_.empty() || IsDrawable()) return;
  entry_ = {};
  ResetData({});
  packed_ = false;
}

bool TSubIcon::IsPng() const {
  return data_.size() > 8 && HasPngSignature(Head());
}

int TSubIcon::ImageWidth() const {
  if (IsPng()) {
    auto header = ReadPngHeader(Head());
    return header ? int(header->width) : 0;
  }
  if (data_.size() < TBitmapInfoHeader::kSize) return 0;
  return TBitmapInfoHeader::Decode(Head().data()).biWidth;
}

int TSubIcon::ImageHeight() const {
  if (IsPng()) {
    auto header = ReadPngHeader(Head());
    return header ? int(header->height) : 0;
  }
  if (data_.size() < TBitmapInfoHeader::kSize) return 0;
  return int(uint32_t(TBitmapInfoHeader::Decode(Head().data()).biHeight) >> 1);
}

int TSubIcon::DibBitsPerPixel() const {
  if (data_.size() < TBitmapInfoHeader::kSize) return 0;
  // Filled in on first use, possibly by several threads at once (hashing workers while the
  // window draws): all of them store the same value.
  std::atomic_ref<int> cached(cachedBits_);
  int bits = cached.load(std::memory_order_relaxed);
  if (bits == 0) {
    bits = DepthOf(TBitmapInfoHeader::Decode(Head().data()));
    cached.store(bits, std::memory_order_relaxed);
  }
  return bits;
}

int TSubIcon::BitsPerPixel() const {
  if (!IsPng()) return DibBitsPerPixel();
  // Known once the entry was derived from the data; else what the header says.
  if (cachedBits_) return cachedBits_;
  auto header = ReadPngHeader(Head());
  if (!header) return 0;
  switch (header->colorType) {
    case 2:
      return header->bitDepth * 3;
    case 3:
      return header->bitDepth;
    case 4:
      return header->bitDepth * 2;
    case 6:
      return header->bitDepth * 4;
    default:
      return header->bitDepth;
  }
}

std::optional<DibLayout> TSubIcon::Layout() const {
  if (data_.size() < TBitmapInfoHeader::kSize || IsPng()) return std::nullopt;
  return DibLayoutOf(TBitmapInfoHeader::Decode(Head().data()));
}

std::span<const uint8_t> TSubIcon::GetPixelBits() const {
  auto layout = Layout();
  if (!layout || layout->colorBitsOffset > int64_t(data_.size())) return {};
  size_t offset = size_t(layout->colorBitsOffset);
  size_t available = data_.size() - offset;
  return {data_.data() + offset, std::min<size_t>(available, size_t(layout->colorBitsSize))};
}

std::string TSubIcon::GetShortDescription() const {
  return Format("%dx%dx%s", ImageWidth(), ImageHeight(), ColorTextsOf(BitsPerPixel()).shortText);
}

std::string TSubIcon::GetDescription() const {
  std::string text =
      Format("%dx%d, %s", ImageWidth(), ImageHeight(), ColorTextsOf(BitsPerPixel()).longText);
  if (packed_) text += ", packed";
  return text;
}

void TSubIcon::GetSizeAndColors(std::string& size, std::string& colors) const {
  size = Format("%dx%d%s", ImageWidth(), ImageHeight(), "");
  colors = ColorTextsOf(BitsPerPixel()).shortText;
}

bool TSubIcon::SameData(const TSubIcon& other) const {
  return entry_ == other.entry_ && data_ == other.data_;
}

void TSubIcon::SaveDataToStream(Stream& stream) const {
  stream.WriteBytes(data_);
}

void TSubIcon::SaveToStream(Stream& stream) const {
  if (data_.empty()) {
    stream.WriteU8(0);
    return;
  }
  if (packed_ && !IsPng()) {
    TSubIcon packed;
    PackPng(packed);
    packed.SaveToStream(stream);
    return;
  }
  stream.WriteU8(kRecordMarker);
  entry_.Write(stream);
  SaveDataToStream(stream);
}

void TSubIcon::LoadFromStream(Stream& stream) {
  entry_ = {};
  ResetData({});
  if (stream.ReadU8() == 0) return;
  entry_ = TIconDirEntry::Read(stream);
  uint32_t size = entry_.dwBytesInRes;
  ResetData(ReadDataOrNothing(stream, size));
  packed_ = IsPng();
  DropUnlessDrawable();
}

void TSubIcon::WriteData(TFilerWriter& writer) const {
  uint8_t marker = data_.empty() ? 0 : packed_ && !IsPng() ? kPackedDibRecordMarker : kRecordMarker;
  writer.Write(&marker, 1);
  if (!marker) return;
  uint8_t bytes[TIconDirEntry::kSize + 4];
  entry_.Encode(bytes);
  WriteU32LE(bytes + TIconDirEntry::kSize, hotSpot_);
  writer.Write(bytes, sizeof bytes);
  writer.Write(data_.data(), data_.size());
}

void TSubIcon::ReadData(TFilerReader& reader) {
  entry_ = {};
  ResetData({});
  hotSpot_ = 0;
  packed_ = false;
  uint8_t marker;
  reader.Read(&marker, 1);
  if (!marker) return;
  uint8_t bytes[TIconDirEntry::kSize + 4];
  reader.Read(bytes, sizeof bytes);
  entry_ = TIconDirEntry::Decode(bytes);
  hotSpot_ = ReadU32LE(bytes + TIconDirEntry::kSize);
  uint32_t size = entry_.dwBytesInRes;
  ResetData(ReadDataOrNothing(reader.Source(), size));
  packed_ = IsPng() || marker == kPackedDibRecordMarker;
  DropUnlessDrawable();
}

void TSubIcon::SkipRecord(Stream& stream) {
  if (stream.ReadU8() == 0) return;
  TIconDirEntry entry = TIconDirEntry::Read(stream);
  try {
    stream.Seek(entry.dwBytesInRes, SeekOrigin::Current);
  } catch (const EStreamError&) {
  }
}

}  // namespace varnel
