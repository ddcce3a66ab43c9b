#include "base/fileio.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <utility>

#include "base/errors.h"

namespace varnel {

namespace {

std::string ErrnoText() {
  return std::strerror(errno);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

int OpenForReading(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFileError("Cannot open file \"" + path + "\". " + ErrnoText());
  return fd;
}

uint64_t RegularFileSize(int fd, const std::string& path) {
  struct stat info;
  if (::fstat(fd, &info) != 0)
    throw EFileError("Cannot open file \"" + path + "\". " + ErrnoText());
  if (!S_ISREG(info.st_mode)) throw EFileError("Cannot open file \"" + path + "\". Not a file");
  return uint64_t(info.st_size);
}

std::string TemporaryNameBeside(const std::string& path) {
  std::random_device random;
  return path + ".tmp" + std::to_string(random() % 1000000);
}

void WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw EFileError(ErrnoText());
    done += size_t(n);
  }
}

}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& path, uint64_t maxSize) {
  FileDescriptor fd(OpenForReading(path));
  uint64_t size = RegularFileSize(fd.get(), path);
  if (size > maxSize) throw EFileError("File \"" + path + "\" is too large");
  std::vector<uint8_t> bytes(size);
  size_t done = 0;
  while (done < size) {
    ssize_t n = ::read(fd.get(), bytes.data() + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw EFileError("Cannot read file \"" + path + "\". " + ErrnoText());
    if (n == 0) break;  // the file shrank while being read
    done += size_t(n);
  }
  bytes.resize(done);
  return bytes;
}

int64_t FileSizeOf(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return int64_t(info.st_size);
}

void WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) {
  std::string temporary = TemporaryNameBeside(path);
  FileDescriptor fd(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
  if (fd.get() < 0) throw EFileError("Cannot create file \"" + path + "\". " + ErrnoText());
  try {
    WriteAll(fd.get(), bytes);
    if (::fsync(fd.get()) != 0) throw EFileError(ErrnoText());
    struct stat old;
    if (::stat(path.c_str(), &old) == 0) ::fchmod(fd.get(), old.st_mode & 07777);
    if (::close(fd.release()) != 0) throw EFileError(ErrnoText());
    if (::rename(temporary.c_str(), path.c_str()) != 0) throw EFileError(ErrnoText());
  } catch (const EFileError& error) {
    ::unlink(temporary.c_str());
    throw EFileError("Cannot write file \"" + path + "\". " + error.what());
  }
}

MappedFile::MappedFile(const std::string& path) {
  FileDescriptor fd(OpenForReading(path));
  uint64_t size = RegularFileSize(fd.get(), path);
  if (size == 0) return;
  void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd.get(), 0);
  if (data == MAP_FAILED) throw EFileError("Cannot map file \"" + path + "\". " + ErrnoText());
  data_ = static_cast<const uint8_t*>(data);
  size_ = size;
}

MappedFile::~MappedFile() {
  if (data_) ::munmap(const_cast<uint8_t*>(data_), size_);
}

}  // namespace varnel
