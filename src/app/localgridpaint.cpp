// Drawing of the grid: the visible cells only, their image areas from the cache.

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "app/cellimage.h"
#include "app/localgrid.h"
#include "app/qtbitmap.h"
#include "app/textlines.h"
#include "collection/fmlib.h"

namespace varnel {
namespace {

const QColor kFocusYellow(0xFF, 0xFF, 0x00);

// A frame in the focus pattern: yellow dots on the highlight colour.
void DrawFocusFrame(QPainter& painter, const QRect& rect, const QColor& highlight) {
  painter.save();
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(highlight, 1));
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
  painter.setPen(QPen(QBrush(kFocusYellow, Qt::Dense4Pattern), 1));
  painter.drawRect(rect.adjusted(0, 0, -1, -1));
  painter.restore();
}

}  // namespace

void TLocalGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  QColor background = palette().color(QPalette::Base);
  painter.fillRect(event->rect(), background);
  if (!lib_ || layout_.columns <= 0) return;
  int top = TopRow();
  int firstRow = top + event->rect().top() / layout_.rowHeight;
  int lastRow = top + event->rect().bottom() / layout_.rowHeight;
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int column = 0; column < layout_.columns; ++column) {
      int item = ItemAt(column, row);
      if (item >= Count()) break;
      QRect cell = CellRect(item);
      if (cell.intersects(event->rect())) PaintCell(painter, item, cell);
    }
  }
  if (banding_) {
    QRect band = QRect(bandStart_, bandEnd_).normalized().translated(0, -top * layout_.rowHeight);
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(band);
  }
  if (dropMarker_ >= 0 && dropMarker_ < Count()) {
    painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DashLine));
    painter.drawRect(CellRect(dropMarker_).adjusted(0, 0, -1, -1));
  }
}

void TLocalGrid::PaintCell(QPainter& painter, int index, const QRect& cell) {
  ++paintedCells_;
  bool selected = lib_->IsSelected(index);
  QRect image(cell.topLeft() + QPoint(layout_.imageLeft, layout_.imageTop),
              QSize(layout_.imageWidth, layout_.imageHeight));
  painter.drawImage(image.topLeft(), ImageArea(index));
  QColor highlight = palette().color(QPalette::Highlight);
  if (selected) painter.fillRect(image, QBrush(highlight, Qt::Dense4Pattern));
  if (index == current_) DrawFocusFrame(painter, image.adjusted(-1, -1, 1, 1), highlight);
  if (Settings()->grCaption || Settings()->grFormats) PaintTexts(painter, index, cell, selected);
}

void TLocalGrid::PaintTexts(QPainter& painter, int index, const QRect& cell, bool selected) {
  TTextRects texts = TextRects(index);
  QPoint origin = cell.topLeft();
  if (selected)
    painter.fillRect(texts.area.translated(origin), palette().color(QPalette::Highlight));
  painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
  int flags = Qt::AlignHCenter | Qt::AlignTop;
  if (!texts.caption.isEmpty()) {
    QRect box = texts.caption.translated(origin).adjusted(1, 2, -1, 0);
    QString name = QString::fromStdString(lib_->Items().Names(index));
    painter.drawText(box, flags, WrapLines(name, font(), box.width(), 2).join('\n'));
  }
  if (!texts.format.isEmpty()) {
    QRect box = texts.format.translated(origin).adjusted(1, 0, -1, 0);
    QString text = QFontMetrics(font()).elidedText(FormatText(index), Qt::ElideRight, box.width());
    painter.drawText(box, flags, text);
  }
  if (index == current_)
    DrawFocusFrame(painter, texts.area.translated(origin).adjusted(0, 0, 0, -1),
                   palette().color(QPalette::Highlight));
}

QString TLocalGrid::FormatText(int index) const {
  const TSubIconList& images = lib_->Items().Icons(index)->Images();
  if (images.Count() == 1) return QString::fromStdString(images[0]->GetShortDescription());
  return QStringLiteral("%1 formats").arg(images.Count());
}

