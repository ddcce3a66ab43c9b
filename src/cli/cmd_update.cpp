// varnel-cli update: the images of a module's icons replaced by those of other files, written
// into the module itself.

#include <charconv>
#include <iostream>

#include "base/errors.h"
#include "cli/command.h"
#include "cli/iconfiles.h"
#include "resources/moduleupdate.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "update";

struct UpdateArguments {
  std::string module;
  std::vector<std::string> sources;
  // The icon the first replacement goes to; without it, replacement k goes to icon k.
  std::optional<int> icon;
};

std::optional<int> ParseIndex(const std::string& text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

std::optional<UpdateArguments> ParseUpdateArguments(const std::vector<std::string>& args) {
  UpdateArguments parsed;
  bool inSources = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--icon") {
      if (++i == args.size()) return UsageError(kName, "--icon needs a number"), std::nullopt;
      parsed.icon = ParseIndex(args[i]);
      if (!parsed.icon) return UsageError(kName, "bad icon number " + args[i]), std::nullopt;
    } else if (args[i] == "--from") {
      inSources = true;
    } else if (args[i].starts_with("-")) {
      return UsageError(kName, "unknown option " + args[i]), std::nullopt;
    } else if (inSources) {
      parsed.sources.push_back(args[i]);
    } else if (parsed.module.empty()) {
      parsed.module = args[i];
    } else {
      return UsageError(kName, "one module only; replacements follow --from"), std::nullopt;
    }
  }
  if (parsed.module.empty()) return UsageError(kName, "no module given"), std::nullopt;
  if (parsed.sources.empty()) return UsageError(kName, "no files after --from"), std::nullopt;
  return parsed;
}

// The icons of the files, in file order and in each file's order.
std::vector<std::unique_ptr<TAdvancedIcon>> ReadReplacements(
    const std::vector<std::string>& files) {
  std::vector<std::unique_ptr<TAdvancedIcon>> icons;
  CliSession session;
  for (const std::string& path : files) {
    LoadIcons(session, path);
    TIconList& items = session.lib.Items();
    while (items.Count()) icons.push_back(items.TakeItem(0).icon);
  }
  return icons;
}

// Puts the replacements in place of the images of the module's icons.
void ReplaceImages(TIconLibrary& library, std::vector<std::unique_ptr<TAdvancedIcon>> replacements,
                   int first) {
  if (size_t(first) + replacements.size() > size_t(library.Count()))
    throw Exception("the module holds " + CountText(library.Count(), "icon") + ": too few for " +
                    CountText(int64_t(replacements.size()), "replacement") + " from icon " +
                    std::to_string(first) + " on");
  for (size_t k = 0; k < replacements.size(); ++k) {
    TAdvancedIcon& icon = *library.Icon(first + int(k));
    icon.Images().Clear();
    icon.Images().TakeAll(*replacements[k]);
  }
}

void UpdateModule(const UpdateArguments& arguments) {
  CheckInputFile(arguments.module);
  TIconLibrary library;
  library.LoadFromFile(arguments.module);
  if (!library.IsModule) throw Exception("Not icon library file");
  std::vector<std::unique_ptr<TAdvancedIcon>> replacements = ReadReplacements(arguments.sources);
  size_t count = replacements.size();
  if (arguments.icon) replacements.resize(1);
  ReplaceImages(library, std::move(replacements), arguments.icon.value_or(0));
  IconUpdateResult result = UpdateModuleIcons(arguments.module, library);
  if (!result.message.empty()) throw Exception(result.message);
  if (!result.written) throw Exception("the images are those the module holds: nothing written");
  if (!result.Notice().empty()) std::cout << arguments.module << ": " << result.Notice() << "\n";
  std::cout << arguments.module << ": " << CountText(arguments.icon ? 1 : int64_t(count), "icon")
            << " updated\n";
}

int RunUpdate(const std::vector<std::string>& args) {
  std::optional<UpdateArguments> parsed = ParseUpdateArguments(args);
  if (!parsed) return kExitUsage;
  try {
    UpdateModule(*parsed);
  } catch (const std::exception& error) {
    PrintError(parsed->module + ": " + error.what());
    return kExitFailed;
  }
  return kExitOk;
}

const CommandRegistration kUpdate({kName, "update MODULE --from FILE... [--icon N]",
                                   "replace the images of a module's icons (icon N, 0-based, or "
                                   "the icons in order) by those of the files, in the module",
                                   RunUpdate});

}  // namespace

}  // namespace varnel::cli
