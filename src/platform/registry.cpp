#include "platform/registry.h"

namespace varnel {

namespace {

TRegistryValue NamedValue(const std::string& name, TRegDataType type) {
  TRegistryValue value;
  value.name = name;
  value.type = type;
  return value;
}

}  // namespace

std::string RootKeyName(TRootKey root) {
  switch (root) {
    case TRootKey::HKEY_CLASSES_ROOT:
      return "HKEY_CLASSES_ROOT";
    case TRootKey::HKEY_CURRENT_USER:
      return "HKEY_CURRENT_USER";
    case TRootKey::HKEY_LOCAL_MACHINE:
      return "HKEY_LOCAL_MACHINE";
  }
  return "HKEY_CURRENT_USER";
}

void TRegistry::SetRootKey(TRootKey root) {
  CloseKey();
  root_ = root;
}

std::string TRegistry::FullPath(const std::string& key) const {
  bool fromRoot = !key.empty() && key[0] == '\\';
  std::string below = fromRoot ? key : currentPath_ + "\\" + key;
  return NormalizeKeyPath(RootKeyName(root_) + "\\" + below);
}

std::string TRegistry::OpenFullPath() const {
  return NormalizeKeyPath(RootKeyName(root_) + "\\" + currentPath_);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
  std::string full = FullPath(key);
  std::string rootName = RootKeyName(root_);
  if (full != rootName && !store_.KeyExists(full)) {
    if (!canCreate) return false;
    store_.CreateKey(full);
  }
  currentPath_ = full.size() > rootName.size() ? full.substr(rootName.size() + 1) : std::string();
  open_ = true;
  readOnly_ = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
  if (!OpenKey(key, false)) return false;
  readOnly_ = true;
  return true;
}

void TRegistry::CloseKey() {
  currentPath_.clear();
  open_ = false;
  readOnly_ = false;
}

bool TRegistry::KeyExists(const std::string& key) const {
  return store_.KeyExists(FullPath(key));
}

bool TRegistry::CreateKey(const std::string& key) {
  store_.CreateKey(FullPath(key));
  return true;
}

bool TRegistry::DeleteKey(const std::string& key) {
  std::string full = FullPath(key);
  if (full == RootKeyName(root_)) return false;  // a root key cannot be deleted
  return store_.DeleteKey(full);
}

std::vector<std::string> TRegistry::GetKeyNames() const {
  return store_.SubKeyNames(OpenFullPath());
}

std::vector<std::string> TRegistry::GetValueNames() const {
  return open_ ? store_.ValueNames(OpenFullPath()) : std::vector<std::string>();
}

bool TRegistry::ValueExists(const std::string& name) const {
  return open_ && store_.FindValue(OpenFullPath(), name) != nullptr;
}

TRegDataType TRegistry::GetDataType(const std::string& name) const {
  const TRegistryValue* value = open_ ? store_.FindValue(OpenFullPath(), name) : nullptr;
  if (!value) throw ERegistryError("Invalid data type for '" + name + "'");
  return value->type;
}

const TRegistryValue& TRegistry::ValueOfType(const std::string& name, TRegDataType a,
                                             TRegDataType b) const {
  const TRegistryValue* value = open_ ? store_.FindValue(OpenFullPath(), name) : nullptr;
  if (!value || (value->type != a && value->type != b)) {
    throw ERegistryError("Invalid data type for '" + name + "'");
  }
  return *value;
}

std::string TRegistry::ReadString(const std::string& name) const {
  if (!ValueExists(name)) return std::string();
  return ValueOfType(name, TRegDataType::rdString, TRegDataType::rdExpandString).text;
}

int32_t TRegistry::ReadInteger(const std::string& name) const {
  return ValueOfType(name, TRegDataType::rdInteger, TRegDataType::rdInteger).integer;
}

std::vector<uint8_t> TRegistry::ReadBinaryData(const std::string& name) const {
  return ValueOfType(name, TRegDataType::rdBinary, TRegDataType::rdBinary).binary;
}

void TRegistry::Write(TRegistryValue value) {
  if (!open_ || readOnly_) throw ERegistryError("Failed to set data for '" + value.name + "'");
  store_.SetValue(OpenFullPath(), std::move(value));
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  TRegistryValue data = NamedValue(name, TRegDataType::rdString);
  data.text = value;
  Write(std::move(data));
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value) {
  TRegistryValue data = NamedValue(name, TRegDataType::rdExpandString);
  data.text = value;
  Write(std::move(data));
}

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
  TRegistryValue data = NamedValue(name, TRegDataType::rdInteger);
  data.integer = value;
  Write(std::move(data));
}

void TRegistry::WriteBinaryData(const std::string& name, const std::vector<uint8_t>& value) {
  TRegistryValue data = NamedValue(name, TRegDataType::rdBinary);
  data.binary = value;
  Write(std::move(data));
}

bool TRegistry::DeleteValue(const std::string& name) {
  if (!open_ || readOnly_) return false;
  return store_.DeleteValue(OpenFullPath(), name);
}

}  // namespace varnel
