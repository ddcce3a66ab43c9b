// TfmLib: opening a file into the collection and saving it by file type.

#include <filesystem>

#include "appcore/childhost.h"
#include "appcore/reopenfileholder.h"
#include "appcore/shareddialogs.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "collection/fileimport.h"
#include "collection/filekind.h"
#include "collection/fmlib.h"
#include "collection/zipmemofile.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace {

constexpr const char* kSaveFilter =
    "Icon collection (*.icc)|*.icc|Icon library (*.icl)|*.icl|16-bit icon library "
    "(*.dll)|*.dll|32-bit icon library (*.dll)|*.dll|Zip file (*.zip)|*.zip";

std::string UpperExtension(const std::string& name) {
  std::string ext = std::filesystem::path(name).extension().string();
  if (!ext.empty()) ext.erase(0, 1);
  for (char& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
  return ext;
}

std::string FileNameOnly(const std::string& path) {
  return std::filesystem::path(path).filename().string();
}

// Description and extension (".icc") of filter number index (from 1) of a dialog filter.
std::pair<std::string, std::string> FilterAt(const std::string& filter, int index) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t bar; (bar = filter.find('|', start)) != std::string::npos; start = bar + 1)
    parts.push_back(filter.substr(start, bar - start));
  parts.push_back(filter.substr(start));
  size_t at = size_t(std::max(index, 1) - 1) * 2;
  if (at + 1 >= parts.size()) return {"", ""};
  std::string pattern = parts[at + 1];
  size_t dot = pattern.find('.');
  return {parts[at], dot == std::string::npos ? "" : pattern.substr(dot)};
}

// Appends the extension unless the name already ends in it (a trailing "." dropped first).
std::string WithExtension(std::string name, const std::string& ext) {
  if (!name.empty() && name.back() == '.') name.pop_back();
  if (name.size() >= ext.size() && SameText(name.substr(name.size() - ext.size()), ext))
    return name;
  return name + ext;
}

std::string ZipMemberName(const std::string& itemName) {
  std::string name = itemName;
  for (char& c : name)
    if (c == '/' || c == '\\') c = '_';
  return std::filesystem::path(name).replace_extension(".ico").string();
}

}  // namespace

void TfmLib::SetCaptionFromFile(const std::string& name) {
  SetChildCaption(FileNameOnly(name));
}

void TfmLib::CheckLibraryLimit() const {
  if (Count() > settings_.ICLExportLimit)
    throw Exception("Too many icons to save as .ICL file. You can save it as .ICC icon collection");
}

void TfmLib::WriteLibrary(const std::string& name, bool sixteenBit) {
  CheckLibraryLimit();
  UI().SetStatusText(0, "Saving...");
  if (sixteenBit)
    Library.SaveAs16Bit(name);
  else
    Library.SaveAs32Bit(name);
}

bool TfmLib::SaveCollectionAsZip(const std::string& path) {
  TZipMemoFile zip;
  for (int i = 0; i < Count(); ++i) {
    const TAdvancedIcon& icon = *Items().Icons(i);
    if (!icon.Images().Count()) continue;
    MemoryStream ico;
    icon.SaveToStream(ico);
    int member = zip.AddMember(ZipMemberName(Items().Names(i)));
    zip.SetMemberData(member, ico.Bytes());
  }
  if (!zip.Count()) return false;
  zip.SaveToFile(path);
  return true;
}

void TfmLib::SaveByExtension(const std::string& name, bool sixteenBit) {
  std::string ext = UpperExtension(name);
  UI().SetWaitCursor(true);
  try {
    if (ext == "ICC" || ext.empty()) {
      UI().SetStatusText(0, "Saving...");
      WriteCollectionFile(name);
    } else if (ext == "ZIP") {
      CorrectNames(false);
      UI().SetStatusText(0, "Saving...");
      SaveCollectionAsZip(name);
    } else {
      WriteLibrary(name, sixteenBit);
    }
  } catch (...) {
    UI().SetWaitCursor(false);
    UI().SetStatusText(0, "");
    throw;
  }
  UI().SetWaitCursor(false);
  UI().SetStatusText(0, "");
  FileName = name;
  SetModified(false);
  SetCaptionFromFile(name);
}

bool TfmLib::Save() {
  std::string name = FileName;
  if (name.empty()) {
    auto answer = UI().ChooseFileToSave({"", kSaveFilter, 1, "", "", "icc", false});
    if (!answer || answer->files.empty()) return false;
    name = WithExtension(answer->files[0], FilterAt(kSaveFilter, answer->filterIndex).second);
  }
  std::string ext = UpperExtension(name);
  bool library = ext == "ICL" || ext == "NIL" || ext == "IL";
  bool known = ext.empty() || ext == "ICC" || ext == "ZIP" || library;
  if (known || FileSizeOf(name) < 0) {
    SaveByExtension(name, false);
    return true;
  }
  // An existing module the collection was opened from: its icons would be updated in place.
  if (settings_.ConfirmUPF &&
      !ConfirmDialog(UI(),
                     "It's strongly recommended to have backup copy for this file. The program "
                     "file will be modified. Continue?",
                     settings_.ConfirmUPF))
    return true;
  UI().ShowMessage(MakeMessage(TMessageKind::Error,
                               "Can not update source file. Library structure was modified. "
                               "Updating icons inside modules is not available yet. Use Save "
                               "As... command"));
  return false;
}

void TfmLib::SaveAs() {
  if (TReopenFileHolder* recent = Host().RecentFiles()) recent->AddFile(FileName);
  std::string preset = FileName;
  std::string ext = UpperExtension(preset);
  if (ext != "ICL" && ext != "NIL" && ext != "IL" && ext != "ICC" && ext != "DLL")
    preset = std::filesystem::path(preset).replace_extension(".icc").string();
  auto answer = UI().ChooseFileToSave({"", kSaveFilter, 1, "", preset, "icc", false});
  if (!answer || answer->files.empty()) return;
  auto [description, filterExt] = FilterAt(kSaveFilter, answer->filterIndex);
  std::string name = answer->files[0];
  if (!filterExt.empty()) name = std::filesystem::path(name).replace_extension(filterExt).string();
  SaveByExtension(name, description.find("16") != std::string::npos);
}

void TfmLib::OpenFile(const std::string& name) {
  TReopenFileHolder* recent = Host().RecentFiles();
  if (!FileName.empty() && recent) recent->AddFile(FileName);
  ClearSources();
  Items().Clear();
  WhileBusySelectingFirst([&] {
    TFileKindInfo kind = DetectFileKind(name);
    if (kind.kind == TFileKind::fkCollection)
      ReadCollectionFile(name);
    else
      LoadFile(*this, name);
    SetModified(false);
    if (!Count() && kind.kind != TFileKind::fkCollection && kind.kind != TFileKind::fkModule) {
      SetChildCaption("");
      AssignNumberedCaption();
      throw Exception(name + " - icons not found");
    }
    if (recent) recent->RefreshMenu();
    SetCaptionFromFile(name);
  });
  FileName = name;
  Host().RefreshMainCaption();
  grid_.Focus();
}

}  // namespace varnel
