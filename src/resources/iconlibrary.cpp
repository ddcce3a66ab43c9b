#include "resources/iconlibrary.h"

#include <algorithm>

#include "platform/textfunctions.h"
#include "resources/containericons.h"
#include "resources/iclwriter32.h"
#include "resources/imagescan.h"
#include "resources/modulecensus.h"
#include "resources/ne16bitreader.h"
#include "resources/ne16bitwriter.h"
#include "resources/pefile.h"

namespace varnel {

namespace {

bool AppendPEIcons(const SharedFile& file, TIconList& icons) {
  TPEResourceModule module;
  module.LoadFromFile(file);  // a damaged image gives what was decoded before the damage
  AppendGroupIcons(module, icons);
  return true;
}

bool Append16BitIcons(const SharedFile& file, TIconList& icons) {
  T16BitReader reader(file);
  if (!reader.ReadIcons()) return false;
  for (TNamedIcon& item : reader.List) icons.AddIcon(item.name, std::move(item.icon));
  return true;
}

// A census that found icon groups, or could not count them, sends the module to its reader; so
// do cursor groups, so that a module of cursors alone is not taken for one without groups.
bool HasGroupsToRead(const ModuleCensus& census) {
  return census.iconCount != 0 || census.cursorCount > 0;
}

}  // namespace

bool TIconLibrary::ReadModuleIcons(const SharedFile& file) {
  return Is32Bit ? AppendPEIcons(file, Icons) : Append16BitIcons(file, Icons);
}

ModuleCensus TIconLibrary::ExamineFile(const std::string& fileName,
                                       std::span<const uint8_t> bytes) {
  FileName = fileName;
  IsModule = IsModuleBytes(bytes, Is32Bit);
  return TakeModuleCensus(bytes);
}

int TIconLibrary::PositionOfLocationIndex(int index) const {
  if (index >= 0) return index < Count() ? index : -1;
  const std::string name = std::to_string(-static_cast<int64_t>(index));
  for (int i = 0; i < Count(); ++i)
    if (Icons.Names(i) == name) return i;
  return -1;
}

bool TIconLibrary::LoadFromFile(const std::string& fileName) {
  return LoadFromFile(MappedFile::Open(fileName));
}

bool TIconLibrary::LoadFromFile(const SharedFile& file) {
  Icons.Clear();
  ModuleCensus census = ExamineFile(file->Path(), file->Bytes());
  if (IsModule && !census.HasGroups()) {
    ModuleIconCount = 0;
    return false;
  }
  ModuleIconCount = census.iconCount;
  bool result = false;
  if (IsModule && HasGroupsToRead(census)) result = ReadModuleIcons(file) && !Is32Bit;
  if (Icons.Count() == 0) ScanBytesForImages(file->Bytes(), Icons);
  return result;
}

bool TIconLibrary::AppendFromFile(const std::string& fileName) {
  return AppendFromFile(MappedFile::Open(fileName));
}

bool TIconLibrary::AppendFromFile(const SharedFile& file) {
  ModuleCensus census = ExamineFile(file->Path(), file->Bytes());
  ModuleIconCount = census.iconCount;
  int countBefore = Icons.Count();
  bool result = false;
  if (IsModule && HasGroupsToRead(census)) result = ReadModuleIcons(file);
  if (Icons.Count() == countBefore) ScanBytesForImages(file->Bytes(), Icons);
  return result;
}

bool TIconLibrary::LoadNames(const std::string& fileName) {
  if (SharedFile file = MappedFile::TryOpen(fileName)) return LoadNames(file);
  Icons.Clear();
  ModuleIconCount = std::max(ExamineFile(fileName, {}).iconCount, 0);
  return false;
}

bool TIconLibrary::LoadNames(const SharedFile& file) {
  Icons.Clear();
  ModuleIconCount = std::max(ExamineFile(file->Path(), file->Bytes()).iconCount, 0);
  if (!IsModule) return false;
  if (Is32Bit) {
    TPEResourceModule module;
    try {
      module.DecodeFile(file);
    } catch (const std::exception&) {
      return false;
    }
    AppendGroupIcons(module, Icons);
    return true;
  }
  T16BitReader reader(file);
  if (!reader.ReadNames()) return false;
  for (TNamedIcon& item : reader.List) Icons.AddIcon(item.name, std::make_unique<TAdvancedIcon>());
  return true;
}

void TIconLibrary::CheckUniqueNames(std::string& message) const {
  message.clear();
  std::vector<std::string> names;
  for (int i = 0; i < Icons.Count(); ++i) names.push_back(Icons.Names(i));
  // Ignoring case first, then exactly, so that equal names always end up side by side.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    int folded = LowerCase(a).compare(LowerCase(b));
    return folded != 0 ? folded < 0 : a < b;
  });
  auto duplicate = std::adjacent_find(names.begin(), names.end());
  if (duplicate == names.end()) return;
  message = "Please correct icon names. Non-unique icon name \"" + *duplicate + "\" found.";
  throw Exception(message);
}

bool TIconLibrary::SaveAs32Bit(const std::string& fileName) const {
  std::string message;
  CheckUniqueNames(message);
  WriteIcl32File(Icons, fileName);
  return true;
}

void TIconLibrary::SaveAs16Bit(const std::string& fileName) const {
  std::string message;
  CheckUniqueNames(message);
  T16BitWriter(Icons).Write(fileName);
}

void TIconLibrary::ReleaseHandles() {
  for (int i = 0; i < Icons.Count(); ++i)
    for (const auto& image : Icons.Icons(i)->Images()) image->ReleaseHandle();
}

int FindIconInLibrary(const std::string& fileName, const std::string& name) {
  TIconLibrary library;
  library.LoadNames(fileName);
  for (int i = 0; i < library.Count(); ++i)
    if (library.Icons.Names(i) == name) return i;
  return -1;
}

std::optional<TIconHandle> ExtractIconFromLibrary(const std::string& fileName, int index, int size,
                                                  int bitsPerPixel) {
  TIconLibrary library;
  library.LoadFromFile(fileName);
  if (index < 0 || index >= library.Count()) return std::nullopt;
  const TIconHandle* handle = library.Icon(index)->GetBestHandle(size, size, bitsPerPixel);
  if (!handle) return std::nullopt;
  return *handle;
}

}  // namespace varnel
