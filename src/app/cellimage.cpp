#include "app/cellimage.h"

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

}  // namespace varnel
