#include "base/fileio.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "base/atomicfilestream.h"
#include "base/errors.h"
#include "base/filedescriptor.h"

namespace varnel {

namespace {

uint64_t RegularFileSize(int fd, const std::string& path) {
  struct stat info = StatusOf(fd, path);
  if (!S_ISREG(info.st_mode)) throw EFileError("Cannot open file \"" + path + "\". Not a file");
  return uint64_t(info.st_size);
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
  AtomicFileStream file(path);
  file.WriteBytes(bytes);
  file.Commit();
}

}  // namespace varnel
