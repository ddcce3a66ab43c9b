#include "app/errorlistdialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/userinterface.h"

namespace varnel {

TErrorListDialog::TErrorListDialog(const std::vector<std::string>& lines, QWidget* parent)
    : QDialog(parent), text_(new QPlainTextEdit(this)) {
  setWindowTitle(kCaptionErrors);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  QStringList all;
  for (const std::string& line : lines) all << QString::fromStdString(line);
  text_->setPlainText(all.join('\n'));
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::AcceptRole);
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(buttons);
  resize(480, 260);
}

QString TErrorListDialog::Text() const {
  return text_->toPlainText();
}

}  // namespace varnel
