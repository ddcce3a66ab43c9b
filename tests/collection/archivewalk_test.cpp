// Archive walks: which members are read and under which names, nested archives, split sets, and
// hostile archives that must end with a message and nothing written outside the walk's folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "base/errors.h"
#include "base/fileio.h"
#include "collection/archiveextract.h"
#include "collection/archivevolumes.h"
#include "collection/fileimport.h"
#include "collection/filekind.h"
#include "collection/tempfolder.h"
#include "graphics/pngcodec.h"
#include "support/corpus.h"
#include "support/process.h"
#include "support/testcollection.h"
#include "testarchives.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> IcoBytes(const test::TempDir& dir, int size) {
  std::string path = dir.File("made" + std::to_string(size) + ".ico");
  test::IconOfSizes({size})->SaveToFile(path);
  return ReadWholeFile(path);
}

std::vector<std::string> MemberPaths(const ArchiveExtraction& extraction) {
  std::vector<std::string> paths;
  for (const ExtractedMember& member : extraction.members) paths.push_back(member.memberPath);
  return paths;
}

// Every file below folder, links included, by path.
std::vector<std::string> FilesBelow(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    files.push_back(entry.path().string());
  return files;
}

class ArchiveWalk : public ::testing::Test {
 protected:
  std::string Source(int index) { return collection.lib.Document.SourceOf(index); }

  test::TestCollection collection;
  test::TempDir dir;
  std::vector<std::string> errors;
};

TEST_F(ArchiveWalk, OnlyMaskedMembersAreReadAndNamedUnderTheArchive) {
  auto ico = IcoBytes(dir, 32);
  {
    test::ZipWriter zip(dir.File("pack.zip"));
    zip.File("icons/Star.ICO", ico);
    for (int i = 0; i < 50; ++i) zip.File("docs/note" + std::to_string(i) + ".txt", "text");
  }
  ArchiveExtraction extraction = ExtractArchive({dir.File("pack.zip")}, TFileKind::fkZip, "*.ico",
                                                dir.File("out"), LimitsFor(1000, 12));
  EXPECT_EQ(MemberPaths(extraction), std::vector<std::string>{"icons/Star.ICO"});
  EXPECT_EQ(CountMembers({dir.File("pack.zip")}, TFileKind::fkZip, "*.txt"), 50);
  std::atomic<bool> stop = true;
  ArchiveLimits stopped = LimitsFor(1000, 12);
  stopped.stop = &stop;
  EXPECT_TRUE(ExtractArchive({dir.File("pack.zip")}, TFileKind::fkZip, "*.ico", dir.File("stopped"),
                             stopped)
                  .members.empty());

  LoadFile(collection.lib, dir.File("pack.zip"), "", 0, false, false, &errors);
  ASSERT_EQ(collection.lib.Count(), 1);
  EXPECT_EQ(collection.lib.Items().Names(0), "Star");
  EXPECT_EQ(Source(0), dir.File("pack.zip") + "/icons/Star.ICO");
  EXPECT_TRUE(errors.empty());
}

TEST_F(ArchiveWalk, DirectLoadsShowEveryTwentiethMemberAndStopOnRequest) {
  auto ico = IcoBytes(dir, 16);
  {
    test::ZipWriter zip(dir.File("many.zip"));
    for (int i = 0; i < 45; ++i) zip.File("i" + std::to_string(100 + i) + ".ico", ico);
  }
  std::vector<std::string> counts;
  auto& ui = collection.ui;
  ui.onProcessMessages = [&] {
    if (counts.empty() || counts.back() != ui.statusTexts[1]) counts.push_back(ui.statusTexts[1]);
  };
  LoadFile(collection.lib, dir.File("many.zip"), "", 0, false, false, &errors);
  EXPECT_EQ(collection.lib.Count(), 45);
  EXPECT_EQ(counts, (std::vector<std::string>{"", "1 from 45", "21 from 45", "41 from 45"}));
  EXPECT_EQ(ui.statusTexts[0], "");

  // The stop button pressed while the members are read ends the walk at the next member shown.
  test::TestCollection stopped;
  stopped.ui.onProcessMessages = [&] {
    if (stopped.ui.statusTexts[1] == "21 from 45") stopped.lib.RequestStop();
  };
  LoadFile(stopped.lib, dir.File("many.zip"), "", 0, false, false, &errors);
  EXPECT_EQ(stopped.lib.Count(), 20);
}

