// varnel-cli info: the kind of each file as the import recognises it.

#include <iostream>

#include "base/errors.h"
#include "cli/command.h"
#include "collection/filekind.h"

namespace varnel::cli {

namespace {

int RunInfo(const std::vector<std::string>& args) {
  auto parsed = ParseFileArguments("info", args, {});
  if (!parsed) return kExitUsage;
  return ForEachFile(parsed->files, [](const std::string& file) {
    TFileKindInfo info = DetectFileKind(file);
    if (info.kind == TFileKind::fkUnreadable) throw Exception("cannot be opened");
    std::cout << file << ": " << FileKindName(info.kind) << " " << info.subKind << "\n";
  });
}

const CommandRegistration kInfo({"info", "info FILE...",
                                 "print the kind and sub-kind each file is recognised as",
                                 RunInfo});

}  // namespace
}  // namespace varnel::cli
