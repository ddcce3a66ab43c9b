#include "app/confirmationdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QStyle>

namespace varnel {

TConfirmationDialog::TConfirmationDialog(const TConfirmRequest& request, QWidget* parent)
    : QDialog(parent),
      doNotPrompt_(new QCheckBox(kDoNotPromptText, this)),
      showCheckBox_(request.showCheckBox) {
  setWindowTitle(QString::fromStdString(request.caption));
  auto* icon = new QLabel(this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
  auto* text = new QLabel(QString::fromStdString(request.text), this);
  text->setWordWrap(true);
  text->setAlignment(Qt::AlignCenter);
  doNotPrompt_->setVisible(request.showCheckBox);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QGridLayout(this);
  layout->addWidget(icon, 0, 0, Qt::AlignTop);
  layout->addWidget(text, 0, 1);
  layout->addWidget(doNotPrompt_, 1, 1);
  layout->addWidget(buttons, 2, 0, 1, 2);
  setMinimumWidth(360);
}

TConfirmAnswer TConfirmationDialog::Answer() const {
  return {result() == QDialog::Accepted, showCheckBox_ && doNotPrompt_->isChecked()};
}

}  // namespace varnel
