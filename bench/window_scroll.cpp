// Scrolls a collection from top to bottom in the desktop program's grid, on the offscreen Qt
// platform unless another is set, and times every frame:
//
//   bench/window_scroll FILE [--wheel|--keys] [--size N] [--width W] [--height H]
//
// opens FILE in a main window of W x H pixels (default 960 x 640) with N-pixel icons (default
// 48, captions and formats shown), then moves down a page at a time as Page Down does, or with
// --wheel by one notch of the mouse wheel at a time, or with --keys by pressing Page Down in the
// grid (which moves the current icon, and with it the image panel and the status texts), until
// the last row shows. A frame is the scroll step and the synchronous repaint of the grid that
// follows it, with --keys also the events it posted (the image panel and status refresh). Prints
// the frame times as a histogram with their median, 99th percentile and largest, and the resident
// set (VmRSS, with its anonymous and file-backed parts) after the first page, halfway and at the
// end, with the image areas rendered and kept, and the time of the idle update of the commands.
//
//   varnel-cli import base.icc base.icc ... -o big.icc   # about 100,000 icons
//   bench/window_scroll big.icc --wheel

#include <sys/resource.h>
#include <time.h>

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/localgrid.h"
#include "app/mainwindow.h"
#include "icons/bitmapfix32.h"
#include "icons/imagefileloader.h"

namespace {

struct Options {
  std::string file;
  bool wheel = false;
  bool keys = false;
  int size = 48;
  int width = 960;
  int height = 640;
};

// A line of /proc/self/status in kB ("VmRSS", "RssAnon", "RssFile"); -1 when missing.
long StatusKb(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1);
  return -1;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    std::string word = argv[i];
    bool hasValue = i + 1 < argc;
    if (word == "--wheel")
      options.wheel = true;
    else if (word == "--keys")
      options.keys = true;
    else if (word == "--size" && hasValue)
      options.size = std::atoi(argv[++i]);
    else if (word == "--width" && hasValue)
      options.width = std::atoi(argv[++i]);
    else if (word == "--height" && hasValue)
      options.height = std::atoi(argv[++i]);
    else if (word.rfind("--", 0) != 0 && options.file.empty())
      options.file = word;
    else
      return false;
  }
  return !options.file.empty() && options.size > 0;
}

// One notch of the wheel down over the middle of the grid, as a mouse sends it.
void TurnWheel(QWidget* viewport) {
  QPointF at(viewport->width() / 2.0, viewport->height() / 2.0);
  QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(),
                    QPoint(0, -QWheelEvent::DefaultDeltasPerStep), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(viewport, &wheel);
}

// The processor time this thread has used, in milliseconds: a frame whose wall time is much
// longer waited (for the processor, which other programs share, or for the disk).
double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

long MajorFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_majflt;
}

// One frame: wall and processor milliseconds, and the pages it had to wait for from the disk.
struct Frame {
  double wall = 0;
  double processor = 0;
  long majorFaults = 0;
};

double Percentile(const std::vector<double>& sorted, int percent) {
  return sorted[std::min(sorted.size() - 1, sorted.size() * size_t(percent) / 100)];
}

// Page Down pressed in the grid, which moves the current icon a page on and scrolls to it.
void PressPageDown(QWidget& grid) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
  QApplication::sendEvent(&grid, &press);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_PageDown, Qt::NoModifier);
  QApplication::sendEvent(&grid, &release);
}

void PrintHistogram(const std::vector<Frame>& frames) {
  std::vector<double> walls, processor;
  for (const Frame& frame : frames) {
    walls.push_back(frame.wall);
    processor.push_back(frame.processor);
  }
  std::sort(walls.begin(), walls.end());
  std::sort(processor.begin(), processor.end());
  static constexpr double kBounds[] = {1, 2, 4, 8, 16, 33, 100};
  size_t start = 0;
  double low = 0;
  for (double bound : kBounds) {
    size_t end = size_t(std::lower_bound(walls.begin(), walls.end(), bound) - walls.begin());
    std::printf("  %5.0f-%-4.0f ms %8zu\n", low, bound, end - start);
    start = end;
    low = bound;
  }
  std::printf("  %5.0f+     ms %8zu\n", low, walls.size() - start);
  std::printf("%zu frames: median %.2f ms, 99th percentile %.2f ms, largest %.2f ms\n",
              walls.size(), Percentile(walls, 50), Percentile(walls, 99), walls.back());
  std::printf(
      "processor time of a frame: median %.2f ms, 99th percentile %.2f ms, largest %.2f ms\n",
      Percentile(processor, 50), Percentile(processor, 99), processor.back());
}

