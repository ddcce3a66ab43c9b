// varnel-cli export: each icon of the inputs as its own file in a folder, named as the
// collection's export to a folder names them; or every image as its own file.

#include <filesystem>
#include <optional>
#include <set>
#include <string>

#include "base/errors.h"
#include "cli/command.h"
#include "cli/iconfiles.h"
#include "cli/optionvalues.h"
#include "cli/themeexport.h"
#include "collection/exportnames.h"
#include "collection/iconfolderexport.h"
#include "collection/iconsavefile.h"
#include "collection/saveformats.h"
#include "icons/advancedicon.h"

namespace varnel::cli {

namespace {

constexpr const char* kName = "export";
constexpr int kDefaultPictureSize = 256;
constexpr int kPictureDepth = 32;
constexpr int kMaxPictureSize = 4096;

struct ExportOptions {
  std::vector<std::string> files;
  std::string folder;
  std::string format = "ico";
  std::optional<std::set<int>> selected;
  bool allImages = false;
  int size = kDefaultPictureSize;
  TExistingFiles existing = TExistingFiles::Ask;
};

// Without --overwrite, --skip or --rename an existing file is left alone and reported: a batch
// run has nobody to ask, and overwriting silently would lose the file.
class RefuseOverwriteUserInterface : public KeepHotSpotUserInterface {
 public:
  TOverwriteAnswer AskOverwrite(const TOverwriteRequest& request) override {
    PrintError(request.existingFile + " exists; not written (use --overwrite, --skip or --rename)");
    refused_ = true;
    return TOverwriteAnswer::Skip;
  }
  bool Refused() const { return refused_; }

 private:
  bool refused_ = false;
};

bool TakeOptionValue(OptionWalker& walker, ExportOptions& options) {
  std::string option = walker.Current();
  std::optional<std::string> value = walker.Value();
  if (!value) return false;
  if (option == "-o") {
    options.folder = *value;
  } else if (option == "--format") {
    if (!FindSaveFormat(*value)) return walker.Invalid(*value);
    options.format = LowerExtension("." + *value);
  } else if (option == "--size") {
    auto size = ParseNumberIn(*value, 1, kMaxPictureSize);
    if (!size) return walker.Invalid(*value);
    options.size = *size;
  } else {
    auto list = ParseNumberList(*value, ',', 0, INT32_MAX);
    if (!list) return walker.Invalid(*value);
    options.selected.emplace(list->begin(), list->end());
  }
  return true;
}

bool TakeFlag(const std::string& arg, ExportOptions& options) {
  if (arg == "--all-images")
    options.allImages = true;
  else if (arg == "--overwrite")
    options.existing = TExistingFiles::OverwriteAll;
  else if (arg == "--skip")
    options.existing = TExistingFiles::SkipAll;
  else if (arg == "--rename")
    options.existing = TExistingFiles::RenameAuto;
  else
    return false;
  return true;
}

std::optional<ExportOptions> ParseOptions(const std::vector<std::string>& args) {
  ExportOptions options;
  ArgumentRules rules{{"-o", "--format", "--size", "--selected"},
                      [&](OptionWalker& walker) { return TakeOptionValue(walker, options); },
                      [&](const std::string& flag) { return TakeFlag(flag, options); }};
  if (!WalkArguments(kName, args, rules, options.files)) return std::nullopt;
  if (options.files.empty()) return UsageError(kName, "no file given"), std::nullopt;
  if (options.folder.empty())
    return UsageError(kName, "no output folder given (-o DIR)"), std::nullopt;
  return options;
}

class IconExporter {
 public:
  explicit IconExporter(const ExportOptions& options)
      : options_(options), chooser_(refusals_, options.existing) {}

  // Writes the icons of one input; false when the export was cancelled.
  bool ExportFile(const std::string& file) {
    LoadIcons(session_, file);
    TFolderExportResult result = ExportItemsToFolder(
        session_.lib, folder_, [&](int i) { return FilesOf(i); }, chooser_);
    return !result.cancelled;
  }

