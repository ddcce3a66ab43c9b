// Times a folder search in the desktop program's window, as the "Find Icons" command runs it
// (progress window, growing grid, status bar), on the offscreen Qt platform unless another is
// set. For comparison with `varnel-cli scan` of the same folder:
//
//   bench/window_search DIR MASK [--keep-duplicates]
//
// prints the seconds the search took and the icons it found. With `--open FILE` it opens a
// collection instead and prints the seconds until its first page is drawn and the peak
// resident set.

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/mainwindow.h"
#include "search/foldersearch.h"

namespace {

// The peak resident set of the process so far, as the kernel reports it.
std::string PeakResidentSet() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return line.substr(6);
  return "?";
}

}  // namespace

int main(int argc, char** argv) {
  bool open = argc == 3 && std::string(argv[1]) == "--open";
  if (argc < 3) {
    std::fprintf(stderr, "usage: window_search DIR MASK [--keep-duplicates]\n");
    return 2;
  }
  bool keepDuplicates = argc > 3 && std::string(argv[3]) == "--keep-duplicates";
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  char folder[] = "/tmp/varnel-window-search.XXXXXX";
  if (!mkdtemp(folder)) return 1;
  varnel::TfmMain window(std::string(folder) + "/config.ini");
  window.AskWelcome = [] { return std::pair<char, bool>{0, false}; };
  if (open) {
    auto start = std::chrono::steady_clock::now();
    window.show();
    window.Start({argv[2]});
    window.repaint();
    QApplication::processEvents();
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%.2f s to the first page, %d icons, peak%s\n", took.count(), window.Lib().Count(),
                PeakResidentSet().c_str());
    std::system((std::string("rm -rf ") + folder).c_str());
    return 0;
  }
  window.Start({});
  window.AppSettings().Values().ConfirmDIFL = false;
  window.AppSettings().Values().ExcludeDups = !keepDuplicates;
  window.show();
  // Messages at the end (errors met) are closed as soon as they open.
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
  });
  closer.start(200);
  auto start = std::chrono::steady_clock::now();
  varnel::SearchFolderTree(window.Lib(), argv[1], argv[2], false);
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%.2f s, %d icons\n", took.count(), window.Lib().Count());
  std::system((std::string("rm -rf ") + folder).c_str());
  return 0;
}
