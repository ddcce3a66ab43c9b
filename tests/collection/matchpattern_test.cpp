// Member masks, member paths made safe, and split volumes.

#include <gtest/gtest.h>

#include "collection/archiveextract.h"
#include "collection/archivevolumes.h"
#include "collection/matchpattern.h"
#include "support/corpus.h"

namespace varnel {
namespace {

TEST(MatchPattern, WildcardsStandForTheirClassOfCharacter) {
  EXPECT_TRUE(MatchPattern("icon12.png", "icon*.*", true));
  EXPECT_FALSE(MatchPattern("iconpng", "icon*.*", true));
  EXPECT_FALSE(MatchPattern("a1b", "a?b", false));
  EXPECT_TRUE(MatchPattern("a1b", "a#b", false));
  EXPECT_FALSE(MatchPattern("axb", "a#b", false));
  EXPECT_TRUE(MatchPattern("a-b", "a@b", false));
  EXPECT_TRUE(MatchPattern("File.ICO", "*.ico", true));
  EXPECT_FALSE(MatchPattern("File.ICO", "*.ico", false));
  EXPECT_TRUE(MatchPattern("a.b.c", "*.*.*", false));
  EXPECT_FALSE(MatchPattern("ab", "a*b*c", false));
  EXPECT_TRUE(MatchPattern("xabcab", "*ab", false));
  EXPECT_TRUE(MatchPattern("", "", false));
  EXPECT_FALSE(MatchPattern("", "*.ico", false));
  EXPECT_TRUE(MatchPattern("anything", "*", false));
}

TEST(MatchPattern, CyrillicLettersAreOneLetterWhateverTheirBytes) {
  EXPECT_TRUE(MatchPattern("aЖb", "a?b", false));
  EXPECT_TRUE(MatchPattern("Ёлка.ico", "????.ico", false));
  EXPECT_FALSE(MatchPattern("aЖЖb", "a?b", false));
  EXPECT_TRUE(MatchPattern("ФАЙЛ.ICO", "файл.ico", true));
  EXPECT_TRUE(MatchPattern("ЁЛКА.ico", "ёлка*", true));
  EXPECT_FALSE(
      MatchPattern("a\xCE\xB1"
                   "b",
                   "a?b", false));  // Greek alpha is no letter here
  EXPECT_TRUE(
      MatchPattern("a\xCE\xB1"
                   "b",
                   "a@b", false));
}

TEST(MatchPattern, MasksMatchAnyOfTheirPatterns) {
  EXPECT_TRUE(MatchesMask("ICON.ICO", "*.cur;*.ico"));
  EXPECT_TRUE(MatchesMask("icon_big.png", "*.cur;;icon*.*;"));
  EXPECT_FALSE(MatchesMask("readme.txt", "*.cur;*.ico"));
  EXPECT_EQ(SplitMask(";a;;b;").size(), 2u);
}

TEST(SafeMemberPath, NoNameLeavesTheDestination) {
  EXPECT_EQ(SafeMemberPath("../../x.ico"), "x.ico");
  EXPECT_EQ(SafeMemberPath("/etc/x"), "etc/x");
  EXPECT_EQ(SafeMemberPath("C:\\Windows\\..\\..\\a.ico"), "Windows/a.ico");
  EXPECT_EQ(SafeMemberPath("a/./b//c"), "a/b/c");
  EXPECT_EQ(SafeMemberPath(".."), "");
  EXPECT_EQ(SafeMemberPath("icons/a:b.ico"), "icons/a:b.ico");
}

TEST(Volumes, FirstVolumesAndTheirSets) {
  test::TempDir dir;
  test::WriteText(dir.File("set.001"), "one");
  test::WriteText(dir.File("set.002"), "two");
  test::WriteText(dir.File("set.003"), "three");
  test::WriteText(dir.File("set.txt"), "not a volume");
  EXPECT_TRUE(IsFirstVolume(dir.File("set.001")));
  EXPECT_FALSE(IsFirstVolume(dir.File("set.002")));
  EXPECT_TRUE(IsFirstVolume(dir.File("x.Z00")));
  EXPECT_TRUE(IsFirstVolume(dir.File("noext0")));
  EXPECT_FALSE(IsFirstVolume(dir.File("arch.zip")));
  ASSERT_TRUE(JoinVolumes(dir.File("set.001"), dir.File("out/joined.zip")));
  EXPECT_EQ(test::FileText(dir.File("out/joined.zip")), "onetwothree");

  for (const char* name : {"old.rar", "old.r00", "old.r01"}) test::WriteText(dir.File(name), "");
  EXPECT_EQ(VolumesOf(dir.File("old.rar")).size(), 3u);
  EXPECT_TRUE(IsLaterVolume(dir.File("old.r00")));
  EXPECT_FALSE(IsLaterVolume(dir.File("old.rar")));
  EXPECT_EQ(VolumesOf(dir.File("set.001")).size(), 1u);

  test::WriteText(dir.File("set.000"), "zero");
  EXPECT_FALSE(IsFirstVolume(dir.File("set.001")));
  // Sets copied from systems that ignore case keep their upper-case names.
  for (const char* name : {"UP.Z00", "UP.Z01", "UP.ZIP", "UP.Z02", "OLD2.RAR", "OLD2.R00"})
    test::WriteText(dir.File(name), "");
  EXPECT_FALSE(IsFirstVolume(dir.File("UP.Z01")));
  EXPECT_TRUE(IsLaterVolume(dir.File("UP.Z02")));
  EXPECT_TRUE(IsLaterVolume(dir.File("UP.ZIP")));
  EXPECT_TRUE(IsLaterVolume(dir.File("OLD2.R00")));
  EXPECT_FALSE(JoinVolumes(dir.File("missing.001"), dir.File("out/none.zip")));
}

TEST(Volumes, RarPartSetsAreOpenedFromTheirFirstPart) {
  VARNEL_SKIP_WITHOUT_CORPUS("rar/test_rar_multivolume_single_file.part1.rar");
  std::string first = test::CorpusPath("rar/test_rar_multivolume_single_file.part1.rar");
  EXPECT_EQ(VolumesOf(first).size(), 3u);
  EXPECT_FALSE(IsLaterVolume(first));
  EXPECT_TRUE(IsLaterVolume(test::CorpusPath("rar/test_rar_multivolume_single_file.part3.rar")));
}

}  // namespace
}  // namespace varnel
