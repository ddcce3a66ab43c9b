#include "collection/sizedpictures.h"

#include <algorithm>
#include <cstring>

#include "graphics/pngcodec.h"
#include "graphics/resample.h"
#include "graphics/resamplefilters.h"
#include "graphics/vectordrawing.h"

namespace varnel {

namespace {

int SideOf(const TSubIcon& image) {
  return std::max(image.ImageWidth(), image.ImageHeight());
}

TBitmap Centred(const TBitmap& picture, int side) {
  TBitmap square(side, side, PixelFormat::Bits32);
  std::fill(square.Bits().begin(), square.Bits().end(), uint8_t(0));
  int left = (side - picture.Width()) / 2;
  int top = (side - picture.Height()) / 2;
  for (int y = 0; y < picture.Height(); ++y)
    std::memcpy(square.ScanLine(top + y) + int64_t(left) * 4, picture.ScanLine(y),
                size_t(picture.Width()) * 4);
  return square;
}

}  // namespace

std::map<int, const TSubIcon*> DeepestImagesBySide(const TAdvancedIcon& icon) {
  std::map<int, const TSubIcon*> images;
  for (int i = 0; i < icon.Images().Count(); ++i) {
    const TSubIcon* image = icon.Images()[i];
    if (!image->HasData() || SideOf(*image) <= 0) continue;
    const TSubIcon*& kept = images[SideOf(*image)];
    if (!kept || image->BitsPerPixel() > kept->BitsPerPixel()) kept = image;
  }
  return images;
}

TBitmap PictureOf(const TSubIcon& image) {
  return DecodePngRgba(image.SaveToPng());
}

TBitmap SquarePicture(const TSubIcon& image) {
  TBitmap picture = PictureOf(image);
  if (picture.Width() == picture.Height()) return picture;
  return Centred(picture, std::max(picture.Width(), picture.Height()));
}

TBitmap PictureAtSize(const TAdvancedIcon& icon, int size, const std::vector<uint8_t>* svg) {
  if (svg) return RenderDrawing(*svg, DrawingFormat::Svg, size, size);
  std::map<int, const TSubIcon*> images = DeepestImagesBySide(icon);
  if (images.empty()) return {};
  auto exact = images.find(size);
  if (exact != images.end()) return SquarePicture(*exact->second);
  // The largest image scales down best; below the size, scaling up is all there is.
  TBitmap source = SquarePicture(*images.rbegin()->second);
  TBitmap scaled(size, size, PixelFormat::Bits32);
  ResampleAlpha(source, scaled, rfLanczos3);
  return scaled;
}

}  // namespace varnel
