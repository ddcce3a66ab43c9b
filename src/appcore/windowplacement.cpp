#include "appcore/windowplacement.h"

#include <algorithm>

#include "platform/inifile.h"

namespace varnel {

namespace {

constexpr const char* kCfg = "Cfg";
constexpr int kSmallestStoredSize = 100;
constexpr int kHighestTopEdge = -5;

int LimitLeftEdge(int left, int width, int screenWidth) {
  int highest = screenWidth - width / 4;
  int lowest = -(width * 3 / 4);
  return std::max(std::min(left, highest), lowest);
}

int LimitTopEdge(int top, int height, int screenHeight) {
  int highest = screenHeight - height / 4;
  return std::max(std::min(top, highest), kHighestTopEdge);
}

}  // namespace

TRestoredPlacement ComputeRestoredPlacement(const TSettings& settings, TWindowBounds current,
                                            TScreenSize screen) {
  TRestoredPlacement placement;
  placement.bounds = current;
  if (settings.WinHeight == kWindowHeightMaximized) {
    placement.maximize = true;
    return placement;
  }
  TWindowBounds& bounds = placement.bounds;
  if (settings.WinHeight >= kSmallestStoredSize) {
    bounds.height = std::min(settings.WinHeight, screen.height);
  }
  if (settings.WinWidth >= kSmallestStoredSize) {
    bounds.width = std::min(settings.WinWidth, screen.width);
  }
  if (settings.WinLeft != kWindowEdgeNotStored) {
    bounds.left = LimitLeftEdge(settings.WinLeft, bounds.width, screen.width);
    placement.keepPosition = true;
  }
  if (settings.WinTop != kWindowEdgeNotStored) {
    bounds.top = LimitTopEdge(settings.WinTop, bounds.height, screen.height);
    placement.keepPosition = true;
  }
  return placement;
}

void RestoreWindowPlacement(const TSettings& settings, TMainWindowFrame& window) {
  if (window.IsMaximized()) {
    window.ShowMaximized();
    return;
  }
  if (!settings.SaveWinSize) return;
  TRestoredPlacement placement =
      ComputeRestoredPlacement(settings, window.Bounds(), window.ScreenSize());
  if (placement.maximize) {
    window.ShowMaximized();
  } else {
    window.SetBounds(placement.bounds, placement.keepPosition);
  }
}

void StoreWindowPlacement(TSettings& settings, const TMainWindowFrame& window) {
  if (!settings.SaveWinSize) return;
  if (window.IsMaximized()) {
    settings.WinHeight = kWindowHeightMaximized;
    return;
  }
  TWindowBounds bounds = window.Bounds();
  settings.WinHeight = bounds.height;
  settings.WinWidth = bounds.width;
  settings.WinLeft = bounds.left;
  settings.WinTop = bounds.top;
}

void WriteWindowPlacement(TIniFile& ini, const TSettings& settings) {
  ini.WriteBool(kCfg, "SaveWinSize", settings.SaveWinSize);
  if (!settings.SaveWinSize) return;
  ini.WriteInteger(kCfg, "WinHeight", settings.WinHeight);
  if (settings.WinHeight == kWindowHeightMaximized) return;
  ini.WriteInteger(kCfg, "WinWidth", settings.WinWidth);
  ini.WriteInteger(kCfg, "WinLeft", settings.WinLeft);
  ini.WriteInteger(kCfg, "WinTop", settings.WinTop);
}

}  // namespace varnel
