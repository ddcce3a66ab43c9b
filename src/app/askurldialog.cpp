#include "app/askurldialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace varnel {
namespace {

constexpr const char* kSourceText =
    "Type the Internet address of a site or a file.  Available file formats: zip, rar, ico, "
    "gif, icl, dll, exe or html.";
constexpr const char* kAddressRequired = "Internet address is required";

}  // namespace

TfmAskUrl::TfmAskUrl(const TInternetAddressRequest& request, UserInterface& ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
  setWindowTitle(QStringLiteral("Scan Internet Address for Icons"));
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &TfmAskUrl::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(MakeSourceGroup(request));
  layout->addWidget(MakeScanGroup(request));
  layout->addWidget(buttons);
  setMinimumWidth(460);
}

QGroupBox* TfmAskUrl::MakeSourceGroup(const TInternetAddressRequest& request) {
  source_ = new QGroupBox(QStringLiteral("Source"), this);
  auto* text = new QLabel(kSourceText, source_);
  text->setWordWrap(true);
  auto* label = new QLabel(QStringLiteral("Address:"), source_);
  address_ = new QLineEdit(QString::fromStdString(request.address), source_);
  label->setBuddy(address_);
  siteIcons_ = new QCheckBox(QStringLiteral("Extract favicon.ico"), source_);
  images_ = new QCheckBox(QStringLiteral("Extract .gif and .png icons"), source_);
  explore_ = new QCheckBox(QStringLiteral("Explore links"), source_);
  siteIcons_->setChecked(request.siteIcons);
  images_->setChecked(request.takeImages);
  explore_->setChecked(request.explore);
  auto* layout = new QVBoxLayout(source_);
  for (QWidget* widget : {static_cast<QWidget*>(text), static_cast<QWidget*>(label),
                          static_cast<QWidget*>(address_), static_cast<QWidget*>(siteIcons_),
                          static_cast<QWidget*>(images_), static_cast<QWidget*>(explore_)})
    layout->addWidget(widget);
  return source_;
}

QGroupBox* TfmAskUrl::MakeScanGroup(const TInternetAddressRequest& request) {
  auto* group = new QGroupBox(QStringLiteral("Scan Web"), this);
  scan_ = new QCheckBox(QStringLiteral("Download icons starting from:"), group);
  entries_ = new QComboBox(group);
  if (!request.entries.empty()) {
    entries_->addItem(QStringLiteral("Auto"));
    for (const std::string& entry : request.entries)
      entries_->addItem(QString::fromStdString(entry));
  }
  scan_->setEnabled(entries_->count() > 0);
  entries_->setEnabled(false);
  connect(scan_, &QCheckBox::toggled, this, &TfmAskUrl::ScanToggled);
  connect(entries_, &QComboBox::activated, this, [this] { scan_->setChecked(true); });
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(scan_);
  layout->addWidget(entries_);
  return group;
}

void TfmAskUrl::ScanToggled(bool checked) {
  source_->setEnabled(!checked);
  entries_->setEnabled(checked);
}

TInternetAddressChoice TfmAskUrl::Choice() const {
  TInternetAddressChoice choice;
  choice.address = address_->text().trimmed().toStdString();
  choice.explore = explore_->isChecked();
  choice.takeImages = images_->isChecked();
  choice.siteIcons = siteIcons_->isChecked();
  choice.scan = scan_->isChecked();
  choice.scanIndex = entries_->currentIndex() - 1;
  if (choice.scanIndex < -1) choice.scanIndex = -1;
  return choice;
}

void TfmAskUrl::accept() {
  if (address_->text().trimmed().isEmpty() && !scan_->isChecked()) {
    ui_.ShowMessage(MakeMessage(TMessageKind::Error, kAddressRequired));
    address_->setFocus();
    return;  // the dialog stays open
  }
  QDialog::accept();
}

}  // namespace varnel
