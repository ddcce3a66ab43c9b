#include "shell/userdatafolder.h"

#include <cstdlib>

namespace varnel {

std::string UserDataFolder() {
  const char* data = std::getenv("XDG_DATA_HOME");
  if (data && data[0] == '/') return data;
  const char* home = std::getenv("HOME");
  if (home && home[0]) return std::string(home) + "/.local/share";
  return "";
}

}  // namespace varnel
