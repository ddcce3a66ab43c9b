#include "base/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <utility>

#include "base/errors.h"
#include "base/filedescriptor.h"

namespace varnel {

namespace {

uint64_t RegularFileSize(int fd, const std::string& path) {
  struct stat info = StatusOf(fd, path);
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
  if (!StatusOfPath(path, info) || !S_ISREG(info.st_mode)) return -1;
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

}  // namespace varnel
