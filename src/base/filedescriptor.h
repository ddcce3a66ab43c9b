#pragma once
// Opening files by path: the descriptor scope, the error texts, and the count of opens that
// lets tests see how often an operation went to the file system.

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <utility>

namespace varnel {

// Closes the descriptor it holds when it goes away.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// The text of the last system error.
std::string ErrnoText();

// Opens path for reading without waiting for a pipe's writer; raises EFileError
// "Cannot open file "<path>". <reason>".
int OpenForReading(const std::string& path);
// The file's status; raises EFileError as OpenForReading does.
struct stat StatusOf(int fd, const std::string& path);
// The status of the file at path, false when it cannot be examined.
bool StatusOfPath(const std::string& path, struct stat& info);

// How many times files were opened or examined by path through this layer since the program
// started (mappings, whole-file reads, size queries).
uint64_t FileOpenCount();

}  // namespace varnel
