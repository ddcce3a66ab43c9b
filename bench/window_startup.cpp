// Times the desktop program's start until its main window is first painted, on the offscreen Qt
// platform unless another is set:
//
//   bench/window_startup [--runs N] [FILE]
//
// starts itself N times (default 15) as a new process that does what the program's main does
// (picture readers, application, main window, Start with FILE when given) and stops at the
// first painted window, or with FILE at the first painted window whose grid shows icons. Each
// run has a settings file of its own in a fresh folder, as on a first start with the welcome
// window turned off. Prints the median, smallest and largest milliseconds of each stretch: from
// the spawn to main's entry (loading the libraries), from main to the window built, to Start
// done, and to the first paint; then the whole time from the spawn.
//
//   bench/window_startup --runs 15 /usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "app/errorhandler.h"
#include "app/localgrid.h"
#include "app/mainwindow.h"
#include "icons/bitmapfix32.h"
#include "icons/imagefileloader.h"

extern char** environ;

namespace {

// Milliseconds on the monotonic clock, which parent and child share.
double NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The stages a child reports, as monotonic milliseconds.
enum Stage { kMain, kWindowBuilt, kStarted, kPainted, kStageCount };
constexpr const char* kStretchNames[] = {"spawn to main", "main to window built",
                                         "window built to Start done", "Start done to painted",
                                         "spawn to painted"};

// Stops the event loop once a paint of the window has gone through: with a file, only a paint
// in which the grid drew icons counts.
class FirstPaintWatch : public QObject {
 public:
  FirstPaintWatch(varnel::TfmMain& window, bool wantIcons, double& paintedAt)
      : window_(window), wantIcons_(wantIcons), paintedAt_(paintedAt) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !pending_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
      pending_ = true;
      // Runs once the whole paint of the window (children and flush) is done.
      QTimer::singleShot(0, this, [this] { Check(); });
    }
    return false;
  }

 private:
  void Check() {
    pending_ = false;
    if (wantIcons_ && window_.Grid().PaintedCells() == 0) return;
    paintedAt_ = NowMs();
    QCoreApplication::quit();
  }

  varnel::TfmMain& window_;
  bool wantIcons_;
  double& paintedAt_;
  bool pending_ = false;
};

int RunChild(int argc, char** argv, const char* file) {
  std::array<double, kStageCount> at{};
  at[kMain] = NowMs();
  varnel::RegisterBitmapFix32();
  varnel::RegisterPictureReaders();
  varnel::TVarnelApplication application(argc, argv);
  char folder[] = "/tmp/varnel-window-startup.XXXXXX";
  if (!mkdtemp(folder)) return 1;
  {
    varnel::TfmMain window(std::string(folder) + "/config.ini");
    application.SetUserInterface(&window.UI());
    window.AskWelcome = [] { return std::pair<char, bool>{0, false}; };
    at[kWindowBuilt] = NowMs();
    FirstPaintWatch watch(window, file != nullptr, at[kPainted]);
    application.installEventFilter(&watch);
    window.show();
    std::vector<std::string> arguments;
    if (file) arguments.push_back(file);
    window.Start(arguments);
    at[kStarted] = NowMs();
    application.exec();
    application.removeEventFilter(&watch);
  }
  std::system((std::string("rm -rf ") + folder).c_str());
  std::printf("stages %.3f %.3f %.3f %.3f\n", at[kMain], at[kWindowBuilt], at[kStarted],
              at[kPainted]);
  return 0;
}

// One child run: the stages it reported with the spawn time in front; empty when it failed.
std::vector<double> RunOnce(const std::string& self, const char* file) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<std::string> words = {self, "--child"};
  if (file) words.push_back(file);
  std::vector<char*> childArgv;
  for (std::string& word : words) childArgv.push_back(word.data());
  childArgv.push_back(nullptr);
  pid_t child = 0;
  double spawned = NowMs();
  int failed = posix_spawn(&child, self.c_str(), &actions, nullptr, childArgv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string output;
  char buffer[256];
  for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
    output.append(buffer, size_t(got));
  close(pipeEnds[0]);
  int status = 0;
  if (failed || waitpid(child, &status, 0) != child || status != 0) return {};
  std::array<double, kStageCount> at{};
  if (std::sscanf(output.c_str(), "stages %lf %lf %lf %lf", &at[0], &at[1], &at[2], &at[3]) != 4)
    return {};
  return {spawned, at[kMain], at[kWindowBuilt], at[kStarted], at[kPainted]};
}

void PrintStretch(const char* name, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::printf("%-28s median %7.1f ms  min %7.1f  max %7.1f\n", name, values[values.size() / 2],
              values.front(), values.back());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc >= 2 && std::string(argv[1]) == "--child")
    return RunChild(argc, argv, argc > 2 ? argv[2] : nullptr);
  int runs = 15;
  const char* file = nullptr;
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i];
    if (word == "--runs" && i + 1 < argc)
      runs = std::max(1, std::atoi(argv[++i]));
    else
      file = argv[i];
  }
  std::string self = "/proc/self/exe";
  char resolved[4096];
  ssize_t length = readlink(self.c_str(), resolved, sizeof resolved - 1);
  if (length > 0) self.assign(resolved, size_t(length));
  std::vector<std::vector<double>> stretches(std::size(kStretchNames));
  for (int run = 0; run < runs; ++run) {
    std::vector<double> at = RunOnce(self, file);
    if (at.empty()) {
      std::fprintf(stderr, "window_startup: run %d failed\n", run + 1);
      return 1;
    }
    for (size_t stage = 0; stage + 1 < at.size(); ++stage)
      stretches[stage].push_back(at[stage + 1] - at[stage]);
    stretches.back().push_back(at.back() - at.front());
  }
  std::printf("%d runs%s%s\n", runs, file ? " opening " : " without a file", file ? file : "");
  for (size_t i = 0; i < stretches.size(); ++i) PrintStretch(kStretchNames[i], stretches[i]);
  return 0;
}
