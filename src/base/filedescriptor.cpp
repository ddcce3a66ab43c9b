#include "base/filedescriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "base/errors.h"

namespace varnel {

namespace {

std::atomic<uint64_t> fileOpens{0};

[[noreturn]] void FailToOpen(const std::string& path, const std::string& reason) {
  throw EFileError("Cannot open file \"" + path + "\". " + reason);
}

}  // namespace

FileDescriptor::~FileDescriptor() {
  if (fd_ >= 0) ::close(fd_);
}

std::string ErrnoText() {
  return std::strerror(errno);
}

int OpenForReading(const std::string& path) {
  ++fileOpens;
  // Without O_NONBLOCK, opening a named pipe nobody writes to would wait forever; reads block
  // again once it is open, so that a pipe with a writer is read to its end.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) FailToOpen(path, ErrnoText());
  FileDescriptor scope(fd);
  int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) FailToOpen(path, ErrnoText());
  return scope.release();
}

struct stat StatusOf(int fd, const std::string& path) {
  struct stat info;
  if (::fstat(fd, &info) != 0) FailToOpen(path, ErrnoText());
  return info;
}

bool StatusOfPath(const std::string& path, struct stat& info) {
  ++fileOpens;
  return ::stat(path.c_str(), &info) == 0;
}

uint64_t FileOpenCount() {
  return fileOpens.load();
}

}  // namespace varnel
