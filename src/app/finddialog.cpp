#include "app/finddialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace varnel {

TFindDialog::TFindDialog(QWidget* parent)
    : QDialog(parent),
      text_(new QLineEdit(this)),
      matchCase_(new QCheckBox(QStringLiteral("Match &case"), this)),
      wholeWord_(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      findNext_(new QPushButton(QStringLiteral("&Find Next"), this)) {
  auto* direction = new QGroupBox(QStringLiteral("Direction"), this);
  auto* up = new QRadioButton(QStringLiteral("&Up"), direction);
  auto* down = new QRadioButton(QStringLiteral("&Down"), direction);
  down->setChecked(true);
  direction->setEnabled(false);
  auto* directions = new QHBoxLayout(direction);
  directions->addWidget(up);
  directions->addWidget(down);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  findNext_->setDefault(true);
  connect(findNext_, &QPushButton::clicked, this, [this] {
    if (OnFindNext) OnFindNext(Options());
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* layout = new QGridLayout(this);
  auto* textLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
  textLabel->setBuddy(text_);
  layout->addWidget(textLabel, 0, 0);
  layout->addWidget(text_, 0, 1);
  layout->addWidget(findNext_, 0, 2);
  layout->addWidget(wholeWord_, 1, 0, 1, 2);
  layout->addWidget(cancel, 1, 2);
  layout->addWidget(matchCase_, 2, 0);
  layout->addWidget(direction, 2, 1);
  SetMode(TFindMode::Name);
}

void TFindDialog::SetMode(TFindMode mode) {
  mode_ = mode;
  setWindowTitle(mode == TFindMode::Name ? QStringLiteral("Locate icon by name")
                                         : QStringLiteral("Locate icon by source name"));
}

TFindOptions TFindDialog::Options() const {
  return {text_->text().toStdString(), mode_, matchCase_->isChecked(), wholeWord_->isChecked()};
}

}  // namespace varnel
