#include "collection/faviconexport.h"

#include <array>
#include <filesystem>
#include <optional>

#include "base/errors.h"
#include "base/fileio.h"
#include "collection/drawingsource.h"
#include "collection/sizedpictures.h"
#include "graphics/pngcodec.h"
#include "icons/backgroundmask.h"

namespace varnel {

namespace {

namespace fs = std::filesystem;

constexpr std::array<int, 3> kFaviconSizes{16, 32, 48};
constexpr int kTouchIconSize = 180;
constexpr std::array<int, 2> kManifestSizes{192, 512};

constexpr const char* kFavicon = "favicon.ico";
constexpr const char* kTouchIcon = "apple-touch-icon.png";
constexpr const char* kManifest = "site.webmanifest";
constexpr const char* kDrawing = "favicon.svg";

std::string ManifestPicture(int size) {
  return "icon-" + std::to_string(size) + ".png";
}

std::string ManifestText() {
  std::string icons;
  for (int size : kManifestSizes) {
    std::string side = std::to_string(size);
    icons += std::string(icons.empty() ? "" : ",\n") + "    {\"src\": \"" + ManifestPicture(size) +
             "\", \"sizes\": \"" + side + "x" + side + "\", \"type\": \"image/png\"}";
  }
  return "{\n  \"icons\": [\n" + icons + "\n  ]\n}\n";
}

std::span<const uint8_t> BytesOf(const std::string& text) {
  return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

class FaviconWriter {
 public:
  FaviconWriter(const TAdvancedIcon& icon, const std::string& source, const fs::path& folder,
                const FaviconOptions& options)
      : icon_(icon), svg_(SvgSourceOf(source)), folder_(folder), options_(options) {}

  FaviconReport Write() {
    if (DeepestImagesBySide(icon_).empty() && !svg_)
      throw Exception("No images to make a favicon set of");
    CheckFree();
    WriteFavicon();
    Write(kTouchIcon, EncodePng(DrawnOnBackground(Picture(kTouchIconSize), options_.background)));
    for (int size : kManifestSizes) Write(ManifestPicture(size), EncodePng(Picture(size)));
    Write(kManifest, BytesOf(ManifestText()));
    if (svg_) Write(kDrawing, *svg_);
    report_.drawing = svg_.has_value();
    return report_;
  }

 private:
  std::vector<std::string> Names() const {
    std::vector<std::string> names{kFavicon, kTouchIcon};
    for (int size : kManifestSizes) names.push_back(ManifestPicture(size));
    names.push_back(kManifest);
    if (svg_) names.push_back(kDrawing);
    return names;
  }

  void CheckFree() const {
    std::error_code error;
    if (options_.overwrite) return;
    for (const std::string& name : Names())
      if (fs::exists(folder_ / name, error))
        throw Exception((folder_ / name).string() + " exists; not written (use --overwrite)");
  }

  TBitmap Picture(int size) const { return PictureAtSize(icon_, size, svg_ ? &*svg_ : nullptr); }

  void WriteFavicon() {
    TAdvancedIcon favicon;
    for (int size : kFaviconSizes) {
      auto image = std::make_unique<TSubIcon>();
      image->AssignFrom32BitBitmap(Picture(size));
      favicon.Images().Add(std::move(image));
    }
    favicon.SaveToFile((folder_ / kFavicon).string());
    report_.files.push_back(kFavicon);
  }

  void Write(const std::string& name, std::span<const uint8_t> bytes) {
    WriteFileAtomic((folder_ / name).string(), bytes);
    report_.files.push_back(name);
  }

  const TAdvancedIcon& icon_;
  std::optional<std::vector<uint8_t>> svg_;
  fs::path folder_;
  const FaviconOptions& options_;
  FaviconReport report_;
};

}  // namespace

FaviconReport WriteFaviconSet(const TAdvancedIcon& icon, const std::string& source,
                              const std::string& folder, const FaviconOptions& options) {
  fs::create_directories(folder);
  return FaviconWriter(icon, source, folder, options).Write();
}

std::string FaviconLinks(const FaviconReport& report) {
  std::string links = "<link rel=\"icon\" href=\"/favicon.ico\" sizes=\"16x16 32x32 48x48\">\n";
  if (report.drawing) links += "<link rel=\"icon\" href=\"/favicon.svg\" type=\"image/svg+xml\">\n";
  return links + "<link rel=\"apple-touch-icon\" href=\"/apple-touch-icon.png\">\n" +
         "<link rel=\"manifest\" href=\"/site.webmanifest\">\n";
}

}  // namespace varnel