TLocalGrid::TTextRects TLocalGrid::TextRects(int index) const {
  TTextRects rects;
  const TSettings* settings = Settings();
  if (!settings || index < 0 || index >= Count()) return rects;
  QFontMetrics metrics(font());
  int textHeight = metrics.height();
  int column = layout_.columnWidth, inner = column - 2 * kGridMargin;
  auto placed = [&](int textWidth, int top, int height) {
    int left = std::max(0, (inner - textWidth) / 2 + kGridMargin - 3);
    int right = std::min(column, left + textWidth + 6);
    return QRect(QPoint(left, top), QPoint(right - 1, top + height - 1));
  };
  if (settings->grCaption) {
    QString name = QString::fromStdString(lib_->Items().Names(index));
    int width = metrics.horizontalAdvance(name);
    bool wraps = width >= inner;
    rects.caption = placed(wraps ? inner : width, layout_.imageHeight + kGridMargin,
                           wraps ? layout_.captionHeight + 4 : textHeight + 4);
  }
  if (settings->grFormats) {
    int top = layout_.imageHeight + (settings->grCaption ? layout_.captionHeight : kGridMargin);
    int width = metrics.horizontalAdvance(FormatText(index));
    rects.format = placed(std::min(width, inner), top, textHeight - textHeight * 50 / 256 + 4);
  }
  rects.area = rects.caption.united(rects.format);
  return rects;
}

const QImage& TLocalGrid::ImageArea(int index) {
  const void* key = lib_->Items().Icons(index);
  if (QImage* cached = cache_.object(key)) return *cached;
  ++renderedImages_;
  auto* image =
      new QImage(SizeMode() == kSizeModeSystem ? RenderSystemSizes(index) : RenderImageArea(index));
  cache_.insert(key, image);
  return *image;
}

QImage TLocalGrid::RenderImageArea(int index) const {
  const TSettings& settings = *Settings();
  TCellImageOptions options;
  options.area = QSize(layout_.imageWidth, layout_.imageHeight);
  options.depthFilter = settings.grIconBPP;
  options.exactFormats = settings.grExactView;
  options.keepProportions = settings.grPropView;
  options.enlargeSmall = settings.grEnlarge;
  options.background = FromQColor(palette().color(QPalette::Base));
  const TAdvancedIcon& icon = *lib_->Items().Icons(index);
  if (const TSubIcon* image =
          ChooseCellImage(icon, options.area, options.depthFilter, options.exactFormats))
    return RenderCellImage(*image, options);
  QImage placeholder(options.area, QImage::Format_RGB32);
  placeholder.fill(ToQColor(settings.IcoNo));
  return placeholder;
}

QImage TLocalGrid::RenderSystemSizes(int index) const {
  const TSettings& settings = *Settings();
  QColor base = palette().color(QPalette::Base);
  QImage area(layout_.imageWidth, layout_.imageHeight, QImage::Format_RGB32);
  area.fill(base);
  QPainter painter(&area);
  const TAdvancedIcon& icon = *lib_->Items().Icons(index);
  int left = 0;
  for (int size : {largeIconSize_, smallIconSize_}) {
    QPoint at(left, (layout_.imageHeight - size) / 2);
    TCellImageOptions options;
    options.area = QSize(size, size);
    options.depthFilter = settings.grIconBPP;
    options.exactFormats = settings.grExactView;
    options.keepProportions = false;
    options.background = FromQColor(base);
    if (const TSubIcon* image =
            ChooseCellImage(icon, options.area, options.depthFilter, options.exactFormats))
      painter.drawImage(at, RenderCellImage(*image, options));
    else
      painter.fillRect(QRect(at, options.area), ToQColor(settings.IcoNo));
    left += size + kGridMargin;
  }
  return area;
}

}  // namespace varnel
