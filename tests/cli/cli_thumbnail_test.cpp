// varnel-cli thumbnail on real icons, with icotool's extraction and ImageMagick's decoding as
// the oracles.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using Result = varnel::test::ProcessResult;
using varnel::test::RunCli;
using varnel::test::RunCommand;

constexpr char kConvert[] = "/usr/bin/convert";

bool HaveOracles() {
  return RunCommand("icotool --version").status == 0 && std::filesystem::exists(kConvert);
}

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

// The RGBA bytes of a picture file, top row first, as ImageMagick decodes it.
std::string Rgba(const std::string& png) {
  return RunCommand(std::string(kConvert) + " " + Quoted(png) + " -depth 8 rgba:- 2>/dev/null").out;
}

// The bounding box of the pixels that are not fully transparent: "WxH+X+Y".
std::string OpaqueBox(const std::string& png) {
  return RunCommand(std::string(kConvert) + " " + Quoted(png) + " -alpha extract -format %@ info:")
      .out;
}

struct ListedImage {
  int index, width, height, depth;
};

std::vector<ListedImage> IcotoolList(const std::string& path) {
  std::string output = RunCommand("icotool --list " + Quoted(path)).out;
  static const std::regex line(R"(--index=(\d+) --width=(\d+) --height=(\d+) --bit-depth=(\d+))");
  std::vector<ListedImage> images;
  for (std::sregex_iterator it(output.begin(), output.end(), line), end; it != end; ++it)
    images.push_back(
        {std::stoi((*it)[1]), std::stoi((*it)[2]), std::stoi((*it)[3]), std::stoi((*it)[4])});
  return images;
}

bool UniqueFormat(const std::vector<ListedImage>& images, const ListedImage& image) {
  int same = 0;
  for (const ListedImage& other : images)
    same +=
        other.width == image.width && other.height == image.height && other.depth == image.depth;
  return same == 1;
}

std::vector<std::string> SampleIcons() {
  std::vector<std::string> files;
  for (const char* name : {"python.ico", "pillow.ico", "bug785447.ico", "gtk.ico", "squares.ico",
                           "hopper.ico", "black_and_white.ico", "sample.ico", "hopper_mask.ico"})
    files.push_back(varnel::test::CorpusPath(std::string("ico/") + name));
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator("/usr/share/nsis/Contrib/Graphics/Icons", error))
    if (entry.path().extension() == ".ico") files.push_back(entry.path().string());
  return files;
}

TEST(CliThumbnailTest, ThirtyTwoBitImageAtItsOwnSizeKeepsItsPixels) {
  if (!HaveOracles()) GTEST_SKIP() << "icotool or ImageMagick missing";
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  varnel::test::TempDir dir;
  std::string python = varnel::test::CorpusPath("ico/python.ico");
  Result result = RunCli("thumbnail " + python + " --size 32 -o " + dir.File("out.png"));
  ASSERT_EQ(result.status, 0) << result.out;
  ASSERT_EQ(RunCommand("icotool -x -i 2 -o " + dir.File("ref.png") + " " + python).status, 0);
  std::string ours = Rgba(dir.File("out.png")), reference = Rgba(dir.File("ref.png"));
  ASSERT_EQ(ours.size(), 32u * 32u * 4u);
  EXPECT_TRUE(ours == reference);
}

TEST(CliThumbnailTest, EveryImageAtItsOwnSizeMatchesWhatIcotoolExtracts) {
  if (!HaveOracles()) GTEST_SKIP() << "icotool or ImageMagick missing";
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "ico/pillow.ico", "ico/gtk.ico");
  varnel::test::TempDir dir;
  int compared = 0;
  for (const std::string& file : SampleIcons()) {
    std::vector<ListedImage> images = IcotoolList(file);
    for (const ListedImage& image : images) {
      if (!UniqueFormat(images, image)) continue;
      std::string size = std::to_string(image.width) + "x" + std::to_string(image.height);
      SCOPED_TRACE(file + " " + size + "x" + std::to_string(image.depth));
      Result ours = RunCli("thumbnail " + Quoted(file) + " --exact --size " + size + " --bpp " +
                           std::to_string(image.depth) + " -o " + dir.File("out.png"));
      ASSERT_EQ(ours.status, 0) << ours.out;
      // icotool complains (exit 1) of size fields it dislikes and extracts what it can; an
      // image it cannot extract has no reference.
      std::filesystem::remove(dir.File("ref.png"));
      RunCommand("icotool -x -i " + std::to_string(image.index) + " -o " + dir.File("ref.png") +
                 " " + Quoted(file));
      if (!std::filesystem::exists(dir.File("ref.png"))) continue;
      std::string drawn = Rgba(dir.File("out.png")), reference = Rgba(dir.File("ref.png"));
      ASSERT_EQ(drawn.size(), reference.size());
      int differing = 0;
      for (size_t i = 0; i < drawn.size(); i += 4) {
        bool transparent = reference[i + 3] == 0;
        bool same = transparent ? drawn[i + 3] == 0 : drawn.compare(i, 4, reference, i, 4) == 0;
        differing += !same;
      }
      EXPECT_EQ(differing, 0);
      ++compared;
    }
  }
  EXPECT_GE(compared, 30);
}

