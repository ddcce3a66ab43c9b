#pragma once
// TfmFileAss, "Set file associations (shell integration)": a check box per program file type,
// "Check all", "Remove all", "OK" and "Cancel".

#include <QDialog>
#include <array>

#include "shell/associationchoices.h"

class QCheckBox;

namespace varnel {

class TfmFileAss : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "Set file associations (shell integration)";

  // The boxes show what the associations hold now.
  explicit TfmFileAss(const FileAssociations& associations, QWidget* parent = nullptr);
  // The boxes as they stand.
  FileAssociationChoices Choices() const;
  QCheckBox* Box(size_t type) const { return boxes_.at(type); }

 private:
  void SetAll(bool checked);

  FileAssociationChoices choices_;
  std::array<QCheckBox*, kAssociatedTypes.size()> boxes_{};
};

// Shows the dialog over the user's desktop associations and applies it on "OK".
void EditFileAssociations(QWidget* parent);

}  // namespace varnel
