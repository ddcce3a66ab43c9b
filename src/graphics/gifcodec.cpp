#include "graphics/gifcodec.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/errors.h"

namespace varnel {

namespace {

[[noreturn]] void Invalid(const std::string& why) {
  throw EInvalidGraphic("GIF image is not valid: " + why);
}

struct ByteSource {
  std::span<const uint8_t> bytes;
  size_t at = 0;
};

int ReadFromSpan(GifFileType* gif, GifByteType* buffer, int count) {
  auto* source = static_cast<ByteSource*>(gif->UserData);
  size_t n = std::min(size_t(std::max(count, 0)), source->bytes.size() - source->at);
  std::memcpy(buffer, source->bytes.data() + source->at, n);
  source->at += n;
  return int(n);
}

struct DecoderCloser {
  void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using Decoder = std::unique_ptr<GifFileType, DecoderCloser>;

Decoder OpenDecoder(ByteSource& source) {
  int error = 0;
  Decoder gif(DGifOpen(&source, ReadFromSpan, &error));
  if (!gif) Invalid(GifErrorString(error) ? GifErrorString(error) : "no GIF header");
  return gif;
}

std::vector<RGBQuad> MapColors(const ColorMapObject* map) {
  std::vector<RGBQuad> colors;
  if (!map || !map->Colors) return colors;
  for (int i = 0; i < map->ColorCount; ++i)
    colors.push_back({map->Colors[i].Blue, map->Colors[i].Green, map->Colors[i].Red, 0});
  return colors;
}

void CheckDimensions(int64_t width, int64_t height) {
  if (width < 0 || height < 0 || width > kMaxGifDimension || height > kMaxGifDimension)
    Invalid("size " + std::to_string(width) + "x" + std::to_string(height) + " over the limit");
}

// What the extensions before an image say about it.
struct PendingExtensions {
  std::optional<GifGraphicControl> control;
  std::vector<std::string> comments;
};

// The data of one extension, all its sub-blocks joined; false when the data is damaged.
bool ReadExtensionData(GifFileType* gif, GifByteType* first, std::vector<uint8_t>& data,
                       std::vector<std::vector<uint8_t>>* blocks) {
  for (GifByteType* block = first; block;) {
    data.insert(data.end(), block + 1, block + 1 + block[0]);
    if (blocks) blocks->emplace_back(block + 1, block + 1 + block[0]);
    if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
  }
  return true;
}

std::optional<int> LoopCountOf(const std::vector<std::vector<uint8_t>>& blocks) {
  if (blocks.size() < 2 || blocks[0].size() != 11) return std::nullopt;
  std::string id(blocks[0].begin(), blocks[0].end());
  if (id != "NETSCAPE2.0" && id != "ANIMEXTS1.0") return std::nullopt;
  if (blocks[1].size() < 3 || blocks[1][0] != 1) return std::nullopt;
  return blocks[1][1] | (blocks[1][2] << 8);
}

bool ReadExtension(GifFileType* gif, PendingExtensions& pending, GifPicture& picture) {
  int code = 0;
  GifByteType* first = nullptr;
  if (DGifGetExtension(gif, &code, &first) == GIF_ERROR) return false;
  std::vector<uint8_t> data;
  std::vector<std::vector<uint8_t>> blocks;
  if (!ReadExtensionData(gif, first, data, &blocks)) return false;
  if (code == GRAPHICS_EXT_FUNC_CODE && data.size() >= 4) {
    GraphicsControlBlock block;
    DGifExtensionToGCB(4, data.data(), &block);
    pending.control = GifGraphicControl{block.DelayTime, GifDisposal(block.DisposalMode & 3),
                                        block.TransparentColor};
  } else if (code == COMMENT_EXT_FUNC_CODE) {
    pending.comments.emplace_back(data.begin(), data.end());
  } else if (code == APPLICATION_EXT_FUNC_CODE) {
    if (auto loops = LoopCountOf(blocks)) picture.loopCount = loops;
  }
  return true;
}

// Row order of an interlaced image: every 8th row from 0, every 8th from 4, every 4th from 2,
// every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(size_t(height));
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  static const int kStart[] = {0, 4, 2, 1}, kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
  return rows;
}

// Checks the frame's size against the limits, counting it into the running totals.
void CheckFrameBudget(const GifPicture& picture, const GifImageDesc& desc, int64_t& framePixels) {
  CheckDimensions(desc.Width, desc.Height);
  framePixels += int64_t(desc.Width) * desc.Height;
  int64_t composed = int64_t(picture.frames.size() + 1) * picture.width * picture.height;
  if (framePixels > kMaxGifPixels || composed > kMaxGifPixels) Invalid("too many pixels");
}

// Reads one image; false when its data is damaged.
bool ReadFrame(GifFileType* gif, GifPicture& picture, PendingExtensions& pending,
               int64_t& framePixels) {
  if (DGifGetImageDesc(gif) == GIF_ERROR) return false;
  const GifImageDesc& desc = gif->Image;
  CheckFrameBudget(picture, desc, framePixels);
  GifFrame frame;
  frame.left = desc.Left;
  frame.top = desc.Top;
  frame.width = desc.Width;
  frame.height = desc.Height;
  frame.colorMap = MapColors(desc.ColorMap);
  frame.control = pending.control;
  frame.comments = std::move(pending.comments);
  pending = {};
  frame.pixels.resize(size_t(frame.width) * size_t(frame.height));
  for (int y : RowOrder(frame.height, desc.Interlace))
    if (DGifGetLine(gif, frame.pixels.data() + size_t(y) * size_t(frame.width), frame.width) ==
        GIF_ERROR)
      return false;
  picture.frames.push_back(std::move(frame));
  return true;
}

// Reads the records after the screen descriptor; false when the data is damaged.
bool ReadRecords(GifFileType* gif, GifPicture& picture) {
  PendingExtensions pending;
  int64_t framePixels = 0;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) return false;
    if (type == TERMINATE_RECORD_TYPE) return true;
    if (type == IMAGE_DESC_RECORD_TYPE) {
      if (!ReadFrame(gif, picture, pending, framePixels)) return false;
    } else if (type == EXTENSION_RECORD_TYPE) {
      if (!ReadExtension(gif, pending, picture)) return false;
    } else {
      return false;
    }
  }
}

