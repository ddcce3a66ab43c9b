#pragma once
// Registry access in the classic style: choose a root, open a key, then read and write the
// values of the open key. Keys and values live in a TRegistryStore.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/registrystore.h"

namespace varnel {

enum class TRootKey { HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE };

std::string RootKeyName(TRootKey root);

class TRegistry {
 public:
  explicit TRegistry(TRegistryStore& store = TRegistryStore::Default()) : store_(store) {}

  TRootKey RootKey() const { return root_; }
  // Changing the root closes the open key.
  void SetRootKey(TRootKey root);

  // A key beginning with "\" is taken from the root, any other below the open key.
  bool OpenKey(const std::string& key, bool canCreate);
  bool OpenKeyReadOnly(const std::string& key);
  void CloseKey();
  // The open key below the root, without the root's name; empty when none is open.
  const std::string& CurrentPath() const { return currentPath_; }

  bool KeyExists(const std::string& key) const;
  bool CreateKey(const std::string& key);
  bool DeleteKey(const std::string& key);
  std::vector<std::string> GetKeyNames() const;
  std::vector<std::string> GetValueNames() const;

  bool ValueExists(const std::string& name) const;
  TRegDataType GetDataType(const std::string& name) const;  // raises when the value is absent
  // A missing value reads as empty text; other kinds of data raise ERegistryError.
  std::string ReadString(const std::string& name) const;
  int32_t ReadInteger(const std::string& name) const;  // raises unless an integer value exists
  std::vector<uint8_t> ReadBinaryData(const std::string& name) const;

  // Writing needs an open key that was not opened read-only.
  void WriteString(const std::string& name, const std::string& value);
  void WriteExpandString(const std::string& name, const std::string& value);
  void WriteInteger(const std::string& name, int32_t value);
  void WriteBinaryData(const std::string& name, const std::vector<uint8_t>& value);
  bool DeleteValue(const std::string& name);

 private:
  std::string FullPath(const std::string& key) const;
  std::string OpenFullPath() const;
  const TRegistryValue& ValueOfType(const std::string& name, TRegDataType a, TRegDataType b) const;
  void Write(TRegistryValue value);

  TRegistryStore& store_;
  TRootKey root_ = TRootKey::HKEY_CURRENT_USER;
  std::string currentPath_;
  bool open_ = false;
  bool readOnly_ = false;
};

}  // namespace varnel
