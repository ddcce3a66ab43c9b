#include "app/numberpairdialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/dialogtitle.h"

namespace varnel {
namespace {

QSpinBox* NumberField(const TNumberPairRequest& request, int value, QWidget* parent) {
  auto* field = new QSpinBox(parent);
  field->setRange(request.minimum, request.maximum);
  field->setValue(value);
  return field;
}

}  // namespace

TNumberPairDialog::TNumberPairDialog(const TNumberPairRequest& request, QWidget* parent)
    : QDialog(parent),
      first_(NumberField(request, request.first, this)),
      second_(NumberField(request, request.second, this)) {
  SetTitleShownWhole(*this, request.caption);
  auto* group = new QGroupBox(request.group, this);
  auto* fields = new QFormLayout(group);
  fields->addRow(request.firstLabel, first_);
  fields->addRow(request.secondLabel, second_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
}

std::pair<int, int> TNumberPairDialog::Values() const {
  return {first_->value(), second_->value()};
}

std::optional<std::pair<int, int>> AskCustomSize(QWidget* parent, int width, int height) {
  if (width < 1) width = 64;
  if (height < 1) height = width;
  TNumberPairDialog dialog(
      {"Select Custom Icon Size", "Size", "&Width", "&Height", 1, 255, width, height}, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Values();
}

}  // namespace varnel
