// TfmLib: editing the collection: clear, erase, clipboard, duplicate, split, combine, rename,
// name correction.

#include <algorithm>
#include <cstdio>
#include <set>

#include "appcore/childhost.h"
#include "appcore/reopenfileholder.h"
#include "appcore/shareddialogs.h"
#include "base/errors.h"
#include "collection/busyscope.h"
#include "collection/fmlib.h"
#include "platform/casefold.h"
#include "platform/textfunctions.h"
#include "resources/iconlistholder.h"

namespace varnel {

namespace {

constexpr const char* kCannotUndo = "\n\nWarning: You can't undo this operation";
constexpr size_t kMaxNameLength = 255;
// The size of the icons the desktop shows for files.
constexpr int kShellIconSize = 32;

// Cuts text to at most max bytes without splitting a UTF-8 character.
std::string CutName(const std::string& text, size_t max) {
  if (text.size() <= max) return text;
  size_t end = max;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

std::string IncrementName(const std::string& text) {
  if (text.empty()) return "1";
  std::string name = text;
  for (size_t i = name.size(); i-- > 0;) {
    char& c = name[i];
    if (c >= '0' && c <= '8') {
      ++c;
      return name;
    }
    if (c == '9') {
      c = '0';
      continue;
    }
    name.insert(i + 1, "1");
    return name;
  }
  return "1" + name;
}

bool TfmLib::QuerySaveChanges() {
  if (!GetModified() || Count() == 0) return true;
  char text[512];
  std::snprintf(text, sizeof text, "Save changes in \"%s\"?", Caption().c_str());
  switch (UI().ShowMessage(MakeMessage(TMessageKind::Warning, text, mbYesNoCancel))) {
    case TModalResult::mrYes:
      // Going on after a save that did not happen (cancelled or failed) would lose the changes.
      return Save();
    case TModalResult::mrNo:
      return true;
    default:
      return false;
  }
}

bool TfmLib::ConfirmErase(const std::string& question) {
  if (!settings_.ConfirmDIFL) return true;
  return ConfirmDialog(UI(), question + kCannotUndo, settings_.ConfirmDIFL);
}

void TfmLib::ClearCollection() {
  CheckNotBusy();
  if (!ConfirmErase("Clear icon collection?")) return;
  Document.Clear();
  TReopenFileHolder* recent = Host().RecentFiles();
  if (!FileName.empty() && recent) recent->AddFile(FileName);
  FileName.clear();
  SetModified(false);
  // Untitled again: named as a new collection, so that its questions can name it.
  SetChildCaption("");
  AssignNumberedCaption();
  if (recent) recent->RefreshMenu();
  grid_.SetCurrent(-1);
  grid_.Relayout();
  if (OnImagePanelChanged) OnImagePanelChanged();
}

void TfmLib::EraseSelection() {
  CheckNotBusy();
  if (!SelectedCount() || !ConfirmErase("Delete icon(s) from the library?")) return;
  int lowest = Count();
  for (int i = Count() - 1; i >= 0; --i) {
    if (!IsSelected(i)) continue;
    DeleteItem(i);
    lowest = i;
  }
  grid_.Relayout();
  if (Count())
    SelectOnly(std::min(lowest, Count() - 1));
  else
    grid_.SetCurrent(-1);
  SetModified(true);
  if (OnImagePanelChanged) OnImagePanelChanged();
}

void TfmLib::CopySelection() {
  UI().SetWaitCursor(true);
  TIconListHolder holder;
  for (int i = 0; i < Count(); ++i) {
    if (!IsSelected(i)) continue;
    auto copy = std::make_unique<TAdvancedIcon>();
    copy->Assign(*Items().Icons(i));
    holder.IconList().AddIcon(Items().Names(i), std::move(copy));
  }
  MemoryStream stream;
  holder.WriteProperties(stream);
  clipboard_.Clear();
  clipboard_.SetFormat(kComponentClipboardFormat, stream.TakeBytes());
  int current = CurrentSelected();
  if (current >= 0) {
    const TAdvancedIcon& icon = *Items().Icons(current);
    int size = settings_.grIconSize;
    if (size != 16 && size != 32 && size != 48) size = kShellIconSize;
    if (const TSubIcon* image = icon.GetBestImage(size, size, settings_.grIconBPP)) {
      int bits = image->BitsPerPixel();
      TColor back = bits == 1   ? settings_.Back1bpp
                    : bits == 4 ? settings_.Back4bpp
                                : settings_.Back8bpp;
      TAdvancedIcon::CopyImageToClipboard(*image, back, clipboard_);
    }
  }
  UI().SetWaitCursor(false);
}

void TfmLib::PasteFromClipboard() {
  CheckNotBusy();
  auto block = clipboard_.GetFormat(kComponentClipboardFormat);
  if (!block) return;
  TIconListHolder holder;
  MemoryStream stream(std::move(*block));
  holder.ReadProperties(stream);
  int pasted = holder.IconList().Count();
  if (!pasted) return;
  int current = grid_.Current();
  int at = current < 0 || current >= Count() - 1 ? Count() : current + 1;
  // Pasted items come without a source.
  for (int i = 0; i < pasted; ++i) {
    TIconList::Item item = holder.IconList().TakeItem(0);
    Document.Insert(at + i, std::move(item.name), std::move(item.icon));
  }
  for (int i = 0; i < Count(); ++i) Items().Icons(i)->Selected = i >= at && i < at + pasted;
  grid_.SetCurrent(at);
  grid_.SelectionChanged();
  grid_.Relayout();
  SetModified(true);
  UpdateStatus();
}

void TfmLib::DuplicateIcon() {
  CheckNotBusy();
  int current = CurrentSelected();
  if (current < 0) return;
  auto copy = std::make_unique<TAdvancedIcon>();
  copy->Assign(*Items().Icons(current));
  InsertItem(current + 1, Items().Names(current), std::move(copy));
  SetSelected(current, false);
  SetSelected(current + 1, true);
  SetModified(true);
  grid_.Relayout();
  grid_.SetCurrent(current + 1);
}

void TfmLib::SplitIcons() {
  CheckNotBusy();
  for (int i = 0; i < Count(); ++i) {
    if (!IsSelected(i)) continue;
    TAdvancedIcon& icon = *Items().Icons(i);
    int parts = icon.Images().Count();
    if (parts <= 1) continue;
    std::string name = Items().Names(i);
    // Every part keeps the source of the icon it came from.
    TItemSource source = Items().Source(i);
    for (int n = parts - 1; n >= 1; --n) {
      auto part = std::make_unique<TAdvancedIcon>();
      part->Images().TakeFrom(icon, n);
      Document.Insert(i + 1, name + std::to_string(n + 1), std::move(part), source);
    }
    Items().SetName(i, name + "1");
    i += parts - 1;
  }
  grid_.Relayout();
  UpdateStatus();
  SetModified(true);
}

void TfmLib::CombineIcons() {
  CheckNotBusy();
  std::vector<int> selected;
  for (int i = 0; i < Count(); ++i)
    if (IsSelected(i)) selected.push_back(i);
  if (selected.size() < 2) return;
  TAdvancedIcon& receiver = *Items().Icons(selected[0]);
  for (size_t k = 1; k < selected.size(); ++k)
    receiver.Images().TakeAll(*Items().Icons(selected[k]));
  Items().SetSource(selected[0], {Items().Source(selected[0]).index, -1});
  for (size_t k = selected.size(); k-- > 1;) DeleteItem(selected[k]);
  SetModified(true);
  grid_.Relayout();
}

void TfmLib::RenameIcons() {
  CheckNotBusy();
  int current = grid_.Current();
  std::string initial;
  if (current >= 0 && current < Count()) {
    initial = Items().Names(current);
  } else {
    for (int i = 0; i < Count() && initial.empty(); ++i)
      if (IsSelected(i)) initial = Items().Names(i);
  }
  auto text = UI().AskText({"Rename icons", "New name", initial});
  if (!text) return;
  SetModified(true);
  int selected = SelectedCount();
  int number = 0;
  for (int i = 0; i < Count(); ++i)
    if (IsSelected(i)) Items().SetName(i, selected == 1 ? *text : *text + std::to_string(++number));
  grid_.Repaint();
}

void TfmLib::CorrectNames(bool interactive) {
  CheckNotBusy();
  TBusyScope busy(*this, TBusyKind::Plain);
  bool changed = false;
  for (int i = 0; i < Count(); ++i) {
    std::string name = Trim(CutName(Items().Names(i), kMaxNameLength));
    if (name.empty()) name = "0";
    if (name != Items().Names(i)) Items().SetName(i, name), changed = true;
  }
  std::vector<std::pair<std::string, int>> sorted;
  std::multiset<std::string> keys;
  for (int i = 0; i < Count(); ++i) {
    sorted.emplace_back(FoldCase(Items().Names(i)), i);
    keys.insert(sorted.back().first);
  }
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  bool asked = !interactive, stop = false, passChanged = true;
  while (passChanged && !stop) {
    passChanged = false;
    for (size_t k = sorted.size(); k-- > 1 && !stop;) {
      size_t walked = sorted.size() - 1 - k;
      if (walked % 100 == 99) {
        UI().SetStatusText(0, "Checking: " + std::to_string(walked + 1));
        UI().ProcessMessages();
        if (StopRequested()) stop = true;
      }
      if (sorted[k].first != sorted[k - 1].first) continue;
      if (!asked) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "Names must be different for items %d and %d. Rename all automatically?",
                      sorted[k - 1].second + 1, sorted[k].second + 1);
        asked = true;
        if (UI().ShowMessage(MakeMessage(TMessageKind::Information, text, mbYesNo)) !=
            TModalResult::mrYes) {
          stop = true;
          break;
        }
      }
      int item = sorted[k].second;
      std::string name = Items().Names(item);
      do name = IncrementName(name);
      while (keys.count(FoldCase(name)));
      keys.erase(keys.find(sorted[k].first));
      sorted[k].first = FoldCase(name);
      keys.insert(sorted[k].first);
      Items().SetName(item, name);
      changed = passChanged = true;
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
  }
  if (changed) SetModified(true);
}

}  // namespace varnel
