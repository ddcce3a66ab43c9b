// varnel-cli resources: every resource record of a PE module or .res file, in container order.

#include <iostream>
#include <memory>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/fileio.h"
#include "cli/command.h"
#include "resources/pefile.h"
#include "resources/resfile.h"

namespace varnel::cli {

namespace {

bool IsResFile(std::span<const uint8_t> head) {
  static constexpr uint32_t kEmptyEntry[8] = {0, 32, 0xFFFF, 0xFFFF, 0, 0, 0, 0};
  if (head.size() < 32) return false;
  for (size_t i = 0; i < 8; ++i)
    if (ReadU32LE(&head[4 * i]) != kEmptyEntry[i]) return false;
  return true;
}

std::unique_ptr<TResourceModule> ReadContainer(const std::string& path) {
  MappedFile file(path);
  std::span<const uint8_t> bytes = file.Bytes();
  if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') {
    auto module = std::make_unique<TPEResourceModule>();
    module->DecodeFile(path);
    return module;
  }
  if (IsResFile(bytes)) {
    auto module = std::make_unique<TResModule>();
    module->LoadFromBytes(bytes);
    return module;
  }
  throw Exception("not a PE module or resource file");
}

void PrintRecord(const std::string& file, const TResourceDetails& record, bool json) {
  if (json) {
    std::cout << "{\"file\": \"" << JsonEscape(file) << "\", \"type\": \""
              << JsonEscape(record.ResourceType()) << "\", \"name\": \""
              << JsonEscape(record.ResourceName())
              << "\", \"name_is_string\": " << (record.NameIsString ? "true" : "false")
              << ", \"language\": " << record.ResourceLanguage()
              << ", \"size\": " << record.Bytes().size() << ", \"codepage\": " << record.CodePage
              << "}\n";
    return;
  }
  std::string name =
      record.NameIsString ? "\"" + record.ResourceName() + "\"" : record.ResourceName();
  std::cout << file << ": type=" << record.ResourceType() << " name=" << name
            << " language=" << record.ResourceLanguage() << " size=" << record.Bytes().size()
            << " codepage=" << record.CodePage << "\n";
}

int RunResources(const std::vector<std::string>& args) {
  auto parsed = ParseFileArguments("resources", args, {"--json"});
  if (!parsed) return kExitUsage;
  bool json = parsed->Has("--json");
  return ForEachFile(parsed->files, [&](const std::string& file) {
    std::unique_ptr<TResourceModule> module = ReadContainer(file);
    for (int i = 0; i < module->ResourceCount(); ++i)
      PrintRecord(file, *module->ResourceDetails(i), json);
  });
}

const CommandRegistration kResources({"resources", "resources [--json] FILE...",
                                      "print every resource record of PE modules and .res files",
                                      RunResources});

}  // namespace
}  // namespace varnel::cli
