#include "collection/themefolder.h"

#include <filesystem>

#include "base/errors.h"
#include "base/fileio.h"

namespace varnel {

namespace fs = std::filesystem;

std::string ThemeFolder(const std::string& parent, const std::string& name, bool overwrite,
                        const std::string& what) {
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos ||
      name.find('\0') != std::string::npos)
    throw Exception("Invalid " + what + " name \"" + name + "\"");
  fs::path folder = fs::path(parent) / name;
  std::error_code error;
  if (!overwrite && fs::exists(folder, error) && !fs::is_empty(folder, error))
    throw Exception(folder.string() + " has files already; not written (use --overwrite)");
  return folder.string();
}

void WriteThemeFile(const std::string& path, std::span<const uint8_t> bytes) {
  fs::create_directories(fs::path(path).parent_path());
  WriteFileAtomic(path, bytes);
}

void WriteThemeFile(const std::string& path, std::string_view text) {
  WriteThemeFile(path, {reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

}  // namespace varnel
