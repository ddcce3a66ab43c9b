#include "app/icopreviewpanel.h"

#include <QApplication>
#include <QDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "app/icodrawgrid.h"
#include "app/qtbitmap.h"

namespace varnel {

namespace {

constexpr int kPollMilliseconds = 25;
constexpr int kPanelWidth = 200;
constexpr int kPreviewBorder = 5;

TPreviewOptions OptionsFor(const QWidget& widget) {
  TPreviewOptions options;
  options.largeIconSize = widget.style()->pixelMetric(QStyle::PM_LargeIconSize);
  if (QScreen* screen = QApplication::primaryScreen()) options.screenDepth = screen->depth();
  if (options.screenDepth > 32 || options.screenDepth < 1) options.screenDepth = 32;
  options.panelColor = FromQColor(widget.palette().color(QPalette::Window));
  return options;
}

}  // namespace

TIcoPreviewPanel::TIcoPreviewPanel(QWidget* parent) : QWidget(parent) {
  description_ = new QLabel(QStringLiteral("Picture"), this);
  previewButton_ = new QPushButton(QStringLiteral("Preview"), this);
  previewButton_->setToolTip(QStringLiteral("Preview"));
  previewButton_->setEnabled(false);
  auto* top = new QHBoxLayout;
  top->addWidget(description_, 1);
  top->addWidget(previewButton_);

  auto* frame = new QFrame(this);
  frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  picture_ = new QLabel(frame);
  picture_->setAlignment(Qt::AlignCenter);
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->setContentsMargins(0, 0, 0, 0);
  frameLayout->addWidget(picture_);
  grid_ = new TIcoDrawGrid(this);
  pages_ = new QStackedWidget(this);
  pages_->addWidget(frame);
  pages_->addWidget(grid_);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(pages_, 1);
  setMinimumWidth(kPanelWidth);

  poll_ = new QTimer(this);
  poll_->setInterval(kPollMilliseconds);
  connect(poll_, &QTimer::timeout, this, [this] { ShowFinished(); });
  connect(previewButton_, &QPushButton::clicked, this, [this] { ShowPreviewWindow(); });
}

void TIcoPreviewPanel::ShowFile(const QString& path) {
  // The dialog reports a preset file again when it shows it: the preview is already on its way.
  if (path == path_ && !path.isEmpty()) return;
  path_ = path;
  Apply(TFilePreview());
  if (path.isEmpty()) return;
  worker_.Request(path.toStdString(), OptionsFor(*this));
  poll_->start();
}

bool TIcoPreviewPanel::ShowFinished() {
  std::optional<TFilePreview> preview = worker_.TakeFinished();
  if (!worker_.Pending()) poll_->stop();
  if (!preview) return false;
  Apply(std::move(*preview));
  return true;
}

void TIcoPreviewPanel::Apply(TFilePreview preview) {
  description_->setText(QString::fromStdString(preview.label));
  previewButton_->setEnabled(preview.kind == TPreviewKind::Picture);
  grid_->SetIcons(std::move(preview.grid));
  picture_->clear();
  if (preview.kind == TPreviewKind::Picture) {
    QSize area = pages_->size();
    picture_->setPixmap(QPixmap::fromImage(ToQImage(
        FitPreviewPicture(preview.picture, area.width(), area.height(), preview.animated), false)));
  }
  bool grid = preview.kind == TPreviewKind::Grid;
  pages_->setCurrentIndex(grid ? 1 : 0);
  if (grid && !gridShownOnce_) {
    gridShownOnce_ = true;
    if (pickIndex_) grid_->SelectInitial(PickedCell());
  }
  shown_ = std::move(preview);
}

int TIcoPreviewPanel::PickedCell() const {
  if (*pickIndex_ >= 0) return *pickIndex_;
  return grid_->Icons()->IndexOfName(std::to_string(-int64_t(*pickIndex_)));
}

void TIcoPreviewPanel::StartPicking(std::optional<int> index) {
  pickIndex_ = index;
  gridShownOnce_ = false;
}

QString TIcoPreviewPanel::Description() const {
  return description_->text();
}

bool TIcoPreviewPanel::PreviewEnabled() const {
  return previewButton_->isEnabled();
}

bool TIcoPreviewPanel::GridShown() const {
  return pages_->currentIndex() == 1;
}

int TIcoPreviewPanel::SelectedIndex() const {
  return GridShown() ? grid_->Current() : -1;
}

void TIcoPreviewPanel::SetDefaultDrawing(bool plain) {
  grid_->SetDefaultDrawing(plain);
}

void TIcoPreviewPanel::ShowPreviewWindow() {
  TColor panel = FromQColor(palette().color(QPalette::Window));
  TBitmap picture = shown_.icon ? IconImagesStrip(*shown_.icon, panel) : shown_.picture;
  if (picture.Empty()) return;
  QDialog window(this, Qt::Tool);
  window.setWindowTitle(QStringLiteral("Preview"));
  window.setSizeGripEnabled(true);
  auto* label = new QLabel(&window);
  label->setPixmap(QPixmap::fromImage(ToQImage(picture, false)));
  auto* scroll = new QScrollArea(&window);
  scroll->setWidget(label);
  scroll->setAlignment(Qt::AlignCenter);
  scroll->setFrameStyle(QFrame::NoFrame);
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(kPreviewBorder, kPreviewBorder, kPreviewBorder, kPreviewBorder);
  layout->addWidget(scroll);
  window.resize(picture.Width() + 2 * kPreviewBorder + 4,
                picture.Height() + 2 * kPreviewBorder + 4);
  window.exec();  // Esc closes it
}

}  // namespace varnel
