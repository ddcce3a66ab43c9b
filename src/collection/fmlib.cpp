// TfmLib: construction, busy states, item insertion and deletion, selection, status.

#include "collection/fmlib.h"

#include "collection/busyscope.h"
#include "collection/iconfolderexport.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "base/errors.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

std::string Formatted(const char* format, int a, int b = 0) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, format, a, b);
  return buffer;
}

using BusyStep = void (TfmLib::*)();

// The begin and end operations of each kind of busy state.
std::pair<BusyStep, BusyStep> BusyStepsOf(TBusyKind kind) {
  switch (kind) {
    case TBusyKind::Quiet:
      return {&TfmLib::BeginQuietBusy, &TfmLib::EndQuietBusy};
    case TBusyKind::LongOperation:
      return {&TfmLib::BeginLongOperation, &TfmLib::EndLongOperation};
    case TBusyKind::Plain:
      break;
  }
  return {&TfmLib::BeginBusy, &TfmLib::EndBusy};
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

void TfmLib::ExportIconsToFolder(bool all) {
  varnel::ExportIconsToFolder(*this, all);
}

// --- Busy states ----------------------------------------------------------------------------

void TfmLib::CheckNotBusy() const {
  if (Busy()) throw Exception("Continuous process is running. Wait until finish or terminate it");
}

void TfmLib::BeginBusy() {
  ++busyDepth_;
  UI().SetStatusText(2, "");
  UI().SetWaitCursor(true);
  ClearStopRequest();
  grid_.SetEnabled(false);
  UI().SetBusy(true);
  UI().ProcessMessages();
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
  // What the busy work showed (the last file searched, say) no longer describes anything.
  UI().SetStatusText(0, "");
  UI().SetStatusText(2, "");
}

void TfmLib::BeginLongOperation() {
  BeginBusy();
  UI().ShowProgress();
}

void TfmLib::EndLongOperation() {
  EndQuietBusy();
  UI().CloseProgress();
}

void TfmLib::EnterBusy(TBusyKind kind) {
  (this->*BusyStepsOf(kind).first)();
}

void TfmLib::LeaveBusy(TBusyKind kind) noexcept {
  try {
    (this->*BusyStepsOf(kind).second)();
  } catch (...) {
    ResetBusy();
  }
}

void TfmLib::ResetBusy() {
  busyDepth_ = 0;
  grid_.SetLayoutLocked(false);
  grid_.SetEnabled(true);
  UI().SetWaitCursor(false);
  UI().SetBusy(false);
  if (UI().ProgressShown()) UI().CloseProgress();
}

void TfmLib::WhileBusySelectingFirst(const std::function<void()>& work) {
  struct SelectFirstWhenDone {
    TfmLib& lib;
    ~SelectFirstWhenDone() { lib.SelectOnly(0); }
  };
  SelectFirstWhenDone done{*this};
  TBusyScope busy(*this, TBusyKind::Plain);
  work();
}

// --- Items ----------------------------------------------------------------------------------

void TfmLib::InsertItem(int index, std::string name, std::unique_ptr<TAdvancedIcon> icon) {
  Document.Insert(index, std::move(name), std::move(icon));
}

void TfmLib::AppendItem(std::string name, std::unique_ptr<TAdvancedIcon> icon) {
  Document.Append(std::move(name), std::move(icon));
}

void TfmLib::DeleteItem(int index) {
  Document.Delete(index);
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
  std::optional<int> kept = grid_.KeptSelectedCount();
  int selected = kept ? *kept : SelectedCount();
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
