#pragma once
// What reading a file gives before anything is appended to a collection: its icons, a collection
// file's items or an archive's members, with the options the read follows. Reads of this kind
// are safe on any thread.

#include <atomic>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "appcore/settings.h"
#include "collection/collection.h"
#include "collection/duplicatefinder.h"
#include "collection/filekind.h"
#include "icons/advancedicon.h"

namespace varnel {

class ArchiveWalkFolder;
class SeenIconBytes;
class CollectionTarget;

// How a file is brought in: as LoadFile does, or as it does with a duplicate index (collection
// files merged, an animated cursor as one icon, every icon hashed for the duplicate index).
enum class LoadStyle { Plain, ExcludingDuplicates };

// What a read on the user-interface thread shows of an archive walk, and where it passes the
// stop request on.
class ArchiveWalkProgress {
 public:
  virtual ~ArchiveWalkProgress() = default;
  // While the archive is extracted (every 20th member header).
  virtual void Extracting() = 0;
  // Before every 20th member read (the 1st, 21st, ...): its display path, its number from 1 and
  // the number of members.
  virtual void ReadingMember(const std::string& displayPath, size_t number, size_t total) = 0;
};

// The few settings reading a file depends on.
struct FileReadOptions {
  LoadStyle style = LoadStyle::Plain;
  bool searchMode = false;  // archives larger than maxArchiveMiB are refused
  int maxArchiveMiB = kDefaultMaxArchiveSize;
  // Archive walks: the member mask's icon patterns, or every member.
  std::string_view iconMask = kDefaultIconMask;
  bool allMembers = false;
  // Archive members: the nesting depth, the walk whose folder holds the member, and the path
  // the member is known by (the archive's, "/", the member's inside it). The texts viewed must
  // outlast the reads made with the options.
  int depth = 0;
  const ArchiveWalkFolder* walkFolder = nullptr;
  std::string_view displayPath;
  // Set when the reads are to end early: an archive walk then stops between members.
  const std::atomic<bool>* stop = nullptr;
  // Told of an archive walk's progress on the reading thread (null on worker threads).
  ArchiveWalkProgress* progress = nullptr;
  // With duplicates excluded: the icon bytes met by all reads of a search, so that copies of
  // icons met before are not hashed.
  SeenIconBytes* seenBytes = nullptr;
};

// The options as the collection's settings and search mode give them now.
FileReadOptions ReadOptionsOf(CollectionTarget& lib, LoadStyle style);

// An icon read from a file, with the name it is to have.
struct FoundIcon {
  std::string name;
  std::unique_ptr<TAdvancedIcon> icon;
  DuplicateKeys keys;  // the duplicate index's (ExcludingDuplicates style)
};

// Everything a file gives, read without touching any collection: safe to build on any thread.
struct FileContents {
  std::string path;
  TFileKind kind = TFileKind::fkUnrecognised;
  // Icons in file order; an icon's index is its position in the file.
  std::vector<FoundIcon> icons;
  // A collection file's items with their source table (ExcludingDuplicates style); when the
  // read failed, the items read before the failure.
  std::unique_ptr<TCollection> collection;
  // What ended the read, raised again when the contents are appended.
  std::exception_ptr error;
  // An archive's members in walk order, each under its display path, and what ended the walk
  // early (reported in the error list, the members read before it kept).
  std::vector<FileContents> members;
  std::vector<std::string> problems;
};

// Reads a file completely. Never raises: a failure is kept in the contents.
FileContents ReadFileContents(const std::string& path, const FileReadOptions& options);

}  // namespace varnel