// A ZIP with one member the mask takes is walked in full: pictures the mask does not name are
// read too, in the archives nested in it as well.
TEST_F(ArchiveWalk, IconsAndPicturesOfArchivesNestedInArchivesAreFound) {
  auto ico = IcoBytes(dir, 16);
  std::vector<uint8_t> png = EncodePng(TBitmap(8, 8, PixelFormat::Bits24));
  test::ZipWriter(dir.File("inner.zip")).File("deep.ico", ico).File("deep.png", png);
  {
    test::ZipWriter outer(dir.File("outer.zip"), true);
    outer.File("top.ico", IcoBytes(dir, 48));
    outer.File("pictures/a.png", png).File("pictures/b.png", png);
    outer.File("sub/inner.zip", ReadWholeFile(dir.File("inner.zip")));
  }
  LoadFile(collection.lib, dir.File("outer.zip"));
  ASSERT_EQ(collection.lib.Count(), 5);
  EXPECT_EQ(Source(0), dir.File("outer.zip") + "/pictures/a.png");
  EXPECT_EQ(Source(2), dir.File("outer.zip") + "/sub/inner.zip/deep.ico");
  EXPECT_EQ(Source(3), dir.File("outer.zip") + "/sub/inner.zip/deep.png");
  EXPECT_EQ(Source(4), dir.File("outer.zip") + "/top.ico");

  // Imported, every member counts and the archive itself is no source.
  ImportFile(collection.lib, dir.File("outer.zip"), &errors, 0, true);
  EXPECT_EQ(collection.lib.Count(), 10);
  // Without a member the mask takes, a ZIP of pictures gives nothing.
  test::ZipWriter(dir.File("pictures.zip")).File("a.png", png);
  test::TestCollection pictures;
  LoadFile(pictures.lib, dir.File("pictures.zip"));
  EXPECT_EQ(pictures.lib.Count(), 0);
}

TEST_F(ArchiveWalk, PackagesSkipCodeAndTakeEveryPicture) {
  auto ico = IcoBytes(dir, 24);
  {
    test::ZipWriter apk(dir.File("app.apk"));
    apk.File("classes.dex", ico);  // skipped by its extension whatever it holds
    apk.File("res/drawable/launcher.webp.ico", ico);
    apk.File("resources.arsc", std::string(5000, 'x'));
  }
  LoadFile(collection.lib, dir.File("app.apk"));
  ASSERT_EQ(collection.lib.Count(), 1);
  EXPECT_EQ(Source(0), dir.File("app.apk") + "/res/drawable/launcher.webp.ico");
}

TEST_F(ArchiveWalk, HostileNamesAndLinksWriteNothingOutside) {
  auto ico = IcoBytes(dir, 16);
  {
    test::ZipWriter zip(dir.File("evil.zip"));
    zip.File("../../slip.ico", ico);
    zip.File("/etc/abs.ico", ico);
    zip.Symlink("link", dir.Path());
    zip.File("link/through.ico", ico);
  }
  std::string destination = dir.File("walk/tmpzips");
  ArchiveExtraction extraction = ExtractArchive({dir.File("evil.zip")}, TFileKind::fkZip, "*.ico",
                                                destination, LimitsFor(1000, 12));
  EXPECT_EQ(MemberPaths(extraction),
            (std::vector<std::string>{"etc/abs.ico", "link/through.ico", "slip.ico"}));
  for (const std::string& file : FilesBelow(destination)) EXPECT_FALSE(fs::is_symlink(file));
  EXPECT_FALSE(fs::exists(dir.File("through.ico")));
  EXPECT_FALSE(fs::exists(fs::path(dir.Path()).parent_path() / "slip.ico"));
}

TEST_F(ArchiveWalk, BombsStopAtTheirLimitWithAMessage) {
  auto ico = IcoBytes(dir, 16);
  {
    test::ZipWriter zip(dir.File("bomb.zip"));
    zip.File("first.ico", ico);
    zip.Repeated("bomb.ico", uint64_t(64) << 20);
    zip.File("last.ico", ico);
  }
  ArchiveLimits limits = LimitsFor(uint64_t(FileSizeOf(dir.File("bomb.zip"))), 12);
  ASSERT_LT(limits.maxBytes, uint64_t(64) << 20);
  ArchiveExtraction extraction =
      ExtractArchive({dir.File("bomb.zip")}, TFileKind::fkZip, "*.ico", dir.File("out"), limits);
  EXPECT_EQ(MemberPaths(extraction), std::vector<std::string>{"first.ico"});
  ASSERT_EQ(extraction.problems.size(), 1u);
  EXPECT_NE(extraction.problems[0].find("expands to more than"), std::string::npos);

  // Loaded, the archive is walked in full, and a member whose first bytes hold no icon is never
  // written: the bomb is passed over and the icon after it found.
  LoadFile(collection.lib, dir.File("bomb.zip"), "", 0, false, false, &errors);
  EXPECT_EQ(collection.lib.Count(), 2);
  EXPECT_TRUE(errors.empty());
}

