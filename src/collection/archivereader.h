#pragma once
// Reading an archive's members one after another through libarchive, with only the format of the
// archive's detected kind enabled (with every format on, a ZIP stored inside a RAR archive would
// be read as if it were the outer archive).

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "collection/filekind.h"

namespace varnel {

enum class MemberType { File, Folder, Other };

// One member as the archive names it.
struct ArchiveMemberHeader {
  std::string path;  // as stored, "\" and "/" both kept
  MemberType type = MemberType::Other;
  std::optional<uint64_t> size;  // the stored uncompressed size, when the archive gives one
};

class ArchiveReader {
 public:
  // Opens volumes (one path, or every volume of a set in order) as an archive of kind: fkZip or
  // fkRar. A ZIP archive is read through its central directory, except a joined split set
  // (beginning with the spanning mark), whose members are read in order. Raises Exception with
  // libarchive's message when it cannot be opened.
  ArchiveReader(const std::vector<std::string>& volumes, TFileKind kind);
  ~ArchiveReader();
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // The next member's header; nothing at the end. Raises Exception when the archive is damaged.
  std::optional<ArchiveMemberHeader> Next();
  // The next bytes of the current member: empty at its end. Raises Exception on damaged data.
  std::span<const uint8_t> ReadData();
  // Moves past the current member's data without reading it where the format allows.
  void SkipData();

 private:
  [[noreturn]] void Fail(const std::string& what);

  // Names are read in a UTF-8 locale of this thread alone, so that UTF-8 names come out whole
  // whatever the process's locale.
  class Utf8Names {
   public:
    Utf8Names();
    ~Utf8Names();
    Utf8Names(const Utf8Names&) = delete;
    Utf8Names& operator=(const Utf8Names&) = delete;

   private:
    locale_t utf8_;
    locale_t previous_ = nullptr;
  };

  Utf8Names names_;
  struct archive* archive_;
  // A ZIP file that begins with a member but whose directory lists none is damaged.
  bool beginsWithMember_ = false;
  bool anyMember_ = false;
  std::vector<uint8_t> buffer_;
};

}  // namespace varnel
