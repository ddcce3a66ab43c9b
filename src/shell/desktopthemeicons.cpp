#include "shell/desktopthemeicons.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "base/errors.h"
#include "base/fileio.h"
#include "platform/desktopiconthemesetting.h"
#include "platform/externalprogram.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/xdgdatafolders.h"
#include "shell/iconlocationtext.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kIconsSection = "Icons";
constexpr const char* kPreviousSection = "PreviousTheme";
constexpr const char* kFallbackTheme = "hicolor";

std::string RecordFile() {
  return PathJoin(UserDataFolder(), "Varnel/customicons.ini");
}

std::string_view NameOfRow(int row) {
  return SystemIconTable()[size_t(row)].linuxName;
}

// The context folder an icon name belongs in, as icon themes sort them.
std::string ContextOf(std::string_view name) {
  for (std::string_view prefix : {"drive-", "media-", "computer", "modem", "printer"})
    if (name.starts_with(prefix)) return "devices";
  if (name.starts_with("emblem-")) return "emblems";
  for (std::string_view prefix : {"folder", "user-", "network-"})
    if (name.starts_with(prefix)) return "places";
  for (std::string_view prefix : {"text-", "application-", "x-office-", "unknown"})
    if (name.starts_with(prefix)) return "mimetypes";
  return "apps";
}

std::string ContextTitle(const std::string& context) {
  static const std::map<std::string, std::string> titles = {{"devices", "Devices"},
                                                            {"emblems", "Emblems"},
                                                            {"places", "Places"},
                                                            {"mimetypes", "MimeTypes"},
                                                            {"apps", "Applications"}};
  return titles.at(context);
}

// The theme the desktop shows now, other than the custom one.
std::string ThemeInUse() {
  for (TIconThemePlace place : AllIconThemePlaces()) {
    auto name = ReadIconThemeSetting(place);
    if (name && !name->empty() && *name != kCustomThemeName) return *name;
  }
  return kFallbackTheme;
}

// Records the theme every place names and makes them all name the custom theme; once only.
void SwitchToCustomTheme(TIniFile& record) {
  if (record.SectionExists(kPreviousSection)) return;
  record.WriteString(kPreviousSection, "inherits", ThemeInUse());
  for (TIconThemePlace place : AllIconThemePlaces()) {
    if (!IconThemePlaceInUse(place)) continue;
    record.WriteString(kPreviousSection, IconThemePlaceName(place),
                       ReadIconThemeUserSetting(place).value_or(""));
  }
  record.UpdateFile();
  for (TIconThemePlace place : AllIconThemePlaces())
    if (record.ValueExists(kPreviousSection, IconThemePlaceName(place)))
      WriteIconThemeSetting(place, kCustomThemeName);
}

// The "<w>x<h>/<context>" folders of the theme that hold icons.
std::vector<std::string> ThemeDirectories() {
  std::vector<std::string> directories;
  std::error_code error;
  for (const auto& size : fs::directory_iterator(CustomThemeFolder(), error)) {
    if (!size.is_directory()) continue;
    for (const auto& context : fs::directory_iterator(size.path(), error))
      if (context.is_directory() && !fs::is_empty(context.path(), error))
        directories.push_back(size.path().filename().string() + "/" +
                              context.path().filename().string());
  }
  std::sort(directories.begin(), directories.end());
  return directories;
}

void WriteIndexTheme(const std::string& inherits) {
  std::string text = "[Icon Theme]\nName=" + std::string(kCustomThemeName) +
                     "\nComment=Icons chosen in Varnel\nInherits=" + inherits;
  if (inherits != kFallbackTheme) text += std::string(",") + kFallbackTheme;
  std::vector<std::string> directories = ThemeDirectories();
  text += "\nDirectories=";
  for (size_t i = 0; i < directories.size(); ++i) text += (i ? "," : "") + directories[i];
  text += "\n";
  for (const std::string& directory : directories) {
    std::string size = directory.substr(0, directory.find('x'));
    std::string context = directory.substr(directory.find('/') + 1);
    text += "\n[" + directory + "]\nSize=" + size + "\nContext=" + ContextTitle(context) +
            "\nType=Fixed\n";
  }
  WriteFileAtomic(PathJoin(CustomThemeFolder(), "index.theme"),
                  std::vector<uint8_t>(text.begin(), text.end()));
}

void RemoveIconFiles(std::string_view name) {
  std::error_code error;
  for (const std::string& directory : ThemeDirectories()) {
    fs::path folder = fs::path(CustomThemeFolder()) / directory;
    fs::remove(folder / (std::string(name) + ".png"), error);
    if (fs::is_empty(folder, error)) fs::remove(folder, error);
  }
}

// The image of each size with the most colours.
std::map<std::pair<int, int>, const TSubIcon*> LargestDepthPerSize(const TAdvancedIcon& icon) {
  std::map<std::pair<int, int>, const TSubIcon*> chosen;
  for (int i = 0; i < icon.Images().Count(); ++i) {
    const TSubIcon* image = icon.Images()[i];
    auto& slot = chosen[{image->ImageWidth(), image->ImageHeight()}];
    if (!slot || image->BitsPerPixel() > slot->BitsPerPixel()) slot = image;
  }
  return chosen;
}

