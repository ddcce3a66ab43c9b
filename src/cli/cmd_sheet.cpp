// varnel-cli sheet: the icons of the inputs laid out in a grid on one or more sheet pictures.

#include <iostream>
#include <optional>
#include <string>

#include "cli/command.h"
#include "cli/iconfiles.h"
#include "cli/optionvalues.h"
#include "collection/exportnames.h"
#include "collection/sheetexport.h"
#include "icons/advancedicon.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "sheet";
constexpr const char* kSheetExtensions[] = {"png", "bmp", "jpg", "gif"};

struct SheetOptions {
  std::vector<std::string> files;
  TSheetJob job;
};

// "A,B" or "AxB" (by sep) into two values within low..high.
bool ParsePair(const std::string& text, char sep, int low, int high, int& a, int& b) {
  auto values = ParseNumberList(text, sep, low, high);
  if (!values || values->size() != 2) return false;
  a = (*values)[0];
  b = (*values)[1];
  return true;
}

bool ParseMargins(const std::string& text, TExportSingleSettings& s) {
  auto values = ParseNumberList(text, ',', 0, 100);
  if (!values || values->size() != 4) return false;
  s.ML = (*values)[0];
  s.MT = (*values)[1];
  s.MR = (*values)[2];
  s.MB = (*values)[3];
  return true;
}

bool ParseBpp(const std::string& text, int& bpp) {
  auto value = ParseNumberIn(text, 1, 32);
  if (!value || (*value != 1 && *value != 4 && *value != 24 && *value != 32)) return false;
  bpp = *value;
  return true;
}

bool ParseOutput(const std::string& text, TSheetJob& job) {
  job.extension = LowerExtension(text);
  job.fileName = text;
  for (const char* extension : kSheetExtensions)
    if (job.extension == extension) return true;
  return false;
}

bool ApplyValue(const std::string& option, const std::string& value, TSheetJob& job) {
  TExportSingleSettings& s = job.settings;
  if (option == "-o") return ParseOutput(value, job);
  if (option == "--cell") return ParsePair(value, 'x', 1, 256, s.CW, s.CH);
  if (option == "--columns") return (s.CC = ParseNumberIn(value, 1, 300).value_or(0)) > 0;
  if (option == "--rows") return (s.CR = ParseNumberIn(value, 1, 300).value_or(0)) > 0;
  if (option == "--margins") return ParseMargins(value, s);
  if (option == "--gaps") return ParsePair(value, ',', 0, 50, s.GH, s.GV);
  if (option == "--bpp") return ParseBpp(value, job.itemBpp);
  std::optional<TColor> color = ParseColorValue(value);
  if (color) s.bkColor = *color;
  return color.has_value();
}

std::optional<SheetOptions> ParseOptions(const std::vector<std::string>& args) {
  SheetOptions options;
  OptionWalker walker(kName, args);
  while (!walker.Done()) {
    const std::string& arg = walker.Current();
    if (arg == "--fit") {
      options.job.settings.StretchToFit = true;
    } else if (arg.starts_with("-")) {
      std::string option = arg;
      if (option != "-o" && option != "--cell" && option != "--columns" && option != "--rows" &&
          option != "--margins" && option != "--gaps" && option != "--background" &&
          option != "--bpp")
        return UsageError(kName, "unknown option " + option), std::nullopt;
      std::optional<std::string> value = walker.Value();
      if (!value) return std::nullopt;
      if (!ApplyValue(option, *value, options.job)) {
        walker.Invalid(*value);
        return std::nullopt;
      }
      continue;
    } else {
      options.files.push_back(arg);
    }
    walker.Next();
  }
  // A sheet without background colour is a transparent, 32-bit one.
  if (options.job.settings.bkColor == clNone) options.job.itemBpp = 32;
  if (options.files.empty()) return UsageError(kName, "no file given"), std::nullopt;
  if (options.job.fileName.empty())
    return UsageError(kName, "no output given (-o OUT.png|.bmp|.jpg|.gif)"), std::nullopt;
  return options;
}

int RunSheet(const std::vector<std::string>& args) {
  std::optional<SheetOptions> options = ParseOptions(args);
  if (!options) return kExitUsage;
  // Every input's icons are kept until the sheets are drawn.
  std::vector<std::unique_ptr<CliSession>> sessions;
  int status = ForEachFile(options->files, [&](const std::string& file) {
    auto session = std::make_unique<CliSession>();
    LoadIcons(*session, file);
    for (int i = 0; i < session->lib.Count(); ++i)
      options->job.icons.push_back(session->lib.Items().Icons(i));
    sessions.push_back(std::move(session));
  });
  if (options->job.icons.empty()) return kExitFailed;
  return ForEachFile({options->job.fileName},
                     [&](const std::string&) {
                       TSheetResult result = WriteSheets(options->job);
                       std::string message = SheetClosingMessage(result);
                       if (!message.empty()) std::cout << message << "\n";
                     }) == kExitOk
             ? status
             : kExitFailed;
}

const CommandRegistration kSheet(
    {kName,
     "sheet FILE... -o OUT.png|.bmp|.jpg|.gif [--cell WxH] [--columns C] [--rows R] "
     "[--margins L,T,R,B] [--gaps H,V] [--background COLOR|none] [--fit] [--bpp 1|4|24|32]",
     "lay the icons of the files out in a grid on one or more sheet pictures", RunSheet});

}  // namespace
}  // namespace varnel::cli
