#pragma once
// The keys of the icon bytes that the reads of one search met, shared by the threads that read.
// An icon whose bytes were met before is a copy of an icon the duplicate index took or dropped
// already, which the index tells by its bytes without drawing it; so only the first of each set
// of identical icons needs hashing.

#include <cstdint>
#include <mutex>
#include <unordered_set>

namespace varnel {

class SeenIconBytes {
 public:
  // True when key was not met before; it is met from now on.
  bool Insert(uint64_t key) {
    std::lock_guard lock(mutex_);
    return keys_.insert(key).second;
  }

 private:
  std::mutex mutex_;
  std::unordered_set<uint64_t> keys_;
};

}  // namespace varnel
