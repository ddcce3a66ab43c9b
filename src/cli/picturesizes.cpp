#include "cli/picturesizes.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <sstream>

#include "base/errors.h"
#include "base/mappedfile.h"
#include "collection/filekind.h"
#include "collection/kindreaders.h"
#include "graphics/resamplefilters.h"
#include "icons/imagefileloader.h"
#include "icons/picturesizing.h"

namespace varnel::cli {

namespace {

constexpr int kLargestSize = 1024;
constexpr int kAlphaThreshold = 80;

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

// Removes "name VALUE" from args; false when the option is absent. A missing value is an error.
std::optional<std::string> TakeValue(std::vector<std::string>& args, const std::string& name,
                                     std::string& value, bool& present) {
  auto option = std::find(args.begin(), args.end(), name);
  present = option != args.end();
  if (!present) return std::nullopt;
  if (option + 1 == args.end()) return name + " needs a value";
  value = *(option + 1);
  args.erase(option, option + 2);
  return std::nullopt;
}

std::optional<std::string> ParseSizes(const std::string& text, std::vector<int>& sizes) {
  std::stringstream items(text);
  std::string item;
  while (std::getline(items, item, ',')) {
    int size = 0;
    auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), size);
    if (error != std::errc() || end != item.data() + item.size() || size < 1 || size > kLargestSize)
      return "--sizes takes sizes from 1 to " + std::to_string(kLargestSize) + ", not " + item;
    sizes.push_back(size);
  }
  if (sizes.empty()) return "--sizes needs at least one size";
  return std::nullopt;
}

std::optional<std::string> ParseFilter(const std::string& text, int& filter) {
  for (int index = 1; index < kFilterCount; ++index)
    if (HasKernel(index) && Lower(ResampleFilterName(index)).starts_with(Lower(text)) &&
        !text.empty()) {
      filter = index;
      return std::nullopt;
    }
  if (Lower(text) == "none") {
    filter = 0;
    return std::nullopt;
  }
  return "unknown filter " + text;
}

// The kind reader of a picture file; null for every other kind.
const FileFormat* PictureReader(const MappedFile& file) {
  const FileFormat& reader = FormatOf(DetectFileKind(file).kind);
  return reader.group == TKindGroup::Picture ? &reader : nullptr;
}

bool IsDrawing(const MappedFile& file) {
  return DetectFileKind(file).kind == TFileKind::fkVectorDrawing && HasImageReader(file.Path());
}

}  // namespace

std::optional<std::string> TakePictureSizeOptions(std::vector<std::string>& args,
                                                  PictureSizes& sizes) {
  std::string value;
  bool present = false;
  if (auto error = TakeValue(args, "--sizes", value, present)) return error;
  if (present)
    if (auto error = ParseSizes(value, sizes.sizes)) return error;
  if (auto error = TakeValue(args, "--filter", value, present)) return error;
  if (present)
    if (auto error = ParseFilter(value, sizes.filter)) return error;
  auto flag = std::find(args.begin(), args.end(), "--no-proportions");
  if (flag != args.end()) {
    sizes.keepProportions = false;
    args.erase(flag);
  }
  return std::nullopt;
}

bool ImportPictureAtSizes(CollectionTarget& lib, const std::string& path,
                          const PictureSizes& sizes) {
  if (sizes.sizes.empty()) return false;
  SharedFile file = MappedFile::TryOpen(path);
  const FileFormat* reader = file ? PictureReader(*file) : nullptr;
  if (!reader) return false;
  auto icon = std::make_unique<TAdvancedIcon>();
  if (IsDrawing(*file)) {
    // Each size drawn afresh from the drawing.
    for (int size : sizes.sizes)
      LoadImageFileResampled(*icon, path,
                             {size, size, sizes.filter, kAlphaThreshold, sizes.keepProportions});
  } else {
    TPicture picture = reader->readPicture(*file);
    if (picture.color.Width() <= kDirectImportLimit && picture.color.Height() <= kDirectImportLimit)
      return false;
    const TBitmap* mask = picture.mask ? &*picture.mask : nullptr;
    for (int size : sizes.sizes)
      AddBitmapSized(icon->Images(), picture.color, mask, sizes.filter, kAlphaThreshold,
                     sizes.keepProportions, size, size);
  }
  if (!icon->Images().Count()) return false;
  lib.AppendItem(std::filesystem::path(path).stem().string(), std::move(icon));
  lib.RecordSources(path, lib.Count() - 1);
  lib.SetModified(true);
  return true;
}

}  // namespace varnel::cli
