#include "platform/externalprogram.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

namespace varnel {

namespace {

using Clock = std::chrono::steady_clock;
constexpr size_t kMaxOutputBytes = size_t(1) << 20;

// Both ends of a pipe, closed when the scope ends.
class Pipe {
 public:
  Pipe() {
    if (::pipe2(ends_, O_CLOEXEC) != 0) ends_[0] = ends_[1] = -1;
  }
  ~Pipe() {
    CloseRead();
    CloseWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;

  bool Valid() const { return ends_[0] >= 0; }
  int ReadEnd() const { return ends_[0]; }
  int WriteEnd() const { return ends_[1]; }
  void CloseRead() { Close(ends_[0]); }
  void CloseWrite() { Close(ends_[1]); }

 private:
  static void Close(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
  }
  int ends_[2] = {-1, -1};
};

pid_t Spawn(const std::vector<std::string>& arguments, int stdoutFd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, stdoutFd, 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed ? -1 : pid;
}

// Reads until end of file or the deadline; false at the deadline.
bool ReadAll(int fd, Clock::time_point deadline, std::string& output) {
  char buffer[4096];
  while (true) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) return false;
    pollfd waiting{fd, POLLIN, 0};
    if (::poll(&waiting, 1, int(left.count())) <= 0) continue;
    ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got <= 0) return true;
    if (output.size() < kMaxOutputBytes) output.append(buffer, size_t(got));
  }
}

}  // namespace

std::string FindProgramOnPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= folders.size()) {
    size_t end = folders.find(':', start);
    if (end == std::string::npos) end = folders.size();
    std::string candidate = folders.substr(start, end - start) + "/" + name;
    struct stat info {};
    if (end > start && ::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
        ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
    start = end + 1;
  }
  return "";
}

std::optional<std::string> RunProgramOutput(const std::vector<std::string>& arguments,
                                            std::chrono::milliseconds timeout) {
  if (arguments.empty()) return std::nullopt;
  Pipe pipe;
  if (!pipe.Valid()) return std::nullopt;
  pid_t pid = Spawn(arguments, pipe.WriteEnd());
  pipe.CloseWrite();
  if (pid < 0) return std::nullopt;
  std::string output;
  bool ended = ReadAll(pipe.ReadEnd(), Clock::now() + timeout, output);
  if (!ended) ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!ended || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return output;
}

}  // namespace varnel
