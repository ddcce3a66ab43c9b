#pragma once
// Reading a file from start to end through a buffer: for large files read once, such as
// collection files, whose bytes then live only in what is built from them.

#include <string>
#include <vector>

#include "base/filedescriptor.h"
#include "base/stream.h"

namespace varnel {

class FileReadStream : public Stream {
 public:
  // Raises EFileError "Cannot open file "<path>". <reason>" (also for a folder).
  // bufferSize is how much one read takes in: small for a reader that skips most of the file.
  explicit FileReadStream(const std::string& path, size_t bufferSize = size_t(1) << 20);

  size_t Read(void* buffer, size_t count) override;
  // Read-only: writing raises EWriteError.
  size_t Write(const void* buffer, size_t count) override;
  int64_t Seek(int64_t offset, SeekOrigin origin) override;
  int64_t Size() const override { return size_; }
  // The open file, for a mapping of it that shares this stream's view of the file.
  int Descriptor() const { return fd_.get(); }

 private:
  void Fill();

  std::string path_;
  FileDescriptor fd_;
  int64_t size_ = 0;
  size_t bufferSize_;
  std::vector<uint8_t> buffer_;
  int64_t bufferStart_ = 0;  // file offset of buffer_[0]
  size_t bufferPosition_ = 0;
};

}  // namespace varnel
