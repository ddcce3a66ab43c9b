#include "app/welcomewindow.h"

#include <QCheckBox>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/errorhandler.h"

namespace varnel {

TfmWelcome::TfmWelcome(QWidget* parent)
    : QDialog(parent),
      showNextTime_(new QCheckBox(QStringLiteral("Show this window next time"), this)) {
  setWindowTitle(QStringLiteral("Welcome to ") + kProductName);
  new QVBoxLayout(this);
  AddChoice(QStringLiteral("Open existing icon library file"), 'O', QStyle::SP_DialogOpenButton);
  AddChoice(QStringLiteral("Find icons in a folder"), 'F', QStyle::SP_DirIcon);
  AddChoice(QStringLiteral("Extract all icons from your computer"), 'C', QStyle::SP_DriveHDIcon);
  AddChoice(QStringLiteral("Download icons from the Internet"), 'D', QStyle::SP_DriveNetIcon);
  AddChoice(QStringLiteral("Close this window"), 0, QStyle::SP_DialogCloseButton);
  showNextTime_->setChecked(true);
  layout()->addWidget(showNextTime_);
}

void TfmWelcome::AddChoice(const QString& label, char code, int pixmap) {
  auto* button =
      new QPushButton(style()->standardIcon(QStyle::StandardPixmap(pixmap)), label, this);
  button->setIconSize(QSize(32, 32));
  button->setStyleSheet(QStringLiteral("text-align: left; padding: 6px;"));
  connect(button, &QPushButton::clicked, this, [this, code] {
    choice_ = code;
    accept();
  });
  layout()->addWidget(button);
}

bool TfmWelcome::ShowNextTime() const {
  return showNextTime_->isChecked();
}

}  // namespace varnel
