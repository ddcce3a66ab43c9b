#include "app/cellimage.h"

#include <exception>

#include "app/qtbitmap.h"
#include "icons/advancedicon.h"
#include "icons/icondrawing.h"

namespace varnel {

const TSubIcon* ChooseCellImage(const TAdvancedIcon& icon, QSize area, int depthFilter,
                                bool exactFormats) {
  if (exactFormats) return icon.FindImage(area.width(), area.height(), depthFilter);
  return icon.GetBestImage(area.width(), area.height(), depthFilter);
}

QImage RenderCellImage(const TSubIcon& image, const TCellImageOptions& options) {
  int width = options.area.width(), height = options.area.height();
  TBitmap canvas(width, height, PixelFormat::Bits24);
  canvas.Fill(options.background);
  bool larger = image.ImageWidth() > width || image.ImageHeight() > height;
  // Larger images and proportional views are fitted (shrunk with the display filter, or
  // enlarged by a whole factor); a smaller image without proportions is stretched to the area.
  if (larger || options.keepProportions)
    DrawFitted(canvas, 0, 0, options.enlargeSmall, options.keepProportions, options.background,
               image, height, width);
  else
    DrawAlpha(canvas, 0, 0, options.background, image, height, width);
  return ToQImage(canvas, false);
}

namespace {

QImage Placeholder(QSize area, TColor color) {
  QImage placeholder(area, QImage::Format_RGB32);
  placeholder.fill(ToQColor(color));
  return placeholder;
}

}  // namespace

QImage RenderImageOrPlaceholder(const TSubIcon& image, const TCellImageOptions& options,
                                TColor placeholder) {
  // A header that claims no size or a negative one leaves nothing to draw.
  if (image.ImageWidth() <= 0 || image.ImageHeight() <= 0)
    return Placeholder(options.area, placeholder);
  try {
    // Drawn from a copy that views the same bytes: the pixels it decodes go with the copy
    // instead of staying with the collection's image, so that showing every icon of a large
    // collection once does not keep every one of them decoded.
    TSubIcon scratch;
    scratch.LoadCopy(image);
    return RenderCellImage(scratch, options);
  } catch (const std::exception&) {
    // A damaged image shows as missing; the error would otherwise leave a paint event.
    return Placeholder(options.area, placeholder);
  }
}

QImage RenderCellOrPlaceholder(const TAdvancedIcon& icon, const TCellImageOptions& options,
                               TColor placeholder) {
  const TSubIcon* image =
      ChooseCellImage(icon, options.area, options.depthFilter, options.exactFormats);
  if (!image) return Placeholder(options.area, placeholder);
  return RenderImageOrPlaceholder(*image, options, placeholder);
}

}  // namespace varnel
