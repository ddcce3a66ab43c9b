#include "shell/registryshellicons.h"

#include <filesystem>

#include "platform/textfunctions.h"

namespace varnel {

namespace {

constexpr TRootKey HKCR = TRootKey::HKEY_CLASSES_ROOT;
constexpr TRootKey HKCU = TRootKey::HKEY_CURRENT_USER;
constexpr TRootKey HKLM = TRootKey::HKEY_LOCAL_MACHINE;

constexpr const char* kShellIconsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Icons";
constexpr const char* kVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kExplorerClassKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{%s}\\DefaultIcon";
constexpr const char* kUserClassKey = "Software\\Classes\\CLSID\\{%s}\\DefaultIcon";
constexpr const char* kRootClassKey = "CLSID\\{%s}\\DefaultIcon";
constexpr const char* kDefaultsRecordKey = "Software\\Tamberly\\CustomIcons\\DefaultIcons";
constexpr const char* kDesktopOnBrowserKey =
    "Software\\Microsoft\\Internet Explorer\\AdvancedOptions\\BROWSE\\IEONDESKTOP";
constexpr const char* kMetricsKey = "Control Panel\\Desktop\\WindowMetrics";
constexpr const char* kShortcutKey = "lnkfile";

// Rows the rules name.
constexpr int kMyComputer = 0;
constexpr int kRecycleFull = 2;
constexpr int kRecycleEmpty = 3;
constexpr int kMyDocuments = 4;
constexpr int kBriefcase = 5;
constexpr int kControlPanel = 7;
constexpr int kPrinters = 8;
constexpr int kDialUp = 12;
constexpr int kInternet = 13;
constexpr int kInternetExplorer = 14;
constexpr int kCloseSession = 48;

const SystemIconRow& Row(int row) {
  return SystemIconTable()[size_t(row)];
}

std::string ClassKey(const char* pattern, int row) {
  std::string key = pattern;
  key.replace(key.find("%s"), 2, Row(row).key);
  return key;
}

bool IsRecycleRow(int row) {
  return row == kRecycleFull || row == kRecycleEmpty;
}

int TextAsNumber(const std::string& text, int fallback) {
  return TryParseInteger(text).value_or(fallback);
}

}  // namespace

RegistryShellIcons::RegistryShellIcons(TRegistryStore& store, RegistryShellSetup setup)
    : store_(store) {
  folders_.windowsFolder = setup.windowsFolder;
  folders_.systemFolder = setup.systemFolder;
  folders_.fileExists = [](const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(HostPath(path), error);
  };
  classes_ = ClassifySystem(setup.version, Read({HKLM, kVersionKey}, "Version"));
}

std::string RegistryShellIcons::Read(const KeyPlace& place, const std::string& name) const {
  TRegistry registry(store_);
  registry.SetRootKey(place.root);
  if (!registry.OpenKeyReadOnly("\\" + place.key)) return "";
  try {
    return registry.ReadString(name);
  } catch (const ERegistryError&) {
    return "";
  }
}

void RegistryShellIcons::Write(const KeyPlace& place, const std::string& name,
                               const std::string& value) {
  TRegistry registry(store_);
  registry.SetRootKey(place.root);
  if (registry.OpenKey("\\" + place.key, true)) registry.WriteString(name, value);
}

bool RegistryShellIcons::HasValue(const KeyPlace& place, const std::string& name) const {
  TRegistry registry(store_);
  registry.SetRootKey(place.root);
  return registry.OpenKeyReadOnly("\\" + place.key) && registry.ValueExists(name);
}

RegistryShellIcons::KeyPlace RegistryShellIcons::CurrentIconKey(int row) const {
  bool explorerKey =
      classes_.nt5 && (row == kMyComputer || row == kMyDocuments || IsRecycleRow(row));
  return {HKCU, ClassKey(explorerKey ? kExplorerClassKey : kUserClassKey, row)};
}

RegistryShellIcons::KeyPlace RegistryShellIcons::WriteIconKey(int row) const {
  if (classes_.win95) return {HKCR, ClassKey(kRootClassKey, row)};
  if (classes_.nt5) return CurrentIconKey(row);
  return {HKCU, ClassKey(kUserClassKey, row)};
}

SystemIconValues RegistryShellIcons::ReadRow(int row) {
  const SystemIconRow& info = Row(row);
  SystemIconValues values;
  if (IsStockRow(info)) {
    std::string index = std::to_string(StockIndex(info));
    values.current = Read({HKLM, kShellIconsKey}, index);
    values.defaultValue = folders_.systemFolder + "\\shell32.dll," + index;
    values.caption = std::string(info.caption);
    return values;
  }
  values.current = Read(CurrentIconKey(row), std::string(info.valueName));
  values.defaultValue = DefaultOfClassRow(row);
  values.caption = Read({HKCR, "CLSID\\{" + std::string(info.key) + "}"}, "");
  if (values.caption.empty()) values.caption = std::string(info.caption);
  if (!info.suffix.empty()) values.caption += " " + std::string(info.suffix);
  return values;
}

std::string RegistryShellIcons::SystemDefault(int row) const {
  std::string value = Read({HKCR, ClassKey(kRootClassKey, row)}, std::string(Row(row).valueName));
  if (value.empty() && row == kInternetExplorer && !classes_.xp)
    value = Read({HKCR, "CLSID\\{" + std::string(Row(row).key) + "}\\shell\\OpenHomePage\\Command"},
                 "");
  return value;
}

std::string RegistryShellIcons::RecordedDefault(int row) {
  std::string name = std::string(Row(row).key) + std::string(Row(row).valueName);
  KeyPlace record{HKCU, kDefaultsRecordKey};
  if (HasValue(record, name)) return Read(record, name);
  std::string value = SystemDefault(row);
  Write(record, name, value);
  return value;
}

std::optional<std::string> RegistryShellIcons::FixedNt5Default(int row) const {
  switch (row) {
    case kMyDocuments:
      return "%SystemRoot%\\System32\\mydocs.dll,0";
    case kRecycleEmpty:
      return "%SystemRoot%\\System32\\shell32.dll,31";
    case kRecycleFull:
      return "%SystemRoot%\\System32\\shell32.dll,32";
    case kBriefcase:
      return "%SystemRoot%\\System32\\syncui.dll,0";
    case kMyComputer:
      return "%SystemRoot%\\EXPLORER.EXE,0";
  }
  if (!classes_.xp) return std::nullopt;
  switch (row) {
    case kControlPanel:
      return "%SystemRoot%\\System32\\shell32.dll,-137";
    case kPrinters:
      return "%SystemRoot%\\System32\\shell32.dll,-138";
    case kDialUp:
      return "%SystemRoot%\\System32\\netshell.dll";
    case kInternetExplorer:
      return Read(
          {HKLM, "Software\\Classes\\CLSID\\{" + std::string(Row(row).key) + "}\\DefaultIcon"}, "");
  }
  return std::nullopt;
}

std::string RegistryShellIcons::DefaultOfClassRow(int row) {
  if (classes_.win95) return RecordedDefault(row);
  if (classes_.nt5) {
    if (auto fixed = FixedNt5Default(row)) return *fixed;
  }
  return SystemDefault(row);
}

bool RegistryShellIcons::FileOfLocationExists(const std::string& location) const {
  if (location.empty()) return false;
  return folders_.fileExists(ReadIconLocation(location, folders_).file);
}

bool RegistryShellIcons::ShowsEntry(int, const SystemIconValues& values) const {
  return FileOfLocationExists(values.current) || FileOfLocationExists(values.defaultValue);
}

void RegistryShellIcons::DropHiddenEntries(std::vector<TCustomIconFileInfo>& entries) const {
  std::string explorerCurrent;
  for (const TCustomIconFileInfo& entry : entries)
    if (entry.row == kInternetExplorer) explorerCurrent = entry.current;
  std::string desktopPath = LowerCase(Read({HKLM, kDesktopOnBrowserKey}, "RegPath"));
  bool dropInternet = !explorerCurrent.empty() &&
                      desktopPath.find(LowerCase(Row(kInternetExplorer).key)) != std::string::npos;
  std::erase_if(entries, [&](const TCustomIconFileInfo& entry) {
    return (dropInternet && entry.row == kInternet) ||
           (classes_.ntFamily && entry.row == kCloseSession);
  });
}

void RegistryShellIcons::WriteRow(int row, const std::string& location) {
  if (IsStockRow(Row(row)))
    Write({HKLM, kShellIconsKey}, std::to_string(StockIndex(Row(row))), location);
  else
    WriteClassRow(row, location);
}

void RegistryShellIcons::WriteClassRow(int row, const std::string& location) {
  KeyPlace place = WriteIconKey(row);
  std::string valueName(Row(row).valueName);
  bool showsNamedValue = !valueName.empty() && Read(place, "") == Read(place, valueName);
  Write(place, valueName, location);
  if (showsNamedValue) Write(place, "", location);
}

void RegistryShellIcons::RestoreRow(int row, const std::string& defaultValue) {
  const SystemIconRow& info = Row(row);
  if (IsStockRow(info)) {
    TRegistry registry(store_);
    registry.SetRootKey(HKLM);
    if (registry.OpenKey("\\" + std::string(kShellIconsKey), false))
      registry.DeleteValue(std::to_string(StockIndex(info)));
    return;
  }
  if (classes_.win95 || (classes_.nt5 && IsRecycleRow(row)))
    WriteClassRow(row, defaultValue);
  else if (classes_.nt5 && row == kMyDocuments)
    Write({HKCU, ClassKey(kExplorerClassKey, row)}, "", defaultValue);
  else
    DeleteClassRow(row, WriteIconKey(row));
}

void RegistryShellIcons::DeleteClassRow(int row, const KeyPlace& place) {
  TRegistry registry(store_);
  registry.SetRootKey(place.root);
  if (!registry.OpenKey("\\" + place.key, false)) return;
  std::string valueName(Row(row).valueName);
  registry.DeleteValue(valueName);
  if (!valueName.empty()) registry.DeleteValue("");
  if (registry.GetValueNames().empty() && registry.GetKeyNames().empty()) {
    registry.CloseKey();
    registry.DeleteKey("\\" + place.key);
  }
}

TCustomIconState RegistryShellIcons::ReadSettings() {
  TCustomIconState state;
  KeyPlace metrics{HKCU, kMetricsKey};
  state.iconSize = TextAsNumber(Read(metrics, "Shell Icon Size"), 32);
  state.colorDepth = TextAsNumber(Read(metrics, "Shell Icon BPP"), 4);
  state.horizontalSpacing = TextAsNumber(Read(metrics, "IconSpacing"), 75);
  state.verticalSpacing = TextAsNumber(Read(metrics, "IconVerticalSpacing"), 75);
  state.shortcutOverlays = HasValue({HKCR, kShortcutKey}, "IsShortcut");
  return state;
}

void RegistryShellIcons::ApplySettings(const TCustomIconState& applied,
                                       const TCustomIconState& edited) {
  KeyPlace metrics{HKCU, kMetricsKey};
  if (edited.iconSize != applied.iconSize)
    Write(metrics, "Shell Icon Size", std::to_string(edited.iconSize));
  if (edited.colorDepth != applied.colorDepth)
    Write(metrics, "Shell Icon BPP", std::to_string(edited.colorDepth));
  if (edited.horizontalSpacing != applied.horizontalSpacing ||
      edited.verticalSpacing != applied.verticalSpacing) {
    Write(metrics, "IconSpacing", std::to_string(edited.horizontalSpacing));
    Write(metrics, "IconVerticalSpacing", std::to_string(edited.verticalSpacing));
    calls_.push_back(TShellCall::IconMetricsSet);
  }
  bool overlaysChanged = edited.shortcutOverlays != applied.shortcutOverlays;
  if (overlaysChanged) {
    TRegistry registry(store_);
    registry.SetRootKey(HKCR);
    if (registry.OpenKey(kShortcutKey, false)) {
      if (edited.shortcutOverlays)
        registry.WriteString("IsShortcut", "");
      else
        registry.DeleteValue("IsShortcut");
    }
    RebuildIconCache();
  }
  calls_.push_back(TShellCall::SettingChange);
  if (overlaysChanged) RefreshShell();
}

std::string RegistryShellIcons::IconCacheFile() const {
  return HostPath(folders_.windowsFolder) + "/ShellIconCache";
}

void RegistryShellIcons::RebuildIconCache() {
  std::error_code error;
  std::filesystem::remove(IconCacheFile(), error);
  KeyPlace metrics{HKCU, kMetricsKey};
  std::string size = Read(metrics, "Shell Icon Size");
  Write(metrics, "Shell Icon Size", std::to_string(TextAsNumber(size, 32) + 1));
  calls_.push_back(TShellCall::SettingChange);
  Write(metrics, "Shell Icon Size", size.empty() ? "32" : size);
  calls_.push_back(TShellCall::SettingChange);
  RefreshShell();
}

bool RegistryShellIcons::EraseIconCache(std::string& failedPath) {
  std::error_code error;
  std::string file = IconCacheFile();
  if (!std::filesystem::exists(file, error)) return true;
  if (std::filesystem::remove(file, error)) return true;
  failedPath = file;
  return false;
}

void RegistryShellIcons::RefreshShell() {
  calls_.push_back(TShellCall::Refresh);
}

void RegistryShellIcons::Restart() {
  if (classes_.ntFamily) calls_.push_back(TShellCall::ShutdownPrivilege);
  calls_.push_back(TShellCall::Restart);
}

}  // namespace varnel
