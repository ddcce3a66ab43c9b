#include "platform/folders.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace varnel {

namespace {

namespace fs = std::filesystem;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::is_directory(path, error);
}

}  // namespace

std::string ProgramFolder() {
  std::error_code error;
  fs::path executable = fs::read_symlink("/proc/self/exe", error);
  if (error || !executable.has_parent_path()) return ".";
  return executable.parent_path().string();
}

std::string DataFolder() {
  return DataFolderFor(ProgramFolder());
}

std::string DataFolderFor(const std::string& program) {
  std::error_code error;
  if (fs::exists(PathJoin(program, "toolbar.png"), error)) return program;
  fs::path installed = fs::path(program).parent_path() / "share" / "varnel";
  return IsFolder(installed.string()) ? installed.string() : program;
}

std::string UserConfigFolder() {
  std::string configHome = Environment("XDG_CONFIG_HOME");
  if (!configHome.empty() && configHome[0] == '/') return configHome;
  std::string home = Environment("HOME");
  if (home.empty()) return std::string();
  return PathJoin(home, ".config");
}

std::string ComputeSettingsFolder() {
  std::string base = UserConfigFolder();
  if (base.empty()) return ProgramFolder();
  std::string folder = PathJoin(PathJoin(base, "Tamberly"), "Varnel");
  std::error_code error;
  fs::create_directories(folder, error);
  return IsFolder(folder) ? folder : ProgramFolder();
}

std::string SettingsFolder() {
  static const std::string folder = ComputeSettingsFolder();
  return folder;
}

std::string SettingsFileName() {
  return PathJoin(SettingsFolder(), "config.ini");
}

std::string TempFolder() {
  std::string folder = Environment("TMPDIR");
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return IsFolder(folder) ? folder : std::string("/tmp");
}

std::string ExtractFileName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string PathJoin(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  if (folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

}  // namespace varnel
