#include "collection/kindreaders.h"

#include <array>
#include <fstream>

#include "base/errors.h"
#include "base/stream.h"
#include "collection/picturereaders.h"
#include "graphics/canvas.h"
#include "graphics/jpegcodec.h"
#include "icons/bitmapfix32.h"
#include "icons/gifframes.h"
#include "icons/gifimport.h"
#include "icons/iconproject.h"
#include "icons/macicon.h"
#include "icons/maskbits.h"
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

constexpr int64_t kRiffKindSizeLimit = 1 << 20;

std::string Versioned(const std::string& text, int version) {
  return text + " (version " + std::to_string(version) + ")";
}

std::string DescribeIcon(const TFileKindInfo& info, const std::string&) {
  switch (info.subKind) {
    case 1:
      return "icon file";
    case 2:
      return "cursor file";
    case 4:
      return "bare icon image";
    default:
      return "icon file (type " + std::to_string(info.subKind) + ")";
  }
}

std::string DescribeModule(const TFileKindInfo& info, const std::string&) {
  return info.subKind == 1 ? "module (16-bit NE)" : "module (32-bit PE)";
}

std::string DescribeJpeg(const TFileKindInfo& info, const std::string&) {
  int components = info.subKind;
  if (components <= 0) return "JPEG image";
  return "JPEG image (" + std::to_string(components) +
         (components == 1 ? " component)" : " components)");
}

std::string DescribeGif(const TFileKindInfo&, const std::string& path) {
  return IsAnimatedGif(path) ? "animated GIF image" : "GIF image";
}

std::string DescribePsd(const TFileKindInfo& info, const std::string&) {
  return Versioned("layered PSD image", info.subKind);
}

std::string DescribeIconProject(const TFileKindInfo& info, const std::string&) {
  return Versioned("layered icon project", info.subKind);
}

// "Rar!" archives of the newer format are detected as the ZIP kind.
std::string DescribeArchive(const TFileKindInfo&, const std::string& path) {
  char head[4] = {};
  std::ifstream(path, std::ios::binary).read(head, sizeof head);
  return std::string(head, sizeof head) == "Rar!" ? "RAR archive" : "ZIP archive";
}

std::string DescribeDrawing(const TFileKindInfo& info, const std::string&) {
  switch (info.subKind) {
    case 1:
      return "SVG drawing";
    case 2:
      return "compressed SVG drawing";
    default:
      return "PDF document";
  }
}

}  // namespace

const FileFormat& Resource32Format() {
  static const FileFormat kRow{.kind = Kind::fkResource32,
                               .kindName = "fkResource32",
                               .group = Group::Library,
                               .description = "32-bit resource file",
                               .detect = DetectResourceOrIcon,
                               .loadedWhenDownloaded = false};
  return kRow;
}

const FileFormat& IconFormat() {
  static const FileFormat kRow{.kind = Kind::fkIcon,
                               .kindName = "fkIcon",
                               .group = Group::SingleIcon,
                               .describe = DescribeIcon,
                               .detect = DetectBareIcon,
                               .readIcon = ReadIconFile};
  return kRow;
}

const FileFormat& ModuleFormat() {
  static const FileFormat kRow{.kind = Kind::fkModule,
                               .kindName = "fkModule",
                               .group = Group::Library,
                               .describe = DescribeModule,
                               .detect = DetectModule};
  return kRow;
}

const FileFormat& AniCursorFormat() {
  static const FileFormat kRow{.kind = Kind::fkAniCursor,
                               .kindName = "fkAniCursor",
                               .group = Group::AnimatedCursor,
                               .description = "animated cursor",
                               .detect = DetectRiffForm,
                               .riffForm = "ACON",
                               .riffSizeLimit = kRiffKindSizeLimit,
                               .readIcon = ReadAllFrames,
                               .typeWord = "ANI"};
  return kRow;
}

const FileFormat& JpegFormat() {
  static const FileFormat kRow{.kind = Kind::fkJpeg,
                               .kindName = "fkJpeg",
                               .group = Group::Picture,
                               .describe = DescribeJpeg,
                               .detect = DetectJpeg,
                               .readPicture = ReadJpegPicture,
                               .typeWord = "JPEG"};
  return kRow;
}

