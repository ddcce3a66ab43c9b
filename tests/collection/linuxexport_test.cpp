// Icon themes and favicon sets written from real icons, checked as the desktop's tools and a
// browser read them: every picture has its folder's size, the index lists each folder once and
// the theme's cache builds.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/fileio.h"
#include "collection/faviconexport.h"
#include "collection/iconthemeexport.h"
#include "collection/kindreaders.h"
#include "collection/xcursorthemeexport.h"
#include "graphics/pngcodec.h"
#include "icons/xcursorfile.h"
#include "support/corpus.h"
#include "support/process.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// The corpus's icons that load, given twice over so that names repeat, up to count.
TCollection CorpusIcons(int count) {
  TCollection collection;
  std::vector<std::string> files = test::CorpusFiles("ico", {".ico"});
  for (int round = 0; round < 4 && collection.Count() < count; ++round)
    for (const std::string& file : files) {
      auto icon = std::make_unique<TAdvancedIcon>();
      if (collection.Count() == count || !icon->LoadFromFile(file)) continue;
      collection.Append(fs::path(file).stem().string() + " Icon", std::move(icon));
    }
  return collection;
}

std::string FirstSvgOfThemes() {
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator("/usr/share/icons", error))
    if (entry.path().extension() == ".svg" && !entry.path().string().ends_with("symbolic.svg"))
      return entry.path().string();
  return "";
}

std::optional<PngHeader> HeaderOf(const fs::path& path) {
  return ReadPngHeader(ReadWholeFile(path.string()));
}

TEST(IconThemeExport, RealIconsGiveAThemeTheDesktopAccepts) {
  TCollection icons = CorpusIcons(30);
  if (icons.Count() < 30) GTEST_SKIP() << "fewer than 30 sample icons load";
  TempDir dir;
  IconThemeReport report = WriteIconTheme(icons, dir.Path(), {"Sample Theme", "apps"});
  EXPECT_EQ(report.icons, 30);

  std::set<std::string> folders;
  for (const auto& entry : fs::recursive_directory_iterator(report.folder)) {
    if (entry.path().extension() != ".png") continue;
    fs::path folder = entry.path().parent_path();
    EXPECT_EQ(folder.filename(), "apps");
    EXPECT_EQ(IconLookupName(entry.path().stem().string()), entry.path().stem().string());
    std::string size = folder.parent_path().filename().string();
    folders.insert(size + "/apps");
    std::optional<PngHeader> header = HeaderOf(entry.path());
    ASSERT_TRUE(header) << entry.path();
    EXPECT_EQ(std::to_string(header->width) + "x" + std::to_string(header->height), size);
  }
  std::string index = test::FileText(report.folder + "/index.theme");
  for (const std::string& folder : folders) {
    EXPECT_NE(index.find("[" + folder + "]"), std::string::npos) << folder;
    EXPECT_EQ(index.find("," + folder + ","), index.rfind("," + folder + ","));
  }
  EXPECT_NE(index.find("Inherits=hicolor\n"), std::string::npos);

  if (!fs::exists("/usr/bin/gtk-update-icon-cache"))
    GTEST_SKIP() << "gtk-update-icon-cache missing";
  EXPECT_EQ(test::RunCommand("gtk-update-icon-cache -f '" + report.folder + "'").status, 0);
  EXPECT_THROW(WriteIconTheme(icons, dir.Path(), {"Sample Theme", "apps"}), Exception);
  EXPECT_THROW(WriteIconTheme(icons, dir.Path(), {"..", "apps"}), Exception);
}

TEST(FaviconExport, DrawingGivesEveryFileAtItsSize) {
  std::string svg = FirstSvgOfThemes();
  if (svg.empty()) GTEST_SKIP() << "no SVG icon under /usr/share/icons";
  TempDir dir;
  TAdvancedIcon none;
  FaviconReport report = WriteFaviconSet(none, svg, dir.Path(), {});
  EXPECT_TRUE(report.drawing);
  TAdvancedIcon favicon;
  ASSERT_TRUE(favicon.LoadFromFile(dir.File("favicon.ico")));
  ASSERT_EQ(favicon.Images().Count(), 3);
  const int sizes[] = {16, 32, 48};
  for (int i = 0; i < 3; ++i) EXPECT_EQ(favicon.Images()[i]->ImageWidth(), sizes[i]);
  std::optional<PngHeader> touch = HeaderOf(dir.File("apple-touch-icon.png"));
  ASSERT_TRUE(touch);
  EXPECT_EQ(touch->width, 180u);
  EXPECT_EQ(touch->colorType, 2);  // opaque RGB
  EXPECT_EQ(HeaderOf(dir.File("icon-512.png"))->width, 512u);
  EXPECT_NE(test::FileText(dir.File("site.webmanifest")).find("\"sizes\": \"192x192\""),
            std::string::npos);
  EXPECT_TRUE(fs::exists(dir.File("favicon.svg")));
  EXPECT_THROW(WriteFaviconSet(none, svg, dir.Path(), {}), Exception);
}

