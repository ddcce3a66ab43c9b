#pragma once
// Saving and restoring the main window's size and position through the section "Cfg".

#include "appcore/settings.h"

namespace varnel {

class TIniFile;

struct TWindowBounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(const TWindowBounds&, const TWindowBounds&) = default;
};

struct TScreenSize {
  int width = 0;
  int height = 0;
};

// The main window as its placement sees it.
class TMainWindowFrame {
 public:
  virtual ~TMainWindowFrame() = default;
  virtual bool IsMaximized() const = 0;
  // Shows the window maximized without the system's window animation.
  virtual void ShowMaximized() = 0;
  virtual TWindowBounds Bounds() const = 0;
  // keepPosition: the window stays where it is put instead of being centred on the screen.
  virtual void SetBounds(const TWindowBounds& bounds, bool keepPosition) = 0;
  virtual TScreenSize ScreenSize() const = 0;
};

// What restoring decides for a window that is not already maximized.
struct TRestoredPlacement {
  bool maximize = false;
  bool keepPosition = false;
  TWindowBounds bounds;
};

// Applies the stored size and position to the window's current bounds: sizes above 99 pixels
// limited to the screen, a stored left edge kept between minus three quarters of the width and
// the screen width minus a quarter of it, a stored top edge between -5 and the screen height
// minus a quarter of the height.
TRestoredPlacement ComputeRestoredPlacement(const TSettings& settings, TWindowBounds current,
                                            TScreenSize screen);

// Restoring at start-up (a part of loading the settings).
void RestoreWindowPlacement(const TSettings& settings, TMainWindowFrame& window);

// Takes the window's state into the settings: -1 as height for a maximized window (width and
// edges keep their old values), else its bounds. Nothing changes while "SaveWinSize" is off.
void StoreWindowPlacement(TSettings& settings, const TMainWindowFrame& window);

// Writes "SaveWinSize" and, when it is on, the placement keys: only "WinHeight" for a
// maximized window, all four otherwise.
void WriteWindowPlacement(TIniFile& ini, const TSettings& settings);

}  // namespace varnel