const FileFormat& GifFormat() {
  static const FileFormat kRow{.kind = Kind::fkGif,
                               .kindName = "fkGif",
                               .group = Group::Picture,
                               .describe = DescribeGif,
                               .detect = DetectGif,
                               .readIcon = ReadGifIcon,
                               .readPicture = ReadGifPicture,
                               .typeWord = "GIF"};
  return kRow;
}

const FileFormat& BitmapFormat() {
  static const FileFormat kRow{.kind = Kind::fkBitmap,
                               .kindName = "fkBitmap",
                               .group = Group::Picture,
                               .description = "BMP image",
                               .detect = DetectBitmap,
                               .readPicture = ReadBmpPicture,
                               .typeWord = "BMP"};
  return kRow;
}

const FileFormat& PngFormat() {
  static const FileFormat kRow{.kind = Kind::fkPng,
                               .kindName = "fkPng",
                               .group = Group::Picture,
                               .description = "PNG image",
                               .detect = DetectPng,
                               .readIcon = ReadPngAsPackedImage,
                               .readPicture = ReadPngPicture,
                               .typeWord = "PNG"};
  return kRow;
}

const FileFormat& PsdFormat() {
  static const FileFormat kRow{.kind = Kind::fkPsd,
                               .kindName = "fkPsd",
                               .group = Group::LayeredPicture,
                               .describe = DescribePsd,
                               .detect = DetectPsd,
                               .readPicture = ReadPsdPicture,
                               .typeWord = "PSD"};
  return kRow;
}

const FileFormat& CollectionFormat() {
  static const FileFormat kRow{.kind = Kind::fkCollection,
                               .kindName = "fkCollection",
                               .group = Group::Collection,
                               .description = "icon collection",
                               .detect = DetectCollection};
  return kRow;
}

const FileFormat& IconProjectFormat() {
  static const FileFormat kRow{.kind = Kind::fkIconProject,
                               .kindName = "fkIconProject",
                               .group = Group::SingleIcon,
                               .describe = DescribeIconProject,
                               .detect = DetectIconProject,
                               .readIcon = ReadIconProject,
                               .typeWord = "ICPR"};
  return kRow;
}

const FileFormat& MacIconFormat() {
  static const FileFormat kRow{.kind = Kind::fkMacIcon,
                               .kindName = "fkMacIcon",
                               .group = Group::SingleIcon,
                               .description = "Mac icon file",
                               .detect = DetectMacIcon,
                               .readIcon = ReadMacIcon,
                               .typeWord = "Mac Icon"};
  return kRow;
}

const FileFormat& ZipFormat() {
  static const FileFormat kRow{.kind = Kind::fkZip,
                               .kindName = "fkZip",
                               .group = Group::Archive,
                               .describe = DescribeArchive,
                               .detect = DetectArchive};
  return kRow;
}

const FileFormat& TiffFormat() {
  static const FileFormat kRow{.kind = Kind::fkTiff,
                               .kindName = "fkTiff",
                               .description = "TIFF image",
                               .detect = DetectTiff};
  return kRow;
}

const FileFormat& Resource16Format() {
  static const FileFormat kRow{.kind = Kind::fkResource16,
                               .kindName = "fkResource16",
                               .group = Group::Library,
                               .description = "16-bit resource file",
                               .detect = DetectResource16,
                               .loadedWhenDownloaded = false};
  return kRow;
}

const FileFormat& TargaFormat() {
  static const FileFormat kRow{.kind = Kind::fkTarga,
                               .kindName = "fkTarga",
                               .description = "TGA image",
                               .detect = DetectTarga};
  return kRow;
}

// Gives the data-URI kind too.
const FileFormat& VectorDrawingFormat() {
  static const FileFormat kRow{.kind = Kind::fkVectorDrawing,
                               .kindName = "fkVectorDrawing",
                               .group = Group::Picture,
                               .describe = DescribeDrawing,
                               .detect = DetectDrawing,
                               .readPicture = ReadDrawingPicture};
  return kRow;
}

