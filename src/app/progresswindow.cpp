#include "app/progresswindow.h"

#include <QApplication>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace varnel {
namespace {

// Two presses of "Skip" within this time skip the whole group.
constexpr int kDoubleSkipMs = 1000;
constexpr int kBringToFrontMs = 500;
// Field texts set faster than this reach their labels together, once the interval is over.
constexpr int kFieldRedrawMs = 150;

const QString kPathCaption = QStringLiteral("Current path:");
const QString kFileCaption = QStringLiteral("Current file:");
const QString kCountCaption = QStringLiteral("Total amount: ");

QLabel* ValueLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setMinimumWidth(320);
  label->setTextFormat(Qt::PlainText);
  return label;
}

}  // namespace

TfmProgress::TfmProgress(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint),
      path_(ValueLabel(this)),
      file_(ValueLabel(this)),
      count_(ValueLabel(this)),
      pathCaption_(new QLabel(kPathCaption, this)),
      fileCaption_(new QLabel(kFileCaption, this)),
      countCaption_(new QLabel(kCountCaption, this)),
      stop_(new QPushButton(QStringLiteral("Stop"), this)),
      hide_(new QPushButton(QStringLiteral("Hide"), this)),
      skip_(new QPushButton(QStringLiteral("Skip"), this)) {
  setWindowTitle(QStringLiteral("Extracting Icons..."));
  stop_->setToolTip(QStringLiteral("Stop the loading process"));
  hide_->setToolTip(QStringLiteral("Minimize the application"));
  skip_->setToolTip(QStringLiteral("Skip the current file"));
  skip_->hide();
  connect(stop_, &QPushButton::clicked, this, [this] { flags_.stopRequested = true; });
  connect(hide_, &QPushButton::clicked, this, [this] {
    if (parentWidget()) parentWidget()->window()->showMinimized();
  });
  connect(skip_, &QPushButton::clicked, this, &TfmProgress::Skip);
  auto* fields = new QFormLayout;
  fields->addRow(pathCaption_, path_);
  fields->addRow(fileCaption_, file_);
  fields->addRow(countCaption_, count_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {stop_, hide_, skip_}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  // While shown, the window keeps coming to the front.
  auto* front = new QTimer(this);
  connect(front, &QTimer::timeout, this, [this] {
    if (isVisible()) raise();
  });
  front->start(kBringToFrontMs);
  fieldTimer_ = new QTimer(this);
  fieldTimer_->setSingleShot(true);
  fieldTimer_->setInterval(kFieldRedrawMs);
  connect(fieldTimer_, &QTimer::timeout, this, &TfmProgress::ShowPendingFields);
}

void TfmProgress::ShowCentred() {
  adjustSize();
  if (QWidget* owner = parentWidget()) move(owner->window()->geometry().center() - rect().center());
  show();
}

void TfmProgress::Reset() {
  flags_ = {};
  pending_.clear();
  for (QLabel* label : {path_, file_, count_}) label->clear();
  pathCaption_->setText(kPathCaption);
  fileCaption_->setText(kFileCaption);
  countCaption_->setText(kCountCaption);
}

void TfmProgress::Skip() {
  flags_.skipRequested = true;
  flags_.skipGroup = lastSkip_.isValid() && lastSkip_.elapsed() <= kDoubleSkipMs;
  lastSkip_.start();
}

QLabel* TfmProgress::FieldLabel(TProgressField field, bool caption) const {
  switch (field) {
    case TProgressField::Path:
      return caption ? pathCaption_ : path_;
    case TProgressField::File:
      return caption ? fileCaption_ : file_;
    case TProgressField::Count:
      break;
  }
  return caption ? countCaption_ : count_;
}

void TfmProgress::SetField(TProgressField field, const QString& text) {
  if (fieldTimer_->isActive()) {
    pending_[field] = text;
    return;
  }
  FieldLabel(field, false)->setText(text);
  fieldTimer_->start();
}

void TfmProgress::ShowPendingFields() {
  for (const auto& [field, text] : pending_) FieldLabel(field, false)->setText(text);
  pending_.clear();
}

QString TfmProgress::Field(TProgressField field) const {
  auto it = pending_.find(field);
  return it != pending_.end() ? it->second : FieldLabel(field, false)->text();
}

void TfmProgress::SetLabel(TProgressField field, const QString& text) {
  FieldLabel(field, true)->setText(text);
}

QString TfmProgress::Label(TProgressField field) const {
  return FieldLabel(field, true)->text();
}

void TfmProgress::SetSkipVisible(bool visible) {
  skip_->setVisible(visible);
}

void TfmProgress::changeEvent(QEvent* event) {
  // A pressed "Stop" holds until the operation has seen it (a new operation clears it): the
  // window keeps coming to the front, and clearing it on activation would lose a press.
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) flags_.skipGroup = false;
  QDialog::changeEvent(event);
}

}  // namespace varnel