struct ByteSink {
  std::vector<uint8_t> bytes;
};

int WriteToVector(GifFileType* gif, const GifByteType* buffer, int count) {
  auto* sink = static_cast<ByteSink*>(gif->UserData);
  sink->bytes.insert(sink->bytes.end(), buffer, buffer + count);
  return count;
}

struct EncoderCloser {
  void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};
using Encoder = std::unique_ptr<GifFileType, EncoderCloser>;

struct MapCloser {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using ColorMap = std::unique_ptr<ColorMapObject, MapCloser>;

ColorMap MakeColorMap(const std::vector<RGBQuad>& colors) {
  if (colors.empty()) return nullptr;
  if (colors.size() > 256) Invalid("colour map of more than 256 entries");
  int size = 1 << std::max(1, GifBitSize(int(colors.size())));
  ColorMap map(GifMakeMapObject(size, nullptr));
  if (!map) throw std::bad_alloc();
  for (size_t i = 0; i < colors.size(); ++i)
    map->Colors[i] = {colors[i].red, colors[i].green, colors[i].blue};
  return map;
}

void Put(bool ok) {
  if (!ok) throw EInvalidGraphic("GIF image could not be written");
}

void PutExtension(GifFileType* gif, int code, const void* data, size_t size) {
  Put(EGifPutExtensionLeader(gif, code) != GIF_ERROR);
  const auto* bytes = static_cast<const uint8_t*>(data);
  for (size_t at = 0; at < size; at += 255) {
    int n = int(std::min<size_t>(255, size - at));
    Put(EGifPutExtensionBlock(gif, n, bytes + at) != GIF_ERROR);
  }
  Put(EGifPutExtensionTrailer(gif) != GIF_ERROR);
}

void PutLoopExtension(GifFileType* gif, int loopCount) {
  Put(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) != GIF_ERROR);
  Put(EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0") != GIF_ERROR);
  const uint8_t loops[3] = {1, uint8_t(loopCount), uint8_t(loopCount >> 8)};
  Put(EGifPutExtensionBlock(gif, 3, loops) != GIF_ERROR);
  Put(EGifPutExtensionTrailer(gif) != GIF_ERROR);
}

void PutFrame(GifFileType* gif, const GifPicture& picture, const GifFrame& frame, bool first) {
  if (size_t(frame.width) * size_t(frame.height) != frame.pixels.size())
    Invalid("frame pixels do not match its size");
  if (picture.MapOf(frame).empty()) Invalid("frame without a colour map");
  if (first && picture.loopCount) PutLoopExtension(gif, *picture.loopCount);
  for (const std::string& comment : frame.comments)
    PutExtension(gif, COMMENT_EXT_FUNC_CODE, comment.data(), comment.size());
  if (frame.control) {
    GraphicsControlBlock block{int(frame.control->disposal), false, frame.control->delay,
                               frame.control->transparentIndex};
    GifByteType bytes[4];
    EGifGCBToExtension(&block, bytes);
    PutExtension(gif, GRAPHICS_EXT_FUNC_CODE, bytes, 4);
  }
  ColorMap local = MakeColorMap(frame.colorMap);
  Put(EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, false, local.get()) !=
      GIF_ERROR);
  // giflib masks the indices of each line in place, so it gets a copy.
  std::vector<GifPixelType> row(size_t(frame.width));
  for (int y = 0; y < frame.height; ++y) {
    auto start = frame.pixels.begin() + ptrdiff_t(size_t(y) * size_t(frame.width));
    std::copy(start, start + frame.width, row.begin());
    Put(EGifPutLine(gif, row.data(), frame.width) != GIF_ERROR);
  }
}

}  // namespace

