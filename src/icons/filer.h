#pragma once
// Component-stream values: the tagged integers and strings in which icons and icon lists
// are stored inside component streams (and the "Tessel Component" clipboard format).

#include <cstdint>
#include <string>

#include "base/stream.h"

namespace varnel {

enum class FilerValueType : uint8_t { Int8 = 2, Int16 = 3, Int32 = 4, String = 6, LString = 12 };

class TFilerWriter {
 public:
  explicit TFilerWriter(Stream& stream) : stream_(stream) {}
  // The smallest of int8, int16, int32 that holds the value, after its type byte.
  void WriteInteger(int32_t value);
  // Up to 255 bytes as a short string, longer ones with a 32-bit length.
  void WriteString(const std::string& value);
  void Write(const void* buffer, size_t count) { stream_.WriteBuffer(buffer, count); }
  Stream& Target() { return stream_; }

 private:
  Stream& stream_;
};

class TFilerReader {
 public:
  explicit TFilerReader(Stream& stream) : stream_(stream) {}
  // Raise EReadError("Invalid property value") when the next value is of another type.
  int32_t ReadInteger();
  std::string ReadString();
  void Read(void* buffer, size_t count) { stream_.ReadBuffer(buffer, count); }
  Stream& Source() { return stream_; }

 private:
  Stream& stream_;
};

}  // namespace varnel
