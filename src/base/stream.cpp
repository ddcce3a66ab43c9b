#include "base/stream.h"

#include <algorithm>
#include <cstring>

#include "base/byteorder.h"
#include "base/errors.h"

namespace varnel {

namespace {

int64_t ResolveSeek(int64_t position, int64_t size, int64_t offset, SeekOrigin origin) {
  int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? position : size;
  int64_t target = base + offset;
  if (target < 0) throw EStreamError("Invalid stream position");
  return target;
}

size_t ReadFromBlock(const uint8_t* data, size_t size, int64_t& position, void* buffer,
                     size_t count) {
  if (position >= int64_t(size)) return 0;
  size_t n = std::min(count, size - size_t(position));
  if (n) std::memcpy(buffer, data + position, n);
  position += int64_t(n);
  return n;
}

}  // namespace

int64_t Stream::Remaining() {
  int64_t left = Size() - Position();
  return left > 0 ? left : 0;
}

void Stream::ReadBuffer(void* buffer, size_t count) {
  if (Read(buffer, count) != count) throw EReadError();
}

void Stream::WriteBuffer(const void* buffer, size_t count) {
  if (Write(buffer, count) != count) throw EWriteError();
}

std::vector<uint8_t> Stream::ReadBytes(size_t count) {
  if (int64_t(count) > Remaining()) throw EReadError();
  std::vector<uint8_t> bytes(count);
  ReadBuffer(bytes.data(), count);
  return bytes;
}

uint8_t Stream::ReadU8() {
  uint8_t value;
  ReadBuffer(&value, 1);
  return value;
}

uint16_t Stream::ReadU16() {
  uint8_t bytes[2];
  ReadBuffer(bytes, 2);
  return ReadU16LE(bytes);
}

uint32_t Stream::ReadU32() {
  uint8_t bytes[4];
  ReadBuffer(bytes, 4);
  return ReadU32LE(bytes);
}

void Stream::WriteU16(uint16_t value) {
  uint8_t bytes[2];
  WriteU16LE(bytes, value);
  WriteBuffer(bytes, 2);
}

void Stream::WriteU32(uint32_t value) {
  uint8_t bytes[4];
  WriteU32LE(bytes, value);
  WriteBuffer(bytes, 4);
}

int64_t Stream::CopyFrom(Stream& source, int64_t count) {
  if (count < 0) count = source.Remaining();
  uint8_t buffer[65536];
  int64_t left = count;
  while (left > 0) {
    size_t chunk = size_t(std::min<int64_t>(left, sizeof buffer));
    source.ReadBuffer(buffer, chunk);
    WriteBuffer(buffer, chunk);
    left -= int64_t(chunk);
  }
  return count;
}

size_t MemoryStream::Read(void* buffer, size_t count) {
  return ReadFromBlock(data_.data(), data_.size(), position_, buffer, count);
}

size_t MemoryStream::Write(const void* buffer, size_t count) {
  if (!count) return 0;
  size_t end = size_t(position_) + count;
  if (end > data_.size()) data_.resize(end);
  std::memcpy(data_.data() + position_, buffer, count);
  position_ = int64_t(end);
  return count;
}

int64_t MemoryStream::Seek(int64_t offset, SeekOrigin origin) {
  position_ = ResolveSeek(position_, Size(), offset, origin);
  return position_;
}

void MemoryStream::Clear() {
  data_.clear();
  position_ = 0;
}

std::vector<uint8_t> MemoryStream::TakeBytes() {
  position_ = 0;
  return std::move(data_);
}

size_t SpanStream::Read(void* buffer, size_t count) {
  return ReadFromBlock(data_.data(), data_.size(), position_, buffer, count);
}

size_t SpanStream::Write(const void*, size_t) {
  throw EWriteError();
}

int64_t SpanStream::Seek(int64_t offset, SeekOrigin origin) {
  position_ = ResolveSeek(position_, Size(), offset, origin);
  return position_;
}

}  // namespace varnel
