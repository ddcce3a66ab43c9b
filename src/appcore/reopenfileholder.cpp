#include "appcore/reopenfileholder.h"

#include <algorithm>
#include <filesystem>

#include "appcore/shortenmiddle.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/mounttable.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

constexpr std::string_view kImportMarker = " /Import ";
constexpr int kCaptionLimit = 40;
constexpr int kHintLimit = 100;

bool HasImportMarker(const std::string& entry) {
  size_t at = entry.find(kImportMarker);
  return at != std::string::npos && at > 0;
}

std::string DoubleAmpersands(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '&') out += '&';
  }
  return out;
}

// Entries are told apart ignoring letter case, as file names were where the list began.
std::vector<std::string>::iterator FindEntry(std::vector<std::string>& files,
                                             const std::string& name) {
  return std::find_if(files.begin(), files.end(),
                      [&](const std::string& entry) { return SameText(entry, name); });
}

bool IsVanishedLocalFile(const std::string& entry, const TMountTable& mounts) {
  if (HasImportMarker(entry)) return false;
  if (mounts.DriveKindOf(entry) != TDriveKind::dkFixed) return false;
  std::error_code error;
  return !std::filesystem::is_regular_file(entry, error);
}

}  // namespace

void TReopenFileHolder::LoadList(const TIniFile& ini) {
  LoadList(ini, TMountTable::Current());
}

void TReopenFileHolder::LoadList(const TIniFile& ini, const TMountTable& mounts) {
  files_.clear();
  for (int i = 1; i <= kMaxFiles; ++i) {
    std::string entry = ini.ReadString(kSection, kKeyPrefix + std::to_string(i), "");
    if (entry.empty() || IsVanishedLocalFile(entry, mounts)) continue;
    if (FindEntry(files_, entry) == files_.end()) files_.push_back(entry);
  }
}

void TReopenFileHolder::SaveList(TIniFile& ini) const {
  for (size_t i = 0; i < files_.size(); ++i) {
    ini.WriteString(kSection, kKeyPrefix + std::to_string(i + 1), files_[i]);
  }
}

void TReopenFileHolder::AddFile(const std::string& name) {
  if (name.empty()) return;
  auto found = FindEntry(files_, name);
  if (found == files_.end()) {
    files_.insert(files_.begin(), name);
    if (files_.size() > size_t(kMaxFiles)) files_.pop_back();
  } else {
    std::iter_swap(files_.begin(), found);
  }
  RefreshMenu();
}

std::string TReopenFileHolder::FileOfMenuItem(int slot) const {
  if (!menu_ || slot < 0 || slot >= menu_->SlotCount() || slot >= int(files_.size())) return {};
  return files_[size_t(slot)];
}

std::string TReopenFileHolder::PathPart(const std::string& entry) {
  if (!HasImportMarker(entry)) return entry;
  return entry.substr(0, entry.find(kImportMarker));
}

std::string TReopenFileHolder::MenuCaption(int index, const std::string& entry) {
  std::string name = ShortenMiddle(ExtractFileName(PathPart(entry)), kCaptionLimit);
  return "&" + std::to_string(index + 1) + ". " + DoubleAmpersands(name);
}

std::string TReopenFileHolder::MenuHint(const std::string& entry) {
  return "Reopen|Reopen " + ShortenMiddle(entry, kHintLimit);
}

void TReopenFileHolder::RefreshMenu() {
  if (!menu_) return;
  int slots = menu_->SlotCount();
  menu_->DetachPictures();
  menu_->SetEndMarkerVisible(slots > 0);
  for (int slot = 0; slot < slots; ++slot) menu_->SetSlot(slot, false, "", "");
  int shown = std::min(slots, int(files_.size()));
  for (int i = 0; i < shown; ++i) {
    menu_->SetSlot(i, true, MenuCaption(i, files_[size_t(i)]), MenuHint(files_[size_t(i)]));
  }
  menu_->AttachPictures();
}

}  // namespace varnel
