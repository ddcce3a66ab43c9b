#pragma once
// The "Scan Internet Address for Icons" dialog: an address with its options, or an entry of
// the crawl list to start the crawl from. OK without an address is refused unless the crawl
// is chosen.

#include <QDialog>

#include "platform/userinterface.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

namespace varnel {

class TfmAskUrl : public QDialog {
  Q_OBJECT

 public:
  TfmAskUrl(const TInternetAddressRequest& request, UserInterface& ui, QWidget* parent = nullptr);
  TInternetAddressChoice Choice() const;

  QLineEdit* AddressField() const { return address_; }
  QCheckBox* ScanBox() const { return scan_; }
  QComboBox* EntryList() const { return entries_; }
  QGroupBox* SourceGroup() const { return source_; }

  void accept() override;

 private:
  QGroupBox* MakeSourceGroup(const TInternetAddressRequest& request);
  QGroupBox* MakeScanGroup(const TInternetAddressRequest& request);
  // Checking the scan box hands the input over from the address to the list.
  void ScanToggled(bool checked);

  UserInterface& ui_;
  QGroupBox* source_ = nullptr;
  QLineEdit* address_ = nullptr;
  QCheckBox* siteIcons_ = nullptr;
  QCheckBox* images_ = nullptr;
  QCheckBox* explore_ = nullptr;
  QCheckBox* scan_ = nullptr;
  QComboBox* entries_ = nullptr;
};

}  // namespace varnel
