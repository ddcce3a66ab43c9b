#include "collection/archivereader.h"

#include <cstring>
#include <fstream>

#include "base/errors.h"

namespace varnel {

namespace {

constexpr size_t kReadBlock = 64 * 1024;
constexpr size_t kVolumeBlock = 64 * 1024;

bool BeginsWith(const std::string& path, const char* mark) {
  char head[4] = {};
  std::ifstream(path, std::ios::binary).read(head, sizeof head);
  return std::memcmp(head, mark, 4) == 0;
}

// RAR archives of version 5 are detected as fkZip: their mark decides. A ZIP file that begins
// with the mark of a split set has offsets that count per volume: its members are read in order.
void EnableFormat(struct archive* archive, TFileKind kind, const std::string& first) {
  if (kind == TFileKind::fkRar || BeginsWith(first, "Rar!")) {
    archive_read_support_format_rar(archive);
    archive_read_support_format_rar5(archive);
  } else if (BeginsWith(first, "PK\x07\x08")) {
    archive_read_support_format_zip_streamable(archive);
  } else {
    archive_read_support_format_zip_seekable(archive);
  }
}

MemberType TypeOf(struct archive_entry* entry) {
  // Links of both kinds are neither written nor followed.
  if (archive_entry_hardlink(entry) || archive_entry_symlink(entry)) return MemberType::Other;
  switch (archive_entry_filetype(entry)) {
    case AE_IFREG:
      return MemberType::File;
    case AE_IFDIR:
      return MemberType::Folder;
    default:
      return MemberType::Other;
  }
}

}  // namespace

ArchiveReader::Utf8Names::Utf8Names() : utf8_(newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr)) {
  if (utf8_) previous_ = uselocale(utf8_);
}

ArchiveReader::Utf8Names::~Utf8Names() {
  if (!utf8_) return;
  uselocale(previous_);
  freelocale(utf8_);
}

ArchiveReader::ArchiveReader(const std::vector<std::string>& volumes, TFileKind kind)
    : archive_(archive_read_new()), buffer_(kReadBlock) {
  if (!archive_ || volumes.empty()) {
    archive_read_free(archive_);
    throw Exception("Cannot read the archive");
  }
  EnableFormat(archive_, kind, volumes.front());
  beginsWithMember_ = BeginsWith(volumes.front(), "PK\x03\x04");
  std::vector<const char*> names;
  for (const std::string& volume : volumes) names.push_back(volume.c_str());
  names.push_back(nullptr);
  if (archive_read_open_filenames(archive_, names.data(), kVolumeBlock) != ARCHIVE_OK) {
    std::string message = archive_error_string(archive_) ? archive_error_string(archive_) : "";
    archive_read_free(archive_);
    throw Exception("Cannot open archive " + volumes.front() + ": " + message);
  }
}

ArchiveReader::~ArchiveReader() {
  archive_read_free(archive_);
}

void ArchiveReader::Fail(const std::string& what) {
  const char* message = archive_error_string(archive_);
  throw Exception(what + (message ? ": " + std::string(message) : std::string()));
}

std::optional<ArchiveMemberHeader> ArchiveReader::Next() {
  struct archive_entry* entry = nullptr;
  int result = archive_read_next_header(archive_, &entry);
  if (result == ARCHIVE_EOF && beginsWithMember_ && !anyMember_)
    throw Exception("Damaged archive: its directory lists no member");
  if (result == ARCHIVE_EOF) return std::nullopt;
  if (result < ARCHIVE_WARN) Fail("Damaged archive");
  anyMember_ = true;
  ArchiveMemberHeader header;
  // Names are taken as stored, without code-page conversion.
  const char* path = archive_entry_pathname(entry);
  // Names stored as UTF-8 come only in that form where the locale cannot show them.
  if (!path) path = archive_entry_pathname_utf8(entry);
  header.path = path ? path : "";
  header.type = TypeOf(entry);
  if (archive_entry_size_is_set(entry) && archive_entry_size(entry) >= 0)
    header.size = uint64_t(archive_entry_size(entry));
  return header;
}

std::span<const uint8_t> ArchiveReader::ReadData() {
  la_ssize_t count = archive_read_data(archive_, buffer_.data(), buffer_.size());
  if (count < 0) Fail("Damaged member data");
  return {buffer_.data(), size_t(count)};
}

void ArchiveReader::SkipData() {
  if (archive_read_data_skip(archive_) < ARCHIVE_WARN) Fail("Damaged archive");
}

}  // namespace varnel
