#pragma once
// The check boxes of the file associations dialog, one per program type: filled from the
// associations when the dialog opens and applied by "OK".

#include <array>

#include "shell/fileassociations.h"

namespace varnel {

class FileAssociationChoices {
 public:
  // Each box shows whether its type is associated now.
  explicit FileAssociationChoices(const FileAssociations& associations);

  // Boxes are numbered as kAssociatedTypes lists the types.
  bool Checked(size_t type) const { return checked_.at(type); }
  void SetChecked(size_t type, bool checked) { checked_.at(type) = checked; }
  void CheckAll() { checked_.fill(true); }
  void RemoveAll() { checked_.fill(false); }

  // Registers the checked types and unregisters the others, in the order of kAssociatedTypes.
  void Apply(FileAssociations& associations) const;

 private:
  std::array<bool, kAssociatedTypes.size()> checked_{};
};

// What the "-uninstall" switch does: every box cleared, then applied.
void RemoveAllAssociations(FileAssociations& associations);

}  // namespace varnel