const FileFormat& DataUriFormat() {
  static const FileFormat kRow{.kind = Kind::fkDataUri,
                               .kindName = "fkDataUri",
                               .group = Group::Picture,
                               .description = "data URI text",
                               .readPicture = ReadDataUriPicture};
  return kRow;
}

const FileFormat& RiffPaletteFormat() {
  static const FileFormat kRow{.kind = Kind::fkRiffPalette,
                               .kindName = "fkRiffPalette",
                               .description = "RIFF palette",
                               .riffForm = "PAL ",
                               .riffSizeLimit = kRiffKindSizeLimit,
                               .loadedWhenDownloaded = false};
  return kRow;
}

const FileFormat& CmykJpegFormat() {
  static const FileFormat kRow{
      .kind = Kind::fkCmykJpeg, .kindName = "fkCmykJpeg", .description = "CMYK JPEG image"};
  return kRow;
}

const FileFormat& RarFormat() {
  static const FileFormat kRow{.kind = Kind::fkRar,
                               .kindName = "fkRar",
                               .group = Group::Archive,
                               .description = "RAR archive"};
  return kRow;
}

const FileFormat& UnrecognisedFormat() {
  static const FileFormat kRow{.kind = Kind::fkUnrecognised,
                               .kindName = "fkUnrecognised",
                               .description = "not recognised",
                               .loadedWhenDownloaded = false};
  return kRow;
}

const FileFormat& EmptyFormat() {
  static const FileFormat kRow{.kind = Kind::fkEmpty,
                               .kindName = "fkEmpty",
                               .description = "empty file",
                               .loadedWhenDownloaded = false};
  return kRow;
}

const FileFormat& UnreadableFormat() {
  static const FileFormat kRow{.kind = Kind::fkUnreadable,
                               .kindName = "fkUnreadable",
                               .description = "cannot be read",
                               .loadedWhenDownloaded = false};
  return kRow;
}

const FileFormat& TooLargeFormat() {
  static const FileFormat kRow{.kind = Kind::fkTooLarge,
                               .kindName = "fkTooLarge",
                               .description = "refused (too large, or Mac data without icon types)",
                               .loadedWhenDownloaded = false};
  return kRow;
}

const FileFormat& FormatOf(TFileKind kind) {
  static const std::array<const FileFormat*, kFileKindCount> kByKind = [] {
    std::array<const FileFormat*, kFileKindCount> rows{};
    for (const FileFormat* format : FileFormats())
      if (format->kind) rows[size_t(*format->kind)] = format;
    return rows;
  }();
  const FileFormat* row = size_t(kind) < kByKind.size() ? kByKind[size_t(kind)] : nullptr;
  return row ? *row : UnrecognisedFormat();
}

std::string DescribeKind(const TFileKindInfo& info, const std::string& path) {
  const FileFormat& format = FormatOf(info.kind);
  return format.describe ? format.describe(info, path) : format.description;
}

std::string ImportPicturePatterns() {
  std::string patterns;
  for (const FileFormat* format : FileFormats()) {
    if (!format->importPatterns) continue;
    if (!patterns.empty()) patterns += ';';
    patterns += format->importPatterns;
  }
  return patterns;
}

std::unique_ptr<TAdvancedIcon> ReadIconOf(const FileFormat& reader, const std::string& path) {
  return reader.readIcon(MappedFile(path));
}

TPicture ReadPictureOf(const FileFormat& reader, const std::string& path) {
  return reader.readPicture(MappedFile(path));
}

std::unique_ptr<TAdvancedIcon> ReadPictureFileIcon(const std::string& path) {
  const FileFormat& reader = FormatOf(DetectFileKind(path).kind);
  if (reader.group != TKindGroup::Picture || !reader.readPicture) return nullptr;
  if (auto packed = reader.readIcon ? ReadIconOf(reader, path) : nullptr) return packed;
  TPicture picture = ReadPictureOf(reader, path);
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->Images().AddFromBitmap(picture.color, picture.mask ? &*picture.mask : nullptr, 0);
  return icon;
}

}  // namespace varnel
