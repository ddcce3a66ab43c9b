// varnel-cli list: the icons each file holds, as the collection import reads them.

#include <iostream>
#include <sstream>

#include "cli/command.h"
#include "cli/iconfiles.h"

namespace varnel::cli {

namespace {

std::string ImageJson(const TSubIcon& image) {
  std::ostringstream out;
  out << "{\"width\": " << image.ImageWidth() << ", \"height\": " << image.ImageHeight()
      << ", \"bpp\": " << image.BitsPerPixel() << ", \"colors\": " << int(image.Entry().bColorCount)
      << ", \"packed\": " << (image.Packed() ? "true" : "false")
      << ", \"bytes\": " << image.Entry().dwBytesInRes << ", \"hotspot\": ["
      << (image.HotSpot() & 0xFFFF) << ", " << (image.HotSpot() >> 16) << "]}";
  return out.str();
}

// The image as the grid describes it ("48x48x256"); a depth the grid has no word for (16 bits a
// channel, 2 bits) is given in bits per pixel, as the JSON form gives it.
std::string ImageText(const TSubIcon& image) {
  std::string size, colors;
  image.GetSizeAndColors(size, colors);
  if (colors.empty()) colors = std::to_string(image.BitsPerPixel()) + "bpp";
  return size + "x" + colors + (image.Packed() ? " (packed)" : "");
}

void PrintIcon(const std::string& file, int index, const std::string& name,
               const TAdvancedIcon& icon, bool json) {
  const TSubIconList& images = icon.Images();
  if (json) {
    std::cout << "{\"file\": \"" << JsonEscape(file) << "\", \"index\": " << index
              << ", \"name\": \"" << JsonEscape(name) << "\", \"images\": [";
    for (int i = 0; i < images.Count(); ++i) std::cout << (i ? ", " : "") << ImageJson(*images[i]);
    std::cout << "]}\n";
    return;
  }
  std::cout << file << " [" << index << "] " << name << ":";
  for (int i = 0; i < images.Count(); ++i) std::cout << (i ? ", " : " ") << ImageText(*images[i]);
  std::cout << "\n";
}

int RunList(const std::vector<std::string>& args) {
  auto parsed = ParseFileArguments("list", args, {"--json"});
  if (!parsed) return kExitUsage;
  bool json = parsed->Has("--json");
  CliSession session;
  return ForEachFile(parsed->files, [&](const std::string& file) {
    std::exception_ptr damage = LoadIconsReadSoFar(session, file);
    const TIconList& items = session.lib.Items();
    // Archive members are shown by their source: the archive's path and the member's in it.
    for (int i = 0; i < items.Count(); ++i) {
      std::string source = session.lib.Document.SourceOf(i);
      bool member = source.starts_with(file + "/");
      PrintIcon(member ? source : file, i, items.Names(i), *items.Icons(i), json);
    }
    if (damage) std::rethrow_exception(damage);
  });
}

const CommandRegistration kList({"list", "list [--json] FILE...",
                                 "print the icons each file holds, with their images", RunList});

}  // namespace
}  // namespace varnel::cli
