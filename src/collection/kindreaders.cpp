#include "collection/kindreaders.h"

#include <array>

#include "base/errors.h"
#include "base/stream.h"
#include "collection/picturereaders.h"
#include "graphics/canvas.h"
#include "graphics/jpegcodec.h"
#include "icons/bitmapfix32.h"
#include "icons/gifimport.h"
#include "icons/iconproject.h"
#include "icons/macicon.h"
#include "icons/maskbits.h"
#include "icons/pcximage.h"
#include "icons/pngpicture.h"
#include "icons/psdimage.h"

namespace varnel {

namespace {

using Kind = TFileKind;
using Group = TKindGroup;

// PNG pixels below this alpha are transparent in the mask.
constexpr int kPngAlphaThreshold = 80;

std::unique_ptr<TAdvancedIcon> ReadIconFile(const MappedFile& file) {
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->LoadFromBytes(file.Bytes());
  return icon;
}

std::unique_ptr<TAdvancedIcon> ReadMacIcon(const MappedFile& file) {
  auto icon = std::make_unique<TAdvancedIcon>();
  ImportMacIconBytes(file.Bytes(), *icon);
  return icon;
}

std::unique_ptr<TAdvancedIcon> ReadIconProject(const MappedFile& file) {
  auto icon = std::make_unique<TAdvancedIcon>();
  ImportIconProjectBytes(*icon, file.Bytes());
  return icon;
}

// All frames of an animated cursor as one icon.
std::unique_ptr<TAdvancedIcon> ReadAllFrames(const MappedFile& file) {
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->ExtractFromRiffData(file.Bytes(), 0, nullptr);
  return icon;
}

// One image per frame of an animated GIF, else the one picture.
std::unique_ptr<TAdvancedIcon> ReadGifIcon(const MappedFile& file) {
  auto icon = std::make_unique<TAdvancedIcon>();
  AddGifImages(*icon, file.Bytes());
  return icon;
}

// The first frame, for adding one image to an icon.
TPicture ReadGifPicture(const MappedFile& file) {
  std::optional<TColorAndMask> picture = GifFirstFramePicture(DecodeGif(file.Bytes()));
  if (!picture) throw EInvalidGraphic("GIF image has no frame");
  return {std::move(picture->color), std::move(picture->mask)};
}

TPicture ReadBmpPicture(const MappedFile& file) {
  TBitmapFix32 bitmap;
  SpanStream stream(file.Bytes());
  bitmap.LoadFromStream(stream);
  return {std::move(bitmap), std::nullopt};
}

TPicture ReadJpegPicture(const MappedFile& file) {
  TBitmap result = ConvertFormat(DecodeJpeg(file.Bytes()), PixelFormat::Bits32);
  SetOpaque(result);
  return {std::move(result), std::nullopt};
}

TPicture ReadPcxPicture(const MappedFile& file) {
  return {ReadPcxAs32Bit(file.Bytes()), std::nullopt};
}

TPicture ReadPsdPicture(const MappedFile& file) {
  TPSDImage document;
  SpanStream stream(file.Bytes());
  document.LoadFromStream(stream);
  return {TBitmap(std::move(document)), std::nullopt};
}

TPicture ReadPngPicture(const MappedFile& file) {
  TColorAndMask png = LoadPngPicture(file.Bytes(), kPngAlphaThreshold);
  return {std::move(png.color), std::move(png.mask)};
}

const std::array kReaders = {
    TKindReader{Kind::fkIcon, Group::SingleIcon, ReadIconFile},
    TKindReader{Kind::fkBitmap, Group::Picture, nullptr, ReadBmpPicture, "BMP"},
    TKindReader{Kind::fkJpeg, Group::Picture, nullptr, ReadJpegPicture, "JPEG"},
    TKindReader{Kind::fkPng, Group::Picture, ReadPngAsPackedImage, ReadPngPicture, "PNG"},
    TKindReader{Kind::fkVectorDrawing, Group::Picture, nullptr, ReadDrawingPicture},
    TKindReader{Kind::fkDataUri, Group::Picture, nullptr, ReadDataUriPicture},
    TKindReader{Kind::fkPcx, Group::ImportedPicture, nullptr, ReadPcxPicture, "PCX"},
    TKindReader{Kind::fkPsd, Group::LayeredPicture, nullptr, ReadPsdPicture, "PSD"},
    TKindReader{Kind::fkAniCursor, Group::AnimatedCursor, ReadAllFrames, nullptr, "ANI"},
    TKindReader{Kind::fkModule, Group::Library},
    TKindReader{Kind::fkResource32, Group::Library},
    TKindReader{Kind::fkResource16, Group::Library},
    TKindReader{Kind::fkCollection, Group::Collection},
    TKindReader{Kind::fkZip, Group::Archive},
    TKindReader{Kind::fkRar, Group::Archive},
    TKindReader{Kind::fkGif, Group::Picture, ReadGifIcon, ReadGifPicture, "GIF"},
    TKindReader{Kind::fkMacIcon, Group::SingleIcon, ReadMacIcon},
    TKindReader{Kind::fkIconProject, Group::SingleIcon, ReadIconProject},
};

}  // namespace

const TKindReader& ReaderOf(TFileKind kind) {
  static const TKindReader kOther{Kind::fkUnrecognised, Group::Other};
  for (const TKindReader& reader : kReaders)
    if (reader.kind == kind) return reader;
  return kOther;
}

std::unique_ptr<TAdvancedIcon> ReadIconOf(const TKindReader& reader, const std::string& path) {
  return reader.readIcon(MappedFile(path));
}

TPicture ReadPictureOf(const TKindReader& reader, const std::string& path) {
  return reader.readPicture(MappedFile(path));
}

std::unique_ptr<TAdvancedIcon> ReadPictureFileIcon(const std::string& path) {
  const TKindReader& reader = ReaderOf(DetectFileKind(path).kind);
  if (reader.group != TKindGroup::Picture || !reader.readPicture) return nullptr;
  if (auto packed = reader.readIcon ? ReadIconOf(reader, path) : nullptr) return packed;
  TPicture picture = ReadPictureOf(reader, path);
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->Images().AddFromBitmap(picture.color, picture.mask ? &*picture.mask : nullptr, 0);
  return icon;
}

}  // namespace varnel
