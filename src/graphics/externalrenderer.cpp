#include "graphics/externalrenderer.h"

#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "base/errors.h"
#include "base/fileio.h"
#include "graphics/pngcodec.h"
#include "graphics/privatefolder.h"

extern char** environ;

namespace varnel {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kVersionTimeout = std::chrono::seconds(10);
constexpr uint64_t kMaxVersionBytes = 4096;
// The renderer's PNG is refused beyond this many bytes before it is decoded.
constexpr uint64_t kMaxOutputBytes = uint64_t(256) << 20;

bool IsExecutableFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         ::access(path.c_str(), X_OK) == 0;
}

std::optional<std::string> FindOnPath(const std::string& searchPath, const std::string& name) {
  std::stringstream folders(searchPath);
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    std::string candidate = (folder.empty() ? std::string(".") : folder) + "/" + name;
    if (IsExecutableFile(candidate)) return candidate;
  }
  return std::nullopt;
}

// Kills the process group on every path out of the waiting.
class ChildProcess {
 public:
  explicit ChildProcess(pid_t pid) : pid_(pid) {}
  ~ChildProcess() {
    if (pid_ <= 0) return;
    ::kill(-pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // True when the process ended before the deadline (whatever its exit status: the renderer
  // reports warnings through it while still writing its output).
  bool WaitEnded(std::chrono::milliseconds timeout) {
    auto deadline = Clock::now() + timeout;
    while (true) {
      int status = 0;
      pid_t done = ::waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        pid_ = 0;
        return true;
      }
      if (done < 0 || Clock::now() >= deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

 private:
  pid_t pid_;
};

// Runs a program with stdin from /dev/null, stdout into stdoutPath (or /dev/null), stderr
// discarded, in a process group of its own; true when it ended in time.
bool RunProgram(const std::vector<std::string>& arguments, const std::string& stdoutPath,
                std::chrono::milliseconds timeout) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1,
                                   stdoutPath.empty() ? "/dev/null" : stdoutPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int failed = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (failed) return false;
  ChildProcess child(pid);
  return child.WaitEnded(timeout);
}

// "Inkscape 0.92.4 (...)" asks for the old command line.
bool IsLegacyVersion(const std::string& program) {
  PrivateFolder folder;
  std::string output = folder.File("version.txt");
  if (!RunProgram({program, "--version"}, output, kVersionTimeout)) return false;
  std::vector<uint8_t> text;
  try {
    text = ReadWholeFile(output, kMaxVersionBytes);
  } catch (const EFileError&) {
    return false;
  }
  std::string version(text.begin(), text.end());
  return version.find("Inkscape 0.") != std::string::npos;
}

struct RendererCache {
  std::mutex lock;
  std::map<std::string, ExternalRenderer> found;
};

RendererCache& Cache() {
  static RendererCache cache;
  return cache;
}

}  // namespace

std::optional<ExternalRenderer> FindExternalRenderer(const std::string& searchPath) {
  RendererCache& cache = Cache();
  {
    std::lock_guard guard(cache.lock);
    auto known = cache.found.find(searchPath);
    if (known != cache.found.end()) return known->second;
  }
  auto program = FindOnPath(searchPath, "inkscape");
  if (!program) return std::nullopt;
  ExternalRenderer renderer{*program, IsLegacyVersion(*program)};
  std::lock_guard guard(cache.lock);
  return cache.found.emplace(searchPath, renderer).first->second;
}

std::optional<ExternalRenderer> FindExternalRenderer() {
  const char* path = std::getenv("PATH");
  return FindExternalRenderer(path ? path : "");
}

std::optional<std::vector<uint8_t>> RunExternalRenderer(const ExternalRenderer& renderer,
                                                        const std::string& source,
                                                        std::chrono::milliseconds timeout) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(source, error)) return std::nullopt;
  PrivateFolder folder;
  std::string output = folder.File("drawing.png");
  std::string input = std::filesystem::absolute(source, error).string();
  std::vector<std::string> arguments =
      renderer.legacyCommandLine
          ? std::vector<std::string>{renderer.path, "-f", input, "-e", output}
          : std::vector<std::string>{renderer.path, "--export-type=png",
                                     "--export-filename=" + output, input};
  if (!RunProgram(arguments, "", timeout)) return std::nullopt;
  try {
    return ReadWholeFile(output, kMaxOutputBytes);
  } catch (const EFileError&) {
    return std::nullopt;
  }
}

}  // namespace varnel
