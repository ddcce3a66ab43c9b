#include "collection/archiveextract.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "base/errors.h"
#include "collection/archivereader.h"
#include "collection/archivevolumes.h"
#include "collection/matchpattern.h"
#include "platform/casefold.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

constexpr uint64_t kMiB = uint64_t(1) << 20;
constexpr uint64_t kExpansionRatio = 100;
constexpr uint64_t kSmallestBudget = 16 * kMiB;
constexpr uint64_t kBudgetPerArchiveMiB = 64;
constexpr uint64_t kMembersBetweenProgress = 20;

bool IsNestedArchiveName(const std::string& name) {
  std::string ext = LowerExtension(name);
  return ext == "zip" || ext == "rar";
}

bool TakesEveryMember(const std::string& mask) {
  for (const std::string& pattern : SplitMask(mask))
    if (pattern == "*" || pattern == "*.*") return true;
  return false;
}

// Whether a member whose data begins with these bytes can give icons: a kind the readers know,
// or RIFF chunks, which may hold icons whatever their form.
bool MayHoldIcons(std::span<const uint8_t> first) {
  TFileKind kind = DetectFileKindOfBytes(first).kind;
  if (kind != TFileKind::fkUnrecognised && kind != TFileKind::fkEmpty) return true;
  return first.size() >= 4 && std::equal(first.begin(), first.begin() + 4, "RIFF");
}

// A file being written for a member; removed again unless kept.
class MemberFile {
 public:
  explicit MemberFile(const std::string& path)
      : path_(path),
        fd_(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600)) {}
  ~MemberFile() {
    if (fd_ >= 0) close(fd_);
    if (!kept_) unlink(path_.c_str());
  }
  MemberFile(const MemberFile&) = delete;
  MemberFile& operator=(const MemberFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  bool Write(std::span<const uint8_t> bytes) {
    while (!bytes.empty()) {
      ssize_t count = write(fd_, bytes.data(), bytes.size());
      if (count <= 0) return false;
      bytes = bytes.subspan(size_t(count));
    }
    return true;
  }
  void Keep() { kept_ = true; }

 private:
  std::string path_;
  int fd_;
  bool kept_ = false;
};

class Extractor {
 public:
  Extractor(const ArchiveLimits& limits, bool everyMember)
      : limits_(limits), everyMember_(everyMember) {}

  void Extract(const std::vector<std::string>& volumes, TFileKind kind, const std::string& mask,
               const std::string& destination, int nesting);
  std::vector<std::string> TakeProblems() { return std::move(problems_); }

 private:
  bool Wanted(const std::string& fileName, const std::string& mask) const {
    return IsNestedArchiveName(fileName) || everyMember_ || MatchesMask(fileName, mask);
  }
  void ReadMembers(ArchiveReader& reader, const std::string& mask, const std::string& destination,
                   std::vector<std::string>& nested);
  bool WriteMember(ArchiveReader& reader, const ArchiveMemberHeader& header,
                   const std::string& target);
  bool CopyData(ArchiveReader& reader, std::span<const uint8_t> block, MemberFile& file,
                uint64_t& size);
  void ExpandNested(const std::string& path, const std::string& mask, int nesting);
  // Whether a limit was reached or the reader asked to stop.
  bool Ending() const { return stopped_ || (limits_.stop && *limits_.stop); }
  void Stop(const std::string& problem) {
    problems_.push_back(problem);
    stopped_ = true;
  }

  const ArchiveLimits& limits_;
  bool everyMember_;
  uint64_t written_ = 0;
  uint64_t members_ = 0;
  bool stopped_ = false;
  std::vector<std::string> problems_;
};

void Extractor::Extract(const std::vector<std::string>& volumes, TFileKind kind,
                        const std::string& mask, const std::string& destination, int nesting) {
  ArchiveReader reader(volumes, kind);
  std::error_code error;
  fs::create_directories(destination, error);
  std::vector<std::string> nested;
  try {
    ReadMembers(reader, mask, destination, nested);
  } catch (const Exception& failure) {
    problems_.push_back(std::string(failure.what()) + ": " + volumes.front());
  }
  for (const std::string& path : nested)
    if (!Ending()) ExpandNested(path, mask, nesting);
}

void Extractor::ReadMembers(ArchiveReader& reader, const std::string& mask,
                            const std::string& destination, std::vector<std::string>& nested) {
  while (!Ending()) {
    if (limits_.onMembers && members_ % kMembersBetweenProgress == 0) {
      limits_.onMembers();
      if (Ending()) return;
    }
    std::optional<ArchiveMemberHeader> header = reader.Next();
    if (!header) return;
    if (++members_ > limits_.maxMembers)
      return Stop("Archive has more than " + std::to_string(limits_.maxMembers) + " members");
    std::string relative = SafeMemberPath(header->path);
    if (header->type != MemberType::File || relative.empty()) continue;
    std::string fileName = fs::path(relative).filename().string();
    if (!Wanted(fileName, mask)) continue;
    std::string target = destination + "/" + relative;
    if (WriteMember(reader, *header, target) && IsNestedArchiveName(fileName))
      nested.push_back(target);
  }
}

