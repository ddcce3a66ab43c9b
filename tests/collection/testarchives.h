#pragma once
// ZIP archives written for tests through libarchive's writer: plain, nested, hostile.

#include <archive.h>
#include <archive_entry.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace varnel::test {

class ZipWriter {
 public:
  explicit ZipWriter(const std::string& path, bool stored = false) : archive_(archive_write_new()) {
    archive_write_set_format_zip(archive_);
    if (stored) archive_write_set_options(archive_, "zip:compression=store");
    if (archive_write_open_filename(archive_, path.c_str()) != ARCHIVE_OK)
      throw std::runtime_error("cannot write " + path);
  }
  ~ZipWriter() { archive_write_free(archive_); }

  ZipWriter& File(const std::string& name, const std::string& bytes) {
    return File(name, std::vector<uint8_t>(bytes.begin(), bytes.end()));
  }
  ZipWriter& File(const std::string& name, const std::vector<uint8_t>& bytes) {
    Header(name, AE_IFREG, int64_t(bytes.size()));
    archive_write_data(archive_, bytes.data(), bytes.size());
    return *this;
  }
  // A member of size bytes of one repeated value, written in pieces.
  ZipWriter& Repeated(const std::string& name, uint64_t size) {
    Header(name, AE_IFREG, int64_t(size));
    std::vector<uint8_t> block(1 << 20, 'A');
    for (uint64_t left = size; left;) {
      size_t count = size_t(std::min<uint64_t>(left, block.size()));
      archive_write_data(archive_, block.data(), count);
      left -= count;
    }
    return *this;
  }
  ZipWriter& Symlink(const std::string& name, const std::string& target) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_filetype(entry, AE_IFLNK);
    archive_entry_set_perm(entry, 0777);
    archive_entry_set_symlink(entry, target.c_str());
    archive_write_header(archive_, entry);
    archive_entry_free(entry);
    return *this;
  }

 private:
  void Header(const std::string& name, unsigned type, int64_t size) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, name.c_str());
    archive_entry_set_filetype(entry, type);
    archive_entry_set_perm(entry, 0644);
    archive_entry_set_size(entry, size);
    archive_write_header(archive_, entry);
    archive_entry_free(entry);
  }

  archive* archive_;
};

}  // namespace varnel::test
