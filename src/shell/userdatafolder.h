#pragma once
// The per-user data folder of the freedesktop base directories.

#include <string>

namespace varnel {

// $XDG_DATA_HOME when it is set to an absolute path, else $HOME/.local/share; empty when neither
// is known.
std::string UserDataFolder();

}  // namespace varnel
