// varnel-cli thumbnail: what the grid shows for one icon of a file, written as a PNG.

#include <optional>
#include <string>

#include "base/errors.h"
#include "base/fileio.h"
#include "cli/command.h"
#include "cli/iconfiles.h"
#include "cli/optionvalues.h"
#include "graphics/pngcodec.h"
#include "icons/icondrawing.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "thumbnail";
constexpr int kDefaultCellSize = 48;  // the grid's default size mode
constexpr int kDefaultDepth = 32;     // the grid's default depth filter
constexpr int kMaxCellSize = 4096;

struct ThumbnailOptions {
  std::string file;
  std::string output;
  int index = 0;
  int width = kDefaultCellSize;
  int height = kDefaultCellSize;
  int bpp = kDefaultDepth;
  bool exact = false;
  bool enlarge = false;
  bool keepProportions = true;
  TColor background = clNone;
};

std::optional<int> ParseNumber(const std::string& text, int low, int high) {
  return ParseNumberIn(text, low, high);
}

// "W" or "WxH".
bool ParseSize(const std::string& text, ThumbnailOptions& options) {
  size_t x = text.find('x');
  auto width = ParseNumber(text.substr(0, x), 1, kMaxCellSize);
  auto height = x == std::string::npos ? width : ParseNumber(text.substr(x + 1), 1, kMaxCellSize);
  if (!width || !height) return false;
  options.width = *width;
  options.height = *height;
  return true;
}

// "#RRGGBB", a colour name or "none".
bool ParseBackground(const std::string& text, ThumbnailOptions& options) {
  std::optional<TColor> color = ParseColorValue(text);
  if (color) options.background = *color;
  return color.has_value();
}

// Takes the value of an option; false (after a usage message) when it is missing or invalid.
bool TakeValue(const std::vector<std::string>& args, size_t& i, ThumbnailOptions& options) {
  const std::string& option = args[i];
  if (i + 1 >= args.size()) return UsageError(kName, option + " needs a value"), false;
  const std::string& value = args[++i];
  bool valid = true;
  if (option == "--index") {
    auto index = ParseNumber(value, 0, INT32_MAX);
    valid = index.has_value();
    if (valid) options.index = *index;
  } else if (option == "--size") {
    valid = ParseSize(value, options);
  } else if (option == "--bpp") {
    auto bpp = ParseNumber(value, 0, 32);
    valid = bpp.has_value();
    if (valid) options.bpp = *bpp;
  } else if (option == "--background") {
    valid = ParseBackground(value, options);
  } else {
    options.output = value;
  }
  if (!valid) UsageError(kName, "invalid value for " + option + ": " + value);
  return valid;
}

std::optional<ThumbnailOptions> ParseOptions(const std::vector<std::string>& args) {
  ThumbnailOptions options;
  std::vector<std::string> files;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--index" || arg == "--size" || arg == "--bpp" || arg == "--background" ||
        arg == "-o") {
      if (!TakeValue(args, i, options)) return std::nullopt;
    } else if (arg == "--exact") {
      options.exact = true;
    } else if (arg == "--enlarge") {
      options.enlarge = true;
    } else if (arg == "--no-proportions") {
      options.keepProportions = false;
    } else if (arg.starts_with("-")) {
      UsageError(kName, "unknown option " + arg);
      return std::nullopt;
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 1) {
    UsageError(kName, files.empty() ? "no file given" : "one file only");
    return std::nullopt;
  }
  if (options.output.empty()) {
    UsageError(kName, "no output file given (-o OUT.png)");
    return std::nullopt;
  }
  options.file = files[0];
  return options;
}

std::string FormatText(const ThumbnailOptions& options) {
  return std::to_string(options.width) + "x" + std::to_string(options.height) + "x" +
         std::to_string(options.bpp);
}

// The image the grid shows for the icon: the exact format, or the best one for the cell.
const TSubIcon& ChooseImage(const TAdvancedIcon& icon, const ThumbnailOptions& options) {
  const TSubIcon* image = options.exact
                              ? icon.FindImage(options.width, options.height, options.bpp)
                              : icon.GetBestImage(options.width, options.height, options.bpp);
  if (!image)
    throw Exception("icon " + std::to_string(options.index) + " has no image" +
                    (options.exact ? " of " + FormatText(options) : ""));
  return *image;
}

void WriteThumbnail(const ThumbnailOptions& options) {
  CliSession session;
  LoadIcons(session, options.file);
  const TIconList& items = session.lib.Items();
  if (options.index >= items.Count())
    throw Exception("no icon " + std::to_string(options.index) + " (the file holds " +
                    CountText(items.Count(), "icon") + ")");
  const TSubIcon& image = ChooseImage(*items.Icons(options.index), options);
  bool transparent = options.background == clNone;
  TBitmap cell(options.width, options.height,
               transparent ? PixelFormat::Bits32 : PixelFormat::Bits24);
  if (!transparent) cell.Fill(options.background);
  DrawFitted(cell, 0, 0, options.enlarge, options.keepProportions, options.background, image,
             options.height, options.width);
  WriteFileAtomic(options.output, EncodePng(cell));
}

int RunThumbnail(const std::vector<std::string>& args) {
  std::optional<ThumbnailOptions> options = ParseOptions(args);
  if (!options) return kExitUsage;
  return ForEachFile({options->file}, [&](const std::string&) { WriteThumbnail(*options); });
}

const CommandRegistration kThumbnail(
    {kName,
     "thumbnail FILE [--index N] [--size W[xH]] [--bpp B] [--exact] [--enlarge] "
     "[--no-proportions] [--background #RRGGBB|none] -o OUT.png",
     "draw what the grid shows for icon N of a file into a W x H cell and write it as PNG",
     RunThumbnail});

}  // namespace
}  // namespace varnel::cli
