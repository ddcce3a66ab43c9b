#include "shell/associationchoices.h"

namespace varnel {

FileAssociationChoices::FileAssociationChoices(const FileAssociations& associations) {
  for (size_t i = 0; i < kAssociatedTypes.size(); ++i)
    checked_[i] = associations.IsAssociated(kAssociatedTypes[i]);
}

void FileAssociationChoices::Apply(FileAssociations& associations) const {
  for (size_t i = 0; i < kAssociatedTypes.size(); ++i)
    associations.SetAssociation(checked_[i], kAssociatedTypes[i]);
}

void RemoveAllAssociations(FileAssociations& associations) {
  FileAssociationChoices choices(associations);
  choices.RemoveAll();
  choices.Apply(associations);
}

}  // namespace varnel
