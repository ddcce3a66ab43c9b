#include "search/foldersearch.h"

#include <sys/stat.h>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

#include "appcore/shareddialogs.h"
#include "base/errors.h"
#include "collection/busyscope.h"
#include "collection/duplicatefinder.h"
#include "collection/fileimport.h"
#include "collection/fmlib.h"
#include "platform/textfunctions.h"
#include "search/folderscan.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kProgressCaption = "Extracting Icons...";
constexpr const char* kArchiveMask = ";*.zip;*.rar";
constexpr int kParentSteps = 19;

std::string BuildingTreeText(const std::string& what) {
  return "Building tree for " + what + "...";
}

// One run of a search: the folders it visits, the duplicate hashes, the errors met.
class SearchRun {
 public:
  SearchRun(TfmLib& lib, std::string mask, bool nested, bool silentLoad)
      : lib_(lib),
        ui_(lib.UI()),
        mask_(std::move(mask)),
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
  // Whatever ends the search, the search mode and the busy state end with it.
  ~SearchRun() { lib_.SearchMode = false; }

  // The progress window's stop button stops the search as the main window's does.
  bool Stopped() {
    if (!nested_ && ui_.ProgressShown() && ui_.ProgressFlags().stopRequested)
      lib_.Terminated = true;
    return lib_.Terminated;
  }

  void ShowBuilding(const std::string& what) {
    ui_.SetStatusText(0, BuildingTreeText(what));
    if (!nested_) ui_.SetProgressField(TProgressField::Path, what);
    ui_.ProcessMessages();
  }

  // Loads every matching file of one folder; returns false when the search was stopped.
  bool VisitFolder(const std::string& folder);

  // Ends the busy state and shows the errors met.
  void Finish() {
    lib_.SearchMode = false;
    busy_.reset();
    ShowErrors(ui_, errors_);
  }

 private:
  void PrepareHashes();
  void LoadOne(const std::string& file);

  TfmLib& lib_;
  UserInterface& ui_;
  std::string mask_;
  bool nested_;
  bool silentLoad_;
  bool excludeDuplicates_;
  TDuplicateIndex duplicates_;
  std::optional<TBusyScope> busy_;
  std::vector<std::string> errors_;
  std::set<std::pair<dev_t, ino_t>> visited_;
  int shown_;
};

void SearchRun::PrepareHashes() {
  if (!excludeDuplicates_ || duplicates_.Built()) return;
  ui_.SetProgressCaption("Checking for duplicates...");
  duplicates_.Build(lib_.Items());
  ui_.SetProgressCaption(kProgressCaption);
}

void SearchRun::LoadOne(const std::string& file) {
  try {
    if (excludeDuplicates_)
      LoadFileExcludingDuplicates(lib_, file, "", 0, duplicates_, &errors_);
    else
      LoadFile(lib_, file, "", 0, false, silentLoad_, &errors_);
  } catch (const Exception& error) {
    errors_.push_back(error.what());
  }
}

bool SearchRun::VisitFolder(const std::string& folder) {
  struct stat info;
  if (::stat(folder.c_str(), &info) == 0 && !visited_.insert({info.st_dev, info.st_ino}).second)
    return !Stopped();
  lib_.SetModified(true);
  if (!nested_) ui_.SetProgressField(TProgressField::Path, folder);
  std::vector<std::string> files = ListFilesInFolder(folder, mask_);
  std::sort(files.begin(), files.end(),
            [](const std::string& a, const std::string& b) { return LowerCase(a) < LowerCase(b); });
  PrepareHashes();
  for (const std::string& file : files) {
    std::string name = fs::path(file).filename().string();
    if (!nested_) ui_.SetProgressField(TProgressField::File, name);
    if (IsSkippedFile(file)) continue;
    ui_.SetStatusText(0, file);
    ui_.ProcessMessages();
    LoadOne(file);
    ui_.SetStatusText(1, "Icons " + std::to_string(lib_.Count()));
    if (!nested_) ui_.SetProgressField(TProgressField::Count, std::to_string(lib_.Count()));
    if (Stopped()) return false;
    if (lib_.Count() > shown_) lib_.Grid().GrowGrid(shown_);
    shown_ = lib_.Count();
  }
  return !Stopped();
}

std::string SearchMask(const TfmLib& lib, std::string mask, const char* archives) {
  return lib.Settings().SearchArchives ? mask + archives : mask;
}

}  // namespace

