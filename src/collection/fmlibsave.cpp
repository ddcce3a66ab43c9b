// TfmLib: opening a file into the collection and saving it by file type.

#include <filesystem>

#include "appcore/childhost.h"
#include "appcore/reopenfileholder.h"
#include "appcore/shareddialogs.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "base/mappedfile.h"
#include "collection/exportnames.h"
#include "collection/fileimport.h"
#include "collection/filekind.h"
#include "collection/filetruncation.h"
#include "collection/fmlib.h"
#include "collection/zipmemofile.h"
#include "platform/textfunctions.h"
#include "resources/moduleupdate.h"

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

// The member stem of an item: its name without an extension and without folder separators.
std::string ZipMemberStem(const std::string& itemName) {
  std::string name = itemName;
  for (char& c : name)
    if (c == '/' || c == '\\') c = '_';
  std::string stem = std::filesystem::path(name).replace_extension().string();
  return stem.empty() ? name : stem;
}

// Whether a module or Mac icon file ends before its headers' data.
std::optional<TFileTruncation> TruncationOfFile(const std::string& name, TFileKind kind) {
  SharedFile file = MappedFile::TryOpen(name);
  return file ? FindTruncation(kind, file->Bytes()) : std::nullopt;
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
  // A library names every icon: an empty name gets the default one of its position.
  for (int i = 0; i < Count(); ++i)
    if (Items().Names(i).empty()) Items().SetName(i, "Icon " + std::to_string(i + 1));
  UI().SetStatusText(0, "Saving...");
  if (sixteenBit)
    Document.Library.SaveAs16Bit(name);
  else
    Document.Library.SaveAs32Bit(name);
}

void TfmLib::SaveCollectionAsZip(const std::string& path) {
  TZipMemoFile zip;
  // Member names unique ignoring case (archives are often extracted where case does not count).
  UniqueNames names;
  for (int i = 0; i < Count(); ++i) {
    const TAdvancedIcon& icon = *Items().Icons(i);
    if (!icon.Images().Count()) continue;
    MemoryStream file;
    bool cursor = IsCursorIcon(icon);
    if (cursor)
      icon.SaveCursorToStream(file);
    else
      icon.SaveToStream(file);
    int member =
        zip.AddMember(names.Make(ZipMemberStem(Items().Names(i)), cursor ? ".cur" : ".ico"));
    zip.SetMemberData(member, file.Bytes());
  }
  if (!zip.Count()) throw Exception("Nothing to save: no icon of the collection has images");
  zip.SaveToFile(path);
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

bool TfmLib::UpdateOpenedModule(const std::string& name) {
  UI().SetWaitCursor(true);
  UI().SetStatusText(0, "Saving...");
  IconUpdateResult result = UpdateModuleIcons(name, Document.Library);
  UI().SetWaitCursor(false);
  UI().SetStatusText(0, "");
  if (!result.message.empty()) {
    UI().ShowMessage(MakeMessage(TMessageKind::Error,
                                 "Can not update source file. Library "
                                 "structure was modified. " +
                                     result.message + ". Use Save As... command"));
    return false;
  }
  if (!result.Notice().empty())
    UI().ShowMessage(MakeMessage(TMessageKind::Information, result.Notice()));
  // Edits the module cannot hold (names, when no image changed) keep the collection modified.
  if (result.written) SetModified(false);
  FileName = name;
  return true;
}

bool TfmLib::Save() {
  std::string name = FileName;
  bool sixteenBit = false;
  if (name.empty()) {
    auto answer = UI().ChooseFileToSave({"Save", kSaveFilter, 1, "", "", "icc", false});
    if (!answer || answer->files.empty()) return false;
    auto [description, extension] = FilterAt(kSaveFilter, answer->filterIndex);
    name = WithExtension(answer->files[0], extension);
    sixteenBit = description.find("16") != std::string::npos;
  }
  std::string ext = UpperExtension(name);
  bool library = ext == "ICL" || ext == "NIL" || ext == "IL";
  bool known = ext.empty() || ext == "ICC" || ext == "ZIP" || library;
  if (known || FileSizeOf(name) < 0) {
    SaveByExtension(name, sixteenBit);
    return true;
  }
  if (settings_.ConfirmUPF &&
      !ConfirmDialog(UI(),
                     "It's strongly recommended to have backup copy for this file. The program "
                     "file will be modified. Continue?",
                     settings_.ConfirmUPF))
    return false;  // nothing was saved, so the changes are still only in memory
  // An existing module the collection was opened from: its icons are updated inside it.
  return UpdateOpenedModule(name);
}

void TfmLib::SaveAs() {
  if (TReopenFileHolder* recent = Host().RecentFiles()) recent->AddFile(FileName);
  std::string preset = FileName;
  std::string ext = UpperExtension(preset);
  if (ext != "ICL" && ext != "NIL" && ext != "IL" && ext != "ICC" && ext != "DLL")
    preset = std::filesystem::path(preset).replace_extension(".icc").string();
  auto answer = UI().ChooseFileToSave({"Save As", kSaveFilter, 1, "", preset, "icc", false});
  if (!answer || answer->files.empty()) return;
  auto [description, filterExt] = FilterAt(kSaveFilter, answer->filterIndex);
  std::string name = answer->files[0];
  if (!filterExt.empty()) name = std::filesystem::path(name).replace_extension(filterExt).string();
  SaveByExtension(name, description.find("16") != std::string::npos);
}

void TfmLib::OpenFile(const std::string& name) {
  TReopenFileHolder* recent = Host().RecentFiles();
  if (!FileName.empty() && recent) recent->AddFile(FileName);
  Document.Clear();
  Document.TakeDroppedImageCount();  // only what this file drops is reported
  std::optional<TFileTruncation> truncation;
  WhileBusySelectingFirst([&] {
    TFileKindInfo kind = DetectFileKind(name);
    if (kind.kind == TFileKind::fkCollection)
      ReadCollectionFile(name);
    else
      LoadFile(*this, name);
    SetModified(false);
    truncation = TruncationOfFile(name, kind.kind);
    bool container = kind.kind == TFileKind::fkCollection || kind.kind == TFileKind::fkModule;
    if (!Count() && (truncation || !container)) {
      SetChildCaption("");
      AssignNumberedCaption();
      throw Exception(truncation ? TruncationMessage(name, *truncation) + "; no icons could be read"
                                 : name + " - icons not found");
    }
    if (recent) recent->RefreshMenu();
    SetCaptionFromFile(name);
  });
  FileName = name;
  Host().RefreshMainCaption();
  grid_.Focus();
  ReportDroppedImages();
  if (truncation)
    UI().ShowMessage(MakeMessage(TMessageKind::Warning, TruncationMessage(name, *truncation) +
                                                            "; what could be read is shown"));
}

}  // namespace varnel
