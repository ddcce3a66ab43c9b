#include "search/downloadfolder.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "base/errors.h"
#include "collection/tempfolder.h"

namespace varnel {

DownloadFolder::DownloadFolder() {
  std::string pattern = ProcessTempBase() + "/download-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!mkdtemp(name.data())) throw Exception("Cannot create folder " + pattern);
  path_ = name.data();
}

DownloadFolder::~DownloadFolder() {
  RemoveFolderTree(path_);
}

void RemoveFileQuietly(const std::string& path) {
  std::error_code error;
  std::filesystem::remove(path, error);
}

}  // namespace varnel
