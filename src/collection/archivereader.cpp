#include "collection/archivereader.h"

#include <cstring>
#include <fstream>

#include "base/dynamiclibrary.h"
#include "base/errors.h"

namespace varnel {

namespace {

constexpr size_t kReadBlock = 64 * 1024;
constexpr size_t kVolumeBlock = 64 * 1024;

// libarchive is loaded with the first archive read.
struct LibArchiveFunctions {
  DynamicLibrary library{"libarchive.so.13", "libarchive13"};
  VARNEL_LIBRARY_FUNCTION(library, archive_read_new);
  VARNEL_LIBRARY_FUNCTION(library, archive_read_free);
  VARNEL_LIBRARY_FUNCTION(library, archive_read_support_format_rar5);
  VARNEL_LIBRARY_FUNCTION(library, archive_read_support_format_rar);
  VARNEL_LIBRARY_FUNCTION(library, archive_read_support_format_zip_streamable);
  VARNEL_LIBRARY_FUNCTION(library, archive_read_support_format_zip_seekable);
  VARNEL_LIBRARY_FUNCTION(library, archive_read_open_filenames);
  VARNEL_LIBRARY_FUNCTION(library, archive_error_string);
  VARNEL_LIBRARY_FUNCTION(library, archive_read_next_header);
  VARNEL_LIBRARY_FUNCTION(library, archive_read_data_skip);
  VARNEL_LIBRARY_FUNCTION(library, archive_read_data);
  VARNEL_LIBRARY_FUNCTION(library, archive_entry_hardlink);
  VARNEL_LIBRARY_FUNCTION(library, archive_entry_symlink);
  VARNEL_LIBRARY_FUNCTION(library, archive_entry_filetype);
  VARNEL_LIBRARY_FUNCTION(library, archive_entry_pathname_utf8);
  VARNEL_LIBRARY_FUNCTION(library, archive_entry_pathname);
  VARNEL_LIBRARY_FUNCTION(library, archive_entry_size_is_set);
  VARNEL_LIBRARY_FUNCTION(library, archive_entry_size);
};

constexpr auto LibArchive = &LoadedFunctions<LibArchiveFunctions>;

bool BeginsWith(const std::string& path, const char* mark) {
  char head[4] = {};
  std::ifstream(path, std::ios::binary).read(head, sizeof head);
  return std::memcmp(head, mark, 4) == 0;
}

// RAR archives of version 5 are detected as fkZip: their mark decides. A ZIP file that begins
// with the mark of a split set has offsets that count per volume: its members are read in order.
void EnableFormat(struct archive* archive, TFileKind kind, const std::string& first) {
  if (kind == TFileKind::fkRar || BeginsWith(first, "Rar!")) {
    LibArchive().archive_read_support_format_rar(archive);
    LibArchive().archive_read_support_format_rar5(archive);
  } else if (BeginsWith(first, "PK\x07\x08")) {
    LibArchive().archive_read_support_format_zip_streamable(archive);
  } else {
    LibArchive().archive_read_support_format_zip_seekable(archive);
  }
}

MemberType TypeOf(struct archive_entry* entry) {
  // Links of both kinds are neither written nor followed.
  if (LibArchive().archive_entry_hardlink(entry) || LibArchive().archive_entry_symlink(entry))
    return MemberType::Other;
  switch (LibArchive().archive_entry_filetype(entry)) {
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
    : archive_(LibArchive().archive_read_new()), buffer_(kReadBlock) {
  if (!archive_ || volumes.empty()) {
    LibArchive().archive_read_free(archive_);
    throw Exception("Cannot read the archive");
  }
  EnableFormat(archive_, kind, volumes.front());
  beginsWithMember_ = BeginsWith(volumes.front(), "PK\x03\x04");
  std::vector<const char*> names;
  for (const std::string& volume : volumes) names.push_back(volume.c_str());
  names.push_back(nullptr);
  if (LibArchive().archive_read_open_filenames(archive_, names.data(), kVolumeBlock) !=
      ARCHIVE_OK) {
    std::string message = LibArchive().archive_error_string(archive_)
                              ? LibArchive().archive_error_string(archive_)
                              : "";
    LibArchive().archive_read_free(archive_);
    throw Exception("Cannot open archive " + volumes.front() + ": " + message);
  }
}

ArchiveReader::~ArchiveReader() {
  LibArchive().archive_read_free(archive_);
}

void ArchiveReader::Fail(const std::string& what) {
  const char* message = LibArchive().archive_error_string(archive_);
  throw Exception(what + (message ? ": " + std::string(message) : std::string()));
}

std::optional<ArchiveMemberHeader> ArchiveReader::Next() {
  struct archive_entry* entry = nullptr;
  int result = LibArchive().archive_read_next_header(archive_, &entry);
  if (result == ARCHIVE_EOF && beginsWithMember_ && !anyMember_)
    throw Exception("Damaged archive: its directory lists no member");
  if (result == ARCHIVE_EOF) return std::nullopt;
  if (result < ARCHIVE_WARN) Fail("Damaged archive");
  anyMember_ = true;
  ArchiveMemberHeader header;
  // Names are taken as stored, without code-page conversion.
  const char* path = LibArchive().archive_entry_pathname(entry);
  // Names stored as UTF-8 come only in that form where the locale cannot show them.
  if (!path) path = LibArchive().archive_entry_pathname_utf8(entry);
  header.path = path ? path : "";
  header.type = TypeOf(entry);
  if (LibArchive().archive_entry_size_is_set(entry) && LibArchive().archive_entry_size(entry) >= 0)
    header.size = uint64_t(LibArchive().archive_entry_size(entry));
  return header;
}

std::span<const uint8_t> ArchiveReader::ReadData() {
  la_ssize_t count = LibArchive().archive_read_data(archive_, buffer_.data(), buffer_.size());
  if (count < 0) Fail("Damaged member data");
  return {buffer_.data(), size_t(count)};
}

void ArchiveReader::SkipData() {
  if (LibArchive().archive_read_data_skip(archive_) < ARCHIVE_WARN) Fail("Damaged archive");
}

}  // namespace varnel
