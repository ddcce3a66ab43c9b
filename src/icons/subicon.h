#pragma once
// TSubIcon: one image of an icon or cursor, holding its bytes exactly as an ICO or CUR file or
// an icon resource stores them: a DIB (header, colour table, colour bits, 1-bit AND mask) or a
// whole PNG file.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/byteblock.h"
#include "base/stream.h"
#include "graphics/bitmap.h"
#include "icons/icondirentry.h"
#include "icons/imagevalidation.h"

namespace varnel {

class IconResourceSource;
class THiResIcon;
class TFilerReader;
class TFilerWriter;

// What the icon model draws with: the colour (XOR) bitmap and the 1-bit mask of an image,
// composed as the image is drawn at its natural size.
struct TIconHandle {
  TBitmap color;
  TBitmap mask;
};

// The width of one DIB row in bytes: ((width * bits + 31) div 32) * 4.
int64_t IconRowBytes(int64_t width, int bits);

class TSubIcon {
 public:
  TSubIcon() = default;
  virtual ~TSubIcon() = default;
  TSubIcon(const TSubIcon&) = delete;
  TSubIcon& operator=(const TSubIcon&) = delete;

  // Constructors that read data; every one validates the image with UpdateEntry.
  // The whole stream is the image data.
  void LoadFromData(Stream& stream);
  // One 16-byte ICO directory entry at the stream position; the data at base + offset. The stream
  // is left just after the entry.
  void LoadFromIcoStream(Stream& stream, int64_t base = 0);
  // The given entry, and dwBytesInRes bytes at the stream position.
  void LoadFromEntry(Stream& stream, const TIconDirEntry& entry, bool restorePosition);
  // Like LoadFromIcoStream; for a cursor directory (headerType 2) the entry's planes and bit
  // count are the hotspot.
  void LoadCursorFromStream(Stream& stream, uint16_t headerType, int64_t base = 0);
  // One 14-byte group entry from group; the image's data is the icon resource ("3") named by the
  // entry's id in module, in `language` when given and present there, else in any language.
  // With cursor the entry is a cursor-group entry and the resource a cursor image ("1"), whose
  // first 4 bytes are the hotspot. Without such a resource the image stays empty.
  void LoadFromResourceModule(Stream& group, IconResourceSource& module,
                              std::optional<uint32_t> language = std::nullopt, bool cursor = false);
  // An image record's entry with its data as a view of a file's bytes, which data's keeper keeps
  // alive, and head, a copy of the data's first min(size, kImageHeadSize) bytes read beside the
  // mapping. Validated as LoadFromStream validates, from head alone: describing, validating and
  // sizing the image never touch its mapped pages; drawing, comparing and saving do.
  void LoadFromMappedRecord(const TIconDirEntry& entry, ByteBlock data,
                            std::span<const uint8_t> head);
  // A copy of source's entry, data, hotspot and packed flag, byte for byte (a PNG image stays
  // PNG; nothing is re-derived).
  void LoadCopy(const TSubIcon& source);

  // The image bytes of an icon or cursor resource; with withHotSpot the first 4 bytes are the
  // hotspot (x, y as two u16).
  void LoadFromResourceData(Stream& stream, bool withHotSpot);
  // A bare-image file: data length at offset 10, data from offset 18.
  void LoadFromBareImageFile(Stream& stream);

  // Validates the data (EInvalidImage, "Invalid image", when IsDrawable would be false) and
  // derives the entry from it. PNG data is kept as it is (Packed set); its entry is that of the
  // DIB it unpacks to, read from the PNG's header chunks (pixels are decoded only in the rare
  // cases where the depth depends on them).
  void UpdateEntry();
  // True when the image has data that IsValidIconImageData accepts: such an image is drawn,
  // converted and compared without errors. Every loader that builds an image from bytes
  // either leaves it drawable or empty, or drops it.
  bool IsDrawable() const;

  // Properties.
  const TIconDirEntry& Entry() const { return entry_; }
  TIconDirEntry& MutableEntry() { return entry_; }
  // The bytes: owned, or a view of a file's mapping while the image is unchanged.
  const ByteBlock& Data() const { return data_; }
  uint32_t DataSize() const { return uint32_t(data_.size()); }
  bool HasData() const { return !data_.empty(); }
  // Replaces the data (and dwBytesInRes) without validation.
  void SetData(ByteBlock data);
  uint32_t HotSpot() const { return hotSpot_; }
  void SetHotSpot(uint32_t hotSpot) { hotSpot_ = hotSpot; }
  bool Packed() const { return packed_; }
  void SetPacked(bool packed) { packed_ = packed; }

  int ImageWidth() const;
  int ImageHeight() const;
  int BitsPerPixel() const;
  bool IsPng() const;

  // The image composed for drawing, made on demand and kept until the data changes.
  const TIconHandle* Handle() const;
  void ReleaseHandle() { handle_.reset(); }
  // A new icon graphic holding this image's handle (null without data).
  std::unique_ptr<THiResIcon> CreateIcon() const;
  // Draws the image at its natural size (AND mask then XOR colour; 32-bit images blend).
  void Draw(TBitmap& canvas, int x, int y) const;

