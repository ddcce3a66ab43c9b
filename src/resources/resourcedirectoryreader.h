#pragma once
// The walk of an image's resource directory tree (type, name, language) into records.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <unordered_set>

#include "resources/pefile.h"

namespace varnel {

// Reads the tree of a resource section into the module's records. The walk trusts nothing:
// a directory, string or data entry outside the section, a directory met a second time (a cycle)
// or an entry count the section cannot hold stops the walk of that directory; records already
// made stay.
class ResourceDirectoryReader {
 public:
  // The tree starts directoryOffset bytes into the section; its offsets count from there.
  // copyBudget bounds the bytes all records together may copy (data entries can overlap); records
  // of sections that view a kept source copy nothing.
  ResourceDirectoryReader(TPEResourceModule& module, TImageSection& section,
                          uint32_t directoryOffset, uint64_t copyBudget);
  void Walk();

 private:
  // What the levels above a directory entry decided.
  struct EntryPath {
    std::string type;
    std::string name;
    bool nameIsString = false;
  };
  struct DirectoryInfo {
    uint32_t characteristics;
    uint32_t version;
  };

  void WalkDirectory(uint32_t offset, int level, const EntryPath& path);
  // Applies one entry; false when the entry is malformed and its directory must stop.
  bool WalkEntry(uint32_t entryOffset, int level, const EntryPath& path, DirectoryInfo info);
  bool ReadName(uint32_t nameField, std::string& name) const;
  bool AddRecord(uint32_t dataEntryOffset, const EntryPath& path, uint32_t language,
                 DirectoryInfo info);
  // The bytes of a data entry as far as its section holds them, with what keeps them alive (null
  // when they must be copied); nothing when no section holds its start.
  struct EntryBytes {
    std::span<const uint8_t> bytes;
    std::shared_ptr<const void> keeper;
  };
  std::optional<EntryBytes> ResourceBytes(uint32_t rva, uint32_t size);
  bool Holds(uint64_t offset, uint64_t length) const { return offset + length <= bytes_.size(); }

  TPEResourceModule& module_;
  TImageSection& section_;
  std::span<const uint8_t> bytes_;
  std::unordered_set<uint32_t> visited_;
  uint64_t copyBudget_;
};

}  // namespace varnel
