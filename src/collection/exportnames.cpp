#include "collection/exportnames.h"

#include <algorithm>
#include <filesystem>

#include "collection/fmlib.h"
#include "platform/casefold.h"

namespace varnel {

namespace {

size_t BaseStart(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? 0 : slash + 1;
}

// The position of the extension's dot, or npos.
size_t ExtensionDot(const std::string& path) {
  size_t dot = path.rfind('.');
  return dot == std::string::npos || dot < BaseStart(path) ? std::string::npos : dot;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return lower;
}

bool Exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

bool IsReservedDeviceName(std::string_view base) {
  std::string name = Lower(base);
  if (name == "aux" || name == "con" || name == "prn" || name == "nul") return true;
  return name.size() == 4 && (name.starts_with("com") || name.starts_with("lpt")) &&
         name[3] >= '1' && name[3] <= '9';
}

std::string ExportFileName(const std::string& itemName, const std::string& extension) {
  std::string base = WithoutExtension(itemName);
  std::replace(base.begin(), base.end(), '/', '_');
  if (IsReservedDeviceName(base)) base += '_';
  return base + "." + extension;
}

std::string UniqueFileName(const std::string& path) {
  std::string folder = FolderOf(path);
  size_t dot = ExtensionDot(path);
  std::string extension = dot == std::string::npos ? "" : path.substr(dot);
  std::string base = WithoutExtension(path).substr(folder.size());
  std::string candidate = path;
  // Every round makes the name longer or its number larger, so a free name is always reached.
  do {
    base = IncrementName(base);
    candidate = folder + base + extension;
  } while (Exists(candidate) || IsReservedDeviceName(base));
  return candidate;
}

std::string UniqueNames::Make(const std::string& stem, const std::string& extension) {
  std::string name = stem + extension;
  for (int n = 2; !used_.insert(FoldCase(name)).second; ++n)
    name = stem + before_ + std::to_string(n) + after_ + extension;
  return name;
}

std::string UniqueNames::MakePath(const std::string& path) {
  std::string stem = WithoutExtension(path);
  return Make(stem, path.substr(stem.size()));
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, BaseStart(path));
}

std::string WithoutExtension(const std::string& path) {
  size_t dot = ExtensionDot(path);
  return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string LowerExtension(const std::string& path) {
  size_t dot = ExtensionDot(path);
  return dot == std::string::npos ? "" : Lower(path.substr(dot + 1));
}

}  // namespace varnel
