#include "icons/imagefileloader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/canvas.h"
#include "graphics/jpegcodec.h"
#include "graphics/pictureformats.h"
#include "graphics/pngcodec.h"
#include "icons/anicursorimage.h"
#include "icons/backgroundmask.h"
#include "icons/datauri.h"
#include "icons/gifimport.h"
#include "icons/iconproject.h"
#include "icons/macicon.h"
#include "icons/maskbits.h"
#include "icons/picturesizing.h"
#include "icons/pngpicture.h"
#include "icons/rasterpictures.h"
#include "icons/vectorfile.h"

namespace varnel {

namespace {

constexpr int kDataUriAlphaThreshold = 96;
// Picture files beyond this size are refused before they are read.
constexpr uint64_t kMaxPictureFileBytes = uint64_t(256) << 20;

struct ReportedSize {
  int width = 0;
  int height = 0;
};

// One row of the dispatch table: the reader at the file's own size, and the one that brings
// the file to a requested size.
struct ImageFileReader {
  const char* extension;
  void (*load)(TAdvancedIcon& icon, const std::string& path, bool allowLarge, ReportedSize& size);
  void (*loadResized)(TAdvancedIcon& icon, const std::string& path,
                      const ImageSizeRequest& request);
};

std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  if (!ext.empty()) ext.erase(0, 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return ext;
}

bool TooLarge(int width, int height, bool allowLarge) {
  return !allowLarge && (width > kDirectImportLimit || height > kDirectImportLimit);
}

// --- data URIs: no size limit, and no resizing either ---

void LoadDataUriRow(TAdvancedIcon& icon, const std::string& path, bool, ReportedSize&) {
  TAdvancedIcon loaded;
  LoadDataUriFile(path, kDataUriAlphaThreshold, loaded);
  icon.Images().TakeAll(loaded);
}

void ResizeDataUriRow(TAdvancedIcon& icon, const std::string& path, const ImageSizeRequest&) {
  ReportedSize ignored;
  LoadDataUriRow(icon, path, true, ignored);
}

// --- vector drawings: drawn at their own size, or at the size asked ---

void LoadDrawingRow(TAdvancedIcon& icon, const std::string& path, bool, ReportedSize& size) {
  int before = icon.Images().Count();
  AddDrawingFile(icon, path);
  if (const TSubIcon* image = icon.Images()[before])
    size = {image->ImageWidth(), image->ImageHeight()};
}

// The drawing's own size; a target of the asked size when it gives none.
ReportedSize DrawingSizeOfFile(const std::string& path, const ImageSizeRequest& request) {
  std::vector<uint8_t> data = ReadWholeFile(path, kMaxDrawingFileBytes);
  auto size = DrawingSizeOf(data, DrawingFormatOf(data));
  if (!size || !(size->width > 0) || !(size->height > 0)) return {request.width, request.height};
  return {std::max(1, int(size->width + 0.5)), std::max(1, int(size->height + 0.5))};
}

// The drawing is drawn in its own proportions at the size of its rectangle of the target
// (twice that with a filter), then brought to the target, stretched when proportions are not
// kept: the renderers themselves always keep a drawing's proportions.
void ResizeDrawingRow(TAdvancedIcon& icon, const std::string& path,
                      const ImageSizeRequest& request) {
  ReportedSize own = DrawingSizeOfFile(path, request);
  TRect rect = TargetRectangle(own.width, own.height, true, request.width, request.height);
  int scale = request.filter ? 2 : 1;
  int width = std::min(rect.Width() * scale, kMaxDrawingSide);
  int height = std::min(rect.Height() * scale, kMaxDrawingSide);
  TBitmap drawing = RenderDrawingFile(path, width, height);
  AddBitmapSized(icon.Images(), drawing, nullptr, request.filter, request.alphaThreshold,
                 request.keepProportions, request.width, request.height);
}

// --- the picture-format registry ---

struct RegistryPicture {
  TBitmap bitmap;
  bool isBitmap = false;  // a bitmap class, as opposed to another graphic
};

RegistryPicture LoadRegistryPicture(const std::string& path) {
  std::string extension = LowerExtension(path);
  const TPictureFormat* format = FindPictureFormat(extension);
  if (!format || !format->load)
    throw EInvalidGraphic("Unknown picture file extension (." + extension + ")");
  std::vector<uint8_t> bytes = ReadWholeFile(path, kMaxPictureFileBytes);
  SpanStream stream(bytes);
  return {format->load(stream), format->isBitmap};
}

// A bitmap is added unchanged without a mask; any other graphic is drawn on black and on white
// and added with the mask their difference gives.
void LoadRegistryRow(TAdvancedIcon& icon, const std::string& path, bool allowLarge,
                     ReportedSize& size) {
  RegistryPicture picture = LoadRegistryPicture(path);
  size = {picture.bitmap.Width(), picture.bitmap.Height()};
  if (TooLarge(size.width, size.height, allowLarge)) return;
  if (picture.isBitmap) {
    icon.Images().AddFromBitmap(picture.bitmap, nullptr, 0);
    return;
  }
  TBitmap onBlack = DrawnOnBackground(picture.bitmap, clBlack);
  TBitmap mask = MaskFromBackgrounds(onBlack, DrawnOnBackground(picture.bitmap, clWhite));
  icon.Images().AddFromBitmap(onBlack, &mask, 0);
}

// The picture as 32 bits with alpha: bitmaps of other formats opaque.
TBitmap WithAlphaChannel(const TBitmap& picture) {
  if (picture.Format() == PixelFormat::Bits32) return picture;
  TBitmap result = ConvertFormat(picture, PixelFormat::Bits32);
  SetOpaque(result);
  return result;
}

// Stretched into the centred rectangle of its proportions on black and on white targets.
void StretchRegistryPicture(TAdvancedIcon& icon, const TBitmap& picture,
                            const ImageSizeRequest& request) {
  TBitmap canvas(request.width, request.height, PixelFormat::Bits32);
  TRect rect =
      TargetRectangle(picture.Width(), picture.Height(), true, request.width, request.height);
  StretchDraw(canvas, rect, WithAlphaChannel(picture));
  TBitmap onBlack = DrawnOnBackground(canvas, clBlack);
  TBitmap mask = MaskFromBackgrounds(onBlack, DrawnOnBackground(canvas, clWhite));
  icon.Images().AddFromBitmap(onBlack, &mask, 0);
}

void ResizeRegistryRow(TAdvancedIcon& icon, const std::string& path,
                       const ImageSizeRequest& request) {
  RegistryPicture picture = LoadRegistryPicture(path);
  if (request.filter == 0) {
    StretchRegistryPicture(icon, picture.bitmap, request);
    return;
  }
  TBitmap source = picture.isBitmap
                       ? std::move(picture.bitmap)
                       : AlphaFromBackgrounds(DrawnOnBackground(picture.bitmap, clBlack),
                                              DrawnOnBackground(picture.bitmap, clWhite));
  AddBitmapSized(icon.Images(), source, nullptr, request.filter, request.alphaThreshold,
                 request.keepProportions, request.width, request.height);
}

// --- the raster formats read by their own classes ---

void LoadRasterRow(TAdvancedIcon& icon, const std::string& path, bool allowLarge,
                   ReportedSize& size) {
  LoadRasterPictureFile(icon.Images(), path, allowLarge, size.height, size.width);
}

void ResizeRasterRow(TAdvancedIcon& icon, const std::string& path,
                     const ImageSizeRequest& request) {
  LoadRasterPictureFileResampled(icon.Images(), path, request.width, request.filter,
                                 request.alphaThreshold, request.keepProportions, request.height);
}

// --- GIF: the first frame ---

void LoadGifRow(TAdvancedIcon& icon, const std::string& path, bool allowLarge, ReportedSize& size) {
  LoadGifFile(icon, path, allowLarge, size.height, size.width);
}

void ResizeGifRow(TAdvancedIcon& icon, const std::string& path, const ImageSizeRequest& request) {
  LoadGifFileResampled(icon, path, request.width, request.filter, request.alphaThreshold,
                       request.keepProportions, request.height);
}

// --- Mac icons: every image of the family, at its own size ---

void LoadMacIconRow(TAdvancedIcon& icon, const std::string& path, bool, ReportedSize&) {
  TAdvancedIcon loaded;
  ImportMacIcon(path, loaded);
  icon.Images().TakeAll(loaded);
}

void ResizeMacIconRow(TAdvancedIcon& icon, const std::string& path, const ImageSizeRequest&) {
  ReportedSize ignored;
  LoadMacIconRow(icon, path, true, ignored);
}

// The readers by extension; the formats of the picture-format registry read by their own
// classes take the raster reader, every other extension the registry's.
const ImageFileReader kReaders[] = {
    {"b64", LoadDataUriRow, ResizeDataUriRow},  {"svg", LoadDrawingRow, ResizeDrawingRow},
    {"svgz", LoadDrawingRow, ResizeDrawingRow}, {"ai", LoadDrawingRow, ResizeDrawingRow},
    {"pdf", LoadDrawingRow, ResizeDrawingRow},  {"gif", LoadGifRow, ResizeGifRow},
    {"icns", LoadMacIconRow, ResizeMacIconRow}, {"rsrc", LoadMacIconRow, ResizeMacIconRow},
};

const ImageFileReader kRasterReader{"", LoadRasterRow, ResizeRasterRow};
const ImageFileReader kRegistryReader{"", LoadRegistryRow, ResizeRegistryRow};

const ImageFileReader& ReaderFor(const std::string& path) {
  std::string extension = LowerExtension(path);
  for (const ImageFileReader& reader : kReaders)
    if (extension == reader.extension) return reader;
  if (IsRasterPictureFile(path)) return kRasterReader;
  return kRegistryReader;
}

std::vector<uint8_t> ReadRemaining(Stream& stream) {
  int64_t left = std::max<int64_t>(0, stream.Size() - stream.Position());
  if (uint64_t(left) > kMaxPictureFileBytes) throw EInvalidGraphic("Picture file is too large");
  std::vector<uint8_t> bytes(static_cast<size_t>(left));
  bytes.resize(stream.Read(bytes.data(), bytes.size()));
  return bytes;
}

TBitmap LoadPngForRegistry(Stream& stream) {
  return DecodePngRgba(ReadRemaining(stream));
}

TBitmap LoadJpegForRegistry(Stream& stream) {
  return DecodeJpeg(ReadRemaining(stream));
}

}  // namespace

void LoadImageFile(TAdvancedIcon& icon, const std::string& fileName, bool allowLarge, int& height,
                   int& width) {
  ReportedSize size{width, height};
  ReaderFor(fileName).load(icon, fileName, allowLarge, size);
  width = size.width, height = size.height;
}

void LoadImageFileSized(TAdvancedIcon& icon, const std::string& fileName, int width,
                        bool keepProportions, int height) {
  LoadImageFileResampled(icon, fileName, {width, height, 0, 80, keepProportions});
}

void LoadImageFileResampled(TAdvancedIcon& icon, const std::string& fileName,
                            const ImageSizeRequest& request) {
  if (request.width < 1 || request.height < 1 || request.width > kMaxDrawingSide ||
      request.height > kMaxDrawingSide)
    throw EInvalidGraphic("Image size " + std::to_string(request.width) + "x" +
                          std::to_string(request.height) + " is out of range");
  ReaderFor(fileName).loadResized(icon, fileName, request);
}

bool HasImageReader(const std::string& fileName) {
  return &ReaderFor(fileName) != &kRegistryReader ||
         FindPictureFormat(LowerExtension(fileName)) != nullptr;
}

void RegisterPictureReaders() {
  RegisterRasterPictureFormats();
  RegisterIconProjectFormat();
  RegisterAniCursorFormat();
  for (const char* extension : {"png"})
    RegisterPictureFormat(extension, {"PNG picture", LoadPngForRegistry, nullptr, false, "PNG"});
  for (const char* extension : {"jpg", "jpeg", "jpe", "jfif"})
    RegisterPictureFormat(extension, {"JPEG picture", LoadJpegForRegistry, nullptr, false, "JPEG"});
}

}  // namespace varnel
