#pragma once
// Extracting an archive, with the archives nested in it, into a temporary folder: only members
// that the mask matches (nested archives included) are written; the others are passed over.
// Nothing is written outside the destination, links and devices are never made, and the bytes
// written, the members read and the nesting depth are bounded.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "collection/filekind.h"

namespace varnel {

struct ArchiveLimits {
  uint64_t maxBytes = 0;  // written in all, nested archives included
  uint64_t maxMembers = 100000;
  int maxNesting = 10;                      // levels of archives inside the archive
  const std::atomic<bool>* stop = nullptr;  // when set, the extraction ends before the next member
  // Called on the extracting thread before every 20th member header read (the 1st, 21st, ...):
  // a reader on the user-interface thread lets pending events through there and may set stop.
  std::function<void()> onMembers;
};

// The limits for an archive of archiveSize bytes: at most 100 times its size written (at least
// 16 MiB), and never more than 64 times the largest archive a search walks.
ArchiveLimits LimitsFor(uint64_t archiveSize, int maxArchiveMiB);

// A member written to disk: where it is, and its path inside the archive (a nested archive's
// members below the nested archive's own path).
struct ExtractedMember {
  std::string file;
  std::string memberPath;
};

struct ArchiveExtraction {
  std::vector<ExtractedMember> members;  // sorted ignoring case
  // Why the extraction stopped early or passed members over; members written before stay.
  std::vector<std::string> problems;
};

// Extracts the archive made of volumes (one file, or the volumes of a set in order) of kind
// fkZip or fkRar into destination, which is created. Members whose file name matches mask, and
// nested "zip" and "rar" members, are written; a nested archive is replaced by a folder of its
// contents, bearing its name. When mask takes every member ("*.*" or "*"), only members whose
// first bytes may hold icons are written. Raises Exception when the archive cannot be opened.
ArchiveExtraction ExtractArchive(const std::vector<std::string>& volumes, TFileKind kind,
                                 const std::string& mask, const std::string& destination,
                                 const ArchiveLimits& limits);

// The number of file members whose name (without folder) matches mask; 0 on any error.
int CountMembers(const std::vector<std::string>& volumes, TFileKind kind, const std::string& mask);

// A member's stored path made safe to write below a folder: "\" read as "/", drive letters,
// empty, "." and ".." components dropped. Empty when nothing is left.
std::string SafeMemberPath(const std::string& stored);

}  // namespace varnel