void WriteIconFiles(const TAdvancedIcon& icon, std::string_view name) {
  std::string context = ContextOf(name);
  for (const auto& [size, image] : LargestDepthPerSize(icon)) {
    fs::path folder = fs::path(CustomThemeFolder()) /
                      (std::to_string(size.first) + "x" + std::to_string(size.second)) / context;
    fs::create_directories(folder);
    WriteFileAtomic((folder / (std::string(name) + ".png")).string(), image->SaveToPng());
  }
}

void UpdateIconCache() {
  std::error_code error;
  if (!fs::exists(PathJoin(CustomThemeFolder(), "index.theme"), error)) return;
  if (FindProgramOnPath("gtk-update-icon-cache").empty()) return;
  RunProgramOutput({"gtk-update-icon-cache", "-f", "-q", CustomThemeFolder()});
}

}  // namespace

std::string CustomThemeFolder() {
  return PathJoin(UserDataFolder(), std::string("icons/") + kCustomThemeName);
}

void RestoreDesktopIconTheme() {
  TIniFile record(RecordFile());
  for (TIconThemePlace place : AllIconThemePlaces()) {
    std::string key = IconThemePlaceName(place);
    if (!record.ValueExists(kPreviousSection, key)) continue;
    std::string name = record.ReadString(kPreviousSection, key, "");
    WriteIconThemeSetting(place, name.empty() ? std::nullopt : std::optional<std::string>(name));
  }
  std::error_code error;
  fs::remove_all(CustomThemeFolder(), error);
  fs::remove(RecordFile(), error);
}

bool CustomThemeInPlace() {
  return TIniFile(RecordFile()).SectionExists(kPreviousSection);
}

std::string CustomThemeSwitchQuestion() {
  std::string places;
  for (TIconThemePlace place : AllIconThemePlaces())
    if (IconThemePlaceInUse(place)) places += "\n- " + IconThemePlaceLocation(place);
  return std::string(
             "Apply changes the desktop's icon theme. The chosen icons are written as "
             "PNG files into the icon theme \"") +
         kCustomThemeName + "\" (" + CustomThemeFolder() + "), which inherits the theme \"" +
         ThemeInUse() + "\" shown now, and the desktop is told to use it in:" + places +
         "\nThe theme names found there are kept in " + RecordFile() +
         ". \"Restore All\" on every page whose icons were changed, then Apply, puts them back "
         "and removes the theme (as \"varnel -uninstall\" does). Continue?";
}

DesktopThemeIcons::DesktopThemeIcons() {
  folders_.fileExists = [](const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
  };
}

DesktopThemeIcons::~DesktopThemeIcons() = default;

std::string DesktopThemeIcons::ThemeFileOf(std::string_view name) {
  if (name.empty()) return "";
  if (!lookup_) {
    std::string theme = TIniFile(RecordFile()).ReadString(kPreviousSection, "inherits", "");
    lookup_ = std::make_unique<IconThemeLookup>(IconThemeLookup::DefaultIconFolders(),
                                                theme.empty() ? ThemeInUse() : theme);
  }
  std::string file = lookup_->Find({std::string(name)});
  return file.empty() ? "" : IconLocationText({file, 0});
}

SystemIconValues DesktopThemeIcons::ReadRow(int row) {
  TIniFile record(RecordFile());
  std::string_view name = NameOfRow(row);
  return {record.ReadString(kIconsSection, std::string(name), ""), ThemeFileOf(name),
          FullCaption(SystemIconTable()[size_t(row)])};
}

bool DesktopThemeIcons::ShowsEntry(int row, const SystemIconValues&) const {
  return !NameOfRow(row).empty();
}

void DesktopThemeIcons::WriteRow(int row, const std::string& location) {
  std::string_view name = NameOfRow(row);
  auto icon = LoadLocationIcon(ReadIconLocation(location, folders_));
  if (!icon || name.empty()) throw Exception("No icon found in " + location);
  fs::create_directories(RecordFile().substr(0, RecordFile().rfind('/')));
  TIniFile record(RecordFile());
  SwitchToCustomTheme(record);
  RemoveIconFiles(name);
  WriteIconFiles(*icon, name);
  WriteIndexTheme(record.ReadString(kPreviousSection, "inherits", kFallbackTheme));
  record.WriteString(kIconsSection, std::string(name), location);
  record.UpdateFile();
}

void DesktopThemeIcons::RestoreRow(int row, const std::string&) {
  std::string name(NameOfRow(row));
  TIniFile record(RecordFile());
  if (!record.ValueExists(kIconsSection, name)) return;
  RemoveIconFiles(name);
  record.DeleteKey(kIconsSection, name);
  if (record.ReadSectionKeys(kIconsSection).empty()) {
    RestoreDesktopIconTheme();
    return;
  }
  record.UpdateFile();
  WriteIndexTheme(record.ReadString(kPreviousSection, "inherits", kFallbackTheme));
}

void DesktopThemeIcons::RebuildIconCache() {
  UpdateIconCache();
}

bool DesktopThemeIcons::EraseIconCache(std::string& failedPath) {
  std::string cache = PathJoin(CustomThemeFolder(), "icon-theme.cache");
  std::error_code error;
  if (!fs::exists(cache, error) || fs::remove(cache, error)) return true;
  failedPath = cache;
  return false;
}

}  // namespace varnel
