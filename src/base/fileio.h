#pragma once
// Whole-file reading, read-only mappings and saves that replace a file only when complete.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/stream.h"

namespace varnel {

// Reads a whole file; raises EFileError when it cannot be opened or is larger than maxSize.
std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize = UINT64_MAX);

// Size of a file in bytes, or -1 when it cannot be examined.
int64_t FileSizeOf(const std::string& path);

// Writes bytes to a temporary file beside path and renames it over path when all was written.
// On failure the old file is left as it was and EFileError is raised.
void WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes);

// A read-only memory mapping of a whole file (empty files map to an empty span).
class MappedFile {
 public:
  explicit MappedFile(const std::string& path);  // raises EFileError
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  std::span<const uint8_t> Bytes() const { return {data_, size_}; }
  size_t Size() const { return size_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
};

}  // namespace varnel
