#include "icons/xcursorfile.h"

#include <X11/Xcursor/Xcursor.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "base/byteorder.h"
#include "base/dynamiclibrary.h"
#include "base/errors.h"

namespace varnel {

namespace {

struct XcursorFunctions {
  DynamicLibrary library{"libXcursor.so.1", "libxcursor1"};
  VARNEL_LIBRARY_FUNCTION(library, XcursorXcFileLoadAllImages);
  VARNEL_LIBRARY_FUNCTION(library, XcursorXcFileSave);
  VARNEL_LIBRARY_FUNCTION(library, XcursorImagesCreate);
  VARNEL_LIBRARY_FUNCTION(library, XcursorImagesDestroy);
  VARNEL_LIBRARY_FUNCTION(library, XcursorImageCreate);
  VARNEL_LIBRARY_FUNCTION(library, XcursorCommentsCreate);
  VARNEL_LIBRARY_FUNCTION(library, XcursorCommentsDestroy);
};

constexpr auto Xcursor = &LoadedFunctions<XcursorFunctions>;

constexpr uint8_t kSignature[4] = {'X', 'c', 'u', 'r'};
constexpr uint32_t kImageChunk = 0xFFFD0002;
constexpr uint64_t kFileHeaderBytes = 16;
constexpr uint64_t kTocEntryBytes = 12;
constexpr uint64_t kImageHeaderBytes = 36;
constexpr uint32_t kLargestSide = 0x7FFF;

[[noreturn]] void Invalid() {
  throw EInvalidGraphic("X cursor file is not valid");
}

uint32_t U32At(std::span<const uint8_t> bytes, uint64_t offset) {
  if (offset > bytes.size() || bytes.size() - offset < 4) Invalid();
  return ReadU32LE(bytes.data() + offset);
}

struct TocEntry {
  uint32_t type;
  uint32_t subtype;  // the nominal size of an image
  uint32_t position;
};

// The file's table of contents, its count checked against the file's size.
std::vector<TocEntry> ReadToc(std::span<const uint8_t> bytes) {
  if (!HasXCursorSignature(bytes)) Invalid();
  uint64_t header = U32At(bytes, 4);
  uint64_t count = U32At(bytes, 12);
  if (header < kFileHeaderBytes || header > bytes.size() ||
      count > (bytes.size() - header) / kTocEntryBytes)
    Invalid();
  std::vector<TocEntry> entries;
  for (uint64_t i = 0; i < count; ++i) {
    uint64_t entry = header + i * kTocEntryBytes;
    entries.push_back({U32At(bytes, entry), U32At(bytes, entry + 4), U32At(bytes, entry + 8)});
  }
  return entries;
}

// The library allocates each image as its header says before reading it: the table and every
// image header are checked first, so that a short or hostile file costs no more than its size.
void CheckLayout(std::span<const uint8_t> bytes) {
  uint64_t pixelBytes = 0;
  for (const TocEntry& entry : ReadToc(bytes)) {
    if (entry.type != kImageChunk) continue;
    uint64_t chunk = entry.position;
    uint64_t width = U32At(bytes, chunk + 16), height = U32At(bytes, chunk + 20);
    if (width > kLargestSide || height > kLargestSide) Invalid();
    uint64_t size = width * height * 4;
    if (chunk + kImageHeaderBytes + size > bytes.size()) Invalid();
    pixelBytes += size;
    if (pixelBytes > kMaxXCursorPixelBytes) Invalid();
  }
}

// An XcursorFile over bytes in memory: read from a span, or written to a growing buffer.
struct MemoryFile {
  std::span<const uint8_t> input;
  std::vector<uint8_t>* output = nullptr;
  uint64_t position = 0;

  uint64_t Size() const { return output ? output->size() : input.size(); }

  static MemoryFile& Of(XcursorFile* file) { return *static_cast<MemoryFile*>(file->closure); }

  static int Read(XcursorFile* file, unsigned char* buffer, int length) {
    MemoryFile& self = Of(file);
    if (length <= 0 || self.position >= self.input.size()) return 0;
    size_t count = std::min<uint64_t>(uint64_t(length), self.input.size() - self.position);
    std::memcpy(buffer, self.input.data() + self.position, count);
    self.position += count;
    return int(count);
  }

  static int Write(XcursorFile* file, unsigned char* buffer, int length) {
    MemoryFile& self = Of(file);
    if (length <= 0) return 0;
    if (self.position + uint64_t(length) > self.output->size())
      self.output->resize(self.position + uint64_t(length));
    std::memcpy(self.output->data() + self.position, buffer, size_t(length));
    self.position += uint64_t(length);
    return length;
  }

  static int Seek(XcursorFile* file, long offset, int whence) {
    MemoryFile& self = Of(file);
    int64_t base = whence == SEEK_CUR   ? int64_t(self.position)
                   : whence == SEEK_END ? int64_t(self.Size())
                                        : 0;
    int64_t target = base + offset;
    if (target < 0 || uint64_t(target) > self.Size() || target > INT32_MAX) return -1;
    self.position = uint64_t(target);
    return int(target);
  }

