#pragma once
// What an export does with a file that already exists: the overwrite dialog's answers, of which
// "Overwrite all", "Skip all" and "Rename auto" hold for the rest of the export.

#include <string>

#include "platform/userinterface.h"

namespace varnel {

// How existing files are met before any answer: asked about, or one of the sticky answers.
enum class TExistingFiles { Ask, OverwriteAll, SkipAll, RenameAuto };

enum class TTargetAction { Write, Skip, Cancel };

class TOverwriteChooser {
 public:
  explicit TOverwriteChooser(UserInterface& ui, TExistingFiles policy = TExistingFiles::Ask)
      : ui_(ui), policy_(policy) {}

  // Decides about writing path (the file sourceName is exported to). With Write, path may have
  // been renamed to a free name, and a file to be overwritten has been deleted.
  TTargetAction Prepare(std::string& path, const std::string& sourceName);

 private:
  TTargetAction Apply(TOverwriteAnswer answer, std::string& path);

  UserInterface& ui_;
  TExistingFiles policy_;
};

}  // namespace varnel
