#pragma once
// The logic of the "Customize Windows Icons" window: the lists of the four icon pages, the edits
// that stay pending until Apply, Apply in the shell's order, and the Settings page's state.

#include <optional>
#include <string>
#include <vector>

#include "graphics/color.h"
#include "platform/userinterface.h"
#include "shell/systemiconplatform.h"

namespace varnel {

inline constexpr const char* kInvalidIconMessage = "Invalid icon. Can not save";
inline constexpr const char* kCannotEraseMessage = "Can not erase file: ";
inline constexpr const char* kRestartQuestion = "Restart Windows?";

// "Varnel/InstalledIcons" in the per-user data folder: where colourised icons go.
std::string InstalledIconsFolder();

class CustomIconsEditor {
 public:
  CustomIconsEditor(SystemIconPlatform& platform, UserInterface& ui);

  // Reads every row afresh (on opening and on F5); pending edits are dropped.
  void BuildLists();
  const std::vector<TCustomIconFileInfo>& Entries() const { return entries_; }
  // Indexes into Entries() of the entries shown on a page, in table order.
  std::vector<int> PageEntries(TIconPage page) const;
  // The entry showing a table row; -1 when it is not listed.
  int EntryOfRow(int row) const;
  bool PageShown(TIconPage page) const;

  // The location the list shows for an entry: the pending one, the default after "Default", else
  // the current one (the default when the current one is empty).
  std::string ShownLocation(int entry) const;
  // Where the icon picker and the icon sources start: the pending location, the default after
  // "Default", else the current one (the default when there is no current one).
  IconLocation SourceLocation(int entry) const;

  void Change(int entry, const IconLocation& chosen);
  void SetDefault(int entry);
  void RestoreAll(TIconPage page);
  // Recolours the entry's source icon into InstalledIcons; false after "Invalid icon".
  bool Colorize(int entry, TColor color);
  TColor LastColor() const { return lastColor_; }
  // Writes the entry's source icon as an icon file; false after "Invalid icon".
  bool SaveAs(int entry, const std::string& fileName);
  // The name the save dialog proposes: the folder of the previous name, the caption, ".ico".
  std::string ProposedSaveName(int entry) const;

  bool SettingsEditable() const { return platform_.SettingsEditable(); }
  const TCustomIconState& AppliedSettings() const { return applied_; }
  const TCustomIconState& EditedSettings() const { return edited_; }
  void EditSettings(const TCustomIconState& state);

  // "&Apply" is enabled while this holds.
  bool Modified() const { return modified_; }
  void Apply();

  // The Settings page's cache buttons.
  void RebuildIconCache();
  void Repair();

 private:
  void ApplyIcons();
  void ApplyEntry(TCustomIconFileInfo& entry);
  void AskRestart();
  std::unique_ptr<TAdvancedIcon> SourceIcon(int entry) const;

  SystemIconPlatform& platform_;
  UserInterface& ui_;
  std::vector<TCustomIconFileInfo> entries_;
  TCustomIconState applied_;
  TCustomIconState edited_;
  TColor lastColor_ = 0xFF0000;  // blue: colours are stored as 0x00BBGGRR
  std::string lastSaveName_;
  bool modified_ = false;
  bool rebuildCacheAtApply_ = false;
};

}  // namespace varnel
