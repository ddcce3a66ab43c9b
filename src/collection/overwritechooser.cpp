#include "collection/overwritechooser.h"

#include <filesystem>

#include "base/errors.h"
#include "collection/exportnames.h"

namespace varnel {

namespace {

TOverwriteAnswer AnswerOfPolicy(TExistingFiles policy) {
  switch (policy) {
    case TExistingFiles::OverwriteAll:
      return TOverwriteAnswer::OverwriteAll;
    case TExistingFiles::SkipAll:
      return TOverwriteAnswer::SkipAll;
    case TExistingFiles::RenameAuto:
      return TOverwriteAnswer::RenameAuto;
    case TExistingFiles::Ask:
      break;
  }
  return TOverwriteAnswer::Cancel;
}

}  // namespace

TTargetAction TOverwriteChooser::Prepare(std::string& path, const std::string& sourceName) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return TTargetAction::Write;
  if (policy_ != TExistingFiles::Ask) return Apply(AnswerOfPolicy(policy_), path);
  return Apply(ui_.AskOverwrite({path, sourceName}), path);
}

TTargetAction TOverwriteChooser::Apply(TOverwriteAnswer answer, std::string& path) {
  switch (answer) {
    case TOverwriteAnswer::RenameAuto:
      policy_ = TExistingFiles::RenameAuto;
      path = UniqueFileName(path);
      return TTargetAction::Write;
    case TOverwriteAnswer::SkipAll:
      policy_ = TExistingFiles::SkipAll;
      [[fallthrough]];
    case TOverwriteAnswer::Skip:
      return TTargetAction::Skip;
    case TOverwriteAnswer::OverwriteAll:
      policy_ = TExistingFiles::OverwriteAll;
      [[fallthrough]];
    case TOverwriteAnswer::Overwrite: {
      std::error_code error;
      std::filesystem::remove(path, error);
      if (error) throw Exception("Cannot delete " + path + ": " + error.message());
      return TTargetAction::Write;
    }
    case TOverwriteAnswer::Cancel:
      break;
  }
  return TTargetAction::Cancel;
}

}  // namespace varnel
