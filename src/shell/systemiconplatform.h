#pragma once
// What the icon customisation asks of the system it customises. One implementation keeps the
// shell's icons in the registry layer, another in a user icon theme of the Linux desktop.

#include <string>
#include <vector>

#include "shell/iconlocation.h"
#include "shell/systemicontable.h"

namespace varnel {

// Shell display settings: as last applied, and as edited on the Settings page.
struct TCustomIconState {
  int iconSize = 32;
  int colorDepth = 4;
  int horizontalSpacing = 75;
  int verticalSpacing = 75;
  bool shortcutOverlays = true;

  bool operator==(const TCustomIconState&) const = default;
};

// A table row's values as the system holds them now.
struct SystemIconValues {
  std::string current;       // the icon location in use (may be empty)
  std::string defaultValue;  // the location of the system's default
  std::string caption;
};

// One shown entry: a table row with what the window has made of it.
struct TCustomIconFileInfo {
  int row = 0;  // index into SystemIconTable()
  std::string current;
  std::string pending;  // empty: no change; kDefaultMarker: restore the default; else a location
  std::string defaultValue;
  std::string caption;
};

inline constexpr const char* kDefaultMarker = "#DEFAULT#";

class SystemIconPlatform {
 public:
  virtual ~SystemIconPlatform() = default;

  virtual bool IsXp() const = 0;
  // Where names without a folder are looked up.
  virtual const LocationFolders& Folders() const = 0;

  virtual SystemIconValues ReadRow(int row) = 0;
  // Whether an entry built from these values is listed.
  virtual bool ShowsEntry(int row, const SystemIconValues& values) const = 0;
  // Drops the entries this system does not show although their files exist.
  virtual void DropHiddenEntries(std::vector<TCustomIconFileInfo>& entries) const = 0;

  virtual void WriteRow(int row, const std::string& location) = 0;
  // Puts the system default back; defaultValue is the entry's default.
  virtual void RestoreRow(int row, const std::string& defaultValue) = 0;

  // Whether the Settings page's size, depth and spacing mean anything here.
  virtual bool SettingsEditable() const = 0;
  virtual TCustomIconState ReadSettings() = 0;
  // Writes what differs between the two, in the shell's order.
  virtual void ApplySettings(const TCustomIconState& applied, const TCustomIconState& edited) = 0;

  virtual void RebuildIconCache() = 0;
  // Erases the icon cache file; false with its path when it exists and cannot be erased.
  virtual bool EraseIconCache(std::string& failedPath) = 0;
  virtual void RefreshShell() = 0;
  virtual void Restart() = 0;
  // Whether Restart restarts the system, so that asking before it means something.
  virtual bool CanRestart() const { return true; }
};

}  // namespace varnel
