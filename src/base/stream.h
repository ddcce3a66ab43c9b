#pragma once
// Seekable byte streams: the medium every reader and writer works on.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace varnel {

enum class SeekOrigin { Begin, Current, End };

class Stream {
 public:
  virtual ~Stream() = default;

  // Reads up to count bytes; returns how many were read.
  virtual size_t Read(void* buffer, size_t count) = 0;
  // Writes count bytes; returns how many were written.
  virtual size_t Write(const void* buffer, size_t count) = 0;
  // Moves the position; returns the new position. Positions beyond the end are allowed.
  virtual int64_t Seek(int64_t offset, SeekOrigin origin) = 0;
  virtual int64_t Size() const = 0;

  int64_t Position() { return Seek(0, SeekOrigin::Current); }
  void SetPosition(int64_t position) { Seek(position, SeekOrigin::Begin); }
  // Bytes between the position and the end (0 when the position is past the end).
  int64_t Remaining();

  // Read or write exactly count bytes, raising EReadError / EWriteError otherwise.
  void ReadBuffer(void* buffer, size_t count);
  void WriteBuffer(const void* buffer, size_t count);
  // Reads count bytes into a new block; fails before allocating when fewer remain.
  std::vector<uint8_t> ReadBytes(size_t count);
  void WriteBytes(std::span<const uint8_t> bytes) { WriteBuffer(bytes.data(), bytes.size()); }

  uint8_t ReadU8();
  uint16_t ReadU16();
  uint32_t ReadU32();
  int32_t ReadI32() { return int32_t(ReadU32()); }
  void WriteU8(uint8_t value) { WriteBuffer(&value, 1); }
  void WriteU16(uint16_t value);
  void WriteU32(uint32_t value);
  void WriteI32(int32_t value) { WriteU32(uint32_t(value)); }

  // Copies count bytes (all that remain when count is negative) from source; returns the count.
  int64_t CopyFrom(Stream& source, int64_t count);
};

// A growable stream over an owned block of memory.
class MemoryStream : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  explicit MemoryStream(std::span<const uint8_t> bytes) : data_(bytes.begin(), bytes.end()) {}

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() const override { return int64_t(data_.size()); }

  void SetSize(size_t size) { data_.resize(size); }
  void Clear();
  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::vector<uint8_t>& Bytes() { return data_; }
  std::vector<uint8_t> TakeBytes();

 private:
  std::vector<uint8_t> data_;
  int64_t position_ = 0;
};

// A read-only stream over bytes owned elsewhere (a mapped file, a resource, a buffer).
class SpanStream : public Stream {
 public:
  explicit SpanStream(std::span<const uint8_t> bytes) : data_(bytes) {}

  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;  // always raises EWriteError
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() const override { return int64_t(data_.size()); }

  std::span<const uint8_t> Bytes() const { return data_; }

 private:
  std::span<const uint8_t> data_;
  int64_t position_ = 0;
};

}  // namespace varnel
