#include "appcore/windowplacement.h"

#include <gtest/gtest.h>

#include "appcore/applicationsettings.h"
#include "platform/inifile.h"
#include "support/corpus.h"

namespace varnel {
namespace {

class FakeFrame : public TMainWindowFrame {
 public:
  bool maximized = false;
  bool keepPosition = false;
  TWindowBounds bounds{10, 10, 640, 480};
  TScreenSize screen{1024, 768};

  bool IsMaximized() const override { return maximized; }
  void ShowMaximized() override { maximized = true; }
  TWindowBounds Bounds() const override { return bounds; }
  void SetBounds(const TWindowBounds& b, bool keep) override {
    bounds = b;
    keepPosition = keep;
  }
  TScreenSize ScreenSize() const override { return screen; }
};

TSettings Stored(int height, int width, int left, int top) {
  TSettings s;
  s.WinHeight = height;
  s.WinWidth = width;
  s.WinLeft = left;
  s.WinTop = top;
  return s;
}

TEST(WindowPlacementTest, StoredEdgesAreKeptPartlyOnTheScreen) {
  TScreenSize screen{1024, 768};
  TWindowBounds current{0, 0, 640, 480};
  auto placed = ComputeRestoredPlacement(Stored(600, 800, -5000, -50), current, screen);
  EXPECT_EQ(placed.bounds, (TWindowBounds{-600, -5, 800, 600}));
  EXPECT_TRUE(placed.keepPosition);
  placed = ComputeRestoredPlacement(Stored(600, 800, 5000, 5000), current, screen);
  EXPECT_EQ(placed.bounds, (TWindowBounds{1024 - 200, 768 - 150, 800, 600}));
  // 3/4 of 801 is 600.75: the limit is rounded toward zero.
  placed = ComputeRestoredPlacement(Stored(600, 801, -5000, 0), current, screen);
  EXPECT_EQ(placed.bounds.left, -600);
}

TEST(WindowPlacementTest, SizesBelow100AreIgnoredAndLargerOnesLimitedToTheScreen) {
  TScreenSize screen{1024, 768};
  TWindowBounds current{5, 6, 640, 480};
  auto placed = ComputeRestoredPlacement(Stored(99, 99, kWindowEdgeNotStored, kWindowEdgeNotStored),
                                         current, screen);
  EXPECT_EQ(placed.bounds, current);
  EXPECT_FALSE(placed.keepPosition);
  placed = ComputeRestoredPlacement(Stored(5000, 100, kWindowEdgeNotStored, kWindowEdgeNotStored),
                                    current, screen);
  EXPECT_EQ(placed.bounds, (TWindowBounds{5, 6, 100, 768}));
  EXPECT_TRUE(ComputeRestoredPlacement(Stored(-1, 0, 0, 0), current, screen).maximize);
}

TEST(WindowPlacementTest, RestoreHonoursSaveWinSizeAndAnAlreadyMaximizedWindow) {
  FakeFrame frame;
  TSettings s = Stored(600, 800, 20, 30);
  s.SaveWinSize = false;
  RestoreWindowPlacement(s, frame);
  EXPECT_EQ(frame.bounds, (TWindowBounds{10, 10, 640, 480}));
  s.SaveWinSize = true;
  RestoreWindowPlacement(s, frame);
  EXPECT_EQ(frame.bounds, (TWindowBounds{20, 30, 800, 600}));
  EXPECT_TRUE(frame.keepPosition);
}

TEST(WindowPlacementTest, AMaximizedWindowStoresOnlyItsHeightAndStartsMaximized) {
  test::TempDir dir;
  std::string path = dir.File("config.ini");
  FakeFrame frame;
  frame.bounds = {40, 50, 700, 500};
  {
    TApplicationSettings settings(path, 32);
    settings.LoadSettings(&frame);
    settings.SaveSettings(&frame);
  }
  frame.maximized = true;
  {
    TApplicationSettings settings(path, 32);
    settings.LoadSettings(&frame);
    settings.SaveSettings(&frame);
  }
  TIniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("Cfg", "WinHeight", 0), -1);
  EXPECT_EQ(ini.ReadInteger("Cfg", "WinWidth", 0), 700);
  EXPECT_EQ(ini.ReadInteger("Cfg", "WinLeft", 0), 40);
  EXPECT_EQ(ini.ReadInteger("Cfg", "WinTop", 0), 50);

  FakeFrame next;
  TApplicationSettings settings(path, 32);
  settings.LoadSettings(&next);
  EXPECT_TRUE(next.maximized);
}

TEST(WindowPlacementTest, WithSaveWinSizeOffThePlacementKeysAreLeftAlone) {
  TIniFile ini = TIniFile::FromText("x.ini", "[Cfg]\nWinHeight=300\n");
  TSettings s;
  s.SaveWinSize = false;
  FakeFrame frame;
  StoreWindowPlacement(s, frame);
  WriteWindowPlacement(ini, s);
  EXPECT_EQ(ini.Text(), "[Cfg]\nWinHeight=300\nSaveWinSize=0\n");
}

}  // namespace
}  // namespace varnel
