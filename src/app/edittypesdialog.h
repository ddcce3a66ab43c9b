#pragma once
// TfmEditFileTypes, "Edit file types": a list of file masks with a mask field, "Add", "Delete",
// "Default", "OK" and "Cancel".

#include <QDialog>
#include <string>

#include "shell/filetypeslist.h"

class QLineEdit;
class QListWidget;

namespace varnel {

class TfmEditFileTypes : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "Edit file types";

  TfmEditFileTypes(const std::string& text, char separator, const std::string& defaultText,
                   QWidget* parent = nullptr);
  const FileTypesList& List() const { return list_; }
  QLineEdit* MaskField() const { return mask_; }
  QListWidget* ListBox() const { return entries_; }

 protected:
  // Enter in the mask field adds the mask instead of closing the dialog.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddMask();
  void ShowList();

  FileTypesList list_;
  QLineEdit* mask_;
  QListWidget* entries_;
};

// Shows the editor at the mouse position; on "OK" text becomes the edited list and the result
// is true.
bool EditFileTypes(QWidget* parent, std::string& text, char separator,
                   const std::string& defaultText);

}  // namespace varnel