TEST(CliThumbnailTest, CellsAreFittedShrunkAndComposedOnTheBackground) {
  if (!HaveOracles()) GTEST_SKIP() << "icotool or ImageMagick missing";
  VARNEL_SKIP_WITHOUT_CORPUS("ico/hopper.ico", "ico/pillow.ico", "ico/sample.ico");
  varnel::test::TempDir dir;
  std::string out = dir.File("out.png");
  // 16 x 16 enlarged into 50 x 40: 32 x 32, centred.
  std::string hopper = varnel::test::CorpusPath("ico/hopper.ico");
  ASSERT_EQ(RunCli("thumbnail " + hopper + " --enlarge --size 50x40 -o " + out).status, 0);
  EXPECT_EQ(OpaqueBox(out), "32x32+9+4");
  ASSERT_EQ(RunCli("thumbnail " + hopper + " --size 50x40 -o " + out).status, 0);
  EXPECT_EQ(OpaqueBox(out), "16x16+17+12");
  // The 256-pixel PNG image of an icon shrunk into a 48-pixel cell.
  std::string pillow = varnel::test::CorpusPath("ico/pillow.ico");
  ASSERT_EQ(RunCli("thumbnail " + pillow + " --size 100 -o " + out).status, 0);
  EXPECT_EQ(RunCommand(std::string(kConvert) + " " + out + " -format %wx%h info:").out, "100x100");
  // 23 x 42 without proportions fills the cell; with a background nothing is transparent.
  std::string sample = varnel::test::CorpusPath("ico/sample.ico");
  ASSERT_EQ(RunCli("thumbnail " + sample + " --no-proportions --size 20 -o " + out).status, 0);
  std::string filled = Rgba(out);
  ASSERT_EQ(filled.size(), 20u * 20u * 4u);
  for (size_t i = 3; i < filled.size(); i += 4) EXPECT_EQ(uint8_t(filled[i]), 255) << i / 4;
  ASSERT_EQ(RunCli("thumbnail " + sample + " --size 20x42 --background '#FF0000' -o " + out).status,
            0);
  std::string pixels = Rgba(out);
  ASSERT_EQ(pixels.size(), 20u * 42u * 4u);
  EXPECT_EQ(pixels.substr(0, 4), std::string("\xFF\x00\x00\xFF", 4));  // left of the picture
}

TEST(CliThumbnailTest, MissingIconsImagesAndBadArguments) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  varnel::test::TempDir dir;
  std::string out = " -o " + dir.File("out.png");
  std::string python = varnel::test::CorpusPath("ico/python.ico");
  Result noIcon = RunCli("thumbnail " + python + " --index 1" + out);
  EXPECT_EQ(noIcon.status, 1);
  EXPECT_NE(noIcon.out.find(": no icon 1 (the file holds 1 icon)"), std::string::npos)
      << noIcon.out;
  Result noImage = RunCli("thumbnail " + python + " --exact --size 20" + out);
  EXPECT_EQ(noImage.status, 1);
  EXPECT_NE(noImage.out.find(": icon 0 has no image of 20x20x32"), std::string::npos)
      << noImage.out;
  EXPECT_FALSE(std::filesystem::exists(dir.File("out.png")));
  EXPECT_EQ(RunCli("thumbnail /nonexistent.ico" + out).status, 1);
  EXPECT_EQ(RunCli("thumbnail " + python).status, 2);  // no output
  EXPECT_EQ(RunCli("thumbnail " + python + " --size 0" + out).status, 2);
  EXPECT_EQ(RunCli("thumbnail " + python + " --background red" + out).status, 2);
  EXPECT_EQ(RunCli("thumbnail " + python + " --index" + out).status, 2);
  EXPECT_EQ(RunCli("thumbnail " + python + " --frobnicate" + out).status, 2);
  EXPECT_EQ(RunCli("thumbnail " + python + " " + python + out).status, 2);
}

}  // namespace
