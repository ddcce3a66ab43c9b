#include "collection/archivewalk.h"

#include <algorithm>
#include <optional>

#include "base/errors.h"
#include "base/fileio.h"
#include "collection/archiveextract.h"
#include "collection/archivevolumes.h"
#include "collection/tempfolder.h"
#include "platform/folders.h"

namespace varnel {

namespace {

constexpr const char* kArchiveMembers = "*.apk;*.zip;*.rar;*.gif;.*";
constexpr const char* kEveryMember = "*.*";
constexpr size_t kMembersBetweenProgress = 20;

// Package members that never hold icons.
bool IsSkippedPackageMember(const std::string& path) {
  std::string ext = LowerExtension(path);
  return ext == "xml" || ext == "mp3" || ext == "spx" || ext == "dex";
}

// The volumes to read for path: a raw split set joined in the walk's join folder, a ".partN.rar"
// set with all its volumes, or path alone.
std::vector<std::string> VolumesToRead(const std::string& path, const ArchiveWalkFolder& folder) {
  std::string joined = PathJoin(folder.JoinFolder(), ExtractFileName(path) + ".tmp.zip");
  if (JoinSplitZip(path, joined)) return {joined};
  if (IsFirstVolume(path) && JoinVolumes(path, joined)) return {joined};
  return VolumesOf(path);
}

// Whether a member's contents are worth keeping until the archive is appended.
bool GivesSomething(const FileContents& member) {
  return !member.icons.empty() || member.collection || !member.members.empty() || member.error ||
         !member.problems.empty();
}

void ReadMembers(FileContents& contents, const FileReadOptions& options,
                 const ArchiveWalkFolder& folder) {
  std::string display(options.displayPath.empty() ? contents.path : options.displayPath);
  bool package = LowerExtension(contents.path) == "apk";
  std::string mask = ArchiveMemberMask(options.iconMask, options.allMembers || package);
  std::string destination = folder.TempFolder(options.depth);
  folder.RemoveTempFolders(options.depth);
  ArchiveLimits limits =
      LimitsFor(uint64_t(std::max<int64_t>(FileSizeOf(contents.path), 0)), options.maxArchiveMiB);
  limits.stop = options.stop;
  if (options.progress) limits.onMembers = [&options] { options.progress->Extracting(); };
  ArchiveExtraction extraction;
  try {
    std::vector<std::string> volumes = VolumesToRead(contents.path, folder);
    // A ZIP archive with one member the mask takes is walked in full, the archives nested in it
    // too.
    if (contents.kind == TFileKind::fkZip && mask != kEveryMember &&
        CountMembers(volumes, contents.kind, mask) > 0)
      mask = kEveryMember;
    extraction = ExtractArchive(volumes, contents.kind, mask, destination, limits);
  } catch (const Exception&) {
    // A file that cannot be opened as an archive is passed over, as a failed member is; what
    // stopped an opened archive early is in the extraction's problems.
  }
  for (const std::string& problem : extraction.problems)
    contents.problems.push_back(problem + " (" + display + ")");
  FileReadOptions memberOptions = options;
  memberOptions.depth = options.depth + 1;
  memberOptions.walkFolder = &folder;
  memberOptions.allMembers = options.allMembers || package;
  const size_t total = extraction.members.size();
  for (size_t number = 0; number < total; ++number) {
    const ExtractedMember& member = extraction.members[number];
    std::string memberDisplay = display + "/" + member.memberPath;
    if (options.progress && number % kMembersBetweenProgress == 0)
      options.progress->ReadingMember(memberDisplay, number + 1, total);
    if (options.stop && *options.stop) break;
    if (package && IsSkippedPackageMember(member.memberPath)) continue;
    memberOptions.displayPath = memberDisplay;
    FileContents read = ReadFileContents(member.file, memberOptions);
    read.path = std::move(memberDisplay);
    if (GivesSomething(read)) contents.members.push_back(std::move(read));
  }
}

}  // namespace

FileReadOptions ArchiveReadOptions(CollectionTarget& lib, LoadStyle style,
                                   const std::string& displayPath, int depth, bool allMembers) {
  FileReadOptions options = ReadOptionsOf(lib, style);
  options.displayPath = displayPath;
  options.depth = depth;
  options.allMembers = allMembers;
  return options;
}

std::string ArchiveMemberMask(std::string_view iconMask, bool allMembers) {
  if (allMembers) return kEveryMember;
  std::string mask(iconMask.empty() ? kDefaultIconMask : iconMask);
  if (mask.back() != ';') mask += ';';
  return mask + kArchiveMembers;
}

void ReadArchiveContents(FileContents& contents, const FileReadOptions& options) {
  if (IsLaterVolume(contents.path)) return;
  if (options.depth >= kDeepestArchiveLevel) {
    contents.problems.push_back("Archives nested more than " +
                                std::to_string(kDeepestArchiveLevel) +
                                " levels deep: " + contents.path);
    return;
  }
  std::optional<ArchiveWalkFolder> own;
  const ArchiveWalkFolder& folder = options.walkFolder ? *options.walkFolder : own.emplace();
  ReadMembers(contents, options, folder);
  folder.RemoveTempFolders(options.depth);
}

}  // namespace varnel
