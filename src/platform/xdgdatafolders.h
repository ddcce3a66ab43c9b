#pragma once
// The desktop's data folders, where shared data such as file types and icon themes live.

#include <string>
#include <vector>

namespace varnel {

// $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share; empty when neither is
// known.
std::string UserDataFolder();
// The absolute entries of $XDG_DATA_DIRS, else /usr/local/share and /usr/share.
std::vector<std::string> SystemDataFolders();
// The user's data folder followed by the system's, each once, in order of precedence.
std::vector<std::string> DataFolders();

}  // namespace varnel
