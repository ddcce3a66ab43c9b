#include "app/findiconsdialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/edittypesdialog.h"

namespace varnel {
namespace {

constexpr const char* kSearchArchives = "Search archives (zip, rar)";
constexpr const char* kExcludeDuplicates = "Exclude duplicates during search for icons";
constexpr const char* kFolderRequired = "A folder is required: enter the folder to search";

}  // namespace

TFindIconsDialog::TFindIconsDialog(const TFindIconsRequest& request, UserInterface& ui,
                                   QWidget* parent)
    : QDialog(parent),
      request_(request),
      ui_(ui),
      folder_(new QLineEdit(this)),
      mask_(new QLineEdit(this)),
      subfolders_(new QCheckBox(QStringLiteral("&Include subfolders"), this)),
      excludeDuplicates_(new QCheckBox(kExcludeDuplicates, this)),
      archives_(new QCheckBox(kSearchArchives, this)) {
  setWindowTitle(QStringLiteral("Find Icons"));
  auto* browse = new QPushButton(QStringLiteral("Open folder"), this);
  connect(browse, &QPushButton::clicked, this, &TFindIconsDialog::BrowseFolder);
  auto* editTypes = new QPushButton(QStringLiteral("..."), this);
  editTypes->setToolTip(QStringLiteral("Edit file types"));
  connect(editTypes, &QPushButton::clicked, this, [this] {
    std::string mask = mask_->text().toStdString();
    if (EditFileTypes(this, mask, ';', request_.defaultMask))
      mask_->setText(QString::fromStdString(mask));
  });
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QDialogButtonBox::Cancel);
  QPushButton* defaults =
      buttons->addButton(QStringLiteral("Default"), QDialogButtonBox::ResetRole);
  connect(defaults, &QPushButton::clicked, this, &TFindIconsDialog::RestoreDefaults);
  connect(buttons, &QDialogButtonBox::accepted, this, &TFindIconsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QGridLayout(this);
  auto* folderLabel = new QLabel(QStringLiteral("&Folder"), this);
  folderLabel->setBuddy(folder_);
  layout->addWidget(folderLabel, 0, 0, 1, 2);
  layout->addWidget(folder_, 1, 0);
  layout->addWidget(browse, 1, 1);
  auto* maskLabel = new QLabel(QStringLiteral("&Search for icons the following file types:"), this);
  maskLabel->setBuddy(mask_);
  layout->addWidget(maskLabel, 2, 0, 1, 2);
  layout->addWidget(mask_, 3, 0);
  layout->addWidget(editTypes, 3, 1);
  auto* maskNote = new QLabel(QString::fromStdString(request.maskNote), this);
  maskNote->setWordWrap(true);
  maskNote->setVisible(!request.maskNote.empty());
  layout->addWidget(maskNote, 4, 0, 1, 2);
  layout->addWidget(subfolders_, 5, 0, 1, 2);
  layout->addWidget(excludeDuplicates_, 6, 0, 1, 2);
  layout->addWidget(archives_, 7, 0, 1, 2);
  layout->addWidget(buttons, 8, 0, 1, 2);
  setMinimumWidth(460);
  Show(request.initial);
}

void TFindIconsDialog::Show(const TFindIconsChoice& choice) {
  folder_->setText(QString::fromStdString(choice.folder));
  mask_->setText(QString::fromStdString(choice.mask));
  subfolders_->setChecked(choice.includeSubfolders);
  excludeDuplicates_->setChecked(choice.excludeDuplicates);
  archives_->setChecked(choice.searchArchives);
}

void TFindIconsDialog::RestoreDefaults() {
  mask_->setText(QString::fromStdString(request_.defaultMask));
  excludeDuplicates_->setChecked(true);
  subfolders_->setChecked(true);
  archives_->setChecked(false);
}

void TFindIconsDialog::BrowseFolder() {
  if (auto folder = ui_.ChooseFolder({"", folder_->text().toStdString(), false}))
    folder_->setText(QString::fromStdString(*folder));
}

TFindIconsChoice TFindIconsDialog::Choice() const {
  return {folder_->text().toStdString(), mask_->text().toStdString(), subfolders_->isChecked(),
          excludeDuplicates_->isChecked(), archives_->isChecked()};
}

void TFindIconsDialog::accept() {
  if (folder_->text().trimmed().isEmpty()) {
    ui_.ShowMessage(MakeMessage(TMessageKind::Error, kFolderRequired));
    folder_->setFocus();
    return;
  }
  if (request_.validate) {
    if (auto error = request_.validate(folder_->text().toStdString())) {
      ui_.ShowMessage(MakeMessage(TMessageKind::Error, *error));
      return;  // the dialog stays open
    }
  }
  QDialog::accept();
}

TDiskSearchDialog::TDiskSearchDialog(const TDiskSearchChoice& initial, QWidget* parent)
    : QDialog(parent),
      archives_(new QCheckBox(kSearchArchives, this)),
      excludeDuplicates_(new QCheckBox(kExcludeDuplicates, this)) {
  setWindowTitle(QStringLiteral("Find Icons on All Local Disks"));
  auto* group = new QGroupBox(QStringLiteral("Search Options"), this);
  auto* options = new QVBoxLayout(group);
  options->addWidget(archives_);
  options->addWidget(excludeDuplicates_);
  archives_->setChecked(initial.searchArchives);
  excludeDuplicates_->setChecked(initial.excludeDuplicates);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("Start"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(buttons);
}

TDiskSearchChoice TDiskSearchDialog::Choice() const {
  return {archives_->isChecked(), excludeDuplicates_->isChecked()};
}

}  // namespace varnel