  XcursorFile File() { return {this, Read, Write, Seek}; }
};

struct ImagesDeleter {
  void operator()(XcursorImages* images) const { Xcursor().XcursorImagesDestroy(images); }
};
using ImagesPtr = std::unique_ptr<XcursorImages, ImagesDeleter>;

uint8_t Unpremultiplied(uint32_t channel, uint32_t alpha) {
  return alpha == 0 ? 0 : uint8_t(std::min<uint32_t>(255, (channel * 255 + alpha / 2) / alpha));
}

uint8_t Premultiplied(uint32_t channel, uint32_t alpha) {
  return uint8_t((channel * alpha + 127) / 255);
}

XCursorImage FromLibrary(const XcursorImage& image) {
  XCursorImage result;
  result.nominalSize = int(image.size);
  result.hotX = int(image.xhot);
  result.hotY = int(image.yhot);
  result.delay = image.delay;
  result.picture = TBitmap(int(image.width), int(image.height), PixelFormat::Bits32);
  for (int y = 0; y < int(image.height); ++y) {
    uint8_t* row = result.picture.ScanLine(y);
    for (int x = 0; x < int(image.width); ++x) {
      uint32_t argb = image.pixels[size_t(y) * image.width + size_t(x)];
      uint32_t alpha = argb >> 24;
      row[x * 4 + 0] = Unpremultiplied(argb & 0xFF, alpha);
      row[x * 4 + 1] = Unpremultiplied((argb >> 8) & 0xFF, alpha);
      row[x * 4 + 2] = Unpremultiplied((argb >> 16) & 0xFF, alpha);
      row[x * 4 + 3] = uint8_t(alpha);
    }
  }
  return result;
}

XcursorImage* ToLibrary(const XCursorImage& source) {
  const TBitmap& picture = source.picture;
  XcursorImage* image = Xcursor().XcursorImageCreate(picture.Width(), picture.Height());
  if (!image)
    throw Exception("Cannot make an X cursor image of " + std::to_string(picture.Width()) + "x" +
                    std::to_string(picture.Height()) + " pixels");
  image->size = XcursorDim(source.nominalSize);
  image->xhot = XcursorDim(std::clamp(source.hotX, 0, std::max(picture.Width() - 1, 0)));
  image->yhot = XcursorDim(std::clamp(source.hotY, 0, std::max(picture.Height() - 1, 0)));
  image->delay = source.delay;
  for (int y = 0; y < picture.Height(); ++y) {
    const uint8_t* row = picture.ScanLine(y);
    for (int x = 0; x < picture.Width(); ++x) {
      uint32_t alpha = row[x * 4 + 3];
      image->pixels[size_t(y) * size_t(picture.Width()) + size_t(x)] =
          (alpha << 24) | (uint32_t(Premultiplied(row[x * 4 + 2], alpha)) << 16) |
          (uint32_t(Premultiplied(row[x * 4 + 1], alpha)) << 8) |
          Premultiplied(row[x * 4 + 0], alpha);
    }
  }
  return image;
}

}  // namespace

bool HasXCursorSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= sizeof kSignature &&
         std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

bool IsAnimatedXCursor(std::span<const uint8_t> bytes) {
  std::set<uint32_t> sizes;
  try {
    for (const TocEntry& entry : ReadToc(bytes))
      if (entry.type == kImageChunk && !sizes.insert(entry.subtype).second) return true;
  } catch (const EInvalidGraphic&) {
  }
  return false;
}

std::vector<XCursorImage> ReadXCursor(std::span<const uint8_t> bytes) {
  CheckLayout(bytes);
  MemoryFile memory{bytes};
  XcursorFile file = memory.File();
  ImagesPtr images(Xcursor().XcursorXcFileLoadAllImages(&file));
  if (!images) Invalid();
  std::vector<XCursorImage> result;
  for (int i = 0; i < images->nimage; ++i) result.push_back(FromLibrary(*images->images[i]));
  return result;
}

std::vector<uint8_t> WriteXCursor(const std::vector<XCursorImage>& images) {
  ImagesPtr list(Xcursor().XcursorImagesCreate(int(images.size())));
  if (!list)
    throw Exception("Cannot make an X cursor of " + std::to_string(images.size()) + " images");
  for (const XCursorImage& image : images) list->images[list->nimage++] = ToLibrary(image);
  std::vector<uint8_t> bytes;
  MemoryFile memory{{}, &bytes};
  XcursorFile file = memory.File();
  XcursorComments* comments = Xcursor().XcursorCommentsCreate(0);
  bool saved = Xcursor().XcursorXcFileSave(&file, comments, list.get());
  Xcursor().XcursorCommentsDestroy(comments);
  if (!saved) throw Exception("The X cursor could not be written");
  return bytes;
}

}  // namespace varnel
