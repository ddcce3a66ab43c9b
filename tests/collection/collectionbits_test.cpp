// The small pieces of the collection: integer lists, packed encodings, the ZIP writer.

#include <gtest/gtest.h>
#include <zlib.h>

#include "base/byteorder.h"
#include "base/errors.h"
#include "base/packedstream.h"
#include "collection/listlongint.h"
#include "collection/zipmemofile.h"

namespace varnel {
namespace {

TEST(ListLongintTest, IndexErrorsNameTheIndex) {
  TListLongint list;
  list.Add(5);
  list.Insert(0, 4);
  list.Insert(9, 6);
  EXPECT_EQ(list.Get(0), 4);
  EXPECT_EQ(list.Get(2), 6);
  try {
    list.Get(3);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_STREQ(error.what(), "List index out of bounds (3)");
  }
  EXPECT_THROW(list.Delete(-1), Exception);
  list.SetCount(5);
  EXPECT_EQ(list.Get(4), 0);
  EXPECT_EQ(list.GetOr(7, -1), -1);
}

TEST(PackedStreamTest, EachRangeHasItsForm) {
  struct Case {
    int32_t value;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases = {{0, {0}},
                             {251, {251}},
                             {252, {252, 252, 0}},
                             {65535, {252, 255, 255}},
                             {-1, {253}},
                             {65536, {254, 0, 0, 1, 0}},
                             {-2, {254, 0xFE, 0xFF, 0xFF, 0xFF}}};
  for (const Case& c : cases) {
    MemoryStream stream;
    WritePackedInteger(stream, c.value);
    EXPECT_EQ(stream.Bytes(), c.bytes) << c.value;
    stream.SetPosition(0);
    EXPECT_EQ(ReadPackedInteger(stream), c.value);
  }
  MemoryStream odd(std::vector<uint8_t>{255});
  EXPECT_EQ(ReadPackedInteger(odd), 255);
}

TEST(PackedStreamTest, StringLengthsBeyondTheStreamFail) {
  MemoryStream stream;
  WritePackedString(stream, std::string(300, 'a'));
  stream.SetPosition(0);
  EXPECT_EQ(ReadPackedString(stream).size(), 300u);
  MemoryStream lying(std::vector<uint8_t>{254, 0, 0, 0, 0x40, 'x'});
  EXPECT_THROW(ReadPackedString(lying), EReadError);
  MemoryStream negative(std::vector<uint8_t>{253});
  EXPECT_THROW(ReadPackedString(negative), EReadError);
}

std::vector<uint8_t> Inflate(const uint8_t* data, size_t size, size_t expected) {
  std::vector<uint8_t> out(expected);
  z_stream z{};
  inflateInit2(&z, -MAX_WBITS);
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = uInt(size);
  z.next_out = out.data();
  z.avail_out = uInt(out.size());
  EXPECT_EQ(inflate(&z, Z_FINISH), Z_STREAM_END);
  inflateEnd(&z);
  return out;
}

TEST(ZipMemoFileTest, MembersAreDeflatedAndListedInTheDirectory) {
  TZipMemoFile zip;
  std::vector<uint8_t> data(1000, 'x');
  zip.SetMemberData(zip.AddMember("a.ico"), data);
  zip.SetMemberData(zip.AddMember("b.ico"), std::vector<uint8_t>{1, 2, 3});
  EXPECT_THROW(zip.SetMemberDate(2, 0), Exception);
  std::vector<uint8_t> bytes = zip.Bytes();

  ASSERT_EQ(ReadU32LE(&bytes[0]), 0x04034B50u);
  EXPECT_EQ(ReadU16LE(&bytes[8]), 8);
  uint32_t crc = ReadU32LE(&bytes[14]);
  uint32_t compressed = ReadU32LE(&bytes[18]);
  EXPECT_EQ(ReadU32LE(&bytes[22]), 1000u);
  EXPECT_EQ(std::string(&bytes[30], &bytes[35]), "a.ico");
  EXPECT_EQ(Inflate(&bytes[35], compressed, 1000), data);
  EXPECT_EQ(crc, crc32(0, data.data(), 1000));

  const uint8_t* end = &bytes[bytes.size() - 22];
  ASSERT_EQ(ReadU32LE(end), 0x06054B50u);
  EXPECT_EQ(ReadU16LE(end + 10), 2);
  uint32_t directory = ReadU32LE(end + 16);
  EXPECT_EQ(ReadU32LE(&bytes[directory]), 0x02014B50u);
  EXPECT_EQ(ReadU32LE(&bytes[directory + 42]), 0u);  // first member's local header
  EXPECT_EQ(directory + ReadU32LE(end + 12), bytes.size() - 22);
}

}  // namespace
}  // namespace varnel
