// The status record shared with the downloader: its byte layout and its file.

#include "search/loaderstatus.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "support/corpus.h"

namespace varnel {
namespace {

TEST(LoaderStatusTest, FieldsSitAtTheirOffsetsLittleEndian) {
  LoaderStatus status{LoaderState::Downloading, LoaderError::TimedOut, 200, 0x01020304, -2};
  auto bytes = EncodeLoaderStatus(status);
  const std::array<uint8_t, kLoaderStatusSize> expected = {'D', 'T',  200,  4,    3,   2,
                                                           1,   0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(bytes, expected);
  EXPECT_EQ(DecodeLoaderStatus(bytes), status);
  // Unknown states and codes survive a round trip; a short record is no record.
  std::vector<uint8_t> odd = {'?', 0x7F, 1, 0, 0, 0, 0x80, 0, 0, 0, 0, 99};
  auto decoded = DecodeLoaderStatus(odd);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(static_cast<uint8_t>(decoded->state), '?');
  EXPECT_EQ(decoded->totalSize, INT32_MIN);
  EXPECT_FALSE(DecodeLoaderStatus(std::span(odd).first(10)));
}

TEST(LoaderStatusTest, TheDownloaderNeverMakesAMissingStatusFileAgain) {
  test::TempDir dir;
  std::string path = dir.File("status.tmp");
  LoaderStatus status{LoaderState::Opening, LoaderError::None, 9, 0, 0};
  EXPECT_FALSE(WriteLoaderStatus(path, status, true));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(ReadLoaderStatus(path));

  ASSERT_TRUE(WriteLoaderStatus(path, status, false));
  status.state = LoaderState::Finished;
  EXPECT_TRUE(WriteLoaderStatus(path, status, true));
  EXPECT_EQ(ReadLoaderStatus(path), status);
  EXPECT_EQ(std::filesystem::file_size(path), kLoaderStatusSize);

  std::ofstream(path, std::ios::binary | std::ios::trunc) << "short";
  EXPECT_FALSE(ReadLoaderStatus(path)) << "a record cut short keeps the previous values";
}

}  // namespace
}  // namespace varnel
