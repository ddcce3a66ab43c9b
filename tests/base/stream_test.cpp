#include "base/stream.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/errors.h"
#include "base/fileio.h"
#include "support/corpus.h"

namespace varnel {
namespace {

TEST(MemoryStreamTest, WritesGrowAndReadsStopAtTheEnd) {
  MemoryStream stream;
  stream.WriteU16(0x1234);
  stream.WriteU32(0xAABBCCDD);
  EXPECT_EQ(stream.Size(), 6);
  stream.SetPosition(0);
  EXPECT_EQ(stream.ReadU16(), 0x1234);
  EXPECT_EQ(stream.ReadU32(), 0xAABBCCDDu);
  EXPECT_THROW(stream.ReadU8(), EReadError);
  stream.SetPosition(10);
  stream.WriteU8(1);
  EXPECT_EQ(stream.Size(), 11);
  EXPECT_EQ(stream.Bytes()[7], 0);
}

TEST(MemoryStreamTest, ReadBytesRefusesCountsBeyondWhatRemains) {
  MemoryStream stream(std::vector<uint8_t>{1, 2, 3});
  EXPECT_THROW(stream.ReadBytes(1u << 30), EReadError);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(stream.ReadBytes(3).size(), 3u);
  EXPECT_THROW(stream.Seek(-1, SeekOrigin::Begin), EStreamError);
}

TEST(SpanStreamTest, IsReadOnly) {
  const uint8_t bytes[] = {9, 8, 7};
  SpanStream stream(bytes);
  EXPECT_EQ(stream.ReadU8(), 9);
  EXPECT_THROW(stream.WriteU8(1), EWriteError);
  stream.Seek(-1, SeekOrigin::End);
  EXPECT_EQ(stream.ReadU8(), 7);
}

TEST(FileIoTest, AtomicWriteReplacesTheFileOnlyWhenComplete) {
  test::TempDir dir;
  std::string path = dir.File("a.bin");
  WriteFileAtomic(path, std::vector<uint8_t>{1, 2, 3});
  EXPECT_EQ(ReadWholeFile(path), (std::vector<uint8_t>{1, 2, 3}));
  WriteFileAtomic(path, std::vector<uint8_t>{4});
  EXPECT_EQ(ReadWholeFile(path), (std::vector<uint8_t>{4}));
  // A target in a missing folder fails and leaves nothing behind.
  EXPECT_THROW(WriteFileAtomic(dir.File("missing/b.bin"), std::vector<uint8_t>{1}), EFileError);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(FileIoTest, MappedFileSeesTheFileBytes) {
  test::TempDir dir;
  WriteFileAtomic(dir.File("m"), std::vector<uint8_t>{5, 6});
  MappedFile mapped(dir.File("m"));
  ASSERT_EQ(mapped.Size(), 2u);
  EXPECT_EQ(mapped.Bytes()[1], 6);
  EXPECT_THROW(MappedFile(dir.File("none")), EFileError);
  EXPECT_THROW(ReadWholeFile(dir.File("m"), 1), EFileError);
}

}  // namespace
}  // namespace varnel
