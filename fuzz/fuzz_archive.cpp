// seeds: zip rar
// Archive bytes walked as a ZIP and as a RAR archive: extraction with nested archives, then the
// loaders' walk of the members. Nothing may be written outside the walk's folder, and the
// temporary folders must be gone afterwards.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "collection/archiveextract.h"
#include "collection/fileimport.h"
#include "collection/tempfolder.h"

using namespace varnel;

namespace {

namespace fs = std::filesystem;

bool IsEmptyFolder(const std::string& folder) {
  std::error_code error;
  return fs::is_empty(folder, error) || error;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string base = ProcessTempBase();
  std::string path = base + "/fuzz-input-" + std::to_string(getpid());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), long(size));
  for (TFileKind kind : {TFileKind::fkZip, TFileKind::fkRar}) {
    std::string destination = base + "/fuzz-out";
    try {
      ExtractArchive({path}, kind, "*.*", destination, LimitsFor(size, 1));
    } catch (const Exception&) {
    }
    RemoveFolderTree(destination);
  }
  FileReadOptions options;
  options.allMembers = true;
  ReadFileContents(path, options);
  fs::remove(path);
  if (!IsEmptyFolder(base)) std::abort();
  return 0;
}
