#include "collection/archivevolumes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/casefold.h"
#include "platform/textfunctions.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

// Volume numbers go no higher: a set is never searched for longer.
constexpr int kMostVolumes = 1000;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool Exists(const fs::path& path) {
  std::error_code error;
  return fs::exists(path, error);
}

// Whether the folder holds a file of that name in any letter case: a set's volumes are told by
// their names, which other systems do not compare exactly.
bool ExistsIgnoringCase(const fs::path& path) {
  if (Exists(path)) return true;
  std::string name = path.filename().string();
  std::error_code error;
  fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
    if (SameTextFolded(it->path().filename().string(), name)) return true;
  return false;
}

std::string ExtensionOf(const fs::path& path) {
  return LowerExtension(path.string());
}

// Whether a file beside the first volume belongs to its set, by its extension.
bool IsVolumeExtension(const std::string& ext, const std::string& firstExt) {
  if (ext.size() != 3 || !(IsDigit(ext[0]) || ext[0] == 'r' || ext[0] == 'z')) return false;
  if (firstExt == "000" || firstExt == "001")
    return IsDigit(ext[0]) && IsDigit(ext[1]) && IsDigit(ext[2]);
  return IsDigit(ext[1]) && IsDigit(ext[2]);
}

// Files of the folder whose names the set may use: base + ".*", or, for names without
// extension, base less its trailing digits followed by one to three characters.
std::vector<fs::path> VolumeCandidates(const fs::path& first) {
  std::string ext = ExtensionOf(first);
  std::string base = first.stem().string();
  std::vector<fs::path> found;
  std::error_code error;
  fs::path folder = first.has_parent_path() ? first.parent_path() : fs::path(".");
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    fs::path candidate = it->path();
    std::string name = candidate.filename().string();
    std::string candidateExt = ExtensionOf(candidate);
    if (!ext.empty()) {
      if (SameTextFolded(candidate.stem().string(), base) && IsVolumeExtension(candidateExt, ext))
        found.push_back(candidate);
    } else if (candidateExt.empty() && name.size() == first.filename().string().size() &&
               IsDigit(name.back())) {
      std::string stripped = base;
      while (stripped.size() > 1 && IsDigit(stripped.back())) stripped.pop_back();
      if (SameTextFolded(name.substr(0, stripped.size()), stripped)) found.push_back(candidate);
    }
  }
  std::sort(found.begin(), found.end(), [](const fs::path& a, const fs::path& b) {
    return FoldCase(a.filename().string()) < FoldCase(b.filename().string());
  });
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

bool AppendFile(std::ofstream& out, const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out << in.rdbuf();
  return bool(out);
}

// Writes the files one after another into target, replacing it.
bool JoinFiles(const std::vector<fs::path>& files, const std::string& target) {
  std::error_code error;
  if (Exists(target) && !fs::remove(target, error)) return false;
  if (files.empty()) return false;
  fs::create_directories(fs::path(target).parent_path(), error);
  std::ofstream out(target, std::ios::binary | std::ios::trunc);
  for (const fs::path& file : files)
    if (!out || !AppendFile(out, file)) return false;
  return true;
}

// "name.zNN" with the extension's case kept: "name.z01" gives "name.z05" for 5.
fs::path SplitZipVolume(const fs::path& first, int number) {
  std::string ext = first.extension().string();
  std::string digits = std::to_string(number);
  if (digits.size() < 2) digits.insert(0, "0");
  return fs::path(first).replace_extension(ext.substr(0, 2) + digits);
}

// "name.partN.rar": the name before ".part" and N; N is 0 for other names. Case is ignored.
int PartNumber(const std::string& fileName, std::string& prefix, size_t& digits) {
  const std::string lower = LowerCase(fileName);
  if (!lower.ends_with(".rar")) return 0;
  const size_t end = lower.size() - 4;
  size_t start = end;
  while (start > 0 && lower[start - 1] >= '0' && lower[start - 1] <= '9') --start;
  if (start == end || start < 5 || lower.compare(start - 5, 5, ".part") != 0) return 0;
  prefix = fileName.substr(0, start - 5);
  digits = end - start;
  return digits > 6 ? 0 : std::stoi(fileName.substr(start, digits));
}

