// Giving back the pages that drawing read from a mapped file loses no byte: private memory is
// never dropped, and a mapped file's pages leave the process but read the same afterwards.

#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "app/filepages.h"
#include "base/mappedfile.h"
#include "support/corpus.h"

namespace varnel::test {
namespace {

// Whether the page holding address is mapped into the process now.
bool PagePresent(const uint8_t* address) {
  int map = open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
  uint64_t entry = 0;
  off_t at = off_t(reinterpret_cast<uintptr_t>(address) / uintptr_t(sysconf(_SC_PAGESIZE)) * 8);
  bool read = pread(map, &entry, sizeof entry, at) == sizeof entry;
  close(map);
  return read && (entry >> 63) != 0;
}

std::vector<uint8_t> Pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 7 + i / 4096);
  return bytes;
}

TEST(FilePages, ReleasingDropsMappedPagesAndKeepsEveryByte) {
  const std::vector<uint8_t> pattern = Pattern(3 * 1024 * 1024 + 123);
  std::vector<uint8_t> owned = pattern;  // large enough to be memory of its own
  TempDir folder;
  std::ofstream(folder.File("data.bin"), std::ios::binary)
      .write(reinterpret_cast<const char*>(pattern.data()), std::streamsize(pattern.size()));
  SharedFile file = MappedFile::Open(folder.File("data.bin"));
  ASSERT_TRUE(file->IsMapped());
  std::span<const uint8_t> mapped = file->Bytes();
  ASSERT_TRUE(std::equal(mapped.begin(), mapped.end(), pattern.begin(), pattern.end()));
  const uint8_t* middle = mapped.data() + mapped.size() / 2;
  ASSERT_TRUE(PagePresent(middle));

  ReleaseFilePages({std::span<const uint8_t>(owned).subspan(100, 5000), mapped.subspan(1000, 10),
                    std::span<const uint8_t>(owned), mapped.subspan(mapped.size() / 2)});
  EXPECT_FALSE(PagePresent(middle));
  EXPECT_TRUE(PagePresent(owned.data() + owned.size() / 2));
  EXPECT_EQ(owned, pattern);
  EXPECT_TRUE(std::equal(mapped.begin(), mapped.end(), pattern.begin(), pattern.end()));
}

}  // namespace
}  // namespace varnel::test
