#pragma once
// Searching a block of memory for a byte pattern.

#include <cstdint>
#include <span>

namespace varnel {

// The first position where pattern occurs in data, or -1; count receives how many times it
// occurs (overlapping occurrences included). An empty pattern or one longer than data is found
// nowhere.
int64_t FindFirstOccurrence(std::span<const uint8_t> pattern, std::span<const uint8_t> data,
                            int64_t& count);
// The first position at or after from where pattern occurs in data, or -1.
int64_t FindNextOccurrence(std::span<const uint8_t> pattern, std::span<const uint8_t> data,
                           int64_t from);

}  // namespace varnel
