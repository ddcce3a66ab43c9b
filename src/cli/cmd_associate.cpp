// varnel-cli associate: makes the desktop open the program's own file types with varnel, or
// puts back what opened them before.

#include <iostream>
#include <sstream>

#include "base/errors.h"
#include "cli/command.h"
#include "platform/textfunctions.h"
#include "shell/uninstall.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "associate";

// "icc,icl" into the types it names; a message naming the first unknown one.
std::optional<std::string> ParseTypes(const std::string& list,
                                      std::vector<const TAssociatedType*>& types) {
  std::stringstream names(list);
  std::string name;
  while (std::getline(names, name, ',')) {
    const TAssociatedType* type = FindAssociatedType(Trim(name));
    if (!type) return "unknown file type: " + name + " (known: icc, icl, il, nil)";
    types.push_back(type);
  }
  if (types.empty()) return std::string("--types needs at least one file type");
  return std::nullopt;
}

int RunAssociate(const std::vector<std::string>& args) {
  std::vector<const TAssociatedType*> types;
  bool remove = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--remove") {
      remove = true;
    } else if (args[i] == "--types" && i + 1 < args.size()) {
      if (auto problem = ParseTypes(args[++i], types)) return UsageError(kName, *problem);
    } else {
      return UsageError(kName, "unexpected argument: " + args[i]);
    }
  }
  if (types.empty())
    for (const TAssociatedType& type : kAssociatedTypes) types.push_back(&type);
  try {
    DesktopFileAssociations associations = UserDesktopAssociations();
    for (const TAssociatedType* type : types) associations.SetAssociation(!remove, *type);
    for (const TAssociatedType* type : types)
      std::cout << "." << type->extension << " (" << type->mimeType << "): "
                << (associations.IsAssociated(*type) ? "opens with varnel" : "not associated")
                << "\n";
    if (!associations.Note().empty()) PrintError(associations.Note());
  } catch (const std::exception& error) {
    PrintError(error.what());
    return kExitFailed;
  }
  return kExitOk;
}

const CommandRegistration kAssociate(
    {kName, "associate [--types icc,icl,il,nil] [--remove]",
     "make the desktop open the program's file types with varnel (all four unless --types "
     "names some), or with --remove give them back to what opened them before",
     RunAssociate});

}  // namespace
}  // namespace varnel::cli
