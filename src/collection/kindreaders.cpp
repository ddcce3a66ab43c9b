#include "collection/kindreaders.h"

#include <array>

#include "base/fileio.h"
#include "graphics/canvas.h"
#include "graphics/jpegcodec.h"
#include "icons/bitmapfix32.h"
#include "icons/maskbits.h"
#include "icons/pngpicture.h"

namespace varnel {

namespace {

using Kind = TFileKind;
using Group = TKindGroup;

// PNG pixels below this alpha are transparent in the mask.
constexpr int kPngAlphaThreshold = 80;

std::unique_ptr<TAdvancedIcon> ReadIconFile(const std::string& path) {
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->LoadFromFile(path);
  return icon;
}

// All frames of an animated cursor as one icon.
std::unique_ptr<TAdvancedIcon> ReadAllFrames(const std::string& path) {
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->ExtractFromRiffFile(path, 0, nullptr);
  return icon;
}

TPicture ReadBmpPicture(const std::string& path) {
  std::vector<uint8_t> bytes = ReadWholeFile(path);
  TBitmapFix32 bitmap;
  SpanStream stream(bytes);
  bitmap.LoadFromStream(stream);
  return {std::move(bitmap), std::nullopt};
}

TPicture ReadJpegPicture(const std::string& path) {
  TBitmap result = ConvertFormat(DecodeJpeg(ReadWholeFile(path)), PixelFormat::Bits32);
  SetOpaque(result);
  return {std::move(result), std::nullopt};
}

TPicture ReadPngPicture(const std::string& path) {
  TColorAndMask png = LoadPngPicture(ReadWholeFile(path), kPngAlphaThreshold);
  return {std::move(png.color), std::move(png.mask)};
}

const std::array kReaders = {
    TKindReader{Kind::fkIcon, Group::SingleIcon, ReadIconFile},
    TKindReader{Kind::fkBitmap, Group::Picture, nullptr, ReadBmpPicture},
    TKindReader{Kind::fkJpeg, Group::Picture, nullptr, ReadJpegPicture},
    TKindReader{Kind::fkPng, Group::Picture, nullptr, ReadPngPicture},
    TKindReader{Kind::fkAniCursor, Group::AnimatedCursor, ReadAllFrames},
    TKindReader{Kind::fkModule, Group::Library},
    TKindReader{Kind::fkResource32, Group::Library},
    TKindReader{Kind::fkResource16, Group::Library},
    TKindReader{Kind::fkCollection, Group::Collection},
    TKindReader{Kind::fkZip, Group::Unsupported},
    TKindReader{Kind::fkRar, Group::Unsupported},
    TKindReader{Kind::fkGif, Group::Unsupported},
    TKindReader{Kind::fkMacIcon, Group::Unsupported},
    TKindReader{Kind::fkIconProject, Group::Unsupported},
};

}  // namespace

const TKindReader& ReaderOf(TFileKind kind) {
  static const TKindReader kOther{Kind::fkUnrecognised, Group::Other};
  for (const TKindReader& reader : kReaders)
    if (reader.kind == kind) return reader;
  return kOther;
}

}  // namespace varnel
