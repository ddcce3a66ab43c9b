// varnel-cli import: a collection built from files, saved by the output's extension.

#include <filesystem>
#include <iostream>

#include "base/errors.h"
#include "cli/clisession.h"
#include "cli/collectionoutput.h"
#include "cli/command.h"
#include "cli/noiconsreason.h"
#include "cli/picturesizes.h"
#include "cli/singleiconoutput.h"
#include "collection/fileimport.h"
#include "search/foldersearch.h"

namespace varnel::cli {

namespace {

// Imports one file; a file that gives no icon raises the reason.
void ImportSaying(TfmLib& lib, const std::string& file) {
  int before = lib.Count();
  try {
    ImportFile(lib, file, nullptr);
  } catch (const Exception& error) {
    if (lib.Count() == before)
      throw Exception("no icons found: " + NoIconsReason(file, {error.what()}));
    throw;
  }
  if (lib.Count() == before && !lib.StopRequested())
    throw Exception("no icons found: " + NoIconsReason(file, {}));
}

int RunImport(const std::vector<std::string>& args) {
  std::vector<std::string> rest = args;
  std::string output = TakeOutputOption(rest);
  if (output.empty()) return UsageError("import", "no output file given (-o OUT)");
  if (int error = CheckCollectionOutput("import", output, true)) return error;
  int jobs = 0;
  if (auto error = TakeJobsOption(rest, jobs)) return UsageError("import", *error);
  PictureSizes sizes;
  if (auto error = TakePictureSizeOptions(rest, sizes)) return UsageError("import", *error);
  auto parsed = ParseFileArguments("import", rest, {"--16bit", "--quiet"});
  if (!parsed) return kExitUsage;
  CliSession session(!parsed->Has("--quiet"));
  session.settings.SearchJobs = jobs;
  int status = ForEachFile(parsed->files, [&](const std::string& file) {
    session.ui.SetStatusText(0, file);
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) {
      SearchFolderTree(session.lib, file, session.settings.IconMask, false);
      return;
    }
    if (ImportPictureAtSizes(session.lib, file, sizes)) return;
    ImportSaying(session.lib, file);
  });
  if (session.lib.Count() == 0) {
    PrintError("no icons found; nothing written to " + output);
    return kExitFailed;
  }
  if (IsSingleIconOutput(output))
    SaveFirstIcon(session, output);
  else
    SaveCollectionOutput(session.lib, output, parsed->Has("--16bit"));
  return status;
}

const CommandRegistration kImport(
    {"import",
     "import FILE... -o OUT [--sizes 16,32,48,256] [--filter NAME] [--no-proportions] [--16bit] "
     "[--jobs N] [--quiet]",
     "collect the icons of the files (folders are searched with N threads reading files, one "
     "per core by default) and save them by OUT's extension (" +
         OutputExtensionsText(false) +
         "; an .ico, .cur, .icns or .icpr OUT holds the first icon only, an .xpm or .xbm OUT its "
         "best image; a library's icon names are made unique). With "
         "--sizes, vector drawings and pictures larger than 256 pixels become one icon with an "
         "image at each size, scaled with the filter (Lanczos3 unless --filter names another; "
         "None stretches), keeping their proportions unless --no-proportions",
     RunImport});

}  // namespace
}  // namespace varnel::cli
