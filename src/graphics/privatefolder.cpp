#include "graphics/privatefolder.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "base/errors.h"

namespace varnel {

PrivateFolder::PrivateFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/varnel-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!mkdtemp(name.data()))
    throw EFileError("Cannot create a temporary folder. " + std::string(std::strerror(errno)));
  path_ = name.data();
}

PrivateFolder::~PrivateFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace varnel
