// seeds: ico
// The preview's on-demand reader of collection files: items read out of order (the last, then
// the first, then on from there) from a valid header followed by the fuzzed bytes.

#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/errors.h"
#include "collection/collectionitemreader.h"

using namespace varnel;

namespace {

constexpr int kItemsRead = 64;

// The reader takes a path: the input goes to a file of this process.
std::string WriteInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/fuzz_collectionitems." + std::to_string(getpid());
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  std::fwrite("ICC0\1\0\0\0ICON", 1, 12, file);
  if (size) std::fwrite(data, 1, size, file);
  std::fclose(file);
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string path = WriteInput(data, size);
  try {
    TCollectionItemReader reader(path);
    int count = reader.Count();
    if (count > 0) reader.Icon(count - 1);
    for (int i = 0; i < std::min(count, kItemsRead); ++i) reader.Icon(i);
    reader.Icon(count);
    reader.Icon(-1);
  } catch (const Exception&) {
  }
  std::remove(path.c_str());
  return 0;
}
