#include "base/atomicfilestream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "base/errors.h"

namespace varnel {

namespace {

constexpr size_t kBufferSize = size_t(1) << 20;

std::string TemporaryNameBeside(const std::string& path) {
  std::random_device random;
  return path + ".tmp" + std::to_string(random() % 1000000);
}

int CreateExclusive(const std::string& temporary, const std::string& path) {
  int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) throw EFileError("Cannot create file \"" + path + "\". " + ErrnoText());
  return fd;
}

}  // namespace

AtomicFileStream::AtomicFileStream(const std::string& path)
    : path_(path), temporary_(TemporaryNameBeside(path)), fd_(CreateExclusive(temporary_, path)) {
  buffer_.reserve(kBufferSize);
}

AtomicFileStream::~AtomicFileStream() {
  if (!committed_) ::unlink(temporary_.c_str());
}

size_t AtomicFileStream::Read(void*, size_t) {
  throw EReadError();
}

size_t AtomicFileStream::Write(const void* buffer, size_t count) {
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  if (buffer_.size() + count > kBufferSize) Flush();
  if (count >= kBufferSize) {
    buffer_.assign(bytes, bytes + count);
    Flush();
  } else {
    buffer_.insert(buffer_.end(), bytes, bytes + count);
  }
  written_ += int64_t(count);
  return count;
}

int64_t AtomicFileStream::Seek(int64_t offset, SeekOrigin origin) {
  bool staysPut = (origin == SeekOrigin::Begin && offset == written_) ||
                  (origin != SeekOrigin::Begin && offset == 0);
  if (!staysPut) throw EStreamError("Stream seek not supported");
  return written_;
}

void AtomicFileStream::Flush() {
  size_t done = 0;
  while (done < buffer_.size()) {
    ssize_t n = ::write(fd_.get(), buffer_.data() + done, buffer_.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) RaiseWriteError(ErrnoText());
    done += size_t(n);
  }
  buffer_.clear();
}

void AtomicFileStream::Commit() {
  Flush();
  if (::fsync(fd_.get()) != 0) RaiseWriteError(ErrnoText());
  struct stat old;
  if (::stat(path_.c_str(), &old) == 0) ::fchmod(fd_.get(), old.st_mode & 07777);
  if (::close(fd_.release()) != 0) RaiseWriteError(ErrnoText());
  if (::rename(temporary_.c_str(), path_.c_str()) != 0) RaiseWriteError(ErrnoText());
  committed_ = true;
}

void AtomicFileStream::RaiseWriteError(const std::string& reason) {
  throw EFileError("Cannot write file \"" + path_ + "\". " + reason);
}

}  // namespace varnel
