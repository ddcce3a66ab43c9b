#include "icons/rasterpictures.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "base/fileio.h"
#include "graphics/pictureformats.h"
#include "icons/picturesizing.h"
#include "icons/psdimage.h"
#include "icons/xbmimage.h"
#include "icons/xpmimage.h"

namespace varnel {

namespace {

constexpr int kDirectImportLimit = 256;

std::string ExtensionOf(const std::string& fileName) {
  std::string ext = std::filesystem::path(fileName).extension().string();
  if (!ext.empty()) ext.erase(0, 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return ext;
}

std::string StemOf(const std::string& fileName) {
  return std::filesystem::path(fileName).stem().string();
}

template <class Picture>
TBitmap LoadAs(Stream& stream) {
  Picture picture;
  picture.LoadFromStream(stream);
  return TBitmap(std::move(picture));
}

TBitmap LoadXbm(Stream& stream) {
  TXBMImage picture;
  picture.LoadFromBytes(stream.ReadBytes(size_t(stream.Remaining())));
  return TBitmap(std::move(picture));
}

void SaveXpm(const TBitmap& bitmap, Stream& stream) {
  TXPMImage picture;
  picture.SetFromBitmaps(bitmap, nullptr, 1);
  picture.SaveToStream(stream);
}

void SaveXbm(const TBitmap& bitmap, Stream& stream) {
  TXBMImage picture;
  static_cast<TBitmap&>(picture) = ConvertFormat(bitmap, PixelFormat::Bits1);
  std::string text = picture.SourceText(picture, "noname_bits");
  stream.WriteBuffer(text.data(), text.size());
}

// A picture with the mask of its format, where it has one.
struct MaskedPicture {
  TBitmap color;
  std::optional<TBitmap> mask;
};

// The pictures of the other formats read by their own classes, read by extension when their
// content was not recognised, are taken without a mask.
std::optional<MaskedPicture> ReadMaskedPicture(const std::string& fileName) {
  std::string ext = ExtensionOf(fileName);
  if (!IsRasterPictureFile(fileName) || ext == "xbm") return std::nullopt;
  std::vector<uint8_t> bytes = ReadWholeFile(fileName);
  SpanStream stream(bytes);
  if (ext == "psd" || ext == "pdd") return MaskedPicture{LoadAs<TPSDImage>(stream), std::nullopt};
  if (ext != "xpm") return MaskedPicture{FindPictureFormat(ext)->load(stream), std::nullopt};
  TXPMImage picture;
  picture.LoadFromStream(stream);
  MaskedPicture result{TBitmap(), TBitmap()};
  picture.GetBitmaps(result.color, *result.mask);
  return result;
}

void ReadXbmInto(TSubIconList& images, const std::string& fileName) {
  TXBMImage picture;
  picture.LoadFromFile(fileName);
  picture.AddToIcon(images);
}

}  // namespace

void RegisterRasterPictureFormats() {
  RegisterPictureFormat("xpm", {"X Pixmap", LoadAs<TXPMImage>, SaveXpm, false, "XPM", true});
  RegisterPictureFormat("xbm", {"X Bitmap", LoadXbm, SaveXbm, false, "XBM", true});
  TPictureFormat psd{"Photoshop Image", LoadAs<TPSDImage>, nullptr, false, "PSD", true};
  RegisterPictureFormat("psd", psd);
  RegisterPictureFormat("pdd", psd);
}

bool IsRasterPictureFile(const std::string& fileName) {
  static const char* const kOwnExtensions[] = {"xpm", "xbm", "psd", "pdd"};
  std::string ext = ExtensionOf(fileName);
  if (std::find(std::begin(kOwnExtensions), std::end(kOwnExtensions), ext) !=
      std::end(kOwnExtensions))
    return true;
  const TPictureFormat* format = FindPictureFormat(ext);
  return format && format->readByOwnClass;
}

bool LoadRasterPictureFile(TSubIconList& images, const std::string& fileName, bool allowLarge,
                           int& height, int& width) {
  if (ExtensionOf(fileName) == "xbm") {
    ReadXbmInto(images, fileName);
    width = images[images.Count() - 1]->ImageWidth();
    height = images[images.Count() - 1]->ImageHeight();
    return true;
  }
  std::optional<MaskedPicture> picture = ReadMaskedPicture(fileName);
  if (!picture) return false;
  width = picture->color.Width();
  height = picture->color.Height();
  if (allowLarge || (width <= kDirectImportLimit && height <= kDirectImportLimit))
    images.AddFromBitmap(picture->color, picture->mask ? &*picture->mask : nullptr, 0);
  return true;
}

bool LoadRasterPictureFileResampled(TSubIconList& images, const std::string& fileName, int width,
                                    int filter, int alphaThreshold, bool keepProportions,
                                    int height) {
  if (ExtensionOf(fileName) == "xbm") {
    ReadXbmInto(images, fileName);
    return true;
  }
  std::optional<MaskedPicture> picture = ReadMaskedPicture(fileName);
  if (!picture) return false;
  AddBitmapSized(images, picture->color, picture->mask ? &*picture->mask : nullptr, filter,
                 alphaThreshold, keepProportions, width, height);
  return true;
}

void WriteXpmFile(const TSubIcon& image, int alphaThreshold, const std::string& fileName) {
  TBitmap color, mask;
  image.GetBitmaps(nullptr, &color, clNone, &mask);
  TXPMImage picture;
  picture.SetFromBitmaps(color, &mask, alphaThreshold);
  picture.VarName = StemOf(fileName);
  MemoryStream stream;
  picture.SaveToStream(stream);
  WriteFileAtomic(fileName, stream.Bytes());
}

void WriteXbmFile(const TSubIcon& image, int32_t hotSpot, const std::string& fileName) {
  TXBMImage picture;
  picture.Assign(image);
  picture.VarName = StemOf(fileName);
  int16_t x = int16_t(hotSpot & 0xFFFF);
  picture.HotSpotX = x < 0 ? -1 : x;
  picture.HotSpotY = x < 0 ? -1 : int32_t((uint32_t(hotSpot) >> 16) & 0xFFFF);
  picture.SaveToFile(fileName);
}

}  // namespace varnel
