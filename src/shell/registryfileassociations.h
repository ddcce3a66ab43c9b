#pragma once
// File associations kept in the registry layer: the extension key names the program's class,
// the class says how to open and show the files, and the user's own choice for the extension
// names the class too. What the extension and the user's choice named before is kept beside
// them ("UndoClass_A", "ProgID_Undo_A") and put back when the association is removed.

#include <string>

#include "platform/registry.h"
#include "shell/fileassociations.h"

namespace varnel {

class RegistryFileAssociations : public FileAssociations {
 public:
  // programPath: the full path of the program that opens the files, written without quotes.
  RegistryFileAssociations(TRegistryStore& store, std::string programPath);

  bool IsAssociated(const TAssociatedType& type) const override;
  void SetAssociation(bool doRegister, const TAssociatedType& type) override;

  // The open command a class of this program carries: the path, a blank and "%1" in quotes.
  std::string OpenCommand() const;
  // The key of the user's own choice for an extension, below HKEY_CURRENT_USER.
  static std::string UserChoiceKey(const std::string& extension);

 private:
  void Register(const TAssociatedType& type);
  void Unregister(const TAssociatedType& type);
  void KeepOldClassForUndo(const std::string& extension, const std::string& className);
  void WriteClass(const TAssociatedType& type);
  void RestoreOldClass(const TAssociatedType& type);
  void SetUserChoice(const std::string& extension, const std::string& className);
  void RestoreUserChoice(const std::string& extension);

  TRegistryStore& store_;
  std::string programPath_;
};

}  // namespace varnel
