#include "app/edittypesdialog.h"

#include <QCursor>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace varnel {

namespace {

constexpr int kScreenMargin = 30;

// Centred vertically on the mouse, kept kScreenMargin pixels inside the screen.
void PlaceAtMouse(QWidget& dialog) {
  QPoint mouse = QCursor::pos();
  QSize size = dialog.sizeHint();
  QPoint place(mouse.x(), mouse.y() - size.height() / 2);
  if (QScreen* screen = QGuiApplication::screenAt(mouse)) {
    QRect area = screen->availableGeometry().adjusted(kScreenMargin, kScreenMargin, -kScreenMargin,
                                                      -kScreenMargin);
    place.setX(std::max(area.left(), std::min(place.x(), area.right() - size.width())));
    place.setY(std::max(area.top(), std::min(place.y(), area.bottom() - size.height())));
  }
  dialog.move(place);
}

}  // namespace

TfmEditFileTypes::TfmEditFileTypes(const std::string& text, char separator,
                                   const std::string& defaultText, QWidget* parent)
    : QDialog(parent),
      list_(text, separator, defaultText),
      mask_(new QLineEdit(this)),
      entries_(new QListWidget(this)) {
  setWindowTitle(kCaption);
  auto* add = new QPushButton("&Add", this);
  auto* remove = new QPushButton("&Delete", this);
  auto* defaults = new QPushButton("D&efault", this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(add, &QPushButton::clicked, this, &TfmEditFileTypes::AddMask);
  mask_->installEventFilter(this);
  connect(remove, &QPushButton::clicked, this, [this] {
    list_.DeleteSelected();
    ShowList();
  });
  connect(defaults, &QPushButton::clicked, this, [this] {
    list_.LoadDefault();
    ShowList();
  });
  connect(entries_, &QListWidget::currentRowChanged, this, [this](int row) {
    list_.Select(row);
    mask_->setText(QString::fromStdString(list_.SelectedText()));
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(false);
  auto* side = new QVBoxLayout;
  side->addWidget(add);
  side->addWidget(remove);
  side->addWidget(defaults);
  side->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(entries_);
  middle->addLayout(side);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(mask_);
  layout->addLayout(middle);
  layout->addWidget(buttons);
  ShowList();
}

bool TfmEditFileTypes::eventFilter(QObject* watched, QEvent* event) {
  if (watched != mask_ || event->type() != QEvent::KeyPress)
    return QDialog::eventFilter(watched, event);
  int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
  AddMask();
  return true;
}

void TfmEditFileTypes::AddMask() {
  list_.Add(mask_->text().toStdString());
  ShowList();
}

void TfmEditFileTypes::ShowList() {
  QSignalBlocker blocker(entries_);
  entries_->clear();
  for (const std::string& entry : list_.Entries()) entries_->addItem(QString::fromStdString(entry));
  entries_->setCurrentRow(list_.Selected());
  mask_->setText(QString::fromStdString(list_.SelectedText()));
}

bool EditFileTypes(QWidget* parent, std::string& text, char separator,
                   const std::string& defaultText) {
  TfmEditFileTypes dialog(text, separator, defaultText, parent);
  PlaceAtMouse(dialog);
  if (dialog.exec() != QDialog::Accepted) return false;
  text = dialog.List().Text();
  return true;
}

}  // namespace varnel
