#include "base/atomicfilestream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "base/errors.h"

namespace varnel {

namespace {

constexpr size_t kBufferSize = size_t(1) << 20;
// Runs shorter than this go through the buffer: a copy's call would cost more than it saves.
constexpr size_t kCopiedRunSize = size_t(4) << 10;

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
  size_t copied = count >= kCopiedRunSize ? CopyFromSource(bytes, count) : 0;
  WriteBuffered(bytes + copied, count - copied);
  return count;
}

void AtomicFileStream::WriteBuffered(const uint8_t* bytes, size_t count) {
  if (count == 0) return;
  if (buffer_.size() + count > kBufferSize) Flush();
  if (count >= kBufferSize) {
    buffer_.assign(bytes, bytes + count);
    Flush();
  } else {
    buffer_.insert(buffer_.end(), bytes, bytes + count);
  }
  written_ += int64_t(count);
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

size_t AtomicFileStream::CopyFromSource(const uint8_t* bytes, size_t count) {
  std::optional<MappedFile::FileRange> range;
  for (const SharedFile& file : sources_)
    if ((range = file->RangeOf({bytes, count}))) break;
  if (!range) return 0;
  Flush();
  loff_t offset = range->offset;
  size_t done = 0;
  ssize_t n = 0;
  while (done < count) {
    n = ::copy_file_range(range->fd, &offset, fd_.get(), nullptr, count - done, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;  // the end of a file cut meanwhile, or an error the writes will meet
    done += size_t(n);
  }
  // File systems and kernels that cannot copy so get ordinary writes from now on.
  if (n < 0 && done == 0 &&
      (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
       errno == EBADF))
    sources_.clear();
  written_ += int64_t(done);
  return done;
}

void AtomicFileStream::Commit(Durability durability) {
  Flush();
  bool flushed = durability == Durability::Flushed;
  if (flushed && ::fsync(fd_.get()) != 0) RaiseWriteError(ErrnoText());
  struct stat old;
  if (::stat(path_.c_str(), &old) == 0) ::fchmod(fd_.get(), old.st_mode & 07777);
  if (::close(fd_.release()) != 0) RaiseWriteError(ErrnoText());
  if (!flushed && ::unlink(path_.c_str()) != 0 && errno != ENOENT) RaiseWriteError(ErrnoText());
  if (::rename(temporary_.c_str(), path_.c_str()) != 0) RaiseWriteError(ErrnoText());
  committed_ = true;
}

void AtomicFileStream::RaiseWriteError(const std::string& reason) {
  throw EFileError("Cannot write file \"" + path_ + "\". " + reason);
}

}  // namespace varnel