TEST_F(ArchiveWalk, NestedBombsStopAtTheLimitOfTheOuterArchive) {
  test::ZipWriter(dir.File("level0.zip")).Repeated("zeros.ico", uint64_t(4) << 20);
  for (int level = 1; level <= 2; ++level) {
    test::ZipWriter zip(dir.File("level" + std::to_string(level) + ".zip"), true);
    for (int copy = 0; copy < 10; ++copy)
      zip.File("copy" + std::to_string(copy) + ".zip",
               ReadWholeFile(dir.File("level" + std::to_string(level - 1) + ".zip")));
  }
  ArchiveLimits limits = LimitsFor(uint64_t(FileSizeOf(dir.File("level2.zip"))), 12);
  ArchiveExtraction extraction =
      ExtractArchive({dir.File("level2.zip")}, TFileKind::fkZip, "*.ico", dir.File("out"), limits);
  ASSERT_FALSE(extraction.problems.empty());
  EXPECT_NE(extraction.problems[0].find("expands to more than"), std::string::npos);
  uint64_t written = 0;
  for (const std::string& file : FilesBelow(dir.File("out")))
    if (fs::is_regular_file(file)) written += fs::file_size(file);
  EXPECT_LE(written, limits.maxBytes);
}

TEST_F(ArchiveWalk, DeepNestingStopsAtTenLevels) {
  auto ico = IcoBytes(dir, 16);
  std::string previous = dir.File("level0.zip");
  test::ZipWriter(previous).File("icon0.ico", ico);
  for (int level = 1; level <= 20; ++level) {
    std::string next = dir.File("level" + std::to_string(level) + ".zip");
    test::ZipWriter zip(next, true);
    zip.File("icon" + std::to_string(level) + ".ico", ico);
    zip.File("nested.zip", ReadWholeFile(previous));
    previous = next;
  }
  LoadFile(collection.lib, previous, "", 0, false, false, &errors);
  EXPECT_EQ(collection.lib.Count(), 11);  // the outer archive and ten nested ones
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find("nested more than 10 levels"), std::string::npos);
}

TEST_F(ArchiveWalk, DamagedArchivesEndWithAMessage) {
  auto ico = IcoBytes(dir, 16);
  test::ZipWriter(dir.File("good.zip")).File("a.ico", ico).File("b.ico", ico);
  std::vector<uint8_t> bytes = ReadWholeFile(dir.File("good.zip"));
  // The central directory's records lose their signatures.
  for (size_t i = 0; i + 4 <= bytes.size(); ++i)
    if (bytes[i] == 'P' && bytes[i + 1] == 'K' && bytes[i + 2] == 1 && bytes[i + 3] == 2)
      bytes[i + 2] = 9;
  WriteFileAtomic(dir.File("damaged.zip"), bytes);
  LoadFile(collection.lib, dir.File("damaged.zip"), "", 0, false, false, &errors);
  EXPECT_EQ(collection.lib.Count(), 0);
  EXPECT_FALSE(errors.empty());
}

