#include "base/mappedfile.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "base/errors.h"
#include "base/filedescriptor.h"
#include "base/mappingguard.h"

namespace varnel {

namespace {

constexpr size_t kFirstBuffer = 1 << 16;
// Smaller regular files are read rather than mapped: reading them costs less than the page
// faults and the unmapping (which, with searches reading on several threads, stalls every
// core), and their copy is small.
constexpr uint64_t kSmallestMappedFile = uint64_t(1) << 20;

[[noreturn]] void FailTooLarge(const std::string& path) {
  throw EFileError("File \"" + path + "\" is too large");
}

}  // namespace

MappedFile::Mapping::Mapping(void* data, size_t size) : data_(data), size_(size) {
  MappingGuard::Register(data_, size_);
}

MappedFile::Mapping::~Mapping() {
  if (!data_) return;
  MappingGuard::Unregister(data_);
  ::munmap(data_, size_);
}

MappedFile::Mapping& MappedFile::Mapping::operator=(Mapping&& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
  return *this;
}

MappedFile::MappedFile(const std::string& path, uint64_t maxSize) : path_(path) {
  FileDescriptor fd(OpenForReading(path));
  Load(fd.get(), maxSize, false);
}

MappedFile::MappedFile(const std::string& path, int fd, bool mapSmallFiles)
    : path_(path), kept_(::dup(fd)) {
  Load(fd, UINT64_MAX, mapSmallFiles);
}

void MappedFile::Load(int fd, uint64_t maxSize, bool mapSmallFiles) {
  struct stat info = StatusOf(fd, path_);
  bool regular = S_ISREG(info.st_mode);
  if (!regular && !S_ISFIFO(info.st_mode) && !S_ISSOCK(info.st_mode))
    throw EFileError("Cannot open file \"" + path_ + "\". Not a file");
  uint64_t size = regular ? uint64_t(info.st_size) : 0;
  if (size > maxSize) FailTooLarge(path_);
  bool large = mapSmallFiles || size >= kSmallestMappedFile;
  if (regular && large && TryMapping(fd, size)) return;
  // A regular file's own size (and one byte to see its end) is the first buffer.
  if (regular) buffer_.resize(size_t(std::min<uint64_t>(size + 1, kLargestBufferedFile)));
  ReadIntoBuffer(fd, std::min(maxSize, kLargestBufferedFile));
}

SharedFile MappedFile::OpenDescriptor(const std::string& path, int fd) {
  // The constructor is private: make_shared cannot reach it.
  return SharedFile(new MappedFile(path, fd, true));
}

bool MappedFile::WasCut() const {
  if (!mapping_.Holds()) return false;
  if (MappingGuard::WasCut(bytes_.data())) return true;
  struct stat info;
  return kept_.get() >= 0 && ::fstat(kept_.get(), &info) == 0 &&
         uint64_t(info.st_size) < bytes_.size();
}

std::optional<MappedFile::FileRange> MappedFile::RangeOf(std::span<const uint8_t> bytes) const {
  if (!mapping_.Holds() || kept_.get() < 0) return std::nullopt;
  std::span<const uint8_t> mapped = mapping_.Bytes();
  auto start = reinterpret_cast<uintptr_t>(mapped.data());
  auto first = reinterpret_cast<uintptr_t>(bytes.data());
  if (first < start || first - start > mapped.size() ||
      bytes.size() > mapped.size() - (first - start))
    return std::nullopt;
  return FileRange{kept_.get(), int64_t(first - start)};
}

MappedFile::MappedFile(const std::string& path, std::vector<uint8_t> bytes)
    : path_(path), buffer_(std::move(bytes)), bytes_(buffer_) {}

SharedFile MappedFile::Open(const std::string& path) {
  return std::make_shared<const MappedFile>(path);
}

SharedFile MappedFile::TryOpen(const std::string& path) {
  try {
    return Open(path);
  } catch (const EFileError&) {
    return nullptr;
  }
}

bool MappedFile::TryMapping(int fd, uint64_t size) {
  if (size == 0) return true;
  if (size > SIZE_MAX) FailTooLarge(path_);
  void* data = ::mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE, fd, 0);
  if (data == MAP_FAILED) return false;
  mapping_ = Mapping(data, size_t(size));
  bytes_ = mapping_.Bytes();
  return true;
}

void MappedFile::ReadIntoBuffer(int fd, uint64_t limit) {
  size_t done = 0;
  while (true) {
    if (done == buffer_.size()) {
      if (done >= limit) {
        uint8_t probe;
        if (ReadSome(fd, &probe, 1) == 0) break;
        FailTooLarge(path_);
      }
      buffer_.resize(size_t(std::min<uint64_t>(std::max(2 * done, kFirstBuffer), limit)));
    }
    size_t n = ReadSome(fd, buffer_.data() + done, buffer_.size() - done);
    if (n == 0) break;
    done += n;
  }
  buffer_.resize(done);
  buffer_.shrink_to_fit();
  bytes_ = buffer_;
}

size_t MappedFile::ReadSome(int fd, uint8_t* buffer, size_t count) const {
  while (true) {
    ssize_t n = ::read(fd, buffer, count);
    if (n >= 0) return size_t(n);
    if (errno != EINTR) throw EFileError("Cannot read file \"" + path_ + "\". " + ErrnoText());
  }
}

}  // namespace varnel
