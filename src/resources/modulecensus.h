#pragma once
// The module census: what the headers and the resource directory of an executable module say
// about its icons, read without decoding the module. Files without icon groups are dismissed
// here before any full read.

#include <cstdint>
#include <span>
#include <string>

namespace varnel {

// The kinds of module a census tells apart.
enum class ModuleKind { None, NE, PE };

struct ModuleCensus {
  ModuleKind kind = ModuleKind::None;
  bool is64Bit = false;
  bool hasIcons = false;
  // Icon groups found; -1 when the file is no module whose resources could be located.
  int iconCount = -1;
  // Cursor groups found (counted as icon groups are); they do not count as icons.
  int cursorCount = 0;
  // Whether a module reader has groups of either kind to read.
  bool HasGroups() const { return hasIcons || cursorCount > 0; }
};

// True for a file that starts with "MZ" and has "PE" or "NE" at the offset held in the low half
// of e_lfanew; is32Bit tells "PE".
bool IsModuleFile(const std::string& fileName, bool& is32Bit);
bool IsModuleBytes(std::span<const uint8_t> bytes, bool& is32Bit);

// The census of a module image in memory. PE32 and PE32+ images are both examined.
ModuleCensus TakeModuleCensus(std::span<const uint8_t> bytes);

// The census through a read-only mapping of the file; unreadable files have no icons (-1).
bool ModuleHasIcons(const std::string& fileName);
int CountModuleIcons(const std::string& fileName, bool& is64Bit);

}  // namespace varnel
