#pragma once
// Saving a file so that the target is replaced only by a complete copy: the bytes go to a
// temporary file beside it, which Commit flushes to disk and renames over the target. A stream
// that goes away without Commit removes its temporary file, whatever ended the save.

#include <string>
#include <vector>

#include "base/filedescriptor.h"
#include "base/mappedfile.h"
#include "base/stream.h"

namespace varnel {

class AtomicFileStream : public Stream {
 public:
  // Creates the temporary file; raises EFileError "Cannot create file "<path>". <reason>".
  explicit AtomicFileStream(const std::string& path);
  ~AtomicFileStream() override;
  AtomicFileStream(const AtomicFileStream&) = delete;
  AtomicFileStream& operator=(const AtomicFileStream&) = delete;

  // Write-only and sequential: reading raises EReadError; Seek only reports the position.
  size_t Read(void* buffer, size_t count) override;
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() const override { return written_; }

  // Writes of large runs of bytes that lie in one of these files' mappings (an unchanged
  // collection's images) are copied from the files by the kernel, which neither touches the
  // mappings' pages nor copies through this process; a file system that cannot copy so gets
  // ordinary writes.
  void CopyFrom(std::vector<SharedFile> files) { sources_ = std::move(files); }

  // How far a commit makes sure of the file: flushed to disk, or (for caches that are made
  // again when lost, like thumbnails) left to the page cache, the target removed before the
  // rename, since a rename over a file makes ext4 write the new file's data at once.
  enum class Durability { Flushed, Cached };

  // Writes what is buffered, flushes it to disk unless asked not to (keeping the target's
  // permissions) and puts the file in the target's place; raises EFileError "Cannot write file
  // "<path>". <reason>".
  void Commit(Durability durability = Durability::Flushed);

 private:
  void WriteBuffered(const uint8_t* bytes, size_t count);
  void Flush();
  // Copies count bytes at bytes from the source file they lie in; the bytes a copy could not
  // take are left to the caller (the file may have been cut meanwhile). Returns those taken.
  size_t CopyFromSource(const uint8_t* bytes, size_t count);
  [[noreturn]] void RaiseWriteError(const std::string& reason);

  std::string path_;
  std::string temporary_;
  FileDescriptor fd_;
  std::vector<uint8_t> buffer_;
  std::vector<SharedFile> sources_;
  int64_t written_ = 0;
  bool committed_ = false;
};

}  // namespace varnel
