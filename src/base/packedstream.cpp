#include "base/packedstream.h"

#include "base/errors.h"

namespace varnel {

namespace {

constexpr uint8_t kWordFollows = 252;
constexpr uint8_t kMinusOne = 253;
constexpr uint8_t kLongFollows = 254;

}  // namespace

void WritePackedInteger(Stream& stream, int32_t value) {
  if (value >= 0 && value <= 251) {
    stream.WriteU8(uint8_t(value));
  } else if (value >= 252 && value <= 65535) {
    stream.WriteU8(kWordFollows);
    stream.WriteU16(uint16_t(value));
  } else if (value == -1) {
    stream.WriteU8(kMinusOne);
  } else {
    stream.WriteU8(kLongFollows);
    stream.WriteI32(value);
  }
}

int32_t ReadPackedInteger(Stream& stream) {
  uint8_t first = stream.ReadU8();
  switch (first) {
    case kWordFollows:
      return stream.ReadU16();
    case kMinusOne:
      return -1;
    case kLongFollows:
      return stream.ReadI32();
    default:
      return first;
  }
}

void WritePackedString(Stream& stream, const std::string& text) {
  WritePackedInteger(stream, int32_t(text.size()));
  stream.WriteBuffer(text.data(), text.size());
}

std::string ReadPackedString(Stream& stream) {
  int32_t length = ReadPackedInteger(stream);
  if (length < 0) throw EReadError();
  std::vector<uint8_t> bytes = stream.ReadBytes(size_t(length));
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace varnel
