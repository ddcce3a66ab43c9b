// TfmLib: construction, busy states, sources, item insertion and deletion, selection, status.

#include "collection/fmlib.h"

#include <algorithm>
#include <cstdio>

#include "base/errors.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

std::string Formatted(const char* format, int a, int b = 0) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, a, b);
  return buffer;
}

}  // namespace

TfmLib::TfmLib(TChildHost& host, TSettings& settings, Clipboard& clipboard, TGridView& grid)
    : TfmChildAbstract(host), settings_(settings), clipboard_(clipboard), grid_(grid) {}

void TfmLib::SetModified(bool value) {
  TfmChildAbstract::SetModified(value);
  grid_.SelectionChanged();
}

void TfmLib::IdleUpdate() {
  if (Visible()) UpdateStatus();
}

void TfmLib::ExportIconsToFolder(bool) {
  throw Exception("Exporting icons to a folder is not available yet");
}

// --- Busy states ----------------------------------------------------------------------------

void TfmLib::CheckNotBusy() const {
  if (Busy()) throw Exception("Continuous process is running. Wait until finish or terminate it");
}

void TfmLib::BeginBusy() {
  ++busyDepth_;
  UI().SetStatusText(2, "");
  UI().SetWaitCursor(true);
  Terminated = false;
  grid_.SetEnabled(false);
  UI().SetBusy(true);
  UI().ProcessMessages();
  ApplySizeToAll = false;
}

void TfmLib::EndBusy() {
  busyDepth_ = std::max(busyDepth_ - 1, 0);
  grid_.SetEnabled(true);
  UI().SetWaitCursor(false);
  if (!Busy()) UI().SetBusy(false);
  UI().SetStatusText(0, "");
  UI().SetStatusText(2, "");
  grid_.Relayout();
}

void TfmLib::BeginQuietBusy() {
  grid_.SetLayoutLocked(true);
  BeginBusy();
}

void TfmLib::EndQuietBusy() {
  grid_.SetLayoutLocked(false);
  busyDepth_ = std::max(busyDepth_ - 1, 0);
  UI().SetWaitCursor(false);
  if (!Busy()) UI().SetBusy(false);
  grid_.Relayout();
  if (Count()) SelectOnly(Count() - 1);
  UpdateStatus();
  grid_.SetEnabled(true);
  if (Visible()) grid_.Focus();
  UI().SetStatusText(2, "");
  ApplySizeToAll = false;
}

void TfmLib::BeginLongOperation() {
  BeginBusy();
  UI().ShowProgress();
}

void TfmLib::EndLongOperation() {
  EndQuietBusy();
  UI().CloseProgress();
}

void TfmLib::WhileBusySelectingFirst(const std::function<void()>& work) {
  struct SelectFirstWhenDone {
    TfmLib& lib;
    ~SelectFirstWhenDone() {
      lib.EndBusy();
      lib.SelectOnly(0);
    }
  };
  BeginBusy();
  SelectFirstWhenDone done{*this};
  work();
}

// --- Sources --------------------------------------------------------------------------------

std::string TfmLib::SourceOf(int index) const {
  int source = SourceIndex.GetOr(index, -1);
  return source >= 0 && source < int(Sources.size()) ? Sources[size_t(source)] : std::string();
}

int TfmLib::SourceIndexOf(const std::string& path) {
  for (size_t i = 0; i < Sources.size(); ++i)
    if (SameText(Sources[i], path)) return int(i);
  Sources.push_back(path);
  return int(Sources.size() - 1);
}

void TfmLib::RecordSources(const std::string& path) {
  if (SourceIndex.Count() >= Count()) return;
  int source = SourceIndexOf(path);
  // The two lists may have drifted apart in length; both end at the item count.
  SourcePosition.SetCount(SourceIndex.Count());
  for (int position = 0; SourceIndex.Count() < Count(); ++position) {
    SourceIndex.Add(source);
    SourcePosition.Add(position);
  }
}

void TfmLib::RecordSource(const std::string& path, int position) {
  if (SourceIndex.Count() >= Count()) return;
  int source = SourceIndexOf(path);
  SourcePosition.SetCount(SourceIndex.Count());
  while (SourceIndex.Count() < Count() - 1) {
    SourceIndex.Add(-1);
    SourcePosition.Add(-1);
  }
  SourceIndex.Add(source);
  SourcePosition.Add(position);
}

void TfmLib::ClearSources() {
  Sources.clear();
  SourceIndex.Clear();
  SourcePosition.Clear();
}

void TfmLib::InsertItem(int index, std::string name, std::unique_ptr<TAdvancedIcon> icon) {
  TIconList single;
  single.AddIcon(std::move(name), std::move(icon));
  index = std::clamp(index, 0, Count());
  single.MoveIconToPosition(0, Items(), index);
  if (index < SourceIndex.Count()) SourceIndex.Insert(index, -1);
  if (index < SourcePosition.Count()) SourcePosition.Insert(index, -1);
}

void TfmLib::AppendItem(std::string name, std::unique_ptr<TAdvancedIcon> icon) {
  Items().AddIcon(std::move(name), std::move(icon));
}

void TfmLib::DeleteItem(int index) {
  Items().Delete(index);
  if (index < SourceIndex.Count()) SourceIndex.Delete(index);
  if (index < SourcePosition.Count()) SourcePosition.Delete(index);
}

// --- Selection and status -------------------------------------------------------------------

bool TfmLib::IsSelected(int index) const {
  return index >= 0 && index < Count() && Items().Icons(index)->Selected;
}

void TfmLib::SetSelected(int index, bool selected) {
  if (index >= 0 && index < Count()) Items().Icons(index)->Selected = selected;
  grid_.SelectionChanged();
}

int TfmLib::SelectedCount() const {
  int count = 0;
  for (int i = 0; i < Count(); ++i) count += IsSelected(i);
  return count;
}

void TfmLib::SelectOnly(int index) {
  if (!Count()) return;
  index = std::clamp(index, 0, Count() - 1);
  for (int i = 0; i < Count(); ++i) Items().Icons(i)->Selected = i == index;
  grid_.SetCurrent(index);
  grid_.SelectionChanged();
}

int TfmLib::CurrentSelected() const {
  int current = grid_.Current();
  return IsSelected(current) ? current : -1;
}

void TfmLib::SelectAll() {
  for (int i = 0; i < Count(); ++i) Items().Icons(i)->Selected = true;
  grid_.SelectionChanged();
  grid_.Repaint();
}

void TfmLib::InvertSelection() {
  for (int i = 0; i < Count(); ++i) Items().Icons(i)->Selected = !Items().Icons(i)->Selected;
  grid_.SelectionChanged();
  grid_.Repaint();
}

void TfmLib::UpdateStatus() {
  int selected = SelectedCount();
  int current = CurrentSelected();
  if (selected > 1) {
    UI().SetStatusText(1, Formatted("Selected %d", selected));
    UI().SetStatusText(2, Formatted("Amount %d", Count()));
  } else if (current >= 0) {
    const TSubIconList& images = Items().Icons(current)->Images();
    UI().SetStatusText(1, images.Count() == 1 ? images[0]->GetShortDescription()
                                              : Formatted("%d formats", images.Count()));
    UI().SetStatusText(2, Formatted("%d of %d", current + 1, Count()));
  } else {
    UI().SetStatusText(1, Count() ? "No selection" : "No icons");
    UI().SetStatusText(2, Formatted("Amount %d", Count()));
  }
}

}  // namespace varnel
