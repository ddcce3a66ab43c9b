#include "resources/modulerebuild.h"

#include <map>
#include <set>

#include "base/byteorder.h"
#include "resources/iconcursorgroupresource.h"
#include "resources/modulesignature.h"
#include "resources/pefile.h"

namespace varnel {

namespace {

constexpr const char* kInvalidIcon = "Invalid icon in the source file";
constexpr size_t kGroupHeaderSize = 6;
constexpr size_t kGroupEntrySize = 14;
constexpr int kLargestImageId = 0xFFFF;

using GroupImages = std::vector<TIconCursorResourceDetails*>;

using Groups = std::vector<TIconCursorGroupResourceDetails*>;

template <class GroupRecord>
void AppendGroupsOf(const TPEResourceModule& module, Groups& groups) {
  for (int i = 0; i < module.ResourceCount(); ++i)
    if (auto* group = dynamic_cast<GroupRecord*>(module.ResourceDetails(i)))
      groups.push_back(group);
}

// The groups in the order the library lists their icons: icon groups, then cursor groups.
Groups GroupsOf(const TPEResourceModule& module) {
  Groups groups;
  AppendGroupsOf<TIconGroupResourceDetails>(module, groups);
  AppendGroupsOf<TCursorGroupResourceDetails>(module, groups);
  return groups;
}

// The image records each group lists, in entry order; nothing when one is missing.
std::optional<std::vector<GroupImages>> ResolveImages(const Groups& groups) {
  std::vector<GroupImages> images;
  for (const TIconCursorGroupResourceDetails* group : groups) {
    GroupImages& listed = images.emplace_back();
    for (int e = 0; e < group->ImageCount(); ++e) {
      TIconCursorResourceDetails* image = group->ImageResource(e);
      if (!image) return std::nullopt;
      listed.push_back(image);
    }
  }
  return images;
}

// An image that several entries list is copied for every entry after the first, so that each
// entry gets an image record of its own to renumber and replace.
void SeparateSharedImages(TPEResourceModule& module, std::vector<GroupImages>& images) {
  std::set<const TIconCursorResourceDetails*> seen;
  for (GroupImages& listed : images)
    for (TIconCursorResourceDetails*& image : listed) {
      if (seen.insert(image).second) continue;
      auto copy = CreateResourceDetails(&module, image->ResourceLanguage(), image->ResourceName(),
                                        image->ResourceType(), ByteBlock(image->Bytes()));
      image = dynamic_cast<TIconCursorResourceDetails*>(copy.get());
      if (!image) throw EPEException(kInvalidIcon);
      module.AddResource(std::move(copy));
    }
}

// The last id given to the images of each type ("3", "1"): icon and cursor images are numbered
// apart.
using ImageIds = std::map<std::string, int>;

// Images no group lists are numbered after the listed ones of their type, out of their way.
void MoveStrayImagesAside(const TPEResourceModule& module, const std::vector<GroupImages>& images,
                          ImageIds& ids) {
  std::set<const TResourceDetails*> listed;
  for (const GroupImages& group : images) listed.insert(group.begin(), group.end());
  for (int i = 0; i < module.ResourceCount(); ++i) {
    auto* record = dynamic_cast<TIconCursorResourceDetails*>(module.ResourceDetails(i));
    if (record && !listed.count(record))
      record->SetResourceName(std::to_string(++ids[record->ResourceType()]));
  }
}

void ReplaceImage(TIconCursorGroupResourceDetails& group, int entry,
                  TIconCursorResourceDetails& record, const TSubIcon& image, int id) {
  record.SetResourceName(std::to_string(id));
  record.SetImage(image);  // a cursor record keeps the image's hotspot
  if (record.HasHotSpot()) {
    group.ReplaceEntry(entry, record);
    return;
  }
  std::vector<uint8_t>& groupBytes = group.Data().Bytes();
  size_t at = kGroupHeaderSize + size_t(entry) * kGroupEntrySize;
  if (at + kGroupEntrySize > groupBytes.size()) throw EPEException(kInvalidIcon);
  TIconDirEntry dirEntry = image.Entry();
  dirEntry.dwBytesInRes = image.DataSize();
  dirEntry.Encode(&groupBytes[at]);
  WriteU16LE(&groupBytes[at + 12], uint16_t(id));
}

// The refusal when the module's groups and the library's icons differ; groups are renamed on
// the way, as the library names its icons.
std::string NameGroupsAfterIcons(const Groups& groups, const TIconLibrary& library) {
  for (const TIconCursorGroupResourceDetails* group : groups)
    if (group->ImageCount() == 0) return kInvalidIcon;
  if (int(groups.size()) != library.Count())
    return "Icon amounts in source file and library are different";
  for (int k = 0; k < library.Count(); ++k) {
    groups[k]->SetResourceName(library.Icons.Names(k));
    if (groups[k]->ImageCount() != library.Icon(k)->Images().Count())
      return "Icon " + std::to_string(k) +
             ": frame quantity in source file and library are different";
  }
  return {};
}

}  // namespace

IconUpdateResult RebuildModuleIcons(const std::string& sourceName, const std::string& destName,
                                    const TIconLibrary& library) {
  IconUpdateResult result;
  SharedFile file = MappedFile::Open(sourceName);
  TPEResourceModule module;
  module.DecodeFile(file);
  Groups groups = GroupsOf(module);
  result.message = NameGroupsAfterIcons(groups, library);
  if (!result.message.empty()) return result;
  std::optional<std::vector<GroupImages>> images = ResolveImages(groups);
  if (!images) return {kInvalidIcon};
  SeparateSharedImages(module, *images);
  ImageIds ids;
  for (size_t k = 0; k < groups.size(); ++k)
    for (size_t e = 0; e < (*images)[k].size(); ++e) {
      TIconCursorResourceDetails& record = *(*images)[k][e];
      int id = ++ids[record.ResourceType()];
      if (id > kLargestImageId) throw EPEException("Too many icon images");
      ReplaceImage(*groups[k], int(e), record, *library.Icon(int(k))->Images()[int(e)], id);
    }
  MoveStrayImagesAside(module, *images, ids);
  result.signatureRemoved = RemoveCertificateTable(module, file->Size());
  module.SaveToFile(destName);
  result.written = true;
  return result;
}

}  // namespace varnel