std::string PartName(const std::string& prefix, int number, size_t digits) {
  std::string text = std::to_string(number);
  if (text.size() < digits) text.insert(0, digits - text.size(), '0');
  return prefix + ".part" + text + ".rar";
}

}  // namespace

bool IsFirstVolume(const std::string& path, std::string ext) {
  if (ext.empty()) ext = ExtensionOf(path);
  ext = LowerCase(ext);
  if (ext == "000" || ext == "z00" || ext == "r00") return true;
  if (ext == "001" || ext == "z01" || ext == "r01") {
    fs::path zero = fs::path(path).replace_extension(std::string(".") + ext[0] + "00");
    return !ExistsIgnoringCase(zero);
  }
  return ext.empty() && !path.empty() && path.back() == '0';
}

bool JoinVolumes(const std::string& path, const std::string& target) {
  if (!Exists(path)) return false;
  return JoinFiles(VolumeCandidates(path), target);
}

bool JoinSplitZip(const std::string& path, const std::string& target) {
  fs::path first(path);
  if (ExtensionOf(first) != "z01") return false;
  std::vector<fs::path> volumes;
  for (int number = 1; number < kMostVolumes && Exists(SplitZipVolume(first, number)); ++number)
    volumes.push_back(SplitZipVolume(first, number));
  fs::path last = fs::path(first).replace_extension(
      first.extension().string().substr(0, 2) == ".Z" ? ".ZIP" : ".zip");
  if (!Exists(last)) return false;
  volumes.push_back(last);
  return JoinFiles(volumes, target);
}

// "name.rar" followed by "name.r00", "name.r01", ...: the volumes of an old-style RAR set.
std::vector<std::string> OldStyleRarVolumes(const fs::path& file) {
  std::vector<std::string> volumes{file.string()};
  for (int number = 0; number < 100; ++number) {
    std::string digits = (number < 10 ? "0" : "") + std::to_string(number);
    fs::path volume = fs::path(file).replace_extension(".r" + digits);
    if (!Exists(volume)) break;
    volumes.push_back(volume.string());
  }
  return volumes;
}

std::vector<std::string> VolumesOf(const std::string& path) {
  fs::path file(path);
  std::string prefix;
  size_t digits = 0;
  if (ExtensionOf(file) == "rar" && PartNumber(file.filename().string(), prefix, digits) == 0)
    return OldStyleRarVolumes(file);
  if (PartNumber(file.filename().string(), prefix, digits) != 1) return {path};
  std::vector<std::string> volumes;
  for (int number = 1; number < kMostVolumes; ++number) {
    fs::path volume = file.parent_path() / PartName(prefix, number, digits);
    if (!Exists(volume)) break;
    volumes.push_back(volume.string());
  }
  return volumes;
}

bool IsLaterVolume(const std::string& path) {
  fs::path file(path);
  std::string prefix;
  size_t digits = 0;
  if (PartNumber(file.filename().string(), prefix, digits) > 1)
    return Exists(file.parent_path() / PartName(prefix, 1, digits));
  // The ".rNN" volumes of an old-style RAR set.
  std::string ext = ExtensionOf(file);
  if (ext.size() == 3 && ext[0] == 'r' && IsDigit(ext[1]) && IsDigit(ext[2]))
    return ExistsIgnoringCase(fs::path(file).replace_extension(".rar"));
  // The ".zip" volume and the ".z02", ".z03", ... of a split ZIP set.
  bool splitZip = ext == "zip" || (ext.size() == 3 && ext[0] == 'z' && IsDigit(ext[1]) &&
                                   IsDigit(ext[2]) && ext != "z01" && ext != "z00");
  return splitZip && ExistsIgnoringCase(fs::path(file).replace_extension(".z01"));
}

}  // namespace varnel
