#include "base/atomicfilestream.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>

#include "base/errors.h"
#include "base/fileio.h"
#include "support/corpus.h"

namespace varnel {
namespace {

size_t FilesIn(const std::string& folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(AtomicFileStream, ReplacesTheTargetOnlyWhenCommittedKeepingItsPermissions) {
  test::TempDir dir;
  std::string target = dir.File("out.bin");
  test::WriteText(target, "old");
  ::chmod(target.c_str(), 0600);
  std::vector<uint8_t> large(3 << 20);  // beyond the write buffer
  for (size_t i = 0; i < large.size(); ++i) large[i] = uint8_t(i * 7);
  {
    AtomicFileStream file(target);
    file.WriteU8(1);
    file.WriteBytes(large);
    EXPECT_EQ(file.Position(), int64_t(large.size() + 1));
    EXPECT_EQ(test::FileText(target), "old");
    file.Commit();
  }
  std::vector<uint8_t> written = ReadWholeFile(target, 1 << 30);
  ASSERT_EQ(written.size(), large.size() + 1);
  EXPECT_TRUE(std::equal(large.begin(), large.end(), written.begin() + 1));
  struct stat info;
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(AtomicFileStream, ASaveThatFailsHalfwayLeavesTheTargetAndNoTemporaryFile) {
  test::TempDir dir;
  std::string target = dir.File("out.bin");
  test::WriteText(target, "old");
  try {
    AtomicFileStream file(target);
    file.WriteU32(5);
    throw std::runtime_error("the writer failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(test::FileText(target), "old");
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
  AtomicFileStream file(target);
  file.WriteU8(1);
  EXPECT_THROW(file.Seek(0, SeekOrigin::Begin), EStreamError);
  EXPECT_THROW(AtomicFileStream(dir.File("missing/out.bin")), EFileError);
}

}  // namespace
}  // namespace varnel
