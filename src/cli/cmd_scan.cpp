// varnel-cli scan and dedup: the folder and disk searches, and duplicate removal, from a
// terminal.

#include <filesystem>
#include <iostream>

#include "base/errors.h"
#include "cli/clisession.h"
#include "cli/collectionoutput.h"
#include "cli/command.h"
#include "collection/fileimport.h"
#include "collection/filekind.h"
#include "collection/searchmodescope.h"
#include "search/foldersearch.h"
#include "search/iconfolderpictures.h"

namespace varnel::cli {

namespace {

struct ScanOptions {
  std::vector<std::string> folders;
  std::string output;
  std::string mask;
  bool subfolders = true, archives = false, keepDuplicates = false, allDisks = false;
  bool quiet = false;
  int jobs = 0;
};

// Parses the arguments; a message for a usage error, else nothing.
std::optional<std::string> ParseScan(const std::vector<std::string>& args, ScanOptions& options) {
  std::vector<std::string> rest = args;
  options.output = TakeOutputOption(rest);
  if (auto error = TakeJobsOption(rest, options.jobs)) return error;
  for (size_t i = 0; i < rest.size(); ++i) {
    const std::string& arg = rest[i];
    bool hasValue = i + 1 < rest.size();
    if (arg == "--mask" && hasValue)
      options.mask = rest[++i];
    else if (arg == "--no-subdirs")
      options.subfolders = false;
    else if (arg == "--archives")
      options.archives = true;
    else if (arg == "--keep-duplicates")
      options.keepDuplicates = true;
    else if (arg == "--all-disks")
      options.allDisks = true;
    else if (arg == "--quiet")
      options.quiet = true;
    else if (arg.starts_with("-"))
      return "unknown option " + arg;
    else
      options.folders.push_back(arg);
  }
  if (options.output.empty()) return "no output file given (-o OUT)";
  if (options.folders.empty() && !options.allDisks) return "no folders given";
  return std::nullopt;
}

std::string FoldersText(const ScanOptions& options) {
  if (options.allDisks) return "the local disks";
  std::string text;
  for (const std::string& folder : options.folders) text += (text.empty() ? "" : ", ") + folder;
  return text;
}

int RunScan(const std::vector<std::string>& args) {
  ScanOptions options;
  if (auto error = ParseScan(args, options)) return UsageError("scan", *error);
  if (int error = CheckCollectionOutput("scan", options.output)) return error;
  CliSession session(!options.quiet);
  TSettings& settings = session.settings;
  if (!options.mask.empty()) settings.IconMask = options.mask;
  settings.SearchArchives = options.archives;
  settings.ExcludeDups = !options.keepDuplicates;
  settings.SearchJobs = options.jobs;
  TfmLib& lib = session.lib;
  if (options.allDisks) {
    SearchLocalDisks(lib);
  } else {
    for (const std::string& folder : options.folders) {
      std::error_code error;
      if (!std::filesystem::is_directory(folder, error)) {
        PrintError(folder + ": Folder not found: " + folder);
        return kExitFailed;
      }
      SearchModeScope searching(lib);
      if (options.subfolders)
        SearchFolderTree(lib, folder, settings.IconMask, false);
      else
        SearchFolder(lib, folder, settings.IconMask);
      if (lib.StopRequested()) break;
    }
  }
  if (!lib.Count()) {
    PrintError("no icons found in " + FoldersText(options) + " with the mask \"" +
               settings.IconMask + "\"" + (lib.StopRequested() ? " (stopped)" : ""));
    return kExitFailed;
  }
  if (!options.quiet)
    std::cerr << "varnel-cli: " << CountText(lib.Count(), "icon") << " found"
              << (lib.StopRequested() ? " (stopped)" : "") << "\n";
  SaveCollectionOutput(lib, options.output, false);
  return kExitOk;
}

int RunDedup(const std::vector<std::string>& args) {
  std::vector<std::string> rest = args;
  std::string output = TakeOutputOption(rest);
  if (output.empty()) return UsageError("dedup", "no output file given (-o OUT)");
  if (rest.size() != 1 || rest[0].starts_with("-")) return UsageError("dedup", "give one input");
  if (int error = CheckCollectionOutput("dedup", output)) return error;
  CliSession session;
  TfmLib& lib = session.lib;
  if (DetectFileKind(rest[0]).kind == TFileKind::fkCollection)
    lib.ReadCollectionFile(rest[0]);
  else
    ImportFile(lib, rest[0], nullptr);
  lib.DeleteDuplicates();
  SaveCollectionOutput(lib, output, false);
  return kExitOk;
}

const CommandRegistration kScan(
    {"scan",
     "scan DIR... -o OUT [--mask MASK] [--no-subdirs] [--archives] [--keep-duplicates] "
     "[--all-disks] [--jobs N] [--quiet]",
     std::string("search folders (or all local disks) for icons and save them by OUT's "
                 "extension; N threads read files (default one per core, 1 reads one file after "
                 "another). MASK: \";\"-separated file patterns, by default icon files, modules "
                 "and libraries. ") +
         kIconFolderPicturesNote + " A search that finds nothing writes no file and exits 1",
     RunScan});
const CommandRegistration kDedup({"dedup", "dedup IN -o OUT",
                                  "delete duplicate icons of a collection or any icon file",
                                  RunDedup});

}  // namespace
}  // namespace varnel::cli
