#include "search/associatedicons.h"

#include <algorithm>
#include <filesystem>

#include "appcore/shareddialogs.h"
#include "base/errors.h"
#include "collection/busyscope.h"
#include "collection/collectiontarget.h"
#include "collection/kindreaders.h"
#include "platform/casefold.h"
#include "platform/textfunctions.h"
#include "resources/iconlibrary.h"
#include "search/desktopfiletypes.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kExtractingText = "Extracting associated icons...";

std::vector<std::unique_ptr<TAdvancedIcon>> TakeIconsWithImages(
    std::vector<std::unique_ptr<TAdvancedIcon>>& icons) {
  std::erase_if(icons, [](const auto& icon) { return !icon || !icon->Images().Count(); });
  return std::move(icons);
}

// The file read as one icon file, appended under its file name; false when it gave no image.
bool AppendAsIconFile(TIconLibrary& library, const std::string& path) {
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->LoadFromFile(path);
  if (!icon->Images().Count()) return false;
  library.Icons.AddIcon(fs::path(path).filename().string(), std::move(icon));
  return true;
}

// The icons in RIFF chunks of the file, named after it, numbered when there are several.
void AppendRiffIcons(TIconLibrary& library, const std::string& path) {
  std::vector<std::unique_ptr<TAdvancedIcon>> found;
  TAdvancedIcon().ExtractFromRiffFile(path, 0, &found);
  std::vector<std::unique_ptr<TAdvancedIcon>> icons = TakeIconsWithImages(found);
  std::string stem = fs::path(path).stem().string();
  for (size_t i = 0; i < icons.size(); ++i)
    library.Icons.AddIcon(icons.size() == 1 ? stem : stem + std::to_string(i), std::move(icons[i]));
}

// A library holding every icon the file gives: a module's own, else the file as an icon file,
// else its RIFF icons.
TIconLibrary ReadIconsOf(const std::string& path) {
  TIconLibrary library;
  if (library.LoadFromFile(path)) return library;
  bool readAsIconFile = library.ModuleIconCount < 1;
  if (!readAsIconFile || !AppendAsIconFile(library, path)) AppendRiffIcons(library, path);
  return library;
}

void AddRegistration(CollectionTarget& lib, const FileTypeIcon& registration) {
  if (registration.kind == AssociatedIconFile::Picture)
    AddAssociatedPicture(lib, registration.file, registration.name);
  else
    AddAssociatedIcon(lib, registration.file, registration.name, registration.indexText);
}

void SortByName(std::vector<FileTypeIcon>& icons) {
  std::stable_sort(icons.begin(), icons.end(), [](const FileTypeIcon& a, const FileTypeIcon& b) {
    return CompareTextFolded(a.name, b.name) < 0;
  });
}

bool StopRequested(CollectionTarget& lib) {
  lib.UI().ProcessMessages();
  return lib.TakeProgressStop();
}

void ShowAdded(CollectionTarget& lib, const FileTypeIcon& registration, int& shown) {
  UserInterface& ui = lib.UI();
  std::string count = std::to_string(lib.Count());
  ui.SetStatusText(0, kExtractingText + registration.name);
  ui.SetStatusText(1, "Icons " + count);
  ui.SetProgressField(TProgressField::File, registration.name);
  ui.SetProgressField(TProgressField::Count, count);
  if (lib.Count() > shown) lib.Grid().GrowGrid(shown);
  shown = lib.Count();
}

}  // namespace

int AssociatedIconIndex(const TIconLibrary& library, const std::string& indexText) {
  if (indexText.starts_with("-")) {
    std::string name = indexText.substr(1);
    for (int i = 0; i < library.Count(); ++i)
      if (SameTextFolded(library.Icons.Names(i), name)) return i;
    return -1;
  }
  std::optional<int32_t> index = TryParseInteger(indexText);
  return index && *index >= 0 && *index < library.Count() ? *index : -1;
}

void AddAssociatedIcon(CollectionTarget& lib, const std::string& path, const std::string& name,
                       const std::string& indexText) {
  TIconLibrary library = ReadIconsOf(path);
  int index = AssociatedIconIndex(library, indexText);
  if (index < 0) {
    lib.RecordSources(path, 0);
    return;
  }
  library.Icons.MoveIconTo(index, lib.Items());
  int added = lib.Count() - 1;
  lib.Items().SetName(added, name);
  lib.Collection().RecordSource(added, path, index);
}

void AddAssociatedPicture(CollectionTarget& lib, const std::string& path, const std::string& name) {
  std::unique_ptr<TAdvancedIcon> icon = ReadPictureFileIcon(path);
  if (!icon) {
    AddAssociatedIcon(lib, path, name, "0");
    return;
  }
  if (!icon->Images().Count()) return;
  lib.AppendItem(name, std::move(icon));
  lib.Collection().RecordSource(lib.Count() - 1, path, 0);
}

void FindAssociatedIcons(CollectionTarget& lib, FileTypeRegistrations& registrations) {
  lib.CheckNotBusy();
  UserInterface& ui = lib.UI();
  int before = lib.Count();
  ui.SetStatusText(0, kExtractingText);
  std::vector<FileTypeIcon> icons = registrations.Icons();
  SortByName(icons);
  std::vector<std::string> errors;
  {
    TBusyScope busy(lib, TBusyKind::LongOperation);
    ui.SetProgressCaption(kExtractingText);
    int shown = lib.Count();
    for (const FileTypeIcon& registration : icons) {
      std::error_code error;
      if (fs::is_regular_file(registration.file, error)) {
        ui.SetProgressField(TProgressField::Path, registration.file);
        try {
          AddRegistration(lib, registration);
        } catch (const std::exception& failure) {
          errors.push_back(registration.file + ": " + failure.what());
        }
        ShowAdded(lib, registration, shown);
      }
      if (StopRequested(lib)) break;
    }
    if (lib.Count() != before) lib.SetModified(true);
  }
  ShowErrors(ui, errors);
}

void FindAssociatedIcons(CollectionTarget& lib) {
  lib.CheckNotBusy();
  DesktopFileTypes registrations = DesktopFileTypes::FromEnvironment();
  FindAssociatedIcons(lib, registrations);
}

}  // namespace varnel
