#pragma once
// The names given on the command line, opened into the collection: first the whole line (all
// arguments joined by blanks, so that a name with blanks survives a shell that split it), then,
// unless that opened, each argument by itself. Failures are gathered, never stop the loop.

#include <functional>
#include <string>
#include <vector>

namespace varnel {

struct TCommandLineOutcome {
  int opened = 0;
  std::vector<std::string> errors;
  std::string initialFolder;  // the folder of the last name, when it exists
};

// The names tried, in order.
std::vector<std::string> CommandLineCandidates(const std::vector<std::string>& arguments);

// A name as it is opened: trimmed of blanks; a relative name gets currentFolder in front.
std::string ExpandCommandLineName(const std::string& name, const std::string& currentFolder);

// Opens each candidate with open (which raises on failure).
TCommandLineOutcome ProcessCommandLine(const std::vector<std::string>& arguments,
                                       const std::string& currentFolder,
                                       const std::function<void(const std::string&)>& open);

}  // namespace varnel
