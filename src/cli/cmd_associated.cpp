// varnel-cli associated: the icons of the file types the system registers, one per extension.

#include <iostream>

#include "cli/clisession.h"
#include "cli/collectionoutput.h"
#include "cli/command.h"
#include "platform/registrystore.h"
#include "search/associatedicons.h"
#include "search/desktopfiletypes.h"
#include "search/registryfiletypes.h"

namespace varnel::cli {

namespace {

struct AssociatedOptions {
  std::string output;
  std::string registryStore;  // read the registry store's classes instead of the desktop's
};

std::optional<std::string> ParseAssociated(const std::vector<std::string>& args,
                                           AssociatedOptions& options) {
  std::vector<std::string> rest = args;
  options.output = TakeOutputOption(rest);
  for (size_t i = 0; i < rest.size(); ++i) {
    if (rest[i] == "--registry" && i + 1 < rest.size())
      options.registryStore = rest[++i];
    else
      return "unexpected argument " + rest[i];
  }
  return std::nullopt;
}

void PrintItems(TfmLib& lib) {
  for (int i = 0; i < lib.Count(); ++i)
    std::cout << lib.Items().Names(i) << "\t" << lib.SourceOf(i) << "\n";
}

int RunAssociated(const std::vector<std::string>& args) {
  AssociatedOptions options;
  if (auto error = ParseAssociated(args, options)) return UsageError("associated", *error);
  if (!options.output.empty())
    if (int error = CheckCollectionOutput("associated", options.output)) return error;
  CliSession session;
  TfmLib& lib = session.lib;
  if (options.registryStore.empty()) {
    FindAssociatedIcons(lib);
  } else {
    TRegistryStore store(options.registryStore);
    RegistryFileTypes registrations(store);
    FindAssociatedIcons(lib, registrations);
  }
  PrintItems(lib);
  std::cerr << "varnel-cli: " << CountText(lib.Count(), "associated icon") << " found\n";
  if (!options.output.empty() && lib.Count()) SaveCollectionOutput(lib, options.output, false);
  return kExitOk;
}

const CommandRegistration kAssociated(
    {"associated", "associated [-o OUT] [--registry STORE]",
     "collect the icon of every registered file type, named after its extension, and save them "
     "by OUT's extension; STORE reads the classes of a registry store instead of the desktop's",
     RunAssociated});

}  // namespace
}  // namespace varnel::cli
