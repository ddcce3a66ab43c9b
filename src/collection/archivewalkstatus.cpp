#include "collection/archivewalkstatus.h"

#include "collection/collectiontarget.h"

namespace varnel {

ArchiveWalkStatus::~ArchiveWalkStatus() {
  if (shown_) lib_.UI().SetStatusText(0, "");
}

FileReadOptions ArchiveWalkStatus::Attach(FileReadOptions options) {
  options.stop = &stop_;
  options.progress = this;
  return options;
}

void ArchiveWalkStatus::Extracting() {
  LetEventsThrough();
}

void ArchiveWalkStatus::ReadingMember(const std::string& displayPath, size_t number, size_t total) {
  UserInterface& ui = lib_.UI();
  ui.SetStatusText(0, displayPath);
  shown_ = true;
  ui.SetStatusText(1, std::to_string(number) + " from " + std::to_string(total));
  if (ui.ProgressShown()) ui.SetProgressField(TProgressField::File, displayPath);
  LetEventsThrough();
}

void ArchiveWalkStatus::LetEventsThrough() {
  UserInterface& ui = lib_.UI();
  ui.ProcessMessages();
  if (lib_.TakeProgressStop()) stop_ = true;
}

}  // namespace varnel
