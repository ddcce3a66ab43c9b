#include "app/cellimage.h"

#include <QPainter>
#include <cstdlib>

#include "app/qtbitmap.h"
#include "icons/advancedicon.h"

namespace varnel {
namespace {

// How far an image is from the wanted size and depth; smaller is better. Size counts first,
// images larger than wanted are preferred over smaller ones, then the depth closest to it.
int64_t ImageDistance(const TSubIcon& image, QSize area, int depthFilter) {
  int dw = image.ImageWidth() - area.width(), dh = image.ImageHeight() - area.height();
  int64_t size = int64_t(std::abs(dw)) + std::abs(dh);
  int64_t smallerPenalty = (dw < 0 || dh < 0) ? 1 : 0;
  int64_t depth = std::abs(image.BitsPerPixel() - depthFilter);
  return (size * 2 + smallerPenalty) * 1000 + depth;
}

bool HasExactFormat(const TSubIcon& image, QSize area, int depthFilter) {
  if (image.ImageWidth() != area.width() || image.ImageHeight() != area.height()) return false;
  int bits = image.BitsPerPixel();
  // The "256 or True Color" filter takes any depth from 8 to 24 bits.
  if (depthFilter == 16) return bits >= 8 && bits <= 24;
  return bits == depthFilter;
}

QSize FittedSize(QSize image, QSize area, const TCellImageOptions& options) {
  bool larger = image.width() > area.width() || image.height() > area.height();
  if (!options.keepProportions) return area;
  if (larger) return image.scaled(area, Qt::KeepAspectRatio);
  if (!options.enlargeSmall || image.isEmpty()) return image;
  int factor = std::max(1, std::min(area.width() / image.width(), area.height() / image.height()));
  return image * factor;
}

}  // namespace

const TSubIcon* ChooseCellImage(const TAdvancedIcon& icon, QSize area, int depthFilter,
                                bool exactFormats) {
  const TSubIconList& images = icon.Images();
  const TSubIcon* best = nullptr;
  int64_t bestDistance = 0;
  for (int i = 0; i < images.Count(); ++i) {
    const TSubIcon* image = images[i];
    if (!image || !image->HasData()) continue;
    if (exactFormats && !HasExactFormat(*image, area, depthFilter)) continue;
    int64_t distance = ImageDistance(*image, area, depthFilter);
    if (!best || distance < bestDistance) best = image, bestDistance = distance;
  }
  return best;
}

QImage RenderCellImage(const TSubIcon& image, const TCellImageOptions& options) {
  QImage cell(options.area, QImage::Format_RGB32);
  cell.fill(ToQColor(options.background));
  TBitmap composite;
  image.GetBitmaps(&composite, nullptr, options.background, nullptr);
  QImage picture = ToQImage(composite, false);
  if (picture.isNull()) return cell;
  QSize size = FittedSize(picture.size(), options.area, options);
  bool shrinking = size.width() < picture.width() || size.height() < picture.height();
  if (size != picture.size())
    picture = picture.scaled(size, Qt::IgnoreAspectRatio,
                             shrinking ? Qt::SmoothTransformation : Qt::FastTransformation);
  QPoint at(0, 0);
  if (options.keepProportions)
    at = QPoint((options.area.width() - size.width()) / 2,
                (options.area.height() - size.height()) / 2);
  QPainter painter(&cell);
  painter.drawImage(at, picture);
  return cell;
}

}  // namespace varnel
