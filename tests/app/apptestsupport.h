#pragma once
// What the widget tests share: the application on the offscreen platform, icons made in
// memory, and a collection shown in a grid.

#include <QApplication>
#include <memory>
#include <string>
#include <utility>

#include "app/localgrid.h"
#include "appcore/reopenfileholder.h"
#include "collection/fmlib.h"
#include "platform/fakeuserinterface.h"

namespace varnel {
class TfmMain;
}

namespace varnel::test {

// The application of the tests (created once, on the offscreen platform unless another is set).
QApplication& TestApplication();

// The texts of modal windows that no test answered (they are closed after a moment).
std::vector<std::string>& UnansweredModals();
// The text a message box or error list shows, else the window's title.
QString ModalText(QWidget* modal);
// While it lives, unanswered modal windows are left open: for tests that answer every modal
// window themselves and cannot race the closing of unanswered ones.
class ModalWatchdogPause {
 public:
  ModalWatchdogPause();
  ~ModalWatchdogPause();
  ModalWatchdogPause(const ModalWatchdogPause&) = delete;
  ModalWatchdogPause& operator=(const ModalWatchdogPause&) = delete;
};

// A main window with its settings in settingsFile, started without files; its welcome window
// is answered "close".
std::unique_ptr<TfmMain> StartedMainWindow(const std::string& settingsFile);

// Closes window, answering the message box it shows with Cancel: whether it closed, and the
// box's text (empty when none showed).
std::pair<bool, QString> CloseAnsweringCancel(QWidget& window);

// An icon with one image of the given size and depth (24 or 32 bits), filled with colour.
std::unique_ptr<TAdvancedIcon> SolidIcon(int width, int height, int bits, TColor color);
// A copy of icon's images.
std::unique_ptr<TAdvancedIcon> CopyIcon(const TAdvancedIcon& icon);

// A collection in a grid widget, with a scripted user interface.
struct GridHarness {
  GridHarness();
  ~GridHarness();
  // Appends count items "Icon 0", "Icon 1", ... sharing one small image.
  void AddItems(int count);
  // Resizes the grid so that it shows exactly columns columns, and shows it.
  void ShowWithColumns(int columns, int height = 400);
  // The centre of item's image area, in viewport coordinates.
  QPoint ImageCentre(int item) const;
  std::vector<int> Selected() const;
  std::vector<std::string> Names() const;

  FakeUserInterface ui;
  TReopenFileHolder recent;
  TChildHost host{ui, "Varnel", &recent};
  TSettings settings;
  MemoryClipboard clipboard;
  std::unique_ptr<TLocalGrid> grid;
  std::unique_ptr<TfmLib> lib;
};

}  // namespace varnel::test
