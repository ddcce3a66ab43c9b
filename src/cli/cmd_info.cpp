// varnel-cli info: the kind of each file as the import recognises it.

#include <iostream>

#include "base/errors.h"
#include "cli/command.h"
#include "cli/filekinddescription.h"
#include "collection/filekind.h"

namespace varnel::cli {

namespace {

void PrintKind(const std::string& file, const TFileKindInfo& info, bool json) {
  std::string description = DescribeFileKind(info, file);
  if (json)
    std::cout << "{\"file\": \"" << JsonEscape(file) << "\", \"kind\": \""
              << FileKindName(info.kind) << "\", \"sub_kind\": " << info.subKind
              << ", \"description\": \"" << JsonEscape(description) << "\"}\n";
  else
    std::cout << file << ": " << description << "\n";
}

int RunInfo(const std::vector<std::string>& args) {
  auto parsed = ParseFileArguments("info", args, {"--json"});
  if (!parsed) return kExitUsage;
  bool json = parsed->Has("--json");
  return ForEachFile(parsed->files, [json](const std::string& file) {
    CheckInputFile(file);
    TFileKindInfo info = DetectFileKind(file);
    if (info.kind == TFileKind::fkUnreadable) throw Exception("cannot be opened");
    PrintKind(file, info, json);
  });
}

const CommandRegistration kInfo({"info", "info [--json] FILE...",
                                 "print the kind each file is recognised as (with --json also "
                                 "the internal kind and sub-kind)",
                                 RunInfo});

}  // namespace
}  // namespace varnel::cli
