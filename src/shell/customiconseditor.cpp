#include "shell/customiconseditor.h"

#include <filesystem>

#include "icons/colorize.h"
#include "platform/folders.h"
#include "platform/textfunctions.h"
#include "platform/xdgdatafolders.h"

namespace varnel {

namespace {

const SystemIconRow& RowOf(const TCustomIconFileInfo& entry) {
  return SystemIconTable()[size_t(entry.row)];
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "" : path.substr(0, slash);
}

}  // namespace

std::string InstalledIconsFolder() {
  return PathJoin(UserDataFolder(), "Varnel/InstalledIcons");
}

CustomIconsEditor::CustomIconsEditor(SystemIconPlatform& platform, UserInterface& ui)
    : platform_(platform), ui_(ui) {
  applied_ = platform_.ReadSettings();
  edited_ = applied_;
}

void CustomIconsEditor::BuildLists() {
  entries_.clear();
  auto table = SystemIconTable();
  for (int row = 0; row < int(table.size()); ++row) {
    if (!RowUsedOn(table[size_t(row)], platform_.IsXp())) continue;
    SystemIconValues values = platform_.ReadRow(row);
    if (!platform_.ShowsEntry(row, values)) continue;
    entries_.push_back({row, values.current, "", values.defaultValue, values.caption});
  }
  platform_.DropHiddenEntries(entries_);
}

std::vector<int> CustomIconsEditor::PageEntries(TIconPage page) const {
  std::vector<int> shown;
  for (int i = 0; i < int(entries_.size()); ++i)
    if (RowOf(entries_[size_t(i)]).page == page) shown.push_back(i);
  return shown;
}

int CustomIconsEditor::EntryOfRow(int row) const {
  for (int i = 0; i < int(entries_.size()); ++i)
    if (entries_[size_t(i)].row == row) return i;
  return -1;
}

bool CustomIconsEditor::PageShown(TIconPage page) const {
  return !(page == TIconPage::StartMenu && platform_.IsXp());
}

std::string CustomIconsEditor::ShownLocation(int entry) const {
  const TCustomIconFileInfo& info = entries_.at(size_t(entry));
  if (info.pending == kDefaultMarker) return info.defaultValue;
  if (!info.pending.empty()) return info.pending;
  return info.current.empty() ? info.defaultValue : info.current;
}

IconLocation CustomIconsEditor::SourceLocation(int entry) const {
  const TCustomIconFileInfo& info = entries_.at(size_t(entry));
  std::string text = info.pending.empty() ? info.current : info.pending;
  if (text == kDefaultMarker || text.empty()) text = info.defaultValue;
  return ReadIconLocation(text, platform_.Folders());
}

void CustomIconsEditor::Change(int entry, const IconLocation& chosen) {
  entries_.at(size_t(entry)).pending = IconLocationText(chosen);
  modified_ = true;
}

void CustomIconsEditor::SetDefault(int entry) {
  entries_.at(size_t(entry)).pending = kDefaultMarker;
  modified_ = true;
}

void CustomIconsEditor::RestoreAll(TIconPage page) {
  for (int entry : PageEntries(page)) SetDefault(entry);
}

std::unique_ptr<TAdvancedIcon> CustomIconsEditor::SourceIcon(int entry) const {
  auto icon = LoadLocationIcon(SourceLocation(entry));
  if (!icon) ui_.ShowMessage(MakeMessage(TMessageKind::Error, kInvalidIconMessage));
  return icon;
}

bool CustomIconsEditor::Colorize(int entry, TColor color) {
  lastColor_ = color;
  auto icon = SourceIcon(entry);
  if (!icon) return false;
  ColorizeIcon(*icon, color);
  std::string folder = InstalledIconsFolder();
  std::filesystem::create_directories(folder);
  TCustomIconFileInfo& info = entries_.at(size_t(entry));
  std::string file = PathJoin(folder, ColorizedIconFileName(RowOf(info)));
  icon->SaveToFile(file);
  info.pending = IconLocationText({file, 0});
  if (SameText(info.pending, info.current)) rebuildCacheAtApply_ = true;
  modified_ = true;
  return true;
}

bool CustomIconsEditor::SaveAs(int entry, const std::string& fileName) {
  auto icon = SourceIcon(entry);
  if (!icon) return false;
  icon->SaveToFile(fileName);
  lastSaveName_ = fileName;
  return true;
}

std::string CustomIconsEditor::ProposedSaveName(int entry) const {
  std::string name = entries_.at(size_t(entry)).caption + ".ico";
  std::string folder = FolderOf(lastSaveName_);
  return folder.empty() ? name : PathJoin(folder, name);
}

void CustomIconsEditor::EditSettings(const TCustomIconState& state) {
  edited_ = state;
  modified_ = true;
}

void CustomIconsEditor::Apply() {
  bool depthChanged = edited_.colorDepth != applied_.colorDepth;
  if (!(edited_ == applied_)) {
    platform_.ApplySettings(applied_, edited_);
    applied_ = edited_;
  }
  ApplyIcons();
  modified_ = false;
  if (depthChanged) AskRestart();
}

void CustomIconsEditor::ApplyIcons() {
  bool stockChanged = false;
  bool anyChanged = false;
  for (TCustomIconFileInfo& entry : entries_) {
    if (entry.pending.empty()) continue;
    ApplyEntry(entry);
    anyChanged = true;
    stockChanged = stockChanged || IsStockRow(RowOf(entry));
  }
  if (stockChanged || rebuildCacheAtApply_) platform_.RebuildIconCache();
  rebuildCacheAtApply_ = false;
  if (anyChanged) platform_.RefreshShell();
}

void CustomIconsEditor::ApplyEntry(TCustomIconFileInfo& entry) {
  if (entry.pending == kDefaultMarker) {
    platform_.RestoreRow(entry.row, entry.defaultValue);
    entry.current = entry.defaultValue;
  } else {
    platform_.WriteRow(entry.row, entry.pending);
    entry.current = entry.pending;
  }
  entry.pending.clear();
}

void CustomIconsEditor::RebuildIconCache() {
  platform_.RebuildIconCache();
}

void CustomIconsEditor::Repair() {
  std::string failed;
  if (!platform_.EraseIconCache(failed))
    ui_.ShowMessage(MakeMessage(TMessageKind::Error, kCannotEraseMessage + failed));
  AskRestart();
}

void CustomIconsEditor::AskRestart() {
  if (!platform_.CanRestart()) return;  // a desktop theme needs no restart
  if (ui_.ShowMessage(MakeMessage(TMessageKind::Query, kRestartQuestion, mbYesNo)) ==
      TModalResult::mrYes)
    platform_.Restart();
}

}  // namespace varnel
