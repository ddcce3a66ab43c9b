#pragma once
// The shell's icons on a Linux desktop: each table row stands for a freedesktop icon name, and a
// chosen icon is written as PNG files into the user icon theme "Varnel-Custom", which inherits
// the theme in use before and is made the desktop's icon theme. A record in the user data folder
// keeps the chosen locations and the theme names found before, so that restoring the last icon
// (or uninstalling) puts everything back.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/iconthemelookup.h"

#include "shell/systemiconplatform.h"

namespace varnel {

inline constexpr const char* kCustomThemeName = "Varnel-Custom";

// $XDG_DATA_HOME/icons/Varnel-Custom.
std::string CustomThemeFolder();

// Removes the custom theme with its record and gives every place back the theme it named before.
void RestoreDesktopIconTheme();

// Whether the desktop was switched to the custom theme (its record of the themes before exists).
bool CustomThemeInPlace();
// The question asked before the first icon is written: what is written where, and how it is
// taken back.
std::string CustomThemeSwitchQuestion();

class DesktopThemeIcons : public SystemIconPlatform {
 public:
  DesktopThemeIcons();
  ~DesktopThemeIcons() override;

  bool IsXp() const override { return false; }
  const LocationFolders& Folders() const override { return folders_; }
  SystemIconValues ReadRow(int row) override;
  bool ShowsEntry(int row, const SystemIconValues& values) const override;
  void DropHiddenEntries(std::vector<TCustomIconFileInfo>&) const override {}
  // The default of a row is the file of its icon in the theme shown before any choice, so
  // that an unchanged icon can be colourised or saved too; empty when the theme has none.
  // Raises Exception when the location gives no icon.
  void WriteRow(int row, const std::string& location) override;
  void RestoreRow(int row, const std::string& defaultValue) override;
  bool SettingsEditable() const override { return false; }
  TCustomIconState ReadSettings() override { return {}; }
  void ApplySettings(const TCustomIconState&, const TCustomIconState&) override {}
  void RebuildIconCache() override;
  bool EraseIconCache(std::string& failedPath) override;
  // Desktops reload a theme whose cache changed: refreshing is updating the cache.
  void RefreshShell() override { RebuildIconCache(); }
  void Restart() override {}
  bool CanRestart() const override { return false; }

 private:
  std::string ThemeFileOf(std::string_view name);

  LocationFolders folders_;
  std::unique_ptr<IconThemeLookup> lookup_;  // made on first use
};

}  // namespace varnel
