#include "base/filereadstream.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "base/fileio.h"
#include "support/corpus.h"

namespace varnel {
namespace {

TEST(FileReadStream, ReadsAndSeeksAcrossBufferBoundsLikeAMemoryStream) {
  test::TempDir dir;
  std::vector<uint8_t> bytes((3 << 20) + 17);  // more than three buffers
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i * 13 + i / 251);
  WriteFileAtomic(dir.File("f"), bytes);
  FileReadStream file(dir.File("f"));
  SpanStream memory(bytes);
  EXPECT_EQ(file.Size(), memory.Size());
  for (int64_t position : {int64_t(0), int64_t(5), int64_t(1 << 20) - 3, int64_t(3 << 20),
                           int64_t(2 << 20) + 1, file.Size() - 2}) {
    SCOPED_TRACE(position);
    file.SetPosition(position);
    memory.SetPosition(position);
    std::vector<uint8_t> a(9000), b(9000);
    EXPECT_EQ(file.Read(a.data(), a.size()), memory.Read(b.data(), b.size()));
    EXPECT_EQ(a, b);
    EXPECT_EQ(file.Position(), memory.Position());
    EXPECT_EQ(file.Remaining(), memory.Remaining());
  }
  file.SetPosition(0);
  EXPECT_EQ(file.ReadBytes(bytes.size()), bytes);
  EXPECT_THROW(file.ReadU8(), EReadError);
  EXPECT_THROW(file.WriteU8(1), EWriteError);
  EXPECT_THROW(FileReadStream(dir.File("none")), EFileError);
  EXPECT_THROW(FileReadStream(dir.Path()), EFileError);
}

}  // namespace
}  // namespace varnel