// The slowest frames, to tell the grid's own work (processor time) from waiting.
void PrintSlowest(const std::vector<Frame>& frames, size_t count) {
  std::vector<size_t> order(frames.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  count = std::min(count, order.size());
  std::partial_sort(order.begin(), order.begin() + long(count), order.end(),
                    [&](size_t a, size_t b) { return frames[a].wall > frames[b].wall; });
  std::printf("slowest frames:");
  for (size_t i = 0; i < count; ++i) {
    const Frame& frame = frames[order[i]];
    std::printf(" #%zu %.1f ms (processor %.1f, %ld major faults);", order[i] + 1, frame.wall,
                frame.processor, frame.majorFaults);
  }
  std::printf("\n");
}

void PrintMemory(const char* when, const varnel::TLocalGrid& grid) {
  std::printf(
      "%-12s VmRSS %8ld kB (anonymous %ld, file %ld), %lld image areas rendered, %d kept (%lld "
      "kB)\n",
      when, StatusKb("VmRSS"), StatusKb("RssAnon"), StatusKb("RssFile"),
      static_cast<long long>(grid.RenderedImages()), grid.CachedImages(),
      static_cast<long long>(grid.CachedImageKb()));
}

// The idle update of the commands' states, which the window runs five times a second while
// the grid scrolls: its median of several runs, in milliseconds.
double IdleUpdateMs(varnel::TfmMain& window) {
  std::vector<double> runs;
  for (int run = 0; run < 21; ++run) {
    auto start = std::chrono::steady_clock::now();
    window.UpdateActions();
    std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    runs.push_back(took.count());
  }
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(
        stderr, "usage: window_scroll FILE [--wheel|--keys] [--size N] [--width W] [--height H]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  varnel::RegisterBitmapFix32();
  varnel::RegisterPictureReaders();
  QApplication application(argc, argv);
  char folder[] = "/tmp/varnel-window-scroll.XXXXXX";
  if (!mkdtemp(folder)) return 1;
  int exitCode = 0;
  {
    varnel::TfmMain window(std::string(folder) + "/config.ini");
    window.AskWelcome = [] { return std::pair<char, bool>{0, false}; };
    window.resize(options.width, options.height);
    window.show();
    window.Start({options.file});
    varnel::TLocalGrid& grid = window.Grid();
    grid.SetShowCaptions(true);
    grid.SetShowFormats(true);
    grid.SetSizeMode(options.size);
    QApplication::processEvents();
    grid.viewport()->repaint();
    PrintMemory("first page", grid);
    QScrollBar* bar = grid.verticalScrollBar();
    std::vector<Frame> frames;
    bool halfwayShown = false;
    while (bar->value() < bar->maximum()) {
      auto start = std::chrono::steady_clock::now();
      double processorStart = ThreadCpuMs();
      long faultsBefore = MajorFaults();
      if (options.wheel)
        TurnWheel(grid.viewport());
      else if (options.keys)
        PressPageDown(grid);
      else
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
      grid.viewport()->repaint();
      // A key moves the current icon too: the image panel and the status texts follow it.
      if (options.keys) QApplication::processEvents();
      std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
      frames.push_back(
          {took.count(), ThreadCpuMs() - processorStart, MajorFaults() - faultsBefore});
      // What the frame left for later (status texts, the image panel) is done between frames.
      QApplication::processEvents();
      if (!halfwayShown && bar->value() >= bar->maximum() / 2) {
        PrintMemory("halfway", grid);
        halfwayShown = true;
      }
    }
    PrintMemory("end", grid);
    std::printf("%d icons, %d rows of %d columns, %s\n", window.Lib().Count(),
                grid.GridLayout().rows, grid.GridLayout().columns,
                options.wheel  ? "wheel notches"
                : options.keys ? "Page Down keys"
                               : "pages");
    if (frames.empty()) {
      exitCode = 1;
    } else {
      PrintHistogram(frames);
      PrintSlowest(frames, 5);
    }
    std::printf("idle update of the commands: median %.2f ms\n", IdleUpdateMs(window));
  }
  std::system((std::string("rm -rf ") + folder).c_str());
  return exitCode;
}
