#pragma once
// "customize folder DIR --icon FILE[,INDEX] | --default [--no-copy]": gives a folder (or the root
// of removable media) an icon on this desktop, or takes it away.

#include <string>
#include <vector>

namespace varnel::cli {

// args are those after "folder"; command names the command in usage messages. Returns the exit
// status.
int RunCustomizeFolder(const std::string& command, const std::vector<std::string>& args);

extern const char* const kCustomizeFolderSynopsis;  // "DIR (--icon FILE[,INDEX] | --default) ..."

}  // namespace varnel::cli
