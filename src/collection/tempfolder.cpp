#include "collection/tempfolder.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <mutex>

#include "base/errors.h"
#include "platform/folders.h"

namespace varnel {

namespace fs = std::filesystem;

namespace {

constexpr const char* kBaseTemplate = "varnel-XXXXXX";
constexpr const char* kWalkTemplate = "walk-XXXXXX";
constexpr int kInterruptSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::mutex baseMutex;
std::string base;
// The base's path for the signal handler, which may not touch the string above.
char baseForSignal[4096];

// The folder the base goes in: $XDG_RUNTIME_DIR when it names a folder, else the temporary one.
std::string BaseParent() {
  const char* runtime = getenv("XDG_RUNTIME_DIR");
  std::error_code error;
  if (runtime && *runtime == '/' && fs::is_directory(runtime, error)) return runtime;
  return TempFolder();
}

// A new folder of mode 0700 named after pattern (ending in XXXXXX) inside parent.
std::string MakePrivateFolder(const std::string& parent, const char* pattern) {
  std::string path = PathJoin(parent, pattern);
  if (!mkdtemp(path.data())) throw Exception("Cannot create a temporary folder in " + parent);
  return path;
}

// Signals whose handling the program left as it was get the removal; handlers of its own stay.
void CleanUpOnInterrupts() {
  for (int signal : kInterruptSignals) {
    struct sigaction current {};
    if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTempBaseAndDie;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
  }
}

void RemoveBaseAtExit() {
  RemoveProcessTempBase();
}

void MakeWritable(const fs::path& folder) {
  std::error_code error;
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, error);
}

}  // namespace

// The base is removed by "rm", the one way that is safe inside a signal handler.
void RemoveTempBaseAndDie(int signal) {
  if (baseForSignal[0]) {
    pid_t child = fork();
    if (child == 0) {
      execl("/bin/rm", "rm", "-rf", "--", baseForSignal, static_cast<char*>(nullptr));
      _exit(127);
    }
    if (child > 0) waitpid(child, nullptr, 0);
  }
  ::signal(signal, SIG_DFL);
  raise(signal);
}

std::string ProcessTempBase() {
  std::lock_guard lock(baseMutex);
  if (base.empty()) {
    static std::once_flag registered;
    std::call_once(registered, [] {
      atexit(RemoveBaseAtExit);
      CleanUpOnInterrupts();
    });
    base = MakePrivateFolder(BaseParent(), kBaseTemplate);
    if (base.size() < sizeof baseForSignal) memcpy(baseForSignal, base.c_str(), base.size() + 1);
  }
  return base;
}

void RemoveProcessTempBase() {
  std::lock_guard lock(baseMutex);
  if (base.empty()) return;
  baseForSignal[0] = 0;
  RemoveFolderTree(base);
  base.clear();
}

void RemoveFolderTree(const std::string& folder) {
  std::error_code error;
  if (!fs::is_directory(fs::symlink_status(folder, error))) {
    fs::remove(folder, error);
    return;
  }
  // Folders without write permission would keep their contents.
  MakeWritable(folder);
  for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error))
    if (it->is_directory(error) && !it->is_symlink(error)) MakeWritable(it->path());
  fs::remove_all(folder, error);
}

ArchiveWalkFolder::ArchiveWalkFolder() {
  std::string parent = ProcessTempBase();
  root_ = MakePrivateFolder(parent, kWalkTemplate);
}

ArchiveWalkFolder::~ArchiveWalkFolder() {
  RemoveFolderTree(root_);
}

std::string ArchiveWalkFolder::TempFolder(int depth) const {
  return PathJoin(root_, depth > 0 ? "tmpzips" + std::to_string(depth) : "tmpzips");
}

std::string ArchiveWalkFolder::JoinFolder() const {
  return PathJoin(root_, "tmpzips_cmb");
}

void ArchiveWalkFolder::RemoveTempFolders(int depth) const {
  std::error_code error;
  for (int level = std::max(depth, 0); level <= kDeepestArchiveLevel; ++level) {
    std::string folder = TempFolder(level);
    if (!fs::exists(fs::symlink_status(folder, error))) break;
    RemoveFolderTree(folder);
  }
  if (depth <= 0) RemoveFolderTree(JoinFolder());
}

}  // namespace varnel
