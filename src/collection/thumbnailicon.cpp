#include "collection/thumbnailicon.h"

#include <cstring>

#include "collection/exportnames.h"
#include "graphics/pngcodec.h"
#include "icons/macicon.h"
#include "resources/containericons.h"
#include "resources/pefile.h"
#include "resources/resourcedetails.h"

namespace varnel {

namespace {

constexpr const char* kIconGroupType = "14";

std::unique_ptr<TAdvancedIcon> IconFileIcon(const MappedFile& file) {
  auto icon = std::make_unique<TAdvancedIcon>();
  icon->LoadFromBytes(file.Bytes());
  return icon;
}

// The icon of the first frame (or ICON chunk) that gives images; the chunks after it are not read.
std::unique_ptr<TAdvancedIcon> FirstFrameIcon(const MappedFile& file) {
  std::vector<std::unique_ptr<TAdvancedIcon>> frames;
  TAdvancedIcon().ExtractFromRiffData(file.Bytes(), 1, &frames);
  return frames.empty() ? std::make_unique<TAdvancedIcon>() : std::move(frames.front());
}

// A file of no known kind is searched for icons in RIFF chunks when it is a RIFF file (an animated
// cursor whose lengths do not add up, say), unless its extension names an X picture.
std::unique_ptr<TAdvancedIcon> UnrecognisedFileIcon(const MappedFile& file) {
  std::span<const uint8_t> bytes = file.Bytes();
  bool riff = bytes.size() >= 4 && std::memcmp(bytes.data(), "RIFF", 4) == 0;
  std::string extension = LowerExtension(file.Path());
  if (!riff || extension == "xpm" || extension == "xbm") return nullptr;
  return FirstFrameIcon(file);
}

// The PNG elements are not decoded while the family is read, so the one drawn is checked here.
std::unique_ptr<TAdvancedIcon> MacIconFileIcon(const MappedFile& file, int size) {
  auto icon = std::make_unique<TAdvancedIcon>();
  ImportMacIconBytesUndecodedPng(file.Bytes(), *icon);
  if (!icon->Images().Count()) return icon;
  const TSubIcon* image = icon->GetBestImage(size, size, kThumbnailDepth);
  if (image->IsPng() && !PngDecodes(image->Data())) return nullptr;
  return icon;
}

// The first icon group that gives images, listed from the resource directory; only that group's
// images are read. Null for a 16-bit module or one without such a group.
std::unique_ptr<TAdvancedIcon> FirstGroupIcon(const SharedFile& file) {
  TPEResourceModule module;
  try {
    module.DecodeFile(file);
  } catch (const EPEException&) {
    return nullptr;
  }
  for (int i = 0; i < module.ResourceCount(); ++i) {
    TResourceDetails* record = module.ResourceDetails(i);
    if (record->ResourceType() != kIconGroupType) continue;
    if (auto icon = LoadGroupIcon(module, *record); icon->Images().Count()) return icon;
  }
  return nullptr;
}

}  // namespace

std::unique_ptr<TAdvancedIcon> ThumbnailIcon(const SharedFile& file, TFileKind kind, int size) {
  switch (kind) {
    case TFileKind::fkIcon:
      return IconFileIcon(*file);
    case TFileKind::fkAniCursor:
      return FirstFrameIcon(*file);
    case TFileKind::fkUnrecognised:
      return UnrecognisedFileIcon(*file);
    case TFileKind::fkMacIcon:
      return MacIconFileIcon(*file, size);
    case TFileKind::fkModule:
      return FirstGroupIcon(file);
    default:
      return nullptr;
  }
}

}  // namespace varnel
