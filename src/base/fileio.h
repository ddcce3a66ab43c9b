#pragma once
// Whole-file reading, size queries and saves that replace a file only when complete.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "base/mappedfile.h"
#include "base/stream.h"

namespace varnel {

// Reads a whole file; raises EFileError when it cannot be opened or is larger than maxSize.
std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize = UINT64_MAX);

// Size of a file in bytes, or -1 when it cannot be examined.
int64_t FileSizeOf(const std::string& path);

// Writes bytes to a temporary file beside path and renames it over path when all was written.
// On failure the old file is left as it was and EFileError is raised.
void WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace varnel
