#include "shell/registryfileassociations.h"

#include "platform/textfunctions.h"

namespace varnel {

namespace {

constexpr const char* kContentType = "Content Type";
constexpr const char* kUndoClassKey = "UndoClass_A";
constexpr const char* kUserChoice = "ProgID";
constexpr const char* kUserChoiceUndo = "ProgID_Undo_A";

std::string ExtensionKey(const std::string& extension) {
  return "\\." + extension;
}

std::string UndoKey(const std::string& extension) {
  return ExtensionKey(extension) + "\\" + kUndoClassKey;
}

// Writes the content type, or deletes it when there is none.
void WriteContentType(TRegistry& reg, const std::string& contentType) {
  if (contentType.empty())
    reg.DeleteValue(kContentType);
  else
    reg.WriteString(kContentType, contentType);
}

// Writes the default value of a key below the classes root, skipped when the key cannot be made.
void WriteDefault(TRegistry& reg, const std::string& key, const std::string& value) {
  if (reg.OpenKey(key, true)) reg.WriteString("", value);
}

TRegistry ClassesRoot(TRegistryStore& store) {
  TRegistry reg(store);
  reg.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
  return reg;
}

}  // namespace

RegistryFileAssociations::RegistryFileAssociations(TRegistryStore& store, std::string programPath)
    : store_(store), programPath_(std::move(programPath)) {}

std::string RegistryFileAssociations::OpenCommand() const {
  return programPath_ + " \"%1\"";
}

std::string RegistryFileAssociations::UserChoiceKey(const std::string& extension) {
  return "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\." + extension;
}

bool RegistryFileAssociations::IsAssociated(const TAssociatedType& type) const {
  TRegistry reg = ClassesRoot(store_);
  if (!reg.KeyExists(ExtensionKey(type.extension))) return false;
  TRegistry user(store_);
  if (user.OpenKeyReadOnly(UserChoiceKey(type.extension))) {
    std::string choice = user.ReadString(kUserChoice);
    if (!choice.empty()) return SameText(choice, type.className);
  }
  if (!reg.OpenKeyReadOnly(ExtensionKey(type.extension)) ||
      !SameText(reg.ReadString(""), type.className))
    return false;
  return reg.OpenKeyReadOnly(std::string("\\") + type.className + "\\shell\\View\\Command") &&
         SameText(reg.ReadString(""), OpenCommand());
}

void RegistryFileAssociations::SetAssociation(bool doRegister, const TAssociatedType& type) {
  if (doRegister)
    Register(type);
  else if (IsAssociated(type))
    Unregister(type);
}

void RegistryFileAssociations::Register(const TAssociatedType& type) {
  TRegistry reg = ClassesRoot(store_);
  if (reg.OpenKey(ExtensionKey(type.extension), true)) {
    std::string oldClass = reg.ReadString("");
    if (!oldClass.empty() && !SameText(oldClass, type.className))
      KeepOldClassForUndo(type.extension, oldClass);
    reg.OpenKey(ExtensionKey(type.extension), true);
    reg.WriteString("", type.className);
    WriteContentType(reg, type.description);
  }
  WriteClass(type);
  SetUserChoice(type.extension, type.className);
}

void RegistryFileAssociations::KeepOldClassForUndo(const std::string& extension,
                                                   const std::string& className) {
  TRegistry reg = ClassesRoot(store_);
  reg.OpenKeyReadOnly(ExtensionKey(extension));
  std::string contentType = reg.ReadString(kContentType);
  if (!reg.OpenKey(UndoKey(extension), true)) return;
  reg.WriteString("", className);
  WriteContentType(reg, contentType);
}

void RegistryFileAssociations::WriteClass(const TAssociatedType& type) {
  TRegistry reg = ClassesRoot(store_);
  std::string classKey = std::string("\\") + type.className;
  WriteDefault(reg, classKey + "\\shell", "View");
  WriteDefault(reg, classKey + "\\shell\\View\\", "View");
  WriteDefault(reg, classKey + "\\shell\\View\\Command", OpenCommand());
  WriteDefault(reg, classKey, type.description);
  WriteDefault(
      reg, classKey + "\\DefaultIcon",
      type.iconIndex < 0 ? std::string("%1") : programPath_ + "," + std::to_string(type.iconIndex));
}

void RegistryFileAssociations::SetUserChoice(const std::string& extension,
                                             const std::string& className) {
  TRegistry user(store_);
  if (!user.OpenKey(UserChoiceKey(extension), true))
    throw ERegistryError("Failed to set data for '" + std::string(kUserChoice) + "'");
  std::string oldChoice = user.ReadString(kUserChoice);
  user.WriteString(kUserChoice, className);
  if (!oldChoice.empty() && !SameText(oldChoice, className))
    user.WriteString(kUserChoiceUndo, oldChoice);
}

void RegistryFileAssociations::Unregister(const TAssociatedType& type) {
  RestoreOldClass(type);
  TRegistry reg = ClassesRoot(store_);
  reg.DeleteKey(std::string("\\") + type.className);
  // An extension key left with nothing in it goes; one given back its old class stays.
  if (reg.OpenKeyReadOnly(ExtensionKey(type.extension)) && reg.GetKeyNames().empty() &&
      reg.ReadString("").empty()) {
    reg.CloseKey();
    reg.DeleteKey(ExtensionKey(type.extension));
  }
  RestoreUserChoice(type.extension);
}

void RegistryFileAssociations::RestoreOldClass(const TAssociatedType& type) {
  TRegistry reg = ClassesRoot(store_);
  if (!reg.OpenKeyReadOnly(UndoKey(type.extension))) {
    if (reg.OpenKey(ExtensionKey(type.extension), true)) reg.WriteString("", "");
    return;
  }
  std::string oldClass = reg.ReadString("");
  std::string oldContentType = reg.ReadString(kContentType);
  if (SameText(oldClass, type.className)) oldClass.clear(), oldContentType.clear();
  if (reg.OpenKey(ExtensionKey(type.extension), true)) {
    reg.WriteString("", oldClass);
    WriteContentType(reg, oldContentType);
  }
  reg.DeleteKey(UndoKey(type.extension));
}

void RegistryFileAssociations::RestoreUserChoice(const std::string& extension) {
  TRegistry user(store_);
  if (!user.OpenKey(UserChoiceKey(extension), true))
    throw ERegistryError("Failed to set data for '" + std::string(kUserChoice) + "'");
  std::string oldChoice = user.ReadString(kUserChoiceUndo);
  user.DeleteValue(kUserChoiceUndo);
  user.WriteString(kUserChoice, oldChoice);
}

}  // namespace varnel
