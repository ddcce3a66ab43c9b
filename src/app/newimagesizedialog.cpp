#include "app/newimagesizedialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace varnel {
namespace {

constexpr int kAsSource = 0;
constexpr int kCustom = 6;
constexpr int kFixedSizes[] = {0, 16, 24, 32, 48, 64, 0};
constexpr int kMaxSide = 3000;
constexpr int kAutoFilter = 9;
constexpr int kLanczos3 = 5;
constexpr int kMitchell = 6;

}  // namespace

TNewImageSizeDialog::TNewImageSizeDialog(const TNewImageSizeRequest& request,
                                         TNewImageResizeSettings& settings, QWidget* parent)
    : QDialog(parent),
      request_(request),
      settings_(settings),
      sizes_(new QButtonGroup(this)),
      width_(new QSpinBox(this)),
      height_(new QSpinBox(this)),
      square_(new QCheckBox(QStringLiteral("&Square"), this)),
      proportions_(new QCheckBox(QStringLiteral("Constrain &proportions"), this)),
      filter_(new QComboBox(this)) {
  setWindowTitle(request.caption.empty() ? QStringLiteral("Add Image")
                                         : QString::fromStdString(request.caption));
  BuildControls();
  LoadSettings();
}

void TNewImageSizeDialog::BuildControls() {
  auto* group = new QGroupBox(QStringLiteral("New image size"), this);
  auto* choices = new QVBoxLayout(group);
  const char* captions[] = {"&As source", "&16 x 16", "&24 x 24", "&32 x 32",
                            "&48 x 48",   "&64 x 64", "&Custom"};
  for (int i = 0; i < 7; ++i) {
    auto* button = new QRadioButton(QString::fromLatin1(captions[i]), group);
    sizes_->addButton(button, i);
    choices->addWidget(button);
  }
  for (QSpinBox* field : {width_, height_}) field->setRange(1, kMaxSide);
  filter_->addItems({"None", "Triangle", "Hermite", "Bell", "BSpline", "Lanczos3", "Mitchell",
                     "Nearest", "Linear", "Auto"});
  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("&Width"), width_);
  fields->addRow(QStringLiteral("&Height"), height_);
  fields->addRow(square_);
  fields->addRow(proportions_);
  fields->addRow(QStringLiteral("&Resample filter"), filter_);
  fields->addRow(QStringLiteral("Source image size:"),
                 new QLabel(QStringLiteral("%1x%2").arg(request_.width).arg(request_.height)));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* all = buttons->addButton(QStringLiteral("All"), QDialogButtonBox::AcceptRole);
  connect(all, &QPushButton::clicked, this, [this] { applyToAll_ = true; });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(group);
  top->addLayout(fields);
  layout->addLayout(top);
  layout->addWidget(buttons);
  connect(sizes_, &QButtonGroup::idClicked, this, [this] { SizeChoiceChanged(true); });
  connect(width_, &QSpinBox::valueChanged, this, [this] { FieldChanged(width_, height_); });
  connect(height_, &QSpinBox::valueChanged, this, [this] { FieldChanged(height_, width_); });
  connect(square_, &QCheckBox::toggled, this, [this](bool on) {
    if (on) height_->setValue(width_->value());
  });
}

void TNewImageSizeDialog::LoadSettings() {
  int choice = std::clamp(settings_.Size, 0, 6);
  sizes_->button(choice)->setChecked(true);
  int fixed = kFixedSizes[choice];
  QSignalBlocker blockWidth(width_), blockHeight(height_), blockSquare(square_);
  if (fixed) {
    square_->setChecked(true);
    width_->setValue(fixed);
    height_->setValue(fixed);
  } else {
    width_->setValue(settings_.Width > 1 ? settings_.Width : 32);
    height_->setValue(settings_.Height > 1 ? settings_.Height : 32);
    square_->setChecked(settings_.Square && settings_.Width == settings_.Height);
  }
  proportions_->setChecked(settings_.Proportions);
  filter_->setCurrentIndex(std::clamp(settings_.ResampleFilter, 0, kAutoFilter));
  SizeChoiceChanged(false);
}

void TNewImageSizeDialog::SizeChoiceChanged(bool byUser) {
  int choice = sizes_->checkedId();
  bool custom = choice == kCustom, asSource = choice == kAsSource;
  for (QWidget* widget : {static_cast<QWidget*>(width_), static_cast<QWidget*>(height_),
                          static_cast<QWidget*>(square_)})
    widget->setEnabled(custom);
  proportions_->setEnabled(!asSource);
  filter_->setEnabled(!asSource);
  if (custom || asSource) {
    QSignalBlocker blockWidth(width_), blockHeight(height_), blockSquare(square_);
    if (custom) square_->setChecked(false);
    width_->setValue(std::clamp(request_.width, 1, kMaxSide));
    height_->setValue(std::clamp(request_.height, 1, kMaxSide));
  } else if (byUser) {
    QSignalBlocker blockWidth(width_), blockHeight(height_);
    width_->setValue(kFixedSizes[choice]);
    height_->setValue(kFixedSizes[choice]);
  }
}

void TNewImageSizeDialog::FieldChanged(QSpinBox* changed, QSpinBox* other) {
  if (!square_->isChecked() || !square_->isEnabled()) return;
  QSignalBlocker block(other);
  other->setValue(changed->value());
}

int TNewImageSizeDialog::ChosenFilter(int newWidth, int newHeight) const {
  int filter = filter_->currentIndex();
  if (filter != kAutoFilter) return filter;
  return newWidth < request_.width || newHeight <= request_.height ? kLanczos3 : kMitchell;
}

TNewImageSizeAnswer TNewImageSizeDialog::Answer() {
  int choice = sizes_->checkedId();
  TNewImageSizeAnswer answer;
  if (choice == kAsSource) {
    answer.width = std::clamp(request_.width, 1, kMaxSide);
    answer.height = std::clamp(request_.height, 1, kMaxSide);
  } else if (choice == kCustom) {
    answer.width = width_->value();
    answer.height = height_->value();
  } else {
    answer.width = answer.height = kFixedSizes[choice];
  }
  answer.proportions = proportions_->isChecked();
  answer.filter = ChosenFilter(answer.width, answer.height);
  answer.applyToAll = applyToAll_;
  answer.asSource = choice == kAsSource;
  settings_.Size = choice;
  settings_.Square = square_->isChecked();
  settings_.Width = width_->value();
  settings_.Height = height_->value();
  settings_.Proportions = answer.proportions;
  settings_.ResampleFilter = filter_->currentIndex();
  return answer;
}

}  // namespace varnel