bool Extractor::WriteMember(ArchiveReader& reader, const ArchiveMemberHeader& header,
                            const std::string& target) {
  try {
    std::span<const uint8_t> block = reader.ReadData();
    if (everyMember_ && !IsNestedArchiveName(target) && !MayHoldIcons(block)) return false;
    std::error_code error;
    fs::create_directories(fs::path(target).parent_path(), error);
    MemberFile file(target);
    uint64_t size = 0;
    if (!file.IsOpen() || !CopyData(reader, block, file, size)) return false;
    // A volume read without the others gives a member's data short, without any error.
    if (header.size && size < *header.size) {
      problems_.push_back("Member data is incomplete: " + header.path);
      return false;
    }
    file.Keep();
    return true;
  } catch (const Exception& failure) {
    problems_.push_back(std::string(failure.what()) + ": " + header.path);
    return false;
  }
}

bool Extractor::CopyData(ArchiveReader& reader, std::span<const uint8_t> block, MemberFile& file,
                         uint64_t& size) {
  for (; !block.empty(); block = reader.ReadData()) {
    if (block.size() > limits_.maxBytes - written_) {
      Stop("Archive expands to more than " + std::to_string(limits_.maxBytes) + " bytes");
      return false;
    }
    if (!file.Write(block)) return false;
    written_ += block.size();
    size += block.size();
  }
  return true;
}

// Replaces a nested archive by a folder of its contents, bearing its name; a file that is no
// archive, or that cannot be read as one, stays as it is.
void Extractor::ExpandNested(const std::string& path, const std::string& mask, int nesting) {
  if (nesting + 1 > limits_.maxNesting) {
    fs::remove(path);
    problems_.push_back("Archives nested more than " + std::to_string(limits_.maxNesting) +
                        " levels deep: " + path.substr(path.find_last_of('/') + 1));
    return;
  }
  TFileKind kind = DetectFileKind(path).kind;
  if (kind != TFileKind::fkZip && kind != TFileKind::fkRar) return;
  std::string moved = path + "__";
  std::error_code error;
  fs::rename(path, moved, error);
  if (error) return;
  try {
    Extract({moved}, kind, mask, path, nesting + 1);
    fs::remove(moved, error);
  } catch (const Exception&) {
    fs::remove_all(path, error);
    fs::rename(moved, path, error);
  }
}

// Every file below folder with its path inside it, sorted ignoring case.
std::vector<ExtractedMember> ListFiles(const std::string& folder) {
  std::vector<ExtractedMember> files;
  std::error_code error;
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error))
    if (it->is_regular_file(error) && !it->is_symlink(error))
      files.push_back({it->path().string(), it->path().lexically_relative(folder).string()});
  std::vector<std::pair<std::string, ExtractedMember>> keyed;
  for (ExtractedMember& file : files)
    keyed.emplace_back(FoldCase(file.memberPath), std::move(file));
  std::sort(keyed.begin(), keyed.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  files.clear();
  for (auto& [key, file] : keyed) files.push_back(std::move(file));
  return files;
}

bool IsDriveLetter(const std::string& component) {
  return component.size() == 2 && component[1] == ':' &&
         std::isalpha(static_cast<unsigned char>(component[0]));
}

}  // namespace

ArchiveLimits LimitsFor(uint64_t archiveSize, int maxArchiveMiB) {
  ArchiveLimits limits;
  uint64_t ratioLimit =
      archiveSize > UINT64_MAX / kExpansionRatio ? UINT64_MAX : archiveSize * kExpansionRatio;
  uint64_t ceiling = uint64_t(std::clamp(maxArchiveMiB, 1, 1000)) * kBudgetPerArchiveMiB * kMiB;
  limits.maxBytes = std::min(std::max(ratioLimit, kSmallestBudget), ceiling);
  return limits;
}

ArchiveExtraction ExtractArchive(const std::vector<std::string>& volumes, TFileKind kind,
                                 const std::string& mask, const std::string& destination,
                                 const ArchiveLimits& limits) {
  Extractor extractor(limits, TakesEveryMember(mask));
  extractor.Extract(volumes, kind, mask, destination, 0);
  return {ListFiles(destination), extractor.TakeProblems()};
}

int CountMembers(const std::vector<std::string>& volumes, TFileKind kind, const std::string& mask) {
  try {
    ArchiveReader reader(volumes, kind);
    int count = 0;
    while (std::optional<ArchiveMemberHeader> header = reader.Next()) {
      std::string relative = SafeMemberPath(header->path);
      if (header->type == MemberType::File && !relative.empty() &&
          MatchesMask(fs::path(relative).filename().string(), mask))
        ++count;
    }
    return count;
  } catch (const Exception&) {
    return 0;
  }
}

std::string SafeMemberPath(const std::string& stored) {
  std::string text = stored;
  std::replace(text.begin(), text.end(), '\\', '/');
  std::string safe;
  size_t start = 0;
  bool first = true;
  while (start <= text.size()) {
    size_t end = std::min(text.find('/', start), text.size());
    std::string component = text.substr(start, end - start);
    bool drive = first && IsDriveLetter(component);
    first = false;
    if (!component.empty() && component != "." && component != ".." && !drive)
      safe += (safe.empty() ? "" : "/") + component;
    start = end + 1;
  }
  return safe;
}

}  // namespace varnel
