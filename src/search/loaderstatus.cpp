#include "search/loaderstatus.h"

#include <fcntl.h>
#include <unistd.h>

namespace varnel {

namespace {

void PutInt32(uint8_t* out, int32_t value) {
  uint32_t bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t GetInt32(const uint8_t* in) {
  uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<uint32_t>(in[i]) << (8 * i);
  return static_cast<int32_t>(bits);
}

// Closes a descriptor when the scope ends.
struct FileDescriptor {
  explicit FileDescriptor(int value) : fd(value) {}
  ~FileDescriptor() {
    if (fd >= 0) close(fd);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int fd;
};

}  // namespace

std::array<uint8_t, kLoaderStatusSize> EncodeLoaderStatus(const LoaderStatus& status) {
  std::array<uint8_t, kLoaderStatusSize> bytes{};
  bytes[0] = static_cast<uint8_t>(status.state);
  bytes[1] = static_cast<uint8_t>(status.error);
  bytes[2] = status.requestNumber;
  PutInt32(&bytes[3], status.totalSize);
  PutInt32(&bytes[7], status.received);
  return bytes;
}

std::optional<LoaderStatus> DecodeLoaderStatus(std::span<const uint8_t> bytes) {
  if (bytes.size() < kLoaderStatusSize) return std::nullopt;
  LoaderStatus status;
  status.state = static_cast<LoaderState>(bytes[0]);
  status.error = static_cast<LoaderError>(bytes[1]);
  status.requestNumber = bytes[2];
  status.totalSize = GetInt32(&bytes[3]);
  status.received = GetInt32(&bytes[7]);
  return status;
}

std::optional<LoaderStatus> ReadLoaderStatus(const std::string& path) {
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.fd < 0) return std::nullopt;
  std::array<uint8_t, kLoaderStatusSize> bytes{};
  ssize_t got = pread(file.fd, bytes.data(), bytes.size(), 0);
  if (got != static_cast<ssize_t>(bytes.size())) return std::nullopt;
  return DecodeLoaderStatus(bytes);
}

bool WriteLoaderStatus(const std::string& path, const LoaderStatus& status, bool mustExist) {
  int flags = O_WRONLY | O_CLOEXEC | O_NOFOLLOW | (mustExist ? 0 : O_CREAT | O_TRUNC);
  FileDescriptor file(open(path.c_str(), flags, 0600));
  if (file.fd < 0) return false;
  std::array<uint8_t, kLoaderStatusSize> bytes = EncodeLoaderStatus(status);
  return pwrite(file.fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size());
}

}  // namespace varnel
