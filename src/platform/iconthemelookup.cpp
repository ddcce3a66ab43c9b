#include "platform/iconthemelookup.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "base/fileio.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/textfunctions.h"
#include "platform/xdgdatafolders.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kLastTheme = "hicolor";
constexpr int kMaxInheritanceDepth = 16;
constexpr int64_t kMaxIndexFile = 1 << 20;
// Files looked at per theme folder: icon folders hold a few thousand.
constexpr int kMaxFilesPerFolder = 200000;
const std::vector<std::string> kIconExtensions = {".png", ".svg"};

bool IsIconExtension(const std::string& extension) {
  return std::find(kIconExtensions.begin(), kIconExtensions.end(), extension) !=
         kIconExtensions.end();
}

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> items;
  std::stringstream stream(text);
  for (std::string item; std::getline(stream, item, ',');)
    if (std::string trimmed = Trim(item); !trimmed.empty()) items.push_back(trimmed);
  return items;
}

// The pixel size a folder's icons are drawn at when made as large as the folder allows.
int LargestSizeOf(const TIniFile& index, const std::string& folder) {
  int size = index.ReadIntegerInRange(folder, "Size", 0, 1, 1 << 16);
  if (size <= 0) return 0;
  int scale = index.ReadIntegerInRange(folder, "Scale", 1, 1, 16);
  if (SameText(index.ReadString(folder, "Type", "Threshold"), "Scalable"))
    size = index.ReadIntegerInRange(folder, "MaxSize", size, 1, 1 << 16);
  return size * scale;
}

}  // namespace

struct IconThemeLookup::Theme {
  struct Candidate {
    std::string path;
    int size = 0;
  };
  bool exists = false;
  std::vector<std::string> parents;
  std::unordered_map<std::string, Candidate> icons;  // the largest file of each name

  void AddFolder(const std::string& path, int size) {
    std::error_code error;
    fs::directory_iterator entries(path, error), end;
    for (int seen = 0; !error && entries != end && seen < kMaxFilesPerFolder;
         entries.increment(error), ++seen) {
      const fs::path& file = entries->path();
      if (!IsIconExtension(file.extension().string())) continue;
      Candidate& best = icons[file.stem().string()];
      if (best.path.empty() || size > best.size) best = {file.string(), size};
    }
  }
};

IconThemeLookup::IconThemeLookup(std::vector<std::string> iconFolders, std::string themeName)
    : iconFolders_(std::move(iconFolders)), themeName_(std::move(themeName)) {}

IconThemeLookup::~IconThemeLookup() = default;
IconThemeLookup::IconThemeLookup(IconThemeLookup&&) noexcept = default;
IconThemeLookup& IconThemeLookup::operator=(IconThemeLookup&&) noexcept = default;

std::vector<std::string> IconThemeLookup::DefaultIconFolders() {
  std::vector<std::string> folders;
  if (const char* home = std::getenv("HOME"); home && *home == '/')
    folders.push_back(PathJoin(home, ".icons"));
  for (const std::string& data : DataFolders()) folders.push_back(PathJoin(data, "icons"));
  folders.push_back("/usr/share/pixmaps");
  return folders;
}

const IconThemeLookup::Theme& IconThemeLookup::LoadTheme(const std::string& name) {
  auto& slot = themes_[name];
  if (slot) return *slot;
  slot = std::make_unique<Theme>();
  Theme& theme = *slot;
  if (name.empty() || name.find('/') != std::string::npos || name == "." || name == "..")
    return theme;
  for (const std::string& base : iconFolders_) {
    std::string indexPath = PathJoin(PathJoin(base, name), "index.theme");
    int64_t size = FileSizeOf(indexPath);
    if (size < 0 || size > kMaxIndexFile) continue;
    TIniFile index(indexPath);
    theme.exists = true;
    theme.parents = SplitList(index.ReadString("Icon Theme", "Inherits", ""));
    std::vector<std::string> folders = SplitList(index.ReadString("Icon Theme", "Directories", ""));
    for (const std::string& folder :
         SplitList(index.ReadString("Icon Theme", "ScaledDirectories", "")))
      folders.push_back(folder);
    // The theme's files may be spread over several icon folders; the first index.theme rules.
    for (const std::string& folder : folders) {
      int largest = LargestSizeOf(index, folder);
      if (largest <= 0) continue;
      for (const std::string& root : iconFolders_)
        theme.AddFolder(PathJoin(PathJoin(root, name), folder), largest);
    }
    break;
  }
  return theme;
}

void IconThemeLookup::AddToChain(const std::string& name, int depth) {
  if (depth > kMaxInheritanceDepth || name == kLastTheme) return;
  if (std::find(chain_.begin(), chain_.end(), name) != chain_.end()) return;
  const Theme& theme = LoadTheme(name);
  if (!theme.exists) return;
  chain_.push_back(name);
  for (const std::string& parent : theme.parents) AddToChain(parent, depth + 1);
}

const std::vector<std::string>& IconThemeLookup::ThemeChain() {
  if (chainBuilt_) return chain_;
  chainBuilt_ = true;
  AddToChain(themeName_, 0);
  if (LoadTheme(kLastTheme).exists) chain_.push_back(kLastTheme);
  return chain_;
}

std::string IconThemeLookup::FindUnthemed(const std::string& name) const {
  std::error_code error;
  for (const std::string& base : iconFolders_)
    for (const std::string& extension : kIconExtensions)
      if (std::string path = PathJoin(base, name + extension); fs::is_regular_file(path, error))
        return path;
  return {};
}

std::string IconThemeLookup::Find(const std::vector<std::string>& names) {
  const std::vector<std::string>& chain = ThemeChain();
  for (const std::string& name : names) {
    if (name.empty() || name.find('/') != std::string::npos) continue;
    for (const std::string& themeName : chain) {
      const Theme& theme = *themes_.at(themeName);
      if (auto icon = theme.icons.find(name); icon != theme.icons.end()) return icon->second.path;
    }
    if (std::string path = FindUnthemed(name); !path.empty()) return path;
  }
  return {};
}

}  // namespace varnel
