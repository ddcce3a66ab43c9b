#pragma once
// Bringing files into the collection: each file's kind decides its reader, the items it gives are
// named and their sources recorded.

#include <array>
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
#include "collection/filekind.h"
#include "icons/advancedicon.h"

namespace varnel {

class ArchiveWalkFolder;
class TDuplicateIndex;
class TCollectionTarget;
class TfmLib;

// How a file is brought in: as LoadFile does, or as LoadFileExcludingDuplicates does (collection
// files merged, an animated cursor as one icon, every icon hashed for the duplicate index).
enum class LoadStyle { Plain, ExcludingDuplicates };

// The few settings reading a file depends on.
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
};

// The options as the collection's settings and search mode give them now.
FileReadOptions ReadOptionsOf(const TCollectionTarget& lib, LoadStyle style);

// An icon read from a file, with the name it is to have.
struct FoundIcon {
  std::string name;
  std::unique_ptr<TAdvancedIcon> icon;
  std::optional<uint32_t> hash;  // the duplicate index's hash (ExcludingDuplicates style)
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

// The appending halves of LoadFile and LoadFileExcludingDuplicates: contents read in the matching
// style go into the collection under source, with the errors handled as those functions do.
void AppendFileContents(TCollectionTarget& lib, FileContents& contents, const std::string& source,
                        bool silent, std::vector<std::string>* errors);
void AppendFileContentsExcludingDuplicates(TCollectionTarget& lib, FileContents& contents,
                                           const std::string& source, TDuplicateIndex& duplicates,
                                           std::vector<std::string>* errors);

// Search-style loading (opening a file, searches, archive members). With silent, errors are
// swallowed; else with an error list they are collected; else raised.
void LoadFile(TCollectionTarget& lib, const std::string& path, const std::string& displayPath = "",
              int depth = 0, bool allMembers = false, bool silent = false,
              std::vector<std::string>* errors = nullptr);

// The same, dropping icons equal to one already present; the index holds the collection's
// items and grows with the items added.
void LoadFileExcludingDuplicates(TCollectionTarget& lib, const std::string& path,
                                 const std::string& displayPath, int depth,
                                 TDuplicateIndex& duplicates, std::vector<std::string>* errors);

// The image sizes a vector drawing becomes when no size was chosen for it: it has no size of its
// own worth keeping, so it is drawn at each usual icon size.
inline constexpr std::array<int, 4> kDrawingImageSizes{16, 32, 48, 256};

// User-chosen and dropped files: every file the readers know gives its icons; a picture becomes
// one icon (a vector drawing one with an image at each size of kDrawingImageSizes, or at the size
// of the "Add Image" answer given for all files). Errors go to the list, or are raised without one.
void ImportFile(TfmLib& lib, const std::string& path, std::vector<std::string>* errors,
                int depth = 0, bool allMembers = false);

}  // namespace varnel

namespace varnel {

// The "Import Files..." command: the open dialog, then each chosen file through ImportFile; the
// errors are shown at the end.
void ImportFiles(TfmLib& lib);

// Adds the images of one file to icon: 0 when done, 1 when the size question was cancelled, 2
// when no image was found. index chooses the icon of a library (0 when negative).
int AddImagesFromFile(TfmLib& lib, TAdvancedIcon& icon, const std::string& path, int index);

// Whether a dropped or searched file is one never loaded ("txt", "ini", "lnk", ...).
bool IsSkippedExtension(const std::string& path);

}  // namespace varnel
