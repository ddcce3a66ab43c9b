#include "base/mappedfile.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>

#include "base/byteblock.h"
#include "base/errors.h"
#include "base/filedescriptor.h"
#include "base/fileio.h"
#include "support/corpus.h"

namespace varnel {
namespace {

std::string ErrorOf(const std::string& path) {
  try {
    MappedFile file(path);
  } catch (const EFileError& error) {
    return error.what();
  }
  return "";
}

// A pipe holding bytes whose writer has closed, named by its /dev/fd path.
class FilledPipe {
 public:
  explicit FilledPipe(const std::vector<uint8_t>& bytes) {
    if (::pipe(ends_) != 0) throw std::runtime_error("pipe");
    EXPECT_EQ(::write(ends_[1], bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::close(ends_[1]);
  }
  ~FilledPipe() { ::close(ends_[0]); }
  std::string Path() const { return "/dev/fd/" + std::to_string(ends_[0]); }

 private:
  int ends_[2];
};

TEST(MappedFileTest, LargeFilesAreMappedSmallOnesReadAndEmptyOnesGiveNoBytes) {
  test::TempDir dir;
  std::vector<uint8_t> large(2 << 20, 9);
  large.back() = 4;
  WriteFileAtomic(dir.File("large"), large);
  WriteFileAtomic(dir.File("m"), std::vector<uint8_t>{5, 6, 7});
  WriteFileAtomic(dir.File("empty"), {});
  MappedFile mapped(dir.File("large"));
  EXPECT_TRUE(mapped.IsMapped());
  EXPECT_TRUE(std::ranges::equal(mapped.Bytes(), large));
  MappedFile small(dir.File("m"));
  EXPECT_FALSE(small.IsMapped());
  EXPECT_EQ(std::vector<uint8_t>(small.Bytes().begin(), small.Bytes().end()),
            (std::vector<uint8_t>{5, 6, 7}));
  EXPECT_EQ(small.Path(), dir.File("m"));
  MappedFile empty(dir.File("empty"));
  EXPECT_EQ(empty.Size(), 0u);
  EXPECT_TRUE(empty.Bytes().empty());
}

TEST(MappedFileTest, ErrorsNameTheFileAndTheReason) {
  test::TempDir dir;
  EXPECT_EQ(ErrorOf(dir.File("none")),
            "Cannot open file \"" + dir.File("none") + "\". No such file or directory");
  EXPECT_EQ(ErrorOf(dir.Path()), "Cannot open file \"" + dir.Path() + "\". Not a file");
  EXPECT_EQ(ErrorOf("/dev/zero"), "Cannot open file \"/dev/zero\". Not a file");
  WriteFileAtomic(dir.File("big"), std::vector<uint8_t>(10, 1));
  EXPECT_THROW(MappedFile(dir.File("big"), 9), EFileError);
  EXPECT_NO_THROW(MappedFile(dir.File("big"), 10));
  EXPECT_EQ(MappedFile::TryOpen(dir.File("none")), nullptr);
}

TEST(MappedFileTest, PipesAreReadIntoABufferUpToTheLimit) {
  std::vector<uint8_t> bytes(100000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 7);
  FilledPipe pipe(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 60000));
  MappedFile read(pipe.Path());
  EXPECT_FALSE(read.IsMapped());
  EXPECT_EQ(std::vector<uint8_t>(read.Bytes().begin(), read.Bytes().end()),
            std::vector<uint8_t>(bytes.begin(), bytes.begin() + 60000));

  FilledPipe exact(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 5));
  EXPECT_EQ(MappedFile(exact.Path(), 5).Size(), 5u) << "a pipe ending at the limit fits";
  FilledPipe longer(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 6));
  EXPECT_THROW(MappedFile(longer.Path(), 5), EFileError);
  FilledPipe drained({});
  EXPECT_EQ(MappedFile(drained.Path()).Size(), 0u);
}

TEST(MappedFileTest, EachMappingOpensTheFileOnce) {
  test::TempDir dir;
  WriteFileAtomic(dir.File("m"), std::vector<uint8_t>{1});
  uint64_t before = FileOpenCount();
  SharedFile file = MappedFile::Open(dir.File("m"));
  EXPECT_EQ(FileOpenCount() - before, 1u);
  FileSizeOf(dir.File("m"));
  EXPECT_EQ(FileOpenCount() - before, 2u) << "size queries count too";
}

TEST(MappedFileTest, ViewsKeepTheMappingAlive) {
  test::TempDir dir;
  WriteFileAtomic(dir.File("m"), std::vector<uint8_t>{1, 2, 3, 4});
  SharedFile file = MappedFile::Open(dir.File("m"));
  ByteBlock tail(file->Bytes().subspan(2), file);
  std::weak_ptr<const MappedFile> watch = file;
  file.reset();
  ASSERT_FALSE(watch.expired());
  EXPECT_EQ(tail, ByteBlock(std::vector<uint8_t>{3, 4}));
  tail.clear();
  EXPECT_TRUE(watch.expired());
}

}  // namespace
}  // namespace varnel