void SearchFolderTree(TfmLib& lib, const std::string& root, std::string mask, bool nested) {
  mask = SearchMask(lib, std::move(mask), kArchiveMask);
  SearchRun run(lib, mask, nested, true);
  lib.UI().SetStatusText(2, "");
  run.ShowBuilding(root);
  std::vector<std::string> tops = ListTopFolders(root);
  for (size_t i = 0; i < tops.size(); ++i) {
    run.ShowBuilding(tops[i]);
    if (run.Stopped()) break;
    std::vector<std::string> folders =
        i == 0 ? std::vector<std::string>{tops[i]}
               : BuildFolderTree(tops[i], [&] { return run.Stopped(); });
    bool going = true;
    for (const std::string& folder : folders)
      if (!(going = run.VisitFolder(folder))) break;
    if (!going) break;
  }
  run.Finish();
}

void SearchFolder(TfmLib& lib, const std::string& folder, std::string mask) {
  mask = SearchMask(lib, std::move(mask), kArchiveMask);
  SearchRun run(lib, mask, false, false);
  lib.UI().SetStatusText(2, "");
  std::string path = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  run.VisitFolder(path);
  run.Finish();
}

void SearchLocalDisks(TfmLib& lib) {
  std::string mask = SearchMask(lib, lib.Settings().IconMask, ";*.zip;*.rar;*.gif");
  SearchRun run(lib, mask, false, true);
  lib.UI().SetStatusText(2, "");
  run.ShowBuilding("local disks");
  std::vector<std::string> drives = ListFixedDrives();
  lib.SearchMode = true;
  for (const std::string& drive : drives) {
    long long device = DeviceOf(drive);
    bool going = true;
    for (const std::string& top : ListTopFolders(drive)) {
      // Other file systems mounted below a disk are searched as disks of their own, if at all.
      if (DeviceOf(top) != device) continue;
      run.ShowBuilding(top);
      if (run.Stopped()) break;
      std::vector<std::string> folders = top == drive
                                             ? std::vector<std::string>{top}
                                             : BuildFolderTree(
                                                   top, [&] { return run.Stopped(); }, true);
      for (const std::string& folder : folders)
        if (!(going = run.VisitFolder(folder))) break;
      if (!going) break;
    }
    if (!going) break;
  }
  run.Finish();
}

std::string NearestExistingFolder(const std::string& path) {
  fs::path folder = path;
  std::string text = folder.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  folder = text;
  std::error_code error;
  for (int step = 0; step <= kParentSteps && !folder.empty(); ++step) {
    if (fs::is_directory(folder, error)) return folder.string();
    if (folder == folder.parent_path()) break;
    folder = folder.parent_path();
  }
  return "";
}

void FindInFolder(TfmLib& lib) {
  lib.CheckNotBusy();
  TSettings& settings = lib.Settings();
  TFindIconsRequest request;
  request.initial = {NearestExistingFolder(settings.SearchIconsDir), settings.IconMask,
                     settings.IncludeSubDirs, settings.ExcludeDups, settings.SearchArchives};
  request.defaultMask = kDefaultIconMask;
  request.validate = [](const std::string& typed) -> std::optional<std::string> {
    std::error_code error;
    if (fs::is_directory(Trim(typed), error)) return std::nullopt;
    return "Folder not found: " + typed;
  };
  auto choice = lib.UI().AskFindIcons(request);
  if (!choice) return;
  std::string folder = Trim(choice->folder);
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  settings.SearchIconsDir = folder;
  settings.ExcludeDups = choice->excludeDuplicates;
  settings.IconMask = choice->mask;
  settings.IncludeSubDirs = choice->includeSubfolders;
  settings.SearchArchives = choice->searchArchives;
  lib.SearchMode = true;
  if (settings.IncludeSubDirs)
    SearchFolderTree(lib, folder, settings.IconMask, false);
  else
    SearchFolder(lib, folder, settings.IconMask);
  lib.SearchMode = false;
}

void FindOnLocalDisks(TfmLib& lib) {
  TSettings& settings = lib.Settings();
  auto choice = lib.UI().AskDiskSearch({settings.SearchArchives, settings.ExcludeDups});
  if (!choice) return;
  settings.SearchArchives = choice->searchArchives;
  settings.ExcludeDups = choice->excludeDuplicates;
  SearchLocalDisks(lib);
}

}  // namespace varnel
