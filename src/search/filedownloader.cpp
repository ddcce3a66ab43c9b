#include "search/filedownloader.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "platform/folders.h"
#include "platform/textfunctions.h"
#include "platform/userinterface.h"
#include "search/downloadfolder.h"

extern char** environ;

namespace varnel {

namespace fs = std::filesystem;

namespace {

constexpr int64_t kFileLimit = 524288;
constexpr int64_t kArchiveLimit = 8388608;
constexpr auto kPollInterval = std::chrono::milliseconds(100);
constexpr auto kStopGrace = std::chrono::seconds(3);
// Addresses longer than this are not handed to the downloader.
constexpr size_t kMaxAddressLength = 520;

// The lower-case text after the last "." of the file name, empty when there is none.
std::string ExtensionOf(const std::string& target) {
  std::string name = ExtractFileName(target);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? "" : LowerCase(name.substr(dot + 1));
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(path, error);
}

// The running downloader: reaped when the scope ends, stopped first when it still runs.
class LoaderProcess {
 public:
  LoaderProcess(const std::string& program, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0) pid_ = -1;
  }
  ~LoaderProcess() { Stop(); }
  LoaderProcess(const LoaderProcess&) = delete;
  LoaderProcess& operator=(const LoaderProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  bool Running() {
    if (pid_ <= 0) return false;
    if (waitpid(pid_, nullptr, WNOHANG) == 0) return true;
    pid_ = -1;
    return false;
  }
  // Waits a little for the downloader to see its status file gone, then ends it.
  void Stop() {
    auto deadline = std::chrono::steady_clock::now() + kStopGrace;
    while (Running() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!Running()) return;
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
};

std::string SizeText(const LoaderStatus& status) {
  std::string text = std::to_string(status.received);
  if (status.totalSize > 0) text += " from " + std::to_string(status.totalSize);
  return text;
}

}  // namespace

int64_t DownloadSizeLimit(const std::string& extension) {
  std::string lower = LowerCase(extension);
  return lower == "zip" || lower == "rar" ? kArchiveLimit : kFileLimit;
}

std::string LoaderProgramPath() {
  if (const char* path = std::getenv("VARNEL_LOADER"); path && *path) return path;
  return PathJoin(ProgramFolder(), "varnel-loader");
}

FileDownloader::FileDownloader(UserInterface& ui, std::string downloadFolder)
    : ui_(ui), folder_(std::move(downloadFolder)), statusFile_(folder_ + "/status.tmp") {}

bool FileDownloader::Download(const std::string& address, const std::string& target, bool limited) {
  status_ = LoaderStatus{};
  status_.requestNumber = ++counter_;
  refusedForSize_ = false;
  WriteLoaderStatus(statusFile_, status_, false);
  std::string program = LoaderProgramPath();
  if (!Exists(program)) throw Exception("File not found: " + program);
  int64_t limit = limited ? DownloadSizeLimit(ExtensionOf(target)) : 0;
  if (address.size() > kMaxAddressLength) status_.error = LoaderError::Refused;
  if (status_.error == LoaderError::None) {
    std::vector<std::string> args = {address, "--status", statusFile_, "--output", target};
    if (limit > 0) args.insert(args.end(), {"--max-size", std::to_string(limit)});
    LoaderProcess loader(program, args);
    if (!loader.Started()) status_.error = LoaderError::BadArguments;
    while (status_.error == LoaderError::None && Poll(limit)) {
      if (!loader.Running()) {
        // The downloader's last word may have come after the poll.
        Poll(limit);
        if (status_.state != LoaderState::Finished && status_.error == LoaderError::None)
          status_.error = LoaderError::Network;
        break;
      }
      std::this_thread::sleep_for(kPollInterval);
    }
    // Gone, the status file tells a downloader still at work to stop.
    RemoveFileQuietly(statusFile_);
  }
  RemoveFileQuietly(statusFile_);
  refusedForSize_ = refusedForSize_ || status_.error == LoaderError::TooLarge;
  if (refusedForSize_) ui_.SetProgressField(TProgressField::File, "Archive too large");
  return status_.error == LoaderError::None && Exists(target);
}

bool FileDownloader::Poll(int64_t limit) {
  if (auto read = ReadLoaderStatus(statusFile_)) {
    uint8_t request = status_.requestNumber;
    status_ = *read;
    status_.requestNumber = request;
  }
  ShowStatus();
  if (BreakOffRequested()) return false;
  ui_.ProcessMessages();
  if (BreakOffRequested()) return false;
  if (limit > 0 && status_.totalSize > limit) {
    status_.error = LoaderError::Refused;
    refusedForSize_ = true;
  }
  return status_.error == LoaderError::None && status_.state != LoaderState::Finished &&
         status_.state != LoaderState::BrokenOff;
}

bool FileDownloader::BreakOffRequested() {
  if (!ui_.ProgressShown()) return false;
  TProgressFlags& flags = ui_.ProgressFlags();
  if (!flags.stopRequested && !flags.skipRequested) return false;
  status_.error = LoaderError::Refused;
  flags.skipRequested = false;
  RemoveFileQuietly(statusFile_);
  return true;
}

void FileDownloader::ShowStatus() {
  switch (status_.state) {
    case LoaderState::Opening:
      ui_.SetProgressLabel(TProgressField::Path, "Opening:");
      break;
    case LoaderState::Received:
      ui_.SetProgressLabel(TProgressField::File, "Received (bytes):");
      if (status_.totalSize > 0)
        ui_.SetProgressField(TProgressField::File, "0 from " + std::to_string(status_.totalSize));
      break;
    case LoaderState::Downloading:
      ui_.SetProgressLabel(TProgressField::File, "Received (bytes):");
      [[fallthrough]];
    case LoaderState::Finished:
      ui_.SetProgressLabel(TProgressField::Path, "Downloading:");
      ui_.SetProgressField(TProgressField::File, SizeText(status_));
      break;
    case LoaderState::BrokenOff:
      ui_.SetProgressLabel(TProgressField::Path, "Terminated");
      break;
    case LoaderState::None:
      break;
  }
  if (status_.error != LoaderError::None && status_.error != LoaderError::Refused)
    ui_.SetProgressLabel(TProgressField::Path,
                         std::string("Error #") + static_cast<char>(status_.error));
}

}  // namespace varnel
