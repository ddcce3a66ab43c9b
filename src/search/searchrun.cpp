#include "search/searchrun.h"

#include <chrono>
#include <filesystem>

#include "appcore/shareddialogs.h"
#include "base/errors.h"
#include "collection/collectiontarget.h"
#include "collection/fileimport.h"
#include "search/searchpipeline.h"
#include "search/searchpool.h"

namespace varnel {

namespace {

constexpr const char* kProgressCaption = "Extracting Icons...";
// How often the status bar, the count and the grid follow a search.
constexpr std::chrono::milliseconds kRedrawInterval(200);

std::string BuildingTreeText(const std::string& what) {
  return "Building tree for " + what + "...";
}

}  // namespace

SearchRun::SearchRun(CollectionTarget& lib, bool nested, bool silentLoad)
    : lib_(lib),
      ui_(lib.UI()),
      nested_(nested),
      silentLoad_(silentLoad),
      excludeDuplicates_(lib.Settings().ExcludeDups),
      shown_(lib.Count()) {
  if (!nested_) {
    lib_.CheckNotBusy();
    busy_.emplace(lib_, TBusyKind::LongOperation);
    ui_.SetProgressCaption(kProgressCaption);
  }
}

bool SearchRun::Stopped() {
  return nested_ ? lib_.StopRequested() : lib_.TakeProgressStop();
}

bool SearchRun::TakeSkipRequest() {
  if (nested_ || !ui_.ProgressShown() || !ui_.ProgressFlags().skipRequested) return false;
  ui_.ProgressFlags().skipRequested = false;
  return true;
}

void SearchRun::ShowBuilding(const std::string& what) {
  ui_.SetStatusText(0, BuildingTreeText(what));
  if (!nested_) ui_.SetProgressField(TProgressField::Path, what);
  ui_.ProcessMessages();
}

void SearchRun::Finish() {
  ShowCount();
  busy_.reset();
  ShowErrors(ui_, errors_);
}

FileReadOptions SearchRun::ReadOptions() const {
  FileReadOptions options =
      ReadOptionsOf(lib_, excludeDuplicates_ ? LoadStyle::ExcludingDuplicates : LoadStyle::Plain);
  if (excludeDuplicates_) options.seenBytes = seenBytes_.get();
  return options;
}

void SearchRun::PrepareHashes() {
  if (!excludeDuplicates_ || duplicates_.Built()) return;
  ui_.SetProgressCaption("Checking for duplicates...");
  duplicates_.Build(lib_.Items());
  ui_.SetProgressCaption(kProgressCaption);
}

void SearchRun::Folder(const std::string& folder) {
  lib_.SetModified(true);
  if (!nested_) ui_.SetProgressField(TProgressField::Path, folder);
  PrepareHashes();
}

bool SearchRun::BeginFile(const std::string& path, bool skipped) {
  // The file field names the file that "Skip" passes over: it follows every file (the
  // progress window draws it a few times a second).
  if (!nested_)
    ui_.SetProgressField(TProgressField::File, std::filesystem::path(path).filename().string());
  if (skipped) return false;
  if (RedrawDue()) ui_.SetStatusText(0, path);
  ui_.ProcessMessages();
  return true;
}

bool SearchRun::RedrawDue() {
  auto now = std::chrono::steady_clock::now();
  if (now < nextRedraw_) return false;
  nextRedraw_ = now + kRedrawInterval;
  return true;
}

void SearchRun::ShowCount() {
  ui_.SetStatusText(1, "Icons " + std::to_string(lib_.Count()));
  if (!nested_) ui_.SetProgressField(TProgressField::Count, std::to_string(lib_.Count()));
  if (lib_.Count() > shown_) lib_.Grid().GrowGrid(shown_);
  shown_ = lib_.Count();
}

void SearchRun::Append(FileContents& contents) {
  try {
    AppendFileContents(lib_, contents, contents.path, silentLoad_, &errors_,
                       excludeDuplicates_ ? &duplicates_ : nullptr);
  } catch (const Exception& error) {
    errors_.push_back(error.what());
  }
}

bool SearchRun::EndFile() {
  // The count and the grid follow a few times a second: drawing them after every file made
  // the window's search many times slower than the reading.
  if (RedrawDue()) ShowCount();
  return !Stopped();
}

bool SearchRun::File(const std::string& path, bool skipped) {
  if (!BeginFile(path, skipped)) return true;
  if (!TakeSkipRequest()) {
    FileContents contents = ReadFileContents(path, ReadOptions());
    Append(contents);
  }
  return EndFile();
}

void SearchRun::Walk(const std::function<void(SearchSink&)>& walk) {
  int workers = SearchPool::WorkersFor(lib_.Settings().SearchJobs);
  if (workers <= 1) {
    walk(*this);
    return;
  }
  SearchPipeline pipeline(workers, ReadOptions(), walk);
  while (std::optional<SearchStep> step = pipeline.Next([&] { Idle(pipeline); }))
    if (!Play(*step, pipeline)) return;
}

void SearchRun::Idle(SearchPipeline& pipeline) {
  ui_.ProcessMessages();
  // A stop seen while waiting ends the walk at once; the run ends at its next stop check.
  if (Stopped()) pipeline.StopWalking();
}

bool SearchRun::Play(SearchStep& step, SearchPipeline& pipeline) {
  switch (step.kind) {
    case SearchStepKind::Building:
      ShowBuilding(step.path);
      return true;
    case SearchStepKind::Folder:
      Folder(step.path);
      return true;
    case SearchStepKind::StopCheck:
      return !Stopped();
    case SearchStepKind::File:
      break;
  }
  return PlayFile(step, pipeline);
}

bool SearchRun::PlayFile(SearchStep& step, SearchPipeline& pipeline) {
  if (!BeginFile(step.path, step.skipped)) return true;
  std::optional<FileContents> contents;
  if (TakeSkipRequest()) {
    pipeline.GiveUp(*step.read);
  } else {
    contents = pipeline.Take(*step.read, [&] {
      Idle(pipeline);
      return !TakeSkipRequest();
    });
  }
  if (contents) Append(*contents);
  return EndFile();
}

}  // namespace varnel
