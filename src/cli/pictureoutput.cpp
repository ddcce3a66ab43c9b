#include "cli/pictureoutput.h"

#include <algorithm>
#include <filesystem>

#include "base/errors.h"
#include "icons/rasterpictures.h"

namespace varnel::cli {

namespace {

constexpr int kExportAlphaThreshold = 80;
constexpr int kBestSide = 255;

std::string LowerExtension(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return ext;
}

}  // namespace

bool IsPictureOutput(const std::string& output) {
  std::string ext = LowerExtension(output);
  return ext == ".xpm" || ext == ".xbm";
}

void WritePictureOutput(const TfmLib& lib, const std::string& output) {
  const TAdvancedIcon* icon = lib.Items().Icons(0);
  const TSubIcon* image = icon->Images()[icon->BestImageIndex(kBestSide, kBestSide, 0)];
  if (!image) throw Exception("the first icon has no image to write");
  if (LowerExtension(output) == ".xpm") {
    WriteXpmFile(*image, kExportAlphaThreshold, output);
  } else {
    int32_t hotSpot = image->HotSpot() ? int32_t(image->HotSpot()) : -1;
    WriteXbmFile(*image, hotSpot, output);
  }
}

}  // namespace varnel::cli
