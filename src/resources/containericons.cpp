#include "resources/containericons.h"

#include "base/errors.h"
#include "resources/pefile.h"
#include "resources/resimport.h"

namespace varnel {

namespace {

constexpr const char* kIconGroupType = "14";
constexpr const char* kCursorGroupType = "12";

void AppendGroupsOfType(TResourceModule& module, const std::string& type, TIconList& list) {
  for (int i = 0; i < module.ResourceCount(); ++i) {
    TResourceDetails* record = module.ResourceDetails(i);
    if (record->ResourceType() == type)
      list.AddIcon(record->ResourceName(), LoadGroupIcon(module, *record));
  }
}

}  // namespace

std::unique_ptr<TAdvancedIcon> LoadGroupIcon(TResourceModule& module, TResourceDetails& record) {
  bool cursor = record.ResourceType() == kCursorGroupType;
  std::unique_ptr<TAdvancedIcon> icon =
      cursor ? std::make_unique<TAdvancedCursor>() : std::make_unique<TAdvancedIcon>();
  try {
    // The group's own data and language: a name present in several languages gives each
    // language's icon.
    icon->LoadFromResourceGroup(module, record.ReadStream(), record.ResourceLanguage(), cursor);
  } catch (const std::exception&) {
    // A damaged group keeps the images read before the damage.
  }
  return icon;
}

void AppendGroupIcons(TResourceModule& module, TIconList& list) {
  AppendGroupsOfType(module, kIconGroupType, list);
  AppendGroupsOfType(module, kCursorGroupType, list);
}

void ReadContainerIcons(const std::string& fileName, TIconList& list) {
  ReadContainerIcons(MappedFile::Open(fileName), list);
}

void ReadContainerIcons(const SharedFile& file, TIconList& list) {
  std::span<const uint8_t> bytes = file->Bytes();
  if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
    TPEResourceModule module;
    module.DecodeFile(file);
    AppendGroupIcons(module, list);
    return;
  }
  if (!LooksLikeResourceFile(bytes)) throw Exception("not a PE module or resource file");
  ImportResourceBytes(bytes, list);
}

}  // namespace varnel
