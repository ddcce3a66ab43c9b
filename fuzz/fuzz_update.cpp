// seeds: built/modules
// Takes arbitrary bytes as a module file, reads its icons, and writes them back twice: first
// recoloured at the same sizes (the in-place patch), then with the first image grown (the
// rebuild of a PE module's resources). Neither may crash, hang or raise.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

#include "base/fileio.h"
#include "resources/moduleupdate.h"

namespace {

using namespace varnel;

// One file per fuzzing process, named once.
const std::string& ModulePath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp ? tmp : "/tmp") + "/fuzz_update_" + std::to_string(::getpid()) + ".dll";
  }();
  return path;
}

void Recolour(TIconLibrary& library) {
  for (int k = 0; k < library.Count(); ++k)
    for (const auto& image : library.Icon(k)->Images()) {
      std::vector<uint8_t> data = image->Data().ToVector();
      for (size_t i = data.size() / 2; i < data.size(); ++i) data[i] ^= 0x5A;
      image->SetData(std::move(data));
    }
}

void GrowFirstImage(TIconLibrary& library) {
  if (!library.Count() || !library.Icon(0)->Images().Count()) return;
  TSubIcon& image = *library.Icon(0)->Images()[0];
  std::vector<uint8_t> data = image.Data().ToVector();
  data.resize(data.size() + 64, 0x33);
  image.SetData(std::move(data));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& path = ModulePath();
  WriteFileAtomic(path, std::span<const uint8_t>(data, size));
  TIconLibrary library;
  try {
    library.LoadFromFile(path);
  } catch (const std::exception&) {
    ::unlink(path.c_str());
    return 0;
  }
  Recolour(library);
  UpdateModuleIcons(path, library);
  GrowFirstImage(library);
  UpdateModuleIcons(path, library);
  ::unlink(path.c_str());
  return 0;
}
