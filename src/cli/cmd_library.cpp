// varnel-cli library: the icons of several files saved as one ICL icon library.

#include <filesystem>
#include <iostream>

#include "base/errors.h"
#include "cli/clisession.h"
#include "cli/collectionoutput.h"
#include "cli/command.h"
#include "collection/filekind.h"
#include "resources/iconlibrary.h"

namespace varnel::cli {

namespace {

struct LibraryArguments {
  std::vector<std::string> inputs;
  std::string output;
  bool sixteenBit = false;
};

std::optional<LibraryArguments> ParseLibraryArguments(const std::vector<std::string>& args) {
  LibraryArguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (++i == args.size()) return UsageError("library", "-o needs a file name"), std::nullopt;
      parsed.output = args[i];
    } else if (args[i] == "--16bit") {
      parsed.sixteenBit = true;
    } else if (args[i].starts_with("-")) {
      return UsageError("library", "unknown option " + args[i]), std::nullopt;
    } else {
      parsed.inputs.push_back(args[i]);
    }
  }
  if (parsed.inputs.empty()) return UsageError("library", "no files given"), std::nullopt;
  if (parsed.output.empty()) return UsageError("library", "no output file (-o OUT)"), std::nullopt;
  return parsed;
}

// An icon file becomes one icon named after the file; any other file gives its library icons.
void AppendInput(TIconLibrary& library, const std::string& path) {
  if (DetectFileKind(path).kind == TFileKind::fkIcon) {
    auto icon = std::make_unique<TAdvancedIcon>();
    icon->LoadFromFile(path);
    if (icon->Images().Count() == 0) throw Exception("No images in icon");
    library.Icons.AddIcon(std::filesystem::path(path).stem().string(), std::move(icon));
    return;
  }
  int before = library.Count();
  library.AppendFromFile(path);
  if (library.Count() == before) throw Exception("no icons found");
}

// The icons of the inputs in a collection, renamed where a library cannot hold their names.
void CollectForLibrary(TIconLibrary& library, TfmLib& lib, const std::string& output) {
  while (library.Count()) {
    TIconList::Item item = library.Icons.TakeItem(0);
    lib.AppendItem(std::move(item.name), std::move(item.icon));
  }
  CorrectLibraryNames(lib, output);
}

int RunLibrary(const std::vector<std::string>& args) {
  std::optional<LibraryArguments> parsed = ParseLibraryArguments(args);
  if (!parsed) return kExitUsage;
  TIconLibrary inputs;
  int status =
      ForEachFile(parsed->inputs, [&](const std::string& path) { AppendInput(inputs, path); });
  // A library missing the icons of one input is not written at all.
  if (status != kExitOk) return status;
  CliSession session;
  TIconLibrary& library = session.lib.Document.Library;
  try {
    CollectForLibrary(inputs, session.lib, parsed->output);
    if (parsed->sixteenBit)
      library.SaveAs16Bit(parsed->output);
    else
      library.SaveAs32Bit(parsed->output);
  } catch (const std::exception& error) {
    PrintError(parsed->output + ": " + error.what());
    return kExitFailed;
  }
  std::cout << parsed->output << ": " << CountText(library.Count(), "icon") << "\n";
  return status;
}

const CommandRegistration kLibrary({"library", "library FILE... -o OUT [--16bit]",
                                    "save the icons of the files as one ICL icon library "
                                    "(32-bit, or 16-bit with --16bit)",
                                    RunLibrary});

}  // namespace
}  // namespace varnel::cli