  bool RefusedExistingFiles() const { return refusals_.Refused(); }

  void PrepareFolder() {
    folder_ = PrepareExportFolder(options_.folder);
    std::filesystem::create_directories(folder_);
  }

 private:
  std::vector<TExportFile> FilesOf(int index) {
    if (options_.selected && !options_.selected->count(index)) return {};
    const TAdvancedIcon& icon = *session_.lib.Items().Icons(index);
    if (icon.Images().Count() == 0) return {};
    std::string name = ExportFileName(session_.lib.Items().Names(index), options_.format);
    if (!options_.allImages) return {IconFile(madeNames_.MakePath(name), icon)};
    std::vector<TExportFile> files;
    std::string base = WithoutExtension(name) + "-";
    for (int i = 0; i < icon.Images().Count(); ++i)
      files.push_back(
          ImageFile(madeNames_.MakePath(base + std::to_string(i) + "." + options_.format),
                    *icon.Images()[i]));
    return files;
  }

  // The whole icon for icon formats, the image the grid shows at the size for pictures.
  TExportFile IconFile(const std::string& name, const TAdvancedIcon& icon) {
    const TSaveFormat& format = *FindSaveFormat(options_.format);
    const TSubIcon* image =
        format.wholeIcon ? nullptr : icon.GetBestImage(options_.size, options_.size, kPictureDepth);
    return {name, [this, &icon, image](const std::string& path) { Save(&icon, image, path); }};
  }

  TExportFile ImageFile(const std::string& name, const TSubIcon& image) {
    return {name, [this, &image](const std::string& path) { Save(nullptr, &image, path); }};
  }

  void Save(const TAdvancedIcon* icon, const TSubIcon* image, const std::string& path) {
    std::string written = path;
    SaveIconFile(hotSpots_, session_.settings, icon, image, options_.format, written);
  }

  const ExportOptions& options_;
  CliSession session_;
  KeepHotSpotUserInterface hotSpots_;
  RefuseOverwriteUserInterface refusals_;
  TOverwriteChooser chooser_;
  // Two icons of one name (a group in two languages, inputs of one base name) give two files:
  // the overwrite options are about files that were there before the run.
  UniqueNames madeNames_;
  std::string folder_;
};

int RunExport(const std::vector<std::string>& args) {
  if (IsThemeExport(args)) return RunThemeExport(args);
  std::optional<ExportOptions> options = ParseOptions(args);
  if (!options) return kExitUsage;
  IconExporter exporter(*options);
  try {
    exporter.PrepareFolder();
  } catch (const std::exception& error) {
    PrintError(options->folder + ": " + error.what());
    return kExitFailed;
  }
  bool cancelled = false;
  int status = ForEachFile(options->files, [&](const std::string& file) {
    if (!cancelled) cancelled = !exporter.ExportFile(file);
  });
  return exporter.RefusedExistingFiles() ? kExitFailed : status;
}

const CommandRegistration kExport(
    {kName,
     "export FILE... -o DIR [--format ico|cur|png|bmp|jpg|gif|xpm|xbm|icpr|icns] "
     "[--selected N,M,...] [--all-images] [--size N] [--overwrite|--skip|--rename]; " +
         std::string(kThemeExportSynopsis),
     "write each icon of the files as its own file in DIR (or, with --all-images, each image); "
     "an existing file is kept and reported unless --overwrite, --skip or --rename says "
     "otherwise; with --theme, an icon theme NAME in DIR (one PNG a size of each icon in "
     "SIZExSIZE/CONTEXT, the SVG an icon came from in scalable/CONTEXT); with --xcursor-theme, "
     "an X cursor theme NAME (one X cursor file a cursor in NAME/cursors, every size with its "
     "hot spot, animated cursors animated); with --favicon, the "
     "favicon set of a web site and the HTML lines that link it",
     RunExport});

}  // namespace
}  // namespace varnel::cli