  // Descriptions: "48x48x256", "256x256, 32 bpp, packed", and the two halves of the first.
  std::string GetShortDescription() const;
  std::string GetDescription() const;
  void GetSizeAndColors(std::string& size, std::string& colors) const;

  // Byte equality of entry and data; pixel equality.
  bool SameData(const TSubIcon& other) const;
  bool SameImage(const TSubIcon& other) const;

  // Draws the image onto a bitmap of its own depth and size.
  void AssignTo(TBitmap& dest) const;

  // Streams.
  void SaveDataToStream(Stream& stream) const;
  // The image record: marker (12, or 0 when empty), entry, data. Reading consumes the record's
  // bytes whatever they hold; data that is short or not drawable leaves the image empty.
  void SaveToStream(Stream& stream) const;
  void LoadFromStream(Stream& stream);
  // The filer record: marker (12, 13 for a DIB that is held packed, or 0 when empty), entry,
  // hotspot, data. Reading leaves an image that is not drawable empty, as LoadFromStream does.
  void WriteData(TFilerWriter& writer) const;
  void ReadData(TFilerReader& reader);
  // Passes over one image record.
  static void SkipRecord(Stream& stream);

  // Conversion between forms. BackColor may be clNone. Any bitmap may be null. Raises
  // EInvalidImage for an image that is not drawable and not of zero size; a drawable image whose
  // pixel data the decoders reject gives blank bitmaps of its size.
  void GetBitmaps(TBitmap* composite, TBitmap* image, TColor backColor, TBitmap* mask) const;
  // The image as a PNG file in memory.
  std::vector<uint8_t> SaveToPng() const;
  // Makes dest (possibly this image) hold the image as PNG data / as DIB data.
  void PackPng(TSubIcon& dest) const;
  void UnpackPng(TSubIcon& dest) const;
  // Replaces the image by a 32-bit DIB built from a 32-bit bitmap with alpha.
  void AssignFrom32BitBitmap(const TBitmap& bitmap);
  // The colour bits inside the data (after header and colour table); empty without data.
  std::span<const uint8_t> GetPixelBits() const;

 protected:
  void ResetData(ByteBlock data);

 private:
  int DibBitsPerPixel() const;
  // The data's first bytes, which hold its header (see LoadFromMappedRecord).
  std::span<const uint8_t> Head() const;
  // The size and colour-count fields of the entry, for an image of the given depth.
  void SetEntryShape(int depth);
  // UpdateEntry for PNG data.
  void UpdatePngEntry();
  // The depth UnpackPng gives the PNG data, for the depth the entry asks for.
  int UnpackedPngDepth() const;
  // The DIB's layout when it is within the limits; nothing for PNG data and other DIBs.
  std::optional<DibLayout> Layout() const;
  // Empties an image whose data is not drawable.
  void DropUnlessDrawable();
  // The colour part and the mask part of the DIB data, read in place; nothing when the bitmap
  // reader rejects them or the mask is not all there.
  std::optional<TBitmap> ColorBitmap(const DibLayout& layout) const;
  std::optional<TBitmap> MaskBitmap(const DibLayout& layout) const;
  void DecodeBitmaps(TBitmap* composite, TBitmap* image, TColor backColor, TBitmap* mask) const;
  void GetPngBitmaps(TBitmap* composite, TBitmap* image, TColor backColor, TBitmap* mask) const;
  // Composes colour on the background where the mask is set; bits is the image's depth.
  static void CompositeOnBackground(TBitmap& composite, const TBitmap& mask, TColor backColor,
                                    int bits);
  // A blank bitmap of the given size in the format of a depth, filled with a colour.
  static TBitmap BlankBitmap(int width, int height, int bits, TColor fill);
  // Hands out the bitmaps GetBitmaps was asked for.
  static void DeliverBitmaps(TBitmap colour, TBitmap maskBitmap, int bits, TBitmap* composite,
                             TBitmap* image, TColor backColor, TBitmap* mask);
  // A palette PNG of a masked 1-, 4- or 8-bit image, its own colours kept and the masked pixels
  // on a transparent index; nothing when all 256 indices are in use.
  std::optional<std::vector<uint8_t>> PngOfIndexedImage(TBitmap color, const TBitmap& mask) const;

  mutable int cachedBits_ = 0;
  mutable std::shared_ptr<const TIconHandle> handle_;
  TIconDirEntry entry_;
  ByteBlock data_;
  // For data viewed in a mapping: a copy of its first headSize_ bytes; else headSize_ is 0.
  std::array<uint8_t, kImageHeadSize> head_{};
  uint8_t headSize_ = 0;
  uint32_t hotSpot_ = 0;
  bool packed_ = false;
};

// Where an image came from; the classes add nothing to TSubIcon.
class TFileIconImage : public TSubIcon {};
class TResourceIconImage : public TSubIcon {};
class TSubCursor : public TSubIcon {};
class TFileCursorImage : public TSubCursor {};

// The fixed 256-colour palette used when a PNG of many colours becomes an 8-bit image.
const std::vector<RGBQuad>& FixedPalette256();

}  // namespace varnel
