// The names of icon files copied into folders and drive roots, and the stock icons shown for
// folders and drives without an icon of their own.

#include <algorithm>
#include <cctype>

#include "base/errors.h"
#include "shell/foldericon.h"
#include "shell/typedpath.h"

namespace varnel {

namespace {

// Longest file name (with ".ico") that fits beside folderPath.
constexpr size_t kMaxPathLength = 260;
constexpr size_t kExtraLength = 4;

std::string LowerAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

std::vector<std::string> NamesBelowDrive(const std::string& folderPath,
                                         const ShortNameLookup& shortName) {
  std::vector<std::string> names;
  std::string soFar = DriveLetterOf(folderPath).empty() ? "" : folderPath.substr(0, 2);
  for (const std::string& component : PathComponents(folderPath)) {
    soFar = JoinTypedPath(soFar.empty() && folderPath.starts_with('/') ? "/" : soFar, component);
    const std::string shortOne = shortName ? shortName(soFar) : std::string();
    names.push_back(LowerAscii(shortOne.empty() ? component : shortOne));
  }
  return names;
}

std::string Joined(const std::vector<std::string>& names, size_t first) {
  std::string joined;
  for (size_t i = first; i < names.size(); ++i) joined += (i > first ? "_" : "") + names[i];
  return joined;
}

}  // namespace

int StockIconOfFolder() {
  return 3;
}

int StockIconOfDrive(TDriveKind kind) {
  switch (kind) {
    case TDriveKind::dkRemovable:
      return 7;
    case TDriveKind::dkFixed:
      return 8;
    case TDriveKind::dkRemote:
      return 9;
    case TDriveKind::dkCDRom:
      return 11;
    case TDriveKind::dkRamDisk:
      return 12;
    default:
      return 10;
  }
}

std::string CopiedIconFileName(const std::string& folderPath, const ShortNameLookup& shortName) {
  const std::string drive = DriveLetterOf(folderPath);
  const std::vector<std::string> names = NamesBelowDrive(folderPath, shortName);
  const size_t used = folderPath.size() + kExtraLength + drive.size() + std::string(".ico").size();
  if (used + 1 >= kMaxPathLength)
    throw Exception("The folder path is too long to hold a copy of the icon: " + folderPath);
  const size_t room = kMaxPathLength - 1 - used;  // characters left for the joined names
  size_t first = 0;
  while (first + 1 < names.size() && Joined(names, first).size() > room) ++first;
  return drive + Joined(names, first).substr(0, room) + ".ico";
}

std::string CopiedDriveIconFileName(const std::string& rootPath) {
  return "AutoRun" + DriveLetterOf(rootPath) + ".ico";
}

}  // namespace varnel
