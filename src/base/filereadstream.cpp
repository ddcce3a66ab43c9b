#include "base/filereadstream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/errors.h"

namespace varnel {

FileReadStream::FileReadStream(const std::string& path, size_t bufferSize)
    : path_(path), fd_(OpenForReading(path)), bufferSize_(std::max<size_t>(bufferSize, 1)) {
  struct stat info = StatusOf(fd_.get(), path);
  if (!S_ISREG(info.st_mode)) throw EFileError("Cannot open file \"" + path + "\". Not a file");
  size_ = int64_t(info.st_size);
}

void FileReadStream::Fill() {
  bufferStart_ += int64_t(buffer_.size());
  bufferPosition_ = 0;
  buffer_.resize(bufferSize_);
  while (true) {
    ssize_t n = ::pread(fd_.get(), buffer_.data(), buffer_.size(), bufferStart_);
    if (n >= 0) {
      buffer_.resize(size_t(n));
      return;
    }
    if (errno != EINTR) throw EFileError("Cannot read file \"" + path_ + "\". " + ErrnoText());
  }
}

size_t FileReadStream::Read(void* buffer, size_t count) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < count) {
    if (bufferPosition_ == buffer_.size()) {
      Fill();
      if (buffer_.empty()) break;
    }
    size_t n = std::min(count - done, buffer_.size() - bufferPosition_);
    std::memcpy(out + done, buffer_.data() + bufferPosition_, n);
    bufferPosition_ += n;
    done += n;
  }
  return done;
}

size_t FileReadStream::Write(const void*, size_t) {
  throw EWriteError();
}

int64_t FileReadStream::Seek(int64_t offset, SeekOrigin origin) {
  int64_t current = bufferStart_ + int64_t(bufferPosition_);
  int64_t base = origin == SeekOrigin::Begin ? 0 : origin == SeekOrigin::Current ? current : size_;
  int64_t target = std::max<int64_t>(base + offset, 0);
  if (target >= bufferStart_ && target <= bufferStart_ + int64_t(buffer_.size())) {
    bufferPosition_ = size_t(target - bufferStart_);
  } else {
    // The next read fills the buffer from the target.
    buffer_.clear();
    bufferStart_ = target;
    bufferPosition_ = 0;
  }
  return target;
}

}  // namespace varnel
