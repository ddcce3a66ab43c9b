// Drawing of the grid: the visible cells only, their image areas from the cache.

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <exception>

#include "app/cellimage.h"
#include "app/localgrid.h"
#include "app/qtbitmap.h"
#include "app/textlines.h"
#include "collection/fmlib.h"

namespace varnel {
namespace {

const QColor kFocusYellow(0xFF, 0xFF, 0x00);
constexpr int kVeilAlpha = 80;  // of 255

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

// A veil over a selected icon: the highlight colour laid thinly over the image, so that the
// icon stays readable, and a frame in that colour around it.
void PaintSelectionVeil(QPainter& painter, const QRect& image, const QColor& highlight) {
  QColor veil = highlight;
  veil.setAlpha(kVeilAlpha);
  painter.fillRect(image, veil);
  painter.save();
  painter.setPen(QPen(highlight, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(image.adjusted(0, 0, -1, -1));
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
      if (cell.intersects(event->rect())) PaintCellOrPlaceholder(painter, item, cell);
    }
  }
  // What the new image areas were read from is given back once they are in the cache.
  ReleaseFilePages(readThisPaint_);
  readThisPaint_.clear();
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

QRect TLocalGrid::ImageRectIn(const QRect& cell) const {
  return QRect(cell.topLeft() + QPoint(layout_.imageLeft, layout_.imageTop),
               QSize(layout_.imageWidth, layout_.imageHeight));
}

// Nothing a cell holds may end the paint event: a cell that cannot be painted shows the
// placeholder, and the other cells are painted as usual.
void TLocalGrid::PaintCellOrPlaceholder(QPainter& painter, int index, const QRect& cell) {
  try {
    PaintCell(painter, index, cell);
  } catch (const std::exception&) {
    painter.fillRect(cell, palette().color(QPalette::Base));
    painter.fillRect(ImageRectIn(cell), ToQColor(Settings()->IcoNo));
  }
}

void TLocalGrid::PaintCell(QPainter& painter, int index, const QRect& cell) {
  ++paintedCells_;
  bool selected = lib_->IsSelected(index);
  QRect image = ImageRectIn(cell);
  painter.drawImage(image.topLeft(), ImageArea(index));
  QColor highlight = palette().color(QPalette::Highlight);
  if (selected) PaintSelectionVeil(painter, image, highlight);
  if (index == current_) DrawFocusFrame(painter, image.adjusted(-1, -1, 1, 1), highlight);
  if (Settings()->grCaption || Settings()->grFormats) PaintTexts(painter, index, cell, selected);
}

void TLocalGrid::PaintTexts(QPainter& painter, int index, const QRect& cell, bool selected) {
  TTextRects texts = TextRects(index);
  QPoint origin = cell.topLeft();
  if (selected)
    painter.fillRect(texts.area.translated(origin), palette().color(QPalette::Highlight));
  painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
  int lineHeight = QFontMetrics(font()).height();
  // Each line is drawn at its own place so that the name's lines and the format line below
  // them keep to the rectangles the layout gave them.
  auto drawLines = [&](const QRect& rect, const QStringList& lines) {
    QRect line = rect.translated(origin).adjusted(1, 0, -1, 0);
    line.setHeight(lineHeight);
    for (const QString& text : lines) {
      painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, text);
      line.translate(0, lineHeight);
    }
  };
  if (!texts.caption.isEmpty())
    drawLines(texts.caption, CaptionLines(index, texts.caption.width() - 2));
  if (!texts.format.isEmpty()) {
    QFontMetrics metrics(font());
    drawLines(texts.format,
              {metrics.elidedText(FormatText(index), Qt::ElideRight, texts.format.width() - 2)});
  }
  if (index == current_)
    DrawFocusFrame(painter, texts.area.translated(origin), palette().color(QPalette::Highlight));
}

QStringList TLocalGrid::CaptionLines(int index, int width) const {
  // Wrapping measures the text, which costs more than drawing the cell: kept per name and width.
  QString name = QString::fromStdString(lib_->Items().Names(index));
  QString key = name + QChar(0) + QString::number(width);
  if (const QStringList* lines = captionCache_.object(key)) return *lines;
  QStringList lines = WrapLines(name, font(), width, kCaptionLines);
  captionCache_.insert(key, new QStringList(lines));
  return lines;
}

QString TLocalGrid::FormatText(int index) const {
  const TSubIconList& images = lib_->Items().Icons(index)->Images();
  if (images.Count() == 1) return QString::fromStdString(images[0]->GetShortDescription());
  return QStringLiteral("%1 formats").arg(images.Count());
}

// The text rectangles of a cell: the name on one line, or on two when it does not fit, then
// the format line; each as wide as its text plus a small border, centred, at most the column.
TLocalGrid::TTextRects TLocalGrid::TextRects(int index) const {
  TTextRects rects;
  const TSettings* settings = Settings();
  if (!settings || index < 0 || index >= Count()) return rects;
  QFontMetrics metrics(font());
  int lineHeight = metrics.height();
  int column = layout_.columnWidth, inner = column - 2 * kGridMargin;
  auto placed = [&](int textWidth, int top, int height) {
    int left = std::max(0, (inner - textWidth) / 2 + kGridMargin - 3);
    int right = std::min(column, left + textWidth + 6);
    return QRect(QPoint(left, top), QPoint(right - 1, top + height - 1));
  };
  int top = layout_.imageTop + layout_.imageHeight + kGridMargin;
  if (settings->grCaption) {
    QString name = QString::fromStdString(lib_->Items().Names(index));
    int width = metrics.horizontalAdvance(name);
    bool wraps = width > inner - 6;
    int lines = wraps ? int(CaptionLines(index, inner - 2).size()) : 1;
    rects.caption = placed(wraps ? inner - 6 : width, top, std::max(1, lines) * lineHeight);
    top += layout_.captionHeight;
  }
  if (settings->grFormats) {
    int width = metrics.horizontalAdvance(FormatText(index));
    rects.format = placed(std::min(width, inner - 6), top, lineHeight);
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
  AddMappedImageRanges(*lib_->Items().Icons(index), readThisPaint_);
  cache_.insert(key, image, ImageAreaKb());
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
  return RenderCellOrPlaceholder(*lib_->Items().Icons(index), options, settings.IcoNo);
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
    painter.drawImage(at, RenderCellOrPlaceholder(icon, options, settings.IcoNo));
    left += size + kGridMargin;
  }
  return area;
}

}  // namespace varnel