TEST_F(ArchiveWalk, WalksLeaveNoTemporaryFiles) {
  test::ZipWriter(dir.File("one.zip")).File("a.ico", IcoBytes(dir, 16));
  std::string base = ProcessTempBase();
  LoadFile(collection.lib, dir.File("one.zip"));
  EXPECT_EQ(collection.lib.Count(), 1);
  EXPECT_TRUE(FilesBelow(base).empty());
  {
    ArchiveWalkFolder walk;
    fs::create_directories(walk.TempFolder(0) + "/x");
    fs::create_directories(walk.TempFolder(1));
    fs::permissions(walk.TempFolder(0) + "/x", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(fs::status(walk.Root()).permissions() & fs::perms::all, fs::perms::owner_all);
    walk.RemoveTempFolders(0);
    EXPECT_FALSE(fs::exists(walk.TempFolder(0)));
    EXPECT_FALSE(fs::exists(walk.TempFolder(1)));
  }
  EXPECT_TRUE(FilesBelow(base).empty());
  RemoveProcessTempBase();
  EXPECT_FALSE(fs::exists(base));
}

TEST(ArchiveCorpus, RarSetsAndZipInRar) {
  VARNEL_SKIP_WITHOUT_CORPUS("rar/test_rar_multivolume_single_file.part1.rar",
                             "rar/test_read_format_rar5_zip_in_rar.rar",
                             "rar/test_read_format_rar5_multiarchive_solid.part01.rar");
  test::TempDir dir;
  std::string set = test::CorpusPath("rar/test_rar_multivolume_single_file.part1.rar");
  ArchiveExtraction whole = ExtractArchive(VolumesOf(set), TFileKind::fkRar, "*.html",
                                           dir.File("set"), LimitsFor(20000, 12));
  ASSERT_EQ(whole.members.size(), 1u);
  EXPECT_GT(FileSizeOf(whole.members[0].file), 20000);
  EXPECT_TRUE(whole.problems.empty());

  // One volume of a solid RAR 5 set alone gives its spanning member short: refused.
  ArchiveExtraction alone =
      ExtractArchive({test::CorpusPath("rar/test_read_format_rar5_multiarchive_solid.part01.rar")},
                     TFileKind::fkRar, "*ls", dir.File("alone"), LimitsFor(20000, 12));
  EXPECT_TRUE(alone.members.empty());
  EXPECT_FALSE(alone.problems.empty());

  ArchiveExtraction nested =
      ExtractArchive({test::CorpusPath("rar/test_read_format_rar5_zip_in_rar.rar")},
                     TFileKind::fkRar, "*.txt", dir.File("nested"), LimitsFor(1000, 12));
  std::vector<std::string> paths = MemberPaths(nested);
  ASSERT_FALSE(paths.empty());
  EXPECT_TRUE(paths.front().starts_with("payload/inner.zip/")) << paths.front();
  EXPECT_EQ(paths.back(), "payload/real_after.txt");
}

// Regular files below folder with their sizes, by path inside it; "\\" read as "/" as the walk
// reads it.
// Hard links not in keep are left out.
std::map<std::string, uintmax_t> FileSizes(const std::string& folder,
                                           const std::map<std::string, uintmax_t>* keep = nullptr) {
  std::map<std::string, uintmax_t> sizes;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file() || entry.is_symlink()) continue;
    std::string name = fs::relative(entry.path(), folder).string();
    std::replace(name.begin(), name.end(), '\\', '/');
    if (keep && entry.hard_link_count() > 1 && !keep->count(name)) continue;
    sizes[name] = entry.file_size();
  }
  return sizes;
}

TEST(ArchiveCorpus, MembersAreThoseTheArchiveToolExtracts) {
  std::vector<std::string> archives = test::CorpusFiles("zip", {".zip", ".ora"});
  for (const std::string& rar : test::CorpusFiles("rar", {".rar"}))
    if (rar.find(".part") == std::string::npos) archives.push_back(rar);
  VARNEL_SKIP_WITHOUT_FILES(archives, "archives");
  if (test::RunCommand("bsdtar --version").status != 0) GTEST_SKIP() << "bsdtar missing";
  for (const std::string& archive : archives) {
    if (archive.find("nested") != std::string::npos || archive.find("in_rar") != std::string::npos)
      continue;  // nested archives are expanded here, kept whole by the tool
    SCOPED_TRACE(archive);
    test::TempDir dir;
    fs::create_directories(dir.File("tool"));
    // Archives the tool reports damaged or encrypted need only be read without harm.
    bool sound = test::RunCommand("cd '" + dir.File("tool") + "' && bsdtar -xf '" + archive +
                                  "' 2>/dev/null")
                     .status == 0;
    ArchiveExtraction ours;
    try {
      ours = ExtractArchive({archive}, DetectFileKind(archive).kind, "@*", dir.File("ours"),
                            LimitsFor(100000, 12));
    } catch (const Exception& error) {
      ours.problems.push_back(error.what());
    }
    if (!sound) continue;
    fs::create_directories(dir.File("ours"));
    // Hard-link members, which the tool makes and the walk passes over, are left aside.
    std::map<std::string, uintmax_t> walked = FileSizes(dir.File("ours"));
    EXPECT_EQ(walked, FileSizes(dir.File("tool"), &walked));
    EXPECT_TRUE(ours.problems.empty()) << ours.problems.front();
  }
}

TEST_F(ArchiveWalk, SplitZipSetsAreWalkedFromTheirFirstVolume) {
  if (test::RunCommand("zip -v >/dev/null").status != 0) GTEST_SKIP() << "zip missing";
  for (int i = 0; i < 8; ++i)
    test::IconOfSizes({64 + i})->SaveToFile(dir.File("i" + std::to_string(i) + ".ico"));
  test::RunCommand("cd '" + dir.Path() + "' && zip -q -0 -s 64k set.zip i*.ico");
  ASSERT_TRUE(fs::exists(dir.File("set.z01")));
  LoadFile(collection.lib, dir.File("set.zip"));
  LoadFile(collection.lib, dir.File("set.z02"));
  EXPECT_EQ(collection.lib.Count(), 0);  // later volumes give nothing of their own
  LoadFile(collection.lib, dir.File("set.z01"), "", 0, false, false, &errors);
  EXPECT_EQ(collection.lib.Count(), 8);
  EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace varnel
