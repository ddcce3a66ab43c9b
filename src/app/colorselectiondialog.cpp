#include "app/colorselectiondialog.h"

#include <QColorDialog>
#include <QCursor>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

#include "app/qtbitmap.h"

namespace varnel {
namespace {

void PaintSwatch(QPushButton* button, TColor color) {
  QColor shown = (color & kSystemColorFlag) ? QColor(Qt::lightGray) : ToQColor(color);
  button->setStyleSheet(QStringLiteral("background-color: %1; min-width: %2px; min-height: 20px;")
                            .arg(shown.name())
                            .arg(TColorSelectionModel::kSwatchWidth - 8));
}

}  // namespace

TfmColorSelection::TfmColorSelection(QWidget* parent)
    : QDialog(parent),
      custom_(new QPushButton(this)),
      default_(new QPushButton(QStringLiteral("&Default"), this)),
      systemColors_(new QListWidget(this)),
      hex_(new QLineEdit(this)) {
  setWindowTitle(TColorSelectionModel::kCaption);
  auto* layout = new QGridLayout(this);
  for (size_t i = 0; i < TColorSelectionModel::kButtonColors.size(); ++i) {
    auto* button = new QPushButton(this);
    button->setCheckable(true);
    PaintSwatch(button, TColorSelectionModel::kButtonColors[i]);
    connect(button, &QPushButton::clicked, this, [this, i] {
      model_.ClickButton(int(i));
      accept();  // a colour button confirms at once
    });
    layout->addWidget(button, int(i) / 8, int(i) % 8);
    buttons_.push_back(button);
  }
  layout->addWidget(new QLabel(TColorSelectionModel::kSystemColorsLabel, this), 2, 0, 1, 8);
  for (const TSystemColorEntry& entry : TColorSelectionModel::kSystemColors)
    systemColors_->addItem(QString::fromLatin1(entry.name));
  layout->addWidget(systemColors_, 3, 0, 1, 8);
  connect(systemColors_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row < 0) return;
    model_.ChooseSystemColor(row);
    ShowModel();
  });
  auto* other = new QPushButton(TColorSelectionModel::kOtherButton, this);
  auto pickOther = [this] {
    QColor chosen = QColorDialog::getColor(ToQColor(model_.CustomColor()), this);
    if (!chosen.isValid()) return;
    model_.SetCustomColor(FromQColor(chosen));
    ShowModel();
  };
  connect(other, &QPushButton::clicked, this, pickOther);
  connect(custom_, &QPushButton::clicked, this, pickOther);
  connect(hex_, &QLineEdit::textEdited, this, [this](const QString& text) {
    model_.TypeHexText(text.trimmed().toStdString());
    PaintSwatch(custom_, model_.CustomColor());
  });
  connect(default_, &QPushButton::clicked, this, [this] {
    model_.SelectDefault();
    ShowModel();
  });
  layout->addWidget(custom_, 4, 0, 1, 2);
  layout->addWidget(other, 4, 2, 1, 2);
  layout->addWidget(hex_, 4, 4, 1, 4);
  auto* box = new QDialogButtonBox(this);
  box->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
  box->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
  box->addButton(default_, QDialogButtonBox::ResetRole);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(box, 5, 0, 1, 8);
}

void TfmColorSelection::ShowModel() {
  for (size_t i = 0; i < buttons_.size(); ++i)
    buttons_[i]->setChecked(int(i) == model_.PressedButton());
  PaintSwatch(custom_, model_.CustomColor());
  hex_->setText(QString::fromStdString(model_.HexText()));
  default_->setVisible(model_.DefaultVisible());
  QSignalBlocker block(systemColors_);
  systemColors_->setCurrentRow(model_.SystemColorIndex());
}

bool TfmColorSelection::Execute() {
  ShowModel();
  adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QPoint mouse = QCursor::pos();
    TWindowBounds place = TColorSelectionModel::Place(
        mouse.x(), mouse.y(), width(), height(), {screen->size().width(), screen->size().height()});
    move(place.left, place.top);
  }
  return exec() == QDialog::Accepted;
}

}  // namespace varnel