// Every sample cursor file: CUR files through their icons, ANI files through their source.
TCollection SampleCursors() {
  TCollection collection;
  for (const std::string& file : test::CorpusFiles("cur", {".cur"})) {
    auto icon = std::make_unique<TAdvancedIcon>();
    if (icon->LoadFromFile(file))
      collection.Append(fs::path(file).stem().string(), std::move(icon));
  }
  for (const std::string& file : test::CorpusFiles("ani", {".ani"})) {
    collection.Append(fs::path(file).stem().string(), std::make_unique<TAdvancedIcon>());
    collection.RecordSources(file, collection.Count() - 1);
  }
  return collection;
}

TEST(XCursorThemeExport, SampleCursorsReadBackThroughLibXcursor) {
  VARNEL_SKIP_WITHOUT_CORPUS("cur/sample.cur", "ani/test.ani", "ani/test-animation.ani");
  TempDir dir;
  XCursorThemeReport report = WriteXCursorTheme(SampleCursors(), dir.Path(), {"Samples"});
  EXPECT_GE(report.animated, 4);
  auto read = [&](const std::string& name) {
    return ReadXCursor(ReadWholeFile(report.folder + "/cursors/" + name));
  };
  std::vector<XCursorImage> sample = read("sample");
  ASSERT_EQ(sample.size(), 1u);
  TAdvancedIcon source;
  ASSERT_TRUE(source.LoadFromFile(test::CorpusPath("cur/sample.cur")));
  EXPECT_EQ(uint32_t(sample[0].hotX | sample[0].hotY << 16), source.Images()[0]->HotSpot());
  // Steps 0, 1, 2, 1 at 10, 20, 10, 10 jiffies.
  std::vector<XCursorImage> steps = read("test");
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[1].delay, 333u);
  EXPECT_EQ(steps[3].picture, steps[1].picture);
  // 18 frames of two sizes, each with its own hot spot.
  std::vector<XCursorImage> frames = read("test-animation");
  ASSERT_EQ(frames.size(), 36u);
  EXPECT_EQ(frames[0].nominalSize, 32);
  EXPECT_EQ(frames[18].nominalSize, 48);
  EXPECT_EQ(frames[18].hotX, 1);
  EXPECT_EQ(frames[18].hotY, 12);
}

}  // namespace
}  // namespace varnel

namespace varnel {
namespace {

// A cursor xcursorgen makes: two sizes, two frames each, with their hot spots and delays.
TEST(XCursorFormat, ReadsWhatXcursorgenWrites) {
  VARNEL_SKIP_WITHOUT_CORPUS("png/basn6a08.png", "png/basn3p01.png");
  if (!fs::exists("/usr/bin/xcursorgen")) GTEST_SKIP() << "xcursorgen missing (x11-apps)";
  TempDir dir;
  std::string big = test::CorpusPath("png/basn6a08.png");
  std::string small = test::CorpusPath("png/basn3p01.png");
  test::WriteText(dir.File("config"), "32 3 4 " + big + " 50\n32 5 6 " + big + " 70\n16 1 2 " +
                                          small + " 50\n16 2 2 " + small + " 70\n");
  ASSERT_EQ(test::RunCommand("xcursorgen " + dir.File("config") + " " + dir.File("c")).status, 0);
  EXPECT_EQ(DetectFileKind(dir.File("c")).kind, TFileKind::fkXCursor);
  const FileFormat& format = FormatOf(TFileKind::fkXCursor);
  std::unique_ptr<TAdvancedIcon> cursor = ReadIconOf(format, dir.File("c"));
  ASSERT_EQ(cursor->Images().Count(), 2);
  EXPECT_EQ(cursor->Images()[0]->ImageWidth(), 32);
  EXPECT_EQ(cursor->Images()[0]->HotSpot(), 3u | 4u << 16);
  EXPECT_EQ(cursor->Images()[1]->HotSpot(), 1u | 2u << 16);
  std::vector<AnimationFrame> frames = format.readFrames(ReadWholeFile(dir.File("c")));
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[1].delayMs, 70);
  // The file holds premultiplied colours: alpha comes back exactly, colours where it is opaque.
  TBitmap expected = DecodePngRgba(ReadWholeFile(big));
  ASSERT_EQ(frames[0].picture.Bits().size(), expected.Bits().size());
  for (size_t i = 0; i < expected.Bits().size(); i += 4) {
    ASSERT_EQ(frames[0].picture.Bits()[i + 3], expected.Bits()[i + 3]) << i;
    if (expected.Bits()[i + 3] == 255) ASSERT_EQ(frames[0].picture.Bits()[i], expected.Bits()[i]);
  }
}

}  // namespace
}  // namespace varnel
