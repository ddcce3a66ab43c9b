#include "collection/thumbnailsource.h"

#include <algorithm>

#include "base/errors.h"
#include "base/filereadstream.h"
#include "collection/collection.h"
#include "collection/fileimport.h"
#include "collection/thumbnailicon.h"
#include "icons/icondrawing.h"

namespace varnel {

namespace {

// The image's size, shrunk with its proportions to fit size x size.
std::pair<int, int> FittedSize(const TSubIcon& image, int size) {
  int width = std::max(image.ImageWidth(), 1), height = std::max(image.ImageHeight(), 1);
  if (width <= size && height <= size) return {width, height};
  if (width >= height) return {size, std::max(1, height * size / width)};
  return {std::max(1, width * size / height), size};
}

// The icon's best image drawn as the thumbnail.
TBitmap Draw(const TAdvancedIcon* icon, const std::string& path, int size) {
  const TSubIcon* image = icon ? icon->GetBestImage(size, size, kThumbnailDepth) : nullptr;
  if (!image) throw Exception("no icons found in " + path);
  auto [width, height] = FittedSize(*image, size);
  TBitmap cell(width, height, PixelFormat::Bits32);
  DrawFitted(cell, 0, 0, false, true, clNone, *image, height, width);
  return cell;
}

template <typename Icons>
const TAdvancedIcon* FirstWithImages(int count, Icons iconAt) {
  for (int i = 0; i < count; ++i)
    if (iconAt(i)->Images().Count()) return iconAt(i);
  return nullptr;
}

TBitmap CollectionThumbnail(const std::string& path, int size) {
  TCollection collection;
  FileReadStream stream(path);
  collection.Read(stream, path);
  const TIconList& items = collection.Items();
  return Draw(FirstWithImages(items.Count(), [&](int i) { return items.Icons(i); }), path, size);
}

// Every kind the thumbnail does not read by itself: the file's whole import.
TBitmap ImportedThumbnail(const std::string& path, int size) {
  FileContents contents = ReadFileContents(path, FileReadOptions{});
  if (contents.error) std::rethrow_exception(contents.error);
  const auto& found = contents.icons;
  return Draw(
      FirstWithImages(int(found.size()), [&](int i) { return found[size_t(i)].icon.get(); }), path,
      size);
}

}  // namespace

TBitmap ThumbnailOf(const std::string& path, int size) {
  SharedFile file = MappedFile::TryOpen(path);
  if (!file) return ImportedThumbnail(path, size);
  TFileKind kind = DetectFileKind(*file).kind;
  if (kind == TFileKind::fkCollection) return CollectionThumbnail(path, size);
  if (auto icon = ThumbnailIcon(file, kind, size)) {
    return Draw(icon->Images().Count() ? icon.get() : nullptr, path, size);
  }
  return ImportedThumbnail(path, size);
}

}  // namespace varnel
