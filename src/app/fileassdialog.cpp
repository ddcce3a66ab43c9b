#include "app/fileassdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogtitle.h"
#include "shell/uninstall.h"

namespace varnel {

namespace {

// The boxes from top to bottom: the collection first, then the libraries.
constexpr std::array<size_t, 4> kShownOrder = {3, 0, 1, 2};

}  // namespace

TfmFileAss::TfmFileAss(const FileAssociations& associations, QWidget* parent)
    : QDialog(parent), choices_(associations) {
  SetTitleShownWhole(*this, kCaption);
  auto* grid = new QGridLayout;
  int row = 0;
  for (size_t type : kShownOrder) {
    boxes_[type] = new QCheckBox(kAssociatedTypes[type].checkBox, this);
    boxes_[type]->setChecked(choices_.Checked(type));
    grid->addWidget(boxes_[type], row, 0);
    grid->addWidget(new QLabel(kAssociatedTypes[type].label, this), row++, 1);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  QPushButton* checkAll = buttons->addButton("Check &all", QDialogButtonBox::ActionRole);
  QPushButton* removeAll = buttons->addButton("&Remove all", QDialogButtonBox::ActionRole);
  connect(checkAll, &QPushButton::clicked, this, [this] { SetAll(true); });
  connect(removeAll, &QPushButton::clicked, this, [this] { SetAll(false); });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(buttons);
}

void TfmFileAss::SetAll(bool checked) {
  for (QCheckBox* box : boxes_) box->setChecked(checked);
}

FileAssociationChoices TfmFileAss::Choices() const {
  FileAssociationChoices choices = choices_;
  for (size_t type = 0; type < boxes_.size(); ++type)
    choices.SetChecked(type, boxes_[type]->isChecked());
  return choices;
}

void EditFileAssociations(QWidget* parent) {
  DesktopFileAssociations associations = UserDesktopAssociations();
  TfmFileAss dialog(associations, parent);
  if (dialog.exec() != QDialog::Accepted) return;
  dialog.Choices().Apply(associations);
  if (!associations.Note().empty())
    QMessageBox::warning(parent, TfmFileAss::kCaption, QString::fromStdString(associations.Note()));
}

}  // namespace varnel
