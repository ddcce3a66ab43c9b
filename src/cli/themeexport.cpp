#include "cli/themeexport.h"

#include <algorithm>
#include <iostream>
#include <optional>

#include "cli/command.h"
#include "cli/iconfiles.h"
#include "cli/optionvalues.h"
#include "collection/faviconexport.h"
#include "collection/iconthemeexport.h"
#include "collection/xcursorthemeexport.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "export";

enum class ThemeForm { IconTheme, CursorTheme, Favicon };

struct ThemeExportOptions {
  std::vector<std::string> files;
  std::string folder;
  std::optional<ThemeForm> form;
  IconThemeOptions theme;
  XCursorThemeOptions cursorTheme;
  FaviconOptions favicon;
};

bool SetForm(ThemeExportOptions& options, ThemeForm form) {
  if (options.form && *options.form != form) {
    UsageError(kName, "only one of --theme, --xcursor-theme and --favicon can be given");
    return false;
  }
  options.form = form;
  return true;
}

bool TakeValue(OptionWalker& walker, ThemeExportOptions& options) {
  std::string option = walker.Current();
  std::optional<std::string> value = walker.Value();
  if (!value) return false;
  if (option == "-o") {
    options.folder = *value;
  } else if (option == "--theme") {
    options.theme.name = *value;
    return SetForm(options, ThemeForm::IconTheme);
  } else if (option == "--xcursor-theme") {
    options.cursorTheme.name = *value;
    return SetForm(options, ThemeForm::CursorTheme);
  } else if (option == "--context") {
    options.theme.context = *value;
  } else {
    std::optional<TColor> color = ParseColorValue(*value);
    if (!color || *color == clNone) return walker.Invalid(*value);
    options.favicon.background = *color;
  }
  return true;
}

bool TakeArgument(OptionWalker& walker, ThemeExportOptions& options) {
  const std::string& arg = walker.Current();
  if (arg == "-o" || arg == "--theme" || arg == "--xcursor-theme" || arg == "--context" ||
      arg == "--background")
    return TakeValue(walker, options);
  bool taken = true;
  if (arg == "--favicon")
    taken = SetForm(options, ThemeForm::Favicon);
  else if (arg == "--overwrite")
    options.theme.overwrite = options.cursorTheme.overwrite = options.favicon.overwrite = true;
  else if (arg.starts_with("-"))
    return UsageError(kName,
                      "unknown option " + arg + " with --theme, --xcursor-theme or --favicon"),
           false;
  else
    options.files.push_back(arg);
  walker.Next();
  return taken;
}

std::optional<ThemeExportOptions> ParseOptions(const std::vector<std::string>& args) {
  ThemeExportOptions options;
  OptionWalker walker(kName, args);
  while (!walker.Done())
    if (!TakeArgument(walker, options)) return std::nullopt;
  if (options.files.empty()) return UsageError(kName, "no file given"), std::nullopt;
  if (options.folder.empty())
    return UsageError(kName, "no output folder given (-o DIR)"), std::nullopt;
  if (options.form == ThemeForm::Favicon && options.files.size() != 1)
    return UsageError(kName, "--favicon takes one file"), std::nullopt;
  return options;
}

int WriteTheme(const TCollection& collection, const ThemeExportOptions& options) {
  IconThemeReport report = WriteIconTheme(collection, options.folder, options.theme);
  std::cout << report.folder << ": " << report.icons << " icons, " << report.pictures
            << " pictures, " << report.drawings << " drawings\n";
  return kExitOk;
}

int WriteCursorTheme(const TCollection& collection, const ThemeExportOptions& options) {
  XCursorThemeReport report = WriteXCursorTheme(collection, options.folder, options.cursorTheme);
  std::cout << report.folder << ": " << report.cursors << " cursors, " << report.animated
            << " animated\n";
  if (report.withoutHotSpot > 0)
    std::cerr << "varnel-cli: " << report.withoutHotSpot
              << " icons have no hot spot and were written with the hot spot (0, 0)\n";
  return kExitOk;
}

int WriteFavicons(const TCollection& collection, const ThemeExportOptions& options) {
  FaviconReport report = WriteFaviconSet(*collection.Items().Icons(0), collection.SourceOf(0),
                                         options.folder, options.favicon);
  std::cerr << "varnel-cli: wrote " << report.files.size() << " files to " << options.folder
            << "\n";
  std::cout << FaviconLinks(report);
  return kExitOk;
}

}  // namespace

bool IsThemeExport(const std::vector<std::string>& args) {
  return std::any_of(args.begin(), args.end(), [](const std::string& arg) {
    return arg == "--theme" || arg == "--xcursor-theme" || arg == "--favicon";
  });
}

int RunThemeExport(const std::vector<std::string>& args) {
  std::optional<ThemeExportOptions> options = ParseOptions(args);
  if (!options) return kExitUsage;
  TCollection collection;
  int status = AppendIconsOfFiles(collection, options->files);
  if (collection.Count() == 0) {
    PrintError("no icons found; nothing written to " + options->folder);
    return kExitFailed;
  }
  try {
    int written = options->form == ThemeForm::Favicon       ? WriteFavicons(collection, *options)
                  : options->form == ThemeForm::CursorTheme ? WriteCursorTheme(collection, *options)
                                                            : WriteTheme(collection, *options);
    return std::max(written, status);
  } catch (const std::exception& error) {
    PrintError(error.what());
    return kExitFailed;
  }
}

}  // namespace varnel::cli
