#include "app/imagepanel.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <algorithm>

#include "app/cellimage.h"
#include "app/qtbitmap.h"
#include "icons/advancedicon.h"

namespace varnel {
namespace {

constexpr int kMinPictureWidth = 32;
constexpr int kMaxPictureWidth = 128;
constexpr int kMinRowHeight = 76;

int PictureColumnWidth(const TAdvancedIcon& icon) {
  int widest = 0;
  for (int i = 0; i < icon.Images().Count(); ++i)
    widest = std::max(widest, icon.Images()[i]->ImageWidth());
  return std::clamp(widest, kMinPictureWidth, kMaxPictureWidth);
}

}  // namespace

QString HotSpotText(uint32_t hotSpot) {
  return QString::number(hotSpot & 0xFFFF) + ", " + QString::number(hotSpot >> 16);
}

QString ImageRowText(const TSubIcon& image) {
  std::string size, colors;
  image.GetSizeAndColors(size, colors);
  QString text = QString::fromStdString(size) + '\n' + QString::fromStdString(colors);
  if (image.Packed() || image.IsPng()) text += image.ImageHeight() > 47 ? "\npacked" : ", packed";
  if (image.HotSpot() != 0) text += "\nhot spot " + HotSpotText(image.HotSpot());
  return text;
}

TImagePanel::TImagePanel(QWidget* parent) : QListWidget(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setMinimumWidth(54);
}

TImagePanel::TImagesShown TImagePanel::ImagesOf(const TAdvancedIcon* icon) {
  TImagesShown images;
  if (!icon) return images;
  for (const auto& image : icon->Images())
    images.push_back({image.get(), image->DataSize(), image->HotSpot()});
  return images;
}

void TImagePanel::ShowIcon(const TAdvancedIcon* icon) {
  TImagesShown images = ImagesOf(icon);
  bool same = icon && icon == icon_;
  if (same && images == shown_) return;
  int row = same ? currentRow() : 0;
  icon_ = icon;
  shown_ = std::move(images);
  clear();
  if (!icon) return;
  int width = PictureColumnWidth(*icon);
  setIconSize(QSize(width, width));
  for (int i = 0; i < icon->Images().Count(); ++i) AddImageRow(*icon->Images()[i], width);
  if (count()) setCurrentRow(std::clamp(row, 0, count() - 1));
}

void TImagePanel::AddImageRow(const TSubIcon& image, int pictureWidth) {
  int height = std::min(pictureWidth + 6, std::max(image.ImageHeight() + 4, kMinRowHeight));
  TCellImageOptions options;
  options.area = QSize(pictureWidth, std::max(1, height - 4));
  options.keepProportions = true;
  options.background = FromQColor(palette().color(QPalette::Base));
  QImage picture = RenderImageOrPlaceholder(image, options, placeholder_);
  auto* item = new QListWidgetItem(QIcon(QPixmap::fromImage(picture)), ImageRowText(image));
  item->setSizeHint(
      QSize(pictureWidth + 6 + fontMetrics().horizontalAdvance("000x000x00000"), height));
  addItem(item);
}

const TSubIcon* TImagePanel::SelectedImage() const {
  int row = currentRow();
  if (!icon_ || row < 0 || row >= icon_->Images().Count()) return nullptr;
  return icon_->Images()[row];
}

void TImagePanel::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* save = menu.addAction(QStringLiteral("Save Frame..."));
  const TSubIcon* image = SelectedImage();
  save->setEnabled(image != nullptr && OnSaveFrame != nullptr);
  QAction* hotSpot = menu.addAction(QStringLiteral("Set Cursor &Hot Spot..."));
  hotSpot->setEnabled(icon_ && icon_->Images().Count() && OnSetHotSpot != nullptr);
  QAction* chosen = menu.exec(event->globalPos());
  if (chosen == save && image) OnSaveFrame(*image);
  if (chosen == hotSpot && hotSpot->isEnabled()) OnSetHotSpot();
}

}  // namespace varnel
