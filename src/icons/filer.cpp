#include "icons/filer.h"

#include "base/errors.h"

namespace varnel {

namespace {

[[noreturn]] void InvalidValue() {
  throw EReadError("Invalid property value");
}

}  // namespace

void TFilerWriter::WriteInteger(int32_t value) {
  if (value >= INT8_MIN && value <= INT8_MAX) {
    stream_.WriteU8(uint8_t(FilerValueType::Int8));
    stream_.WriteU8(uint8_t(int8_t(value)));
  } else if (value >= INT16_MIN && value <= INT16_MAX) {
    stream_.WriteU8(uint8_t(FilerValueType::Int16));
    stream_.WriteU16(uint16_t(int16_t(value)));
  } else {
    stream_.WriteU8(uint8_t(FilerValueType::Int32));
    stream_.WriteI32(value);
  }
}

void TFilerWriter::WriteString(const std::string& value) {
  if (value.size() <= 255) {
    stream_.WriteU8(uint8_t(FilerValueType::String));
    stream_.WriteU8(uint8_t(value.size()));
  } else {
    stream_.WriteU8(uint8_t(FilerValueType::LString));
    stream_.WriteU32(uint32_t(value.size()));
  }
  stream_.WriteBuffer(value.data(), value.size());
}

int32_t TFilerReader::ReadInteger() {
  switch (FilerValueType(stream_.ReadU8())) {
    case FilerValueType::Int8:
      return int8_t(stream_.ReadU8());
    case FilerValueType::Int16:
      return int16_t(stream_.ReadU16());
    case FilerValueType::Int32:
      return stream_.ReadI32();
    default:
      InvalidValue();
  }
}

std::string TFilerReader::ReadString() {
  size_t length;
  switch (FilerValueType(stream_.ReadU8())) {
    case FilerValueType::String:
      length = stream_.ReadU8();
      break;
    case FilerValueType::LString:
      length = stream_.ReadU32();
      break;
    default:
      InvalidValue();
  }
  std::vector<uint8_t> bytes = stream_.ReadBytes(length);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace varnel
