#include "resources/iclnamestable.h"

namespace varnel {

namespace {

bool IsUtf8Continuation(char c) {
  return (uint8_t(c) & 0xC0) == 0x80;
}

}  // namespace

std::string LibraryNameBytes(const std::string& name) {
  if (name.size() <= kMaxLibraryNameBytes) return name;
  size_t length = kMaxLibraryNameBytes;
  // Never keep half of a multi-byte character.
  while (length > 0 && IsUtf8Continuation(name[length])) --length;
  return name.substr(0, length);
}

std::vector<uint8_t> BuildIclNamesTable(const TIconList& icons) {
  std::vector<uint8_t> table = {3, 'I', 'C', 'L'};
  for (int i = 0; i < icons.Count(); ++i) {
    std::string name = LibraryNameBytes(icons.Names(i));
    table.push_back(uint8_t(name.size()));
    table.insert(table.end(), name.begin(), name.end());
  }
  table.push_back(0);
  return table;
}

}  // namespace varnel