GifPicture DecodeGif(std::span<const uint8_t> bytes) {
  ByteSource source{bytes};
  Decoder gif = OpenDecoder(source);
  GifPicture picture;
  CheckDimensions(gif->SWidth, gif->SHeight);
  picture.width = gif->SWidth;
  picture.height = gif->SHeight;
  picture.backgroundIndex = gif->SBackGroundColor;
  picture.globalMap = MapColors(gif->SColorMap);
  if (!ReadRecords(gif.get(), picture) && picture.frames.empty())
    Invalid(GifErrorString(gif->Error) ? GifErrorString(gif->Error) : "damaged data");
  return picture;
}

bool GifHasSeveralFrames(std::span<const uint8_t> bytes) {
  ByteSource source{bytes};
  int error = 0;
  Decoder gif(DGifOpen(&source, ReadFromSpan, &error));
  if (!gif) return false;
  int images = 0;
  for (;;) {
    GifRecordType type;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return false;
    if (type == TERMINATE_RECORD_TYPE) return false;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) return false;
      while (block)
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) return false;
    } else if (type == IMAGE_DESC_RECORD_TYPE) {
      if (++images > 1) return true;
      int codeSize = 0;
      GifByteType* block = nullptr;
      if (DGifGetImageDesc(gif.get()) == GIF_ERROR ||
          DGifGetCode(gif.get(), &codeSize, &block) == GIF_ERROR)
        return false;
      while (block)
        if (DGifGetCodeNext(gif.get(), &block) == GIF_ERROR) return false;
    } else {
      return false;
    }
  }
}

std::vector<uint8_t> EncodeGif(const GifPicture& picture) {
  ByteSink sink;
  int error = 0;
  Encoder gif(EGifOpen(&sink, WriteToVector, &error));
  if (!gif) Put(false);
  EGifSetGifVersion(gif.get(), true);
  ColorMap global = MakeColorMap(picture.globalMap);
  Put(EGifPutScreenDesc(gif.get(), picture.width, picture.height, 8, picture.backgroundIndex,
                        global.get()) != GIF_ERROR);
  for (size_t i = 0; i < picture.frames.size(); ++i)
    PutFrame(gif.get(), picture, picture.frames[i], i == 0);
  Put(EGifCloseFile(gif.release(), &error) != GIF_ERROR);
  return std::move(sink.bytes);
}

GifPicture GifOfIndexedBitmap(const TBitmap& bitmap, std::optional<int> transparentIndex) {
  if (bitmap.Format() != PixelFormat::Bits8) Invalid("not an 8-bit bitmap");
  GifPicture picture;
  picture.width = bitmap.Width();
  picture.height = bitmap.Height();
  picture.globalMap = bitmap.Palette();
  if (picture.globalMap.empty()) picture.globalMap = StandardPalette(8);
  GifFrame frame;
  frame.width = picture.width;
  frame.height = picture.height;
  if (transparentIndex) frame.control = GifGraphicControl{0, {}, *transparentIndex};
  frame.pixels.resize(size_t(frame.width) * size_t(frame.height));
  for (int y = 0; y < frame.height; ++y)
    std::memcpy(frame.pixels.data() + size_t(y) * size_t(frame.width), bitmap.ScanLine(y),
                size_t(frame.width));
  picture.frames.push_back(std::move(frame));
  return picture;
}

}  // namespace varnel
