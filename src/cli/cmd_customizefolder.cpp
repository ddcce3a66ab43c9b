// varnel-cli customize-folder: the folder customisation as a command of its own.

#include "cli/command.h"
#include "cli/customizefolder.h"

namespace varnel::cli {

namespace {

const CommandRegistration registration{{
    "customize-folder",
    std::string("customize-folder ") + kCustomizeFolderSynopsis,
    "give a folder or removable medium an icon on this desktop, or restore its default",
    [](const std::vector<std::string>& args) {
      return RunCustomizeFolder("customize-folder", args);
    },
}};

}  // namespace

}  // namespace varnel::cli
