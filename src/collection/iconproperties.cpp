#include "collection/iconproperties.h"

#include <filesystem>

#include "base/filereadstream.h"
#include "base/stream.h"
#include "collection/collection.h"
#include "collection/fileimport.h"
#include "collection/filekind.h"
#include "icons/advancedicon.h"

namespace varnel {

namespace {

std::string Bytes(int64_t size) {
  return std::to_string(size) + " bytes";
}

int64_t IconFileSize(const TAdvancedIcon& icon) {
  if (icon.Images().Count() == 0) return 0;
  MemoryStream stream;
  icon.SaveToStream(stream);
  return stream.Size();
}

}  // namespace

TIconProperties TIconProperties::Of(const TAdvancedIcon& icon, const std::string& name,
                                    const std::string& sourceFile, int sourceIndex) {
  TIconProperties p;
  p.name = name;
  const TSubIconList& images = icon.Images();
  p.format = images.Count() == 1 ? images[0]->GetDescription()
                                 : std::to_string(images.Count()) + " images";
  p.fileSize = Bytes(IconFileSize(icon));
  p.sourceName = sourceFile;
  p.iconIndex = sourceIndex < 0 ? "" : std::to_string(sourceIndex);
  std::error_code error;
  bool exists = !sourceFile.empty() && std::filesystem::is_regular_file(sourceFile, error);
  p.sourceFileSize =
      exists ? Bytes(int64_t(std::filesystem::file_size(sourceFile, error))) : "Not found";
  p.totalIcons = exists ? std::to_string(IconCountOfFile(sourceFile)) : "";
  for (const auto& image : images) p.imageDescriptions.push_back(image->GetDescription());
  return p;
}

std::string ImageChooserLabel(int selected, int count) {
  if (count <= 0 || selected < 0) return "No image";
  return "Image " + std::to_string(selected + 1) + " of " + std::to_string(count);
}

int IconCountOfFile(const std::string& path) {
  if (DetectFileKind(path).kind == TFileKind::fkCollection) {
    TCollection collection;
    FileReadStream stream(path);
    collection.Read(stream, path);
    return collection.Count();
  }
  return int(ReadFileContents(path, {}).icons.size());
}

}  // namespace varnel
