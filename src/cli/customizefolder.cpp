#include "cli/customizefolder.h"

#include <iostream>
#include <optional>

#include "base/errors.h"
#include "cli/command.h"
#include "shell/foldericon.h"

namespace varnel::cli {

const char* const kCustomizeFolderSynopsis = "DIR (--icon FILE[,INDEX] | --default) [--no-copy]";

namespace {

struct FolderOptions {
  std::string folder;
  std::optional<IconLocation> icon;
  bool setDefault = false;
  bool copy = true;
};

// A usage message (printed) when the arguments do not form one folder and one choice.
std::optional<FolderOptions> ParseFolderOptions(const std::string& command,
                                                const std::vector<std::string>& args) {
  FolderOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--icon") {
      if (i + 1 >= args.size())
        return UsageError(command, "--icon needs FILE[,INDEX]"), std::nullopt;
      options.icon = SplitIconLocation(args[++i]);
    } else if (args[i] == "--default") {
      options.setDefault = true;
    } else if (args[i] == "--no-copy") {
      options.copy = false;
    } else if (args[i].starts_with("-") || !options.folder.empty()) {
      return UsageError(command, "unexpected argument: " + args[i]), std::nullopt;
    } else {
      options.folder = args[i];
    }
  }
  if (options.folder.empty()) return UsageError(command, "no folder given"), std::nullopt;
  if (options.icon.has_value() == options.setDefault)
    return UsageError(command, "give either --icon FILE[,INDEX] or --default"), std::nullopt;
  return options;
}

}  // namespace

int RunCustomizeFolder(const std::string& command, const std::vector<std::string>& args) {
  const std::optional<FolderOptions> options = ParseFolderOptions(command, args);
  if (!options) return kExitUsage;
  try {
    for (const std::string& note :
         CustomizeFolderOnDesktop(options->folder, options->icon, options->copy))
      std::cout << note << "\n";
  } catch (const std::exception& error) {
    PrintError(options->folder + ": " + error.what());
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace varnel::cli
