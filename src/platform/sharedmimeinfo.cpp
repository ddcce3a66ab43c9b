#include "platform/sharedmimeinfo.h"

#include <algorithm>

#include "base/errors.h"
#include "base/fileio.h"
#include "platform/folders.h"
#include "platform/textfunctions.h"
#include "platform/xdgdatafolders.h"

namespace varnel {
namespace {

// The database files are a few hundred kilobytes; anything far larger is no such file.
constexpr uint64_t kMaxDatabaseFile = 32u << 20;
constexpr const char* kNoGlobs = "__NOGLOBS__";

// The lines of a text file; none when it is missing, unreadable or too large.
std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<uint8_t> bytes;
  try {
    bytes = ReadWholeFile(path, kMaxDatabaseFile);
  } catch (const Exception&) {
    return {};
  }
  std::vector<std::string> lines;
  std::string line;
  for (uint8_t byte : bytes) {
    if (byte == '\n') {
      lines.push_back(std::move(line));
      line.clear();
    } else if (byte != '\r') {
      line.push_back(char(byte));
    }
  }
  if (!line.empty()) lines.push_back(std::move(line));
  return lines;
}

// Splits "a:b:c" at its colons.
std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (size_t colon; (colon = line.find(':', start)) != std::string::npos; start = colon + 1)
    fields.push_back(line.substr(start, colon - start));
  fields.push_back(line.substr(start));
  return fields;
}

bool IsCommentOrEmpty(const std::string& line) {
  return line.empty() || line[0] == '#';
}

void AddUnique(std::vector<std::string>& names, std::string name) {
  if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
    names.push_back(std::move(name));
}

}  // namespace

std::string ExtensionOfGlob(const std::string& glob) {
  if (glob.size() < 3 || glob.compare(0, 2, "*.") != 0) return {};
  std::string extension = glob.substr(2);
  if (extension.find_first_of("*?[]/\\") != std::string::npos) return {};
  return extension;
}

SharedMimeInfo::SharedMimeInfo(const std::vector<std::string>& mimeFolders) {
  std::vector<Pattern> patterns;
  std::unordered_set<std::string> cleared;
  for (const std::string& folder : mimeFolders) {
    ReadGlobs(folder, cleared, patterns);
    ReadNameTable(PathJoin(folder, "icons"), icons_);
    ReadNameTable(PathJoin(folder, "generic-icons"), genericIcons_);
  }
  ChooseTypes(patterns);
}

SharedMimeInfo SharedMimeInfo::FromDataFolders() {
  std::vector<std::string> mimeFolders;
  for (const std::string& folder : DataFolders()) mimeFolders.push_back(PathJoin(folder, "mime"));
  return SharedMimeInfo(mimeFolders);
}

void SharedMimeInfo::ReadGlobs(const std::string& folder, std::unordered_set<std::string>& cleared,
                               std::vector<Pattern>& patterns) const {
  std::unordered_set<std::string> clearedHere;
  for (const std::string& line : ReadLines(PathJoin(folder, "globs2"))) {
    if (IsCommentOrEmpty(line)) continue;
    std::vector<std::string> fields = SplitFields(line);
    if (fields.size() < 3) continue;
    const std::string& mimeType = fields[1];
    if (fields[2] == kNoGlobs) {
      clearedHere.insert(mimeType);
      continue;
    }
    if (cleared.count(mimeType)) continue;
    std::string extension = ExtensionOfGlob(fields[2]);
    std::optional<int32_t> weight = TryParseInteger(fields[0]);
    if (extension.empty() || mimeType.empty() || !weight) continue;
    patterns.push_back({*weight, mimeType, std::move(extension)});
  }
  cleared.insert(clearedHere.begin(), clearedHere.end());
}

void SharedMimeInfo::ReadNameTable(const std::string& path, NameTable& table) {
  for (const std::string& line : ReadLines(path)) {
    if (IsCommentOrEmpty(line)) continue;
    size_t colon = line.find(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == line.size()) continue;
    // Folders of higher precedence were read first: their names stay.
    table.emplace(line.substr(0, colon), line.substr(colon + 1));
  }
}

void SharedMimeInfo::ChooseTypes(const std::vector<Pattern>& patterns) {
  std::unordered_map<std::string, size_t> chosen;  // extension -> its pattern
  std::vector<std::string> order;
  for (size_t i = 0; i < patterns.size(); ++i) {
    auto [entry, added] = chosen.emplace(patterns[i].extension, i);
    if (added)
      order.push_back(patterns[i].extension);
    else if (patterns[i].weight > patterns[entry->second].weight)
      entry->second = i;
  }
  extensions_.reserve(order.size());
  for (const std::string& extension : order)
    extensions_.push_back({extension, patterns[chosen[extension]].mimeType});
}

std::vector<std::string> SharedMimeInfo::IconNames(const std::string& mimeType) const {
  std::vector<std::string> names;
  if (auto icon = icons_.find(mimeType); icon != icons_.end()) AddUnique(names, icon->second);
  std::string dashed = mimeType;
  std::replace(dashed.begin(), dashed.end(), '/', '-');
  AddUnique(names, dashed);
  if (auto generic = genericIcons_.find(mimeType); generic != genericIcons_.end())
    AddUnique(names, generic->second);
  size_t slash = mimeType.find('/');
  if (slash != std::string::npos && slash > 0)
    AddUnique(names, mimeType.substr(0, slash) + "-x-generic");
  return names;
}

}  // namespace varnel
