#include "collection/iconpictures.h"

#include "appcore/settings.h"
#include "base/errors.h"
#include "graphics/bmpcodec.h"
#include "graphics/jpegencoder.h"
#include "icons/icondrawing.h"
#include "icons/picturewriters.h"
#include "icons/subicon.h"

namespace varnel {

namespace {

constexpr int kJpegQuality = 100;

}  // namespace

TColor BackgroundForDepth(const TSettings& settings, int bpp) {
  if (bpp == 1) return settings.Back1bpp;
  if (bpp == 4) return settings.Back4bpp;
  return settings.Back8bpp;
}

TBitmap ImageOnBackground(const TSubIcon& image, TColor background) {
  TBitmap composite(image.ImageWidth(), image.ImageHeight(), PixelFormat::Bits24);
  composite.Fill(background);
  DrawMasked(composite, 0, 0, background, image);
  return composite;
}

std::vector<uint8_t> BitmapFileOfImage(const TSubIcon& image, TColor background) {
  if (image.BitsPerPixel() == 8) return SaveBmp(ImageToBitmapOnColor(image, background));
  if (image.BitsPerPixel() != 32) return SaveBmp(ImageOnBackground(image, background));
  TBitmap withAlpha;
  image.GetBitmaps(nullptr, &withAlpha, clNone, nullptr);
  return SaveBmp(withAlpha);
}

std::vector<uint8_t> JpegFileOfPicture(const TBitmap& picture) {
  try {
    return EncodeJpeg(picture, kJpegQuality);
  } catch (const EInvalidGraphic&) {
    return EncodeJpeg(picture, kJpegRetryQuality);
  }
}

}  // namespace varnel
