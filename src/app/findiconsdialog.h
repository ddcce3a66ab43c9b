#pragma once
// The "Find Icons" dialog: the folder to search, the file types, and the search options. OK
// is refused with the request's error text while the folder is not valid.

#include <QDialog>

#include "platform/userinterface.h"

class QCheckBox;
class QLineEdit;

namespace varnel {

class TFindIconsDialog : public QDialog {
  Q_OBJECT

 public:
  TFindIconsDialog(const TFindIconsRequest& request, UserInterface& ui, QWidget* parent = nullptr);
  TFindIconsChoice Choice() const;
  QLineEdit* FolderField() const { return folder_; }
  QLineEdit* MaskField() const { return mask_; }
  void RestoreDefaults();

  void accept() override;

 private:
  void Show(const TFindIconsChoice& choice);
  void BrowseFolder();

  TFindIconsRequest request_;
  UserInterface& ui_;
  QLineEdit* folder_;
  QLineEdit* mask_;
  QCheckBox* subfolders_;
  QCheckBox* excludeDuplicates_;
  QCheckBox* archives_;
};

// The options of the search on all local disks: "Start" or "Cancel".
class TDiskSearchDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TDiskSearchDialog(const TDiskSearchChoice& initial, QWidget* parent = nullptr);
  TDiskSearchChoice Choice() const;

 private:
  QCheckBox* archives_;
  QCheckBox* excludeDuplicates_;
};

}  // namespace varnel
