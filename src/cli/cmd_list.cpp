// varnel-cli list: the icons each file holds, as the collection import reads them.

#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "cli/command.h"
#include "icons/advancedicon.h"

namespace varnel::cli {

namespace {

struct NamedIcon {
  std::string name;
  std::unique_ptr<TAdvancedIcon> icon;
};

std::string BaseName(const std::string& path) {
  return std::filesystem::path(path).stem().string();
}

bool IsRiffIconFile(std::span<const uint8_t> head) {
  return head.size() >= 12 && std::string(head.begin(), head.begin() + 4) == "RIFF";
}

bool IsIconFile(std::span<const uint8_t> head) {
  if (head.size() < 6) return false;
  uint16_t type = ReadU16LE(head.data() + 2);
  return ReadU16LE(head.data()) == 0 && (type == 1 || type == 2);
}

bool IsBareImageFile(std::span<const uint8_t> head) {
  return head.size() >= 22 && ReadU16LE(head.data()) == 1 && ReadU32LE(head.data() + 18) == 40;
}

// Icons in the order and with the names the collection gives them.
std::vector<NamedIcon> ReadIcons(const std::string& path) {
  MappedFile file(path);
  std::span<const uint8_t> bytes = file.Bytes();
  std::vector<NamedIcon> icons;
  std::string name = BaseName(path);
  if (IsIconFile(bytes) || IsBareImageFile(bytes)) {
    auto icon = std::make_unique<TAdvancedIcon>();
    icon->LoadFromBytes(bytes);
    if (icon->Images().Count()) icons.push_back({name, std::move(icon)});
    return icons;
  }
  if (IsRiffIconFile(bytes)) {
    std::vector<std::unique_ptr<TAdvancedIcon>> found;
    TAdvancedIcon().ExtractFromRiffData(bytes, 0, &found);
    for (size_t i = 0; i < found.size(); ++i)
      icons.push_back({found.size() == 1 ? name : name + std::to_string(i), std::move(found[i])});
    return icons;
  }
  throw Exception("Unknown file format");
}

std::string ImageJson(const TSubIcon& image) {
  std::ostringstream out;
  out << "{\"width\": " << image.ImageWidth() << ", \"height\": " << image.ImageHeight()
      << ", \"bpp\": " << image.BitsPerPixel() << ", \"colors\": " << int(image.Entry().bColorCount)
      << ", \"packed\": " << (image.Packed() ? "true" : "false")
      << ", \"bytes\": " << image.Entry().dwBytesInRes << ", \"hotspot\": ["
      << (image.HotSpot() & 0xFFFF) << ", " << (image.HotSpot() >> 16) << "]}";
  return out.str();
}

void PrintIcon(const std::string& file, size_t index, const NamedIcon& named, bool json) {
  const TSubIconList& images = named.icon->Images();
  if (json) {
    std::cout << "{\"file\": \"" << JsonEscape(file) << "\", \"index\": " << index
              << ", \"name\": \"" << JsonEscape(named.name) << "\", \"images\": [";
    for (int i = 0; i < images.Count(); ++i) std::cout << (i ? ", " : "") << ImageJson(*images[i]);
    std::cout << "]}\n";
    return;
  }
  std::cout << file << " [" << index << "] " << named.name << ":";
  for (int i = 0; i < images.Count(); ++i)
    std::cout << (i ? ", " : " ") << images[i]->GetShortDescription()
              << (images[i]->Packed() ? " (packed)" : "");
  std::cout << "\n";
}

int RunList(const std::vector<std::string>& args) {
  auto parsed = ParseFileArguments("list", args, {"--json"});
  if (!parsed) return kExitUsage;
  bool json = parsed->Has("--json");
  return ForEachFile(parsed->files, [&](const std::string& file) {
    std::vector<NamedIcon> icons = ReadIcons(file);
    for (size_t i = 0; i < icons.size(); ++i) PrintIcon(file, i, icons[i], json);
  });
}

const CommandRegistration kList({"list", "list [--json] FILE...",
                                 "print the icons each file holds, with their images", RunList});

}  // namespace
}  // namespace varnel::cli
