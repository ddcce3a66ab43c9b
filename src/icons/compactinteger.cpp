#include "icons/compactinteger.h"

#include "base/errors.h"

namespace varnel {

namespace {

constexpr uint8_t kLargestByteValue = 251;
constexpr uint8_t kWordFollows = 252;
constexpr uint8_t kMinusOne = 253;
constexpr uint8_t kLongFollows = 254;

}  // namespace

int64_t ReadCompactInteger(Stream& stream) {
  uint8_t lead = stream.ReadU8();
  if (lead <= kLargestByteValue) return lead;
  switch (lead) {
    case kWordFollows:
      return stream.ReadU16();
    case kMinusOne:
      return -1;
    case kLongFollows:
      return stream.ReadU32();
    default:
      throw EReadError("Invalid compact integer");
  }
}

void WriteCompactInteger(Stream& stream, int64_t value) {
  if (value < 0) {
    stream.WriteU8(kMinusOne);
  } else if (value <= kLargestByteValue) {
    stream.WriteU8(uint8_t(value));
  } else if (value <= UINT16_MAX) {
    stream.WriteU8(kWordFollows);
    stream.WriteU16(uint16_t(value));
  } else {
    stream.WriteU8(kLongFollows);
    stream.WriteU32(uint32_t(value));
  }
}

}  // namespace varnel
