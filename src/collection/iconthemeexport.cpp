#include "collection/iconthemeexport.h"

#include <filesystem>
#include <map>
#include <set>

#include "base/errors.h"
#include "collection/drawingsource.h"
#include "collection/exportnames.h"
#include "collection/sizedpictures.h"
#include "collection/themefolder.h"
#include "graphics/pngcodec.h"

namespace varnel {

namespace {

namespace fs = std::filesystem;

constexpr const char* kScalableFolder = "scalable";

// The Context value of the usual context folders; others are named after their folder.
std::string ContextOf(const std::string& folder) {
  static const std::map<std::string, std::string> kContexts{
      {"actions", "Actions"},       {"animations", "Animations"}, {"apps", "Applications"},
      {"categories", "Categories"}, {"devices", "Devices"},       {"emblems", "Emblems"},
      {"emotes", "Emotes"},         {"intl", "International"},    {"mimetypes", "MimeTypes"},
      {"places", "Places"},         {"status", "Status"}};
  auto known = kContexts.find(folder);
  if (known != kContexts.end()) return known->second;
  std::string context = folder;
  context[0] = char(std::toupper(static_cast<unsigned char>(context[0])));
  return context;
}

void CheckContext(const IconThemeOptions& options) {
  if (options.context.empty() || IconLookupName(options.context) != options.context)
    throw Exception("Invalid icon context \"" + options.context +
                    "\" (use lower case letters, digits, \"_\" and \"-\")");
}

std::string SizeFolder(int size) {
  return std::to_string(size) + "x" + std::to_string(size);
}

std::string SectionOf(const std::string& folder, const std::string& context, int size,
                      bool scalable) {
  std::string text = "\n[" + folder + "/" + context + "]\nSize=" + std::to_string(size) +
                     "\nContext=" + ContextOf(context) + "\n";
  return text + (scalable ? "MinSize=8\nMaxSize=512\nType=Scalable\n" : "Type=Fixed\n");
}

std::string IndexTheme(const IconThemeOptions& options, const std::set<int>& sizes, bool scalable) {
  std::string directories, sections;
  for (int size : sizes) {
    std::string folder = SizeFolder(size) + "/" + options.context;
    directories += (directories.empty() ? "" : ",") + folder;
    sections += SectionOf(SizeFolder(size), options.context, size, false);
  }
  if (scalable) {
    directories +=
        (directories.empty() ? "" : ",") + std::string(kScalableFolder) + "/" + options.context;
    sections += SectionOf(kScalableFolder, options.context, 64, true);
  }
  return "[Icon Theme]\nName=" + options.name + "\nComment=" + options.name +
         " icons\nInherits=hicolor\nDirectories=" + directories + "\n" + sections;
}

class ThemeWriter {
 public:
  ThemeWriter(const fs::path& folder, const IconThemeOptions& options)
      : folder_(folder), options_(options), names_("-", "") {}

  void WriteIcon(const TAdvancedIcon& icon, const std::string& name, const std::string& source) {
    std::map<int, const TSubIcon*> images = DeepestImagesBySide(icon);
    if (images.empty()) return;
    std::string file = names_.Make(IconLookupName(name), "");
    for (const auto& [size, image] : images) {
      WriteThemeFile((folder_ / SizeFolder(size) / options_.context / (file + ".png")).string(),
                     EncodePng(SquarePicture(*image)));
      sizes_.insert(size);
      ++report_.pictures;
    }
    if (std::optional<std::vector<uint8_t>> svg = SvgSourceOf(source)) {
      WriteThemeFile((folder_ / kScalableFolder / options_.context / (file + ".svg")).string(),
                     *svg);
      ++report_.drawings;
    }
    ++report_.icons;
  }

  IconThemeReport Finish() {
    if (report_.icons == 0) throw Exception("No images to write into the icon theme");
    std::string index = IndexTheme(options_, sizes_, report_.drawings > 0);
    WriteThemeFile((folder_ / "index.theme").string(), index);
    report_.folder = folder_.string();
    return report_;
  }

 private:
  fs::path folder_;
  const IconThemeOptions& options_;
  UniqueNames names_;
  std::set<int> sizes_;
  IconThemeReport report_;
};

}  // namespace

std::string IconLookupName(const std::string& name) {
  std::string result;
  for (char c : name) {
    unsigned char u = static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
    bool kept =
        (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_' || u == '.' || u == '-';
    if (kept)
      result += char(u);
    else if (!result.empty() && result.back() != '-')
      result += '-';
  }
  while (!result.empty() && (result.back() == '-' || result.back() == '.')) result.pop_back();
  while (!result.empty() && result.front() == '.') result.erase(0, 1);
  return result.empty() ? "icon" : result;
}

IconThemeReport WriteIconTheme(const TCollection& collection, const std::string& parent,
                               const IconThemeOptions& options) {
  CheckContext(options);
  ThemeWriter writer(ThemeFolder(parent, options.name, options.overwrite, "icon theme"), options);
  for (int i = 0; i < collection.Count(); ++i)
    if (!options.includes || options.includes(i))
      writer.WriteIcon(*collection.Items().Icons(i), collection.Items().Names(i),
                       collection.SourceOf(i));
  return writer.Finish();
}

}  // namespace varnel
