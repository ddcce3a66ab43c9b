#include "resources/iclwriter32.h"

#include "resources/iclnamestable.h"
#include "resources/iclreaderror.h"
#include "resources/iconcursorgroupresource.h"

namespace varnel {

namespace {

constexpr size_t kGroupHeaderSize = 6;
constexpr size_t kGroupEntrySize = 14;

template <class ImageRecord>
ImageRecord& AddImageResource(TPEResourceModule& module, const TSubIcon& image) {
  auto* resource = CreateNewResource<ImageRecord>(
      module, kIclLanguage, module.GetUniqueResourceName(ImageRecord::GetBaseType()));
  resource->SetImage(image);  // a cursor image's record starts with its hotspot
  return *resource;
}

// A PNG image's entry is taken from the image itself, not from the PNG header (icon entries
// only: a cursor entry holds the sizes as words).
void CopyEntryFromImage(TIconGroupResourceDetails& group, const TSubIcon& image) {
  std::vector<uint8_t>& bytes = group.Data().Bytes();
  size_t last = kGroupHeaderSize + size_t(group.ImageCount() - 1) * kGroupEntrySize;
  if (last + kGroupEntrySize > bytes.size()) return;
  const TIconDirEntry& entry = image.Entry();
  bytes[last] = entry.bWidth;
  bytes[last + 1] = entry.bHeight;
  bytes[last + 2] = entry.bColorCount;
  bytes[last + 3] = entry.bReserved;
  WriteU16LE(&bytes[last + 4], entry.wPlanes);
  WriteU16LE(&bytes[last + 6], entry.wBitCount);
}
void CopyEntryFromImage(TCursorGroupResourceDetails&, const TSubIcon&) {}

// The group starts with a default image; once the first real image is listed, it goes.
void DeleteDefaultImage(TPEResourceModule& module, TIconCursorGroupResourceDetails& group) {
  TIconCursorResourceDetails* placeholder = group.ImageResource(0);
  if (placeholder) module.DeleteResource(module.IndexOfResource(placeholder));
}

template <class GroupRecord, class ImageRecord>
void AddGroup(TPEResourceModule& module, const std::string& name, const TAdvancedIcon& icon) {
  GroupRecord* group = nullptr;
  for (const auto& image : icon.Images()) {
    ImageRecord& resource = AddImageResource<ImageRecord>(module, *image);
    bool first = group == nullptr;
    if (first) group = CreateNewResource<GroupRecord>(module, kIclLanguage, name);
    group->AddImage(resource);
    if (image->IsPng()) CopyEntryFromImage(*group, *image);
    if (first) DeleteDefaultImage(module, *group);
  }
}

// Cursors become cursor groups, so that their hotspots stay.
void AddIconOrCursorGroup(TPEResourceModule& module, const std::string& name,
                          const TAdvancedIcon& icon) {
  if (IsCursorIcon(icon))
    AddGroup<TCursorGroupResourceDetails, TCursorResourceDetails>(module, name, icon);
  else
    AddGroup<TIconGroupResourceDetails, TIconResourceDetails>(module, name, icon);
}

// Group entries name their images by 16-bit ids.
void CheckImageIdsFit(const TIconList& icons) {
  int64_t images = 0;
  for (int i = 0; i < icons.Count(); ++i) images += icons.Icons(i)->Images().Count();
  if (images > kMaxIcl32Images)
    throw EICLReadError("Iconlibraries with more than 65535 images are not possible");
}

}  // namespace

void BuildIcl32Module(const TIconList& icons, TPEResourceModule& module) {
  CheckImageIdsFit(icons);
  module.InitializeResourceOnlyImage(".rsrc");
  for (int i = 0; i < icons.Count(); ++i)
    AddIconOrCursorGroup(module, icons.Names(i), *icons.Icons(i));
  std::vector<uint8_t> names = BuildIclNamesTable(icons);
  module.AddResource(
      std::make_unique<TResourceDetails>(&module, kIclLanguage, "1", kIclNamesTableType, names));
}

std::vector<uint8_t> BuildIcl32Image(const TIconList& icons) {
  TPEResourceModule module;
  BuildIcl32Module(icons, module);
  MemoryStream out;
  module.SaveToStream(out);
  return out.TakeBytes();
}

void WriteIcl32File(const TIconList& icons, const std::string& fileName) {
  TPEResourceModule module;
  BuildIcl32Module(icons, module);
  module.SaveToFile(fileName);
}

}  // namespace varnel
