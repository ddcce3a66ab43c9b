// Checks and wording shared by the commands of varnel-cli.

#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "cli/collectionoutput.h"
#include "cli/command.h"
#include "cli/singleiconoutput.h"

namespace varnel::cli {

namespace fs = std::filesystem;

void CheckInputFile(const std::string& path) {
  std::error_code error;
  fs::file_status status = fs::status(path, error);
  if (!fs::exists(status)) throw Exception("no such file");
  if (fs::is_directory(status))
    throw Exception("is a folder, not a file ('varnel-cli scan' searches folders)");
  if (!std::ifstream(path, std::ios::binary)) throw Exception("cannot be opened");
}

std::string CountText(long long count, const std::string& noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

int CheckCollectionOutput(const std::string& command, const std::string& output,
                          bool withSingleIcons) {
  if (IsCollectionOutput(output) || (withSingleIcons && IsSingleIconOutput(output))) return kExitOk;
  return UsageError(command, "cannot write " + output + ": the output file name must end in " +
                                 OutputExtensionsText(withSingleIcons));
}

}  // namespace varnel::cli
