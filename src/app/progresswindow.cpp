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
  fields->addRow(QStringLiteral("Current path:"), path_);
  fields->addRow(QStringLiteral("Current file:"), file_);
  fields->addRow(QStringLiteral("Total amount: "), count_);
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
}

void TfmProgress::ShowCentred() {
  adjustSize();
  if (QWidget* owner = parentWidget()) move(owner->window()->geometry().center() - rect().center());
  show();
}

void TfmProgress::Reset() {
  flags_ = {};
  for (QLabel* label : {path_, file_, count_}) label->clear();
}

void TfmProgress::Skip() {
  flags_.skipRequested = true;
  flags_.skipGroup = lastSkip_.isValid() && lastSkip_.elapsed() <= kDoubleSkipMs;
  lastSkip_.start();
}

void TfmProgress::SetField(TProgressField field, const QString& text) {
  QLabel* label = field == TProgressField::Path   ? path_
                  : field == TProgressField::File ? file_
                                                  : count_;
  label->setText(text);
}

QString TfmProgress::Field(TProgressField field) const {
  const QLabel* label = field == TProgressField::Path   ? path_
                        : field == TProgressField::File ? file_
                                                        : count_;
  return label->text();
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
