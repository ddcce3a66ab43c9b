// Real icon and cursor files read with the sizes and depths icotool reports, and written back
// so that icotool reads them identically.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>

#include "base/fileio.h"
#include "graphics/pngcodec.h"
#include "icons/advancedicon.h"
#include "support/corpus.h"
#include "support/process.h"

namespace varnel {
namespace {

struct ListedImage {
  int width, height, depth;
  int hotX = -1, hotY = -1;
  friend bool operator==(const ListedImage&, const ListedImage&) = default;
};

std::string RunCommand(const std::string& command, int& status) {
  test::ProcessResult result = test::RunCommand(command);
  status = result.status;
  return result.out;
}

bool HaveIcotool() {
  int status = -1;
  RunCommand("icotool --version >/dev/null", status);
  return status == 0;
}

// The images icotool lists; clean is false when it complained of damage.
std::vector<ListedImage> IcotoolList(const std::string& path, int& status, bool* clean = nullptr) {
  std::string output = RunCommand("icotool --list '" + path + "'", status);
  if (clean)
    *clean = output.find("incorrect total size") == std::string::npos &&
             output.find("premature end") == std::string::npos;
  static const std::regex line(
      R"(--width=(\d+) --height=(\d+) --bit-depth=(\d+) --palette-size=\d+(?: --hotspot-x=(\d+) --hotspot-y=(\d+))?)");
  std::vector<ListedImage> images;
  for (std::sregex_iterator it(output.begin(), output.end(), line), end; it != end; ++it) {
    const std::smatch& m = *it;
    ListedImage image{std::stoi(m[1]), std::stoi(m[2]), std::stoi(m[3])};
    if (m[4].matched) image.hotX = std::stoi(m[4]), image.hotY = std::stoi(m[5]);
    images.push_back(image);
  }
  return images;
}

std::vector<ListedImage> OurList(const TAdvancedIcon& icon, bool cursor) {
  std::vector<ListedImage> images;
  for (const auto& image : icon.Images()) {
    ListedImage listed{image->ImageWidth(), image->ImageHeight(), image->BitsPerPixel()};
    if (cursor) listed.hotX = image->HotSpot() & 0xFFFF, listed.hotY = image->HotSpot() >> 16;
    images.push_back(listed);
  }
  return images;
}

std::vector<std::string> SampleFiles() {
  std::vector<std::string> files = test::CorpusFiles("ico", {".ico"});
  for (const auto& f : test::CorpusFiles("cur", {".cur"})) files.push_back(f);
  const char* nsis = "/usr/share/nsis/Contrib/Graphics/Icons";
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(nsis, error))
    if (entry.path().extension() == ".ico") files.push_back(entry.path().string());
  return files;
}

TEST(CorpusIconTest, ReadsWhatIcotoolReadsAndWritesItBack) {
  if (!HaveIcotool()) GTEST_SKIP() << "icotool (icoutils) is not installed";
  std::vector<std::string> files = SampleFiles();
  VARNEL_SKIP_WITHOUT_FILES(files, "sample icons (corpus ico and cur, nsis)");
  test::TempDir dir;
  int compared = 0;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    bool cursor = path.ends_with(".cur");
    int status = 0;
    bool clean = true;
    std::vector<ListedImage> listed = IcotoolList(path, status, &clean);
    TAdvancedIcon icon;
    icon.LoadFromFile(path);
    if (icon.Images().Count() == 0) continue;
    // Where icotool gives up on a damaged file, what we read is compared with our own copy.
    std::vector<ListedImage> expected = clean && status == 0 ? listed : OurList(icon, cursor);
    EXPECT_EQ(OurList(icon, cursor), expected);

    std::string copy = dir.File(cursor ? "copy.cur" : "copy.ico");
    if (cursor)
      icon.SaveCursorToFile(copy);
    else
      icon.SaveToFile(copy);
    int copyStatus = 0;
    EXPECT_EQ(IcotoolList(copy, copyStatus), listed);
    EXPECT_EQ(copyStatus, status);

    TAdvancedIcon reread;
    reread.LoadFromFile(copy);
    ASSERT_EQ(reread.Images().Count(), icon.Images().Count());
    for (int i = 0; i < icon.Images().Count(); ++i) {
      const TSubIcon& before = *icon.Images()[i];
      const TSubIcon& after = *reread.Images()[i];
      EXPECT_EQ(after.Packed(), before.Packed());
      if (before.BitsPerPixel() == 32) {
        EXPECT_TRUE(std::ranges::equal(before.GetPixelBits(), after.GetPixelBits()));
      }
      EXPECT_TRUE(after.SameImage(before));
    }
    ++compared;
  }
  EXPECT_GE(compared, 10);
}

TEST(CorpusIconTest, PngImagesStayPng) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/pillow.ico");
  TAdvancedIcon icon;
  ASSERT_TRUE(icon.LoadFromFile(test::CorpusPath("ico/pillow.ico")));
  ASSERT_EQ(icon.Images().Count(), 5);
  EXPECT_TRUE(icon.Images()[0]->Packed());
  EXPECT_FALSE(icon.Images()[1]->Packed());
  EXPECT_EQ(icon.Images()[0]->ImageWidth(), 256);
  MemoryStream stream;
  icon.SaveToStream(stream);
  const auto& ico = stream.Bytes();
  uint32_t offset = ReadU32LE(&ico[6 + 12]);
  EXPECT_TRUE(HasPngSignature({&ico[offset], ico.size() - offset}));
}

TEST(CorpusIconTest, HostileFilesFailCleanly) {
  VARNEL_SKIP_WITHOUT_CORPUS_DIR();
  for (const char* name :
       {"ico/decompression_bomb.ico", "ico/bug779012.ico", "cur/no_cursors.cur"}) {
    SCOPED_TRACE(name);
    TAdvancedIcon icon;
    EXPECT_NO_THROW(icon.LoadFromFile(test::CorpusPath(name)));
    EXPECT_EQ(icon.Images().Count(), 0);
  }
}

TEST(CorpusIconTest, AnimatedCursorsGiveTheirFrames) {
  VARNEL_SKIP_WITHOUT_CORPUS("ani/test.ani", "ani/test-animation.ani", "ani/CVE-2022-48622.ani");
  std::vector<std::unique_ptr<TAdvancedIcon>> frames;
  TAdvancedIcon scratch;
  EXPECT_TRUE(scratch.ExtractFromRiffFile(test::CorpusPath("ani/test.ani"), 0, &frames));
  EXPECT_EQ(frames.size(), 3u);
  frames.clear();
  EXPECT_TRUE(scratch.ExtractFromRiffFile(test::CorpusPath("ani/test-animation.ani"), 0, &frames));
  ASSERT_EQ(frames.size(), 18u);
  EXPECT_EQ(frames[0]->Images().Count(), 2);
  EXPECT_EQ(frames[0]->Images()[0]->HotSpot(), 0u);
  TAdvancedIcon hostile;
  EXPECT_NO_THROW(
      hostile.ExtractFromRiffFile(test::CorpusPath("ani/CVE-2022-48622.ani"), 0, nullptr));
}

}  // namespace
}  // namespace varnel
