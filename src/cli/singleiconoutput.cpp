#include "cli/singleiconoutput.h"

#include <algorithm>
#include <array>
#include <filesystem>

#include "icons/icnswriter.h"
#include "icons/iconproject.h"
#include "icons/picturewriters.h"

namespace varnel::cli {

namespace {

constexpr int kBestImage = -1;               // the image chosen for 255 x 255 at any depth
constexpr int kExportAlphaThreshold = 80;    // alpha below it is transparent in an X pixmap
constexpr uint32_t kNoHotSpot = 0xFFFFFFFF;  // a negative x: no hot spot written

struct SingleIconWriter {
  const char* extension;
  void (*write)(const TAdvancedIcon& icon, const std::string& path);
};

const std::array kWriters = {
    SingleIconWriter{
        ".ico", [](const TAdvancedIcon& icon, const std::string& path) { icon.SaveToFile(path); }},
    SingleIconWriter{".cur", [](const TAdvancedIcon& icon,
                                const std::string& path) { icon.SaveCursorToFile(path); }},
    SingleIconWriter{".icns", SaveIconAsIcns},
    SingleIconWriter{".icpr", SaveIconAsIconProject},
    SingleIconWriter{".xpm",
                     [](const TAdvancedIcon& icon, const std::string& path) {
                       ExportXpm(icon, kBestImage, kExportAlphaThreshold, path);
                     }},
    SingleIconWriter{".xbm",
                     [](const TAdvancedIcon& icon, const std::string& path) {
                       const TSubIcon* image = icon.Images()[icon.BestImageIndex(255, 255, 0)];
                       uint32_t hotSpot = image && image->HotSpot() ? image->HotSpot() : kNoHotSpot;
                       ExportXbm(icon, kBestImage, hotSpot, path);
                     }},
};

const SingleIconWriter* WriterFor(const std::string& output) {
  std::string ext = std::filesystem::path(output).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  for (const SingleIconWriter& writer : kWriters)
    if (ext == writer.extension) return &writer;
  return nullptr;
}

}  // namespace

bool IsSingleIconOutput(const std::string& output) {
  return WriterFor(output) != nullptr;
}

void SaveFirstIcon(const TfmLib& lib, const std::string& output) {
  WriterFor(output)->write(*lib.Items().Icons(0), output);
}

}  // namespace varnel::cli
