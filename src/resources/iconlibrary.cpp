#include "resources/iconlibrary.h"

#include <algorithm>

#include "base/fileio.h"
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

bool AppendPEIcons(const std::string& fileName, TIconList& icons) {
  TPEResourceModule module;
  module.LoadFromFile(fileName);  // a damaged image gives what was decoded before the damage
  AppendGroupIcons(module, icons);
  return true;
}

bool Append16BitIcons(const std::string& fileName, TIconList& icons) {
  T16BitReader reader(fileName);
  if (!reader.ReadIcons()) return false;
  for (TNamedIcon& item : reader.List) icons.AddIcon(item.name, std::move(item.icon));
  return true;
}

}  // namespace

bool TIconLibrary::ReadModuleIcons(const std::string& fileName) {
  return Is32Bit ? AppendPEIcons(fileName, Icons) : Append16BitIcons(fileName, Icons);
}

ModuleCensus TIconLibrary::ExamineFile(const std::string& fileName) {
  FileName = fileName;
  IsModule = Is32Bit = false;
  try {
    MappedFile file(fileName);
    IsModule = IsModuleBytes(file.Bytes(), Is32Bit);
    return TakeModuleCensus(file.Bytes());
  } catch (const std::exception&) {
    return {};
  }
}

bool TIconLibrary::LoadFromFile(const std::string& fileName) {
  Icons.Clear();
  ModuleCensus census = ExamineFile(fileName);
  if (IsModule && !census.hasIcons) {
    ModuleIconCount = 0;
    return false;
  }
  ModuleIconCount = census.iconCount;
  bool result = false;
  if (IsModule && ModuleIconCount != 0) result = ReadModuleIcons(fileName) && !Is32Bit;
  if (Icons.Count() == 0) ScanForImages(fileName, Icons);
  return result;
}

bool TIconLibrary::AppendFromFile(const std::string& fileName) {
  ModuleIconCount = ExamineFile(fileName).iconCount;
  int countBefore = Icons.Count();
  bool result = false;
  if (IsModule && ModuleIconCount != 0) result = ReadModuleIcons(fileName);
  if (Icons.Count() == countBefore) ScanForImages(fileName, Icons);
  return result;
}

bool TIconLibrary::LoadNames(const std::string& fileName) {
  Icons.Clear();
  ModuleIconCount = std::max(ExamineFile(fileName).iconCount, 0);
  if (!IsModule) return false;
  if (Is32Bit) {
    TPEResourceModule module;
    try {
      module.DecodeFile(fileName);
    } catch (const std::exception&) {
      return false;
    }
    AppendGroupIcons(module, Icons);
    return true;
  }
  T16BitReader reader(fileName);
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
