#pragma once
// The file that stands in for the system registry: a tree of keys, each holding named values.
// Keys are full paths beginning with their root ("HKEY_CURRENT_USER\Software\..."), compared
// ignoring case. Every change is written at once to a temporary file that is renamed over the
// store, so that a crash leaves either the old or the new store.
//
// The file is text, one block per key:
//   [HKEY_CURRENT_USER\Software\Tamberly]
//   "Name"="text"          a string ("@" names the key's default value)
//   "Path"=expand:"%HOME%"  a string with variables
//   "Count"=dword:0000000a  a 32-bit integer
//   "Data"=hex:01,ff        binary data
// Inside quotes, "\\" stands for "\", "\"" for a quote and "\n" for a line break.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "base/errors.h"

namespace varnel {

class ERegistryError : public Exception {
 public:
  using Exception::Exception;
};

enum class TRegDataType { rdString, rdExpandString, rdInteger, rdBinary };

struct TRegistryValue {
  std::string name;
  TRegDataType type = TRegDataType::rdString;
  std::string text;  // rdString and rdExpandString
  int32_t integer = 0;
  std::vector<uint8_t> binary;
};

class TRegistryStore {
 public:
  // Reads the store file when it exists; lines that do not parse are passed over.
  explicit TRegistryStore(std::string fileName);
  // The program's store: "registry.txt" in the settings folder.
  static TRegistryStore& Default();

  const std::string& FileName() const { return fileName_; }

  bool KeyExists(const std::string& path) const;
  // Creates the key and every missing key above it.
  void CreateKey(const std::string& path);
  // Deletes the key with all keys below it; false when it did not exist.
  bool DeleteKey(const std::string& path);
  // Names of the keys directly below path, in the order they were created.
  std::vector<std::string> SubKeyNames(const std::string& path) const;
  std::vector<std::string> ValueNames(const std::string& path) const;

  const TRegistryValue* FindValue(const std::string& path, const std::string& name) const;
  // Creates the key when needed.
  void SetValue(const std::string& path, TRegistryValue value);
  bool DeleteValue(const std::string& path, const std::string& name);

  std::string Text() const;

 private:
  struct Key {
    std::string path;  // as first spelled
    std::vector<TRegistryValue> values;
    uint64_t order = 0;
  };

  void Parse(const std::string& text);
  void ParseValueLine(Key& key, const std::string& line);
  Key& EnsureKey(const std::string& path);
  std::vector<const Key*> KeysInOrder() const;
  void Save() const;

  std::string fileName_;
  std::map<std::string, Key> keys_;  // by lower-case path
  uint64_t nextOrder_ = 0;
};

// A key path with its separators tidied: single "\" between parts, none at either end.
std::string NormalizeKeyPath(const std::string& path);

}  // namespace varnel
