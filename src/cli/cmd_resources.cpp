// varnel-cli resources: every resource record of a PE module or .res file, in container order.

#include <iostream>
#include <memory>

#include "base/errors.h"
#include "base/fileio.h"
#include "cli/command.h"
#include "collection/filekind.h"
#include "resources/pefile.h"
#include "resources/resfile.h"

namespace varnel::cli {

namespace {

constexpr int kNESubKind = 1;
constexpr char kOnly32Bit[] =
    "; resources lists the records of 32-bit (PE) modules and .res files only";

// The kind decides the reader: the records of 16-bit containers are not listed.
std::unique_ptr<TResourceModule> ReadContainer(const std::string& path) {
  CheckInputFile(path);
  TFileKindInfo info = DetectFileKind(path);
  if (info.kind == TFileKind::fkModule && info.subKind == kNESubKind)
    throw Exception(std::string("a 16-bit (NE) module") + kOnly32Bit +
                    " ('varnel-cli list' shows its icons)");
  if (info.kind == TFileKind::fkResource16)
    throw Exception(std::string("a 16-bit resource file") + kOnly32Bit);
  if (info.kind == TFileKind::fkModule) {
    auto module = std::make_unique<TPEResourceModule>();
    module->DecodeFile(path);
    return module;
  }
  if (info.kind == TFileKind::fkResource32) {
    MappedFile file(path);
    auto module = std::make_unique<TResModule>();
    module->LoadFromBytes(file.Bytes());
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
