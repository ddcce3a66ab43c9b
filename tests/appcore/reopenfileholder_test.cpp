#include "appcore/reopenfileholder.h"

#include <gtest/gtest.h>

#include <fstream>

#include "appcore/shortenmiddle.h"
#include "platform/inifile.h"
#include "platform/mounttable.h"
#include "support/corpus.h"

namespace varnel {
namespace {

class FakeMenu : public TRecentFilesMenu {
 public:
  struct Slot {
    bool visible = false;
    std::string caption, hint;
  };
  std::vector<Slot> slots = std::vector<Slot>(5);
  bool endMarkerVisible = false;
  int detached = 0, attached = 0;

  int SlotCount() const override { return int(slots.size()); }
  void SetSlot(int slot, bool visible, const std::string& caption,
               const std::string& hint) override {
    slots[size_t(slot)] = {visible, caption, hint};
  }
  void SetEndMarkerVisible(bool visible) override { endMarkerVisible = visible; }
  void DetachPictures() override { ++detached; }
  void AttachPictures() override { ++attached; }
};

std::vector<std::string> Names(int first, int last) {
  std::vector<std::string> names;
  for (int i = first; i <= last; ++i) names.push_back("/f" + std::to_string(i));
  return names;
}

TEST(ReopenFileHolderTest, NewNamesGoToTheHeadAndTheEleventhDropsTheOldest) {
  TReopenFileHolder holder;
  for (int i = 1; i <= 11; ++i) holder.AddFile("/f" + std::to_string(i));
  std::vector<std::string> expected = Names(2, 11);
  std::reverse(expected.begin(), expected.end());
  EXPECT_EQ(holder.Files(), expected);
  holder.AddFile("");
  EXPECT_EQ(holder.Files().size(), 10u);
}

TEST(ReopenFileHolderTest, ReaddingAnEntrySwapsItWithTheHead) {
  TReopenFileHolder holder;
  for (const char* name : {"/e", "/d", "/c", "/b", "/a"}) holder.AddFile(name);
  holder.AddFile("/c");
  EXPECT_EQ(holder.Files(), (std::vector<std::string>{"/c", "/b", "/a", "/d", "/e"}));
  holder.AddFile("/C");
  EXPECT_EQ(holder.Files(), (std::vector<std::string>{"/c", "/b", "/a", "/d", "/e"}));
}

TEST(ReopenFileHolderTest, LoadingDropsVanishedLocalFilesEmptiesAndDuplicates) {
  test::TempDir dir;
  std::string kept = dir.File("kept.icl");
  std::ofstream(kept) << "x";
  TIniFile ini = TIniFile::FromText("x.ini",
                                    "[Shell]\n"
                                    "Reopen1=" +
                                        kept +
                                        "\n"
                                        "Reopen2=" +
                                        dir.File("deleted.icl") +
                                        "\n"
                                        "Reopen3=\n"
                                        "Reopen4=/mnt/nas/share/a.icc\n"
                                        "Reopen5=/media/stick/b.icl\n"
                                        "Reopen6=" +
                                        kept +
                                        "\n"
                                        "Reopen7=/gone/c.exe /Import 3\n"
                                        "Reopen11=/too/far.icl\n");
  TMountTable mounts =
      TMountTable::Parse("overlay / overlay rw 0 0\nserver:/share /mnt/nas nfs rw 0 0\n", nullptr);
  TReopenFileHolder holder;
  holder.LoadList(ini, mounts);
  EXPECT_EQ(holder.Files(),
            (std::vector<std::string>{kept, "/mnt/nas/share/a.icc", "/media/stick/b.icl",
                                      "/gone/c.exe /Import 3"}));
  TIniFile saved = TIniFile::FromText("y.ini", "");
  holder.SaveList(saved);
  EXPECT_EQ(saved.ReadSectionKeys("Shell"),
            (std::vector<std::string>{"Reopen1", "Reopen2", "Reopen3", "Reopen4"}));
  EXPECT_EQ(saved.ReadString("Shell", "Reopen4", ""), "/gone/c.exe /Import 3");
}

TEST(ReopenFileHolderTest, MenuShowsNumberedShortenedNamesWithDoubledAmpersands) {
  FakeMenu menu;
  TReopenFileHolder holder(&menu);
  std::string longName = "/data/" + std::string(30, 'a') + "_" + std::string(30, 'b') + ".icl";
  holder.AddFile(longName);
  holder.AddFile("/home/u/Tom & Jerry.icl");
  holder.AddFile("/x/set.exe /Import 5");
  EXPECT_TRUE(menu.endMarkerVisible);
  EXPECT_EQ(menu.slots[0].caption, "&1. set.exe");
  EXPECT_EQ(menu.slots[1].caption, "&2. Tom && Jerry.icl");
  EXPECT_EQ(menu.slots[1].hint, "Reopen|Reopen /home/u/Tom & Jerry.icl");
  EXPECT_EQ(menu.slots[2].caption,
            "&3. " + std::string(19, 'a') + "..." + std::string(16, 'b') + ".icl");
  EXPECT_FALSE(menu.slots[3].visible);
  EXPECT_EQ(menu.detached, menu.attached);
  EXPECT_EQ(holder.FileOfMenuItem(0), "/x/set.exe /Import 5");
  EXPECT_EQ(holder.FileOfMenuItem(3), "");
  EXPECT_EQ(TReopenFileHolder::PathPart("/x/set.exe /Import 5"), "/x/set.exe");
  EXPECT_EQ(TReopenFileHolder::PathPart(" /Import 5"), " /Import 5");
}

TEST(ReopenFileHolderTest, OnlyAsManyEntriesAsSlotsAreShown) {
  FakeMenu menu;
  TReopenFileHolder holder(&menu);
  for (int i = 1; i <= 8; ++i) holder.AddFile("/f" + std::to_string(i));
  for (const auto& slot : menu.slots) EXPECT_TRUE(slot.visible);
  EXPECT_EQ(menu.slots[4].caption, "&5. f4");
  EXPECT_EQ(holder.FileOfMenuItem(7), "");

  FakeMenu noSlots;
  noSlots.slots.clear();
  TReopenFileHolder empty(&noSlots);
  empty.AddFile("/a");
  EXPECT_FALSE(noSlots.endMarkerVisible);
}

TEST(ShortenMiddleTest, KeepsShortTextsAndCutsTheMiddleOfLongOnes) {
  std::string forty(40, 'x');
  EXPECT_EQ(ShortenMiddle(forty, 40), forty);
  std::string text41 = std::string(19, 'a') + "MIDDLE" + std::string(16, 'z');
  ASSERT_EQ(text41.size(), 41u);
  EXPECT_EQ(ShortenMiddle(text41, 40), std::string(19, 'a') + "...DDLE" + std::string(16, 'z'));
  std::string long150 = std::string(49, 'h') + std::string(51, '-') + std::string(50, 't');
  EXPECT_EQ(ShortenMiddle(long150, 100), std::string(49, 'h') + "..." + std::string(50, 't'));
}

TEST(ShortenMiddleTest, CountsCharactersNotBytes) {
  std::string text;
  for (int i = 0; i < 41; ++i) text += "\xC3\xA9";  // é
  std::string shortened = ShortenMiddle(text, 40);
  std::string expected;
  for (int i = 0; i < 19; ++i) expected += "\xC3\xA9";
  expected += "...";
  for (int i = 0; i < 20; ++i) expected += "\xC3\xA9";
  EXPECT_EQ(shortened, expected);
  EXPECT_EQ(ShortenMiddle(std::string(20, 'x'), 40), std::string(20, 'x'));
}

}  // namespace
}  // namespace varnel
