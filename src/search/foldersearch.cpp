#include "search/foldersearch.h"

#include <filesystem>
#include <optional>

#include "appcore/shareddialogs.h"
#include "collection/collectiontarget.h"
#include "collection/searchmodescope.h"
#include "platform/textfunctions.h"
#include "search/folderscan.h"
#include "search/iconfolderpictures.h"
#include "search/searchrun.h"
#include "search/searchwalk.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kArchiveMask = ";*.zip;*.rar";
constexpr int kParentSteps = 19;

std::string SearchMask(const CollectionTarget& lib, std::string mask, const char* archives) {
  return lib.Settings().SearchArchives ? mask + archives : mask;
}

}  // namespace

void SearchFolderTree(CollectionTarget& lib, const std::string& root, std::string mask,
                      bool nested) {
  bool pictures = TakesIconFolderPictures(mask);
  mask = SearchMask(lib, std::move(mask), kArchiveMask);
  SearchRun run(lib, nested, true);
  lib.UI().SetStatusText(2, "");
  run.ShowBuilding(root);
  run.Walk([&](SearchSink& sink) { SearchWalk(sink, mask, pictures).Tree(root); });
  run.Finish();
}

void SearchFolder(CollectionTarget& lib, const std::string& folder, std::string mask) {
  bool pictures = TakesIconFolderPictures(mask);
  mask = SearchMask(lib, std::move(mask), kArchiveMask);
  SearchRun run(lib, false, false);
  lib.UI().SetStatusText(2, "");
  std::string path = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  run.Walk([&](SearchSink& sink) { SearchWalk(sink, mask, pictures).Folder(path); });
  run.Finish();
}

void SearchLocalDisks(CollectionTarget& lib) {
  bool pictures = TakesIconFolderPictures(lib.Settings().IconMask);
  std::string mask = SearchMask(lib, lib.Settings().IconMask, ";*.zip;*.rar;*.gif");
  SearchRun run(lib, false, true);
  lib.UI().SetStatusText(2, "");
  run.ShowBuilding("local disks");
  std::vector<std::string> drives = ListFixedDrives();
  SearchModeScope searching(lib);
  run.Walk([&](SearchSink& sink) { SearchWalk(sink, mask, pictures).Disks(drives); });
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

void FindInFolder(CollectionTarget& lib) {
  lib.CheckNotBusy();
  TSettings& settings = lib.Settings();
  TFindIconsRequest request;
  request.initial = {NearestExistingFolder(settings.SearchIconsDir), settings.IconMask,
                     settings.IncludeSubDirs, settings.ExcludeDups, settings.SearchArchives};
  request.defaultMask = kDefaultIconMask;
  request.maskNote = kIconFolderPicturesNote;
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
  SearchModeScope searching(lib);
  if (settings.IncludeSubDirs)
    SearchFolderTree(lib, folder, settings.IconMask, false);
  else
    SearchFolder(lib, folder, settings.IconMask);
}

void FindOnLocalDisks(CollectionTarget& lib) {
  TSettings& settings = lib.Settings();
  auto choice = lib.UI().AskDiskSearch({settings.SearchArchives, settings.ExcludeDups});
  if (!choice) return;
  settings.SearchArchives = choice->searchArchives;
  settings.ExcludeDups = choice->excludeDuplicates;
  SearchLocalDisks(lib);
}

}  // namespace varnel
