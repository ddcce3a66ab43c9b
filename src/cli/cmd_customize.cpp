// varnel-cli customize: the shell's own icons (stock icons and desktop objects), listed and
// changed as the "Customize Windows Icons" window does, on the Linux desktop or, with
// --registry, in the program's registry store.

#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "base/errors.h"
#include "cli/command.h"
#include "cli/customizefolder.h"
#include "cli/terminalui.h"
#include "platform/textfunctions.h"
#include "shell/customiconseditor.h"
#include "shell/desktopthemeicons.h"
#include "shell/registryshellicons.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "customize";

struct StockRequest {
  std::string name;
  std::string icon;
  bool restoreDefault = false;
};

std::unique_ptr<SystemIconPlatform> MakePlatform(bool registry) {
  if (registry)
    return std::make_unique<RegistryShellIcons>(TRegistryStore::Default(), RegistryShellSetup{});
  return std::make_unique<DesktopThemeIcons>();
}

// The name a row is given on the command line: its freedesktop name on the desktop, else its
// caption without blanks and brackets ("RecycleFull").
std::string RowName(const SystemIconRow& row, bool registry) {
  if (!registry) return std::string(row.linuxName);
  std::string file = ColorizedIconFileName(row);
  return file.substr(0, file.size() - 4);
}

bool RowMatches(const SystemIconRow& row, const std::string& name, bool registry) {
  return SameText(name, RowName(row, registry)) || SameText(name, FullCaption(row)) ||
         SameText(name, std::string(row.linuxName));
}

int EntryNamed(const CustomIconsEditor& editor, const std::string& name, bool registry) {
  for (int i = 0; i < int(editor.Entries().size()); ++i)
    if (RowMatches(SystemIconTable()[size_t(editor.Entries()[size_t(i)].row)], name, registry))
      return i;
  return -1;
}

int List(CustomIconsEditor& editor, bool registry) {
  for (const TCustomIconFileInfo& entry : editor.Entries()) {
    const SystemIconRow& row = SystemIconTable()[size_t(entry.row)];
    std::string current = entry.current;
    if (current.empty())
      current = entry.defaultValue.empty() ? "(default)" : "(default) " + entry.defaultValue;
    std::cout << RowName(row, registry) << '\t' << PageName(row.page) << '\t' << entry.caption
              << '\t' << current << '\n';
  }
  return kExitOk;
}

int ChangeStock(CustomIconsEditor& editor, const StockRequest& request, bool registry) {
  int entry = EntryNamed(editor, request.name, registry);
  if (entry < 0) {
    PrintError("no icon named \"" + request.name + "\" here (see: customize list)");
    return kExitFailed;
  }
  if (request.restoreDefault) {
    editor.SetDefault(entry);
  } else {
    IconLocation location = SplitIconLocation(request.icon);
    CheckInputFile(location.file);
    editor.Change(entry, location);
  }
  editor.Apply();
  return kExitOk;
}

std::optional<StockRequest> ParseStock(const std::vector<std::string>& args) {
  StockRequest request;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--icon" && i + 1 < args.size())
      request.icon = args[++i];
    else if (args[i] == "--default")
      request.restoreDefault = true;
    else if (!args[i].starts_with("-") && request.name.empty())
      request.name = args[i];
    else
      return std::nullopt;
  }
  if (request.name.empty() || request.icon.empty() == !request.restoreDefault) return std::nullopt;
  return request;
}

int Run(std::vector<std::string> args) {
  if (!args.empty() && args[0] == "folder")
    return RunCustomizeFolder(kName, std::vector<std::string>(args.begin() + 1, args.end()));
  bool registry = std::erase(args, std::string("--registry")) > 0;
  if (args.empty()) return UsageError(kName, "say list, stock or folder");
  TerminalUserInterface ui(false);
  std::unique_ptr<SystemIconPlatform> platform = MakePlatform(registry);
  CustomIconsEditor editor(*platform, ui);
  try {
    editor.BuildLists();
    if (args[0] == "list" && args.size() == 1) return List(editor, registry);
    if (args[0] == "stock") {
      auto request = ParseStock(args);
      if (!request) return UsageError(kName, "stock NAME (--icon FILE[,INDEX] | --default)");
      return ChangeStock(editor, *request, registry);
    }
  } catch (const std::exception& error) {
    PrintError(error.what());
    return kExitFailed;
  }
  return UsageError(kName, "unknown subcommand \"" + args[0] + "\"");
}

const CommandRegistration kCustomize(
    {kName,
     std::string("customize [--registry] list | stock NAME (--icon FILE[,INDEX] | --default) | "
                 "folder ") +
         kCustomizeFolderSynopsis,
     "list the desktop's own icons with their current icons, change one (with --registry: in "
     "the program's registry store), or give a folder an icon",
     Run});

}  // namespace

}  // namespace varnel::cli
