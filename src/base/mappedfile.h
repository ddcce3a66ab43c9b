#pragma once
// A file's bytes for reading: a read-only memory mapping, or for files that cannot be mapped
// (pipes) one buffer the bytes were read into.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/filedescriptor.h"

namespace varnel {

class MappedFile {
 public:
  // Pipes and other files that cannot be mapped are read up to this many bytes.
  static constexpr uint64_t kLargestBufferedFile = uint64_t(1) << 30;

  // Raises EFileError "Cannot open file "<path>". <reason>" for files that cannot be opened,
  // folders and devices included, and "File "<path>" is too large" beyond maxSize bytes.
  explicit MappedFile(const std::string& path, uint64_t maxSize = UINT64_MAX);
  // Bytes already in memory, read as if they were the file at path (nothing is opened).
  MappedFile(const std::string& path, std::vector<uint8_t> bytes);
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // A mapping to share among readers that keep views into it.
  static std::shared_ptr<const MappedFile> Open(const std::string& path);
  // The same, or null when the file cannot be opened.
  static std::shared_ptr<const MappedFile> TryOpen(const std::string& path);
  // The regular file open as fd (which the caller keeps), mapped whatever its size, to share
  // among readers that read its small records through fd and keep views of its large ones.
  static std::shared_ptr<const MappedFile> OpenDescriptor(const std::string& path, int fd);

  std::span<const uint8_t> Bytes() const { return bytes_; }
  size_t Size() const { return bytes_.size(); }
  const std::string& Path() const { return path_; }
  // False when the bytes were read into a buffer instead.
  bool IsMapped() const { return mapping_.Holds(); }
  // Where bytes of the mapping lie in the file, for copies the kernel makes from the file: its
  // kept descriptor (OpenDescriptor's files) and the offset. Nothing for other bytes or files.
  struct FileRange {
    int fd;
    int64_t offset;
  };
  std::optional<FileRange> RangeOf(std::span<const uint8_t> bytes) const;
  // True when another program cut the file below what was mapped: a read met a page the file
  // no longer has (and saw zeros, see MappingGuard), or the file is now shorter.
  bool WasCut() const;

 private:
  // Unmaps what it holds when it goes away.
  class Mapping {
   public:
    Mapping() = default;
    Mapping(void* data, size_t size);
    ~Mapping();
    Mapping(const Mapping&) = delete;
    Mapping& operator=(Mapping&& other) noexcept;
    bool Holds() const { return data_ != nullptr; }
    std::span<const uint8_t> Bytes() const { return {static_cast<const uint8_t*>(data_), size_}; }

   private:
    void* data_ = nullptr;
    size_t size_ = 0;
  };

  MappedFile(const std::string& path, int fd, bool mapSmallFiles);
  void Load(int fd, uint64_t maxSize, bool mapSmallFiles);
  bool TryMapping(int fd, uint64_t size);
  void ReadIntoBuffer(int fd, uint64_t limit);
  // Reads what is there, up to count bytes; 0 at the end of the file.
  size_t ReadSome(int fd, uint8_t* buffer, size_t count) const;

  std::string path_;
  // A descriptor of the mapped file kept for WasCut (OpenDescriptor's files); -1 otherwise.
  FileDescriptor kept_{-1};
  Mapping mapping_;
  std::vector<uint8_t> buffer_;
  std::span<const uint8_t> bytes_;
};

using SharedFile = std::shared_ptr<const MappedFile>;

}  // namespace varnel
