// Mac icon files (the corpus, families png2icns makes from icon-theme pictures, and families we
// write) compared pixel for pixel with what Pillow decodes from the same elements.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "base/fileio.h"
#include "icons/icnswriter.h"
#include "icons/icondrawing.h"
#include "icons/macicon.h"
#include "support/corpus.h"
#include "support/process.h"

namespace varnel {
namespace {

constexpr char kPython[] = "/usr/bin/python3";

// Writes every picture Pillow finds in an ICNS file to DIR/W.rgba (RGBA, top row first) and
// prints one line per picture: its pixel width and height, and 0 when Pillow lost its
// transparency (the plugin drops the tRNS chunk of palette PNG elements), else 1.
constexpr char kDumpScript[] = R"(
import sys
from PIL import Image
path, out = sys.argv[1], sys.argv[2]
for size in sorted(Image.open(path).info['sizes']):
    im = Image.open(path)
    im.size = size
    im.load()
    rgba = im.convert('RGBA')
    open('%s/%d.rgba' % (out, rgba.size[0]), 'wb').write(rgba.tobytes())
    print(rgba.size[0], rgba.size[1], 0 if im.mode == 'P' else 1)
)";

struct PillowPicture {
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
  bool withAlpha = true;
};

bool HavePillow() {
  return test::RunCommand(std::string(kPython) + " -c 'import PIL.IcnsImagePlugin'").status == 0;
}

std::vector<PillowPicture> PillowPictures(const std::string& path, const test::TempDir& dir) {
  test::WriteText(dir.File("dump.py"), kDumpScript);
  test::ProcessResult result = test::RunCommand(std::string(kPython) + " " + dir.File("dump.py") +
                                                " '" + path + "' " + dir.Path() + " 2>/dev/null");
  std::vector<PillowPicture> pictures;
  std::istringstream lines(result.out);
  PillowPicture picture;
  while (lines >> picture.width >> picture.height >> picture.withAlpha) {
    picture.rgba = ReadWholeFile(dir.File(std::to_string(picture.width) + ".rgba"));
    pictures.push_back(picture);
  }
  return pictures;
}

TBitmap Rgba(const TSubIcon& image) {
  TBitmap rgba(image.ImageWidth(), image.ImageHeight(), PixelFormat::Bits32);
  DrawMasked(rgba, 0, 0, clNone, image);
  return rgba;
}

// Alpha everywhere, colour where the pixel is not fully transparent: the reader clears white
// under alpha 0, where Pillow keeps it. Without Pillow's alpha, colours where ours is opaque.
bool SamePixels(const TBitmap& ours, const PillowPicture& theirs) {
  if (ours.Width() != theirs.width || ours.Height() != theirs.height) return false;
  for (int y = 0; y < ours.Height(); ++y)
    for (int x = 0; x < ours.Width(); ++x) {
      const uint8_t* mine = ours.ScanLine(y) + 4 * x;
      const uint8_t* expected = &theirs.rgba[(size_t(y) * theirs.width + x) * 4];
      if (theirs.withAlpha && mine[3] != expected[3]) return false;
      if (mine[3] != 0 &&
          (mine[2] != expected[0] || mine[1] != expected[1] || mine[0] != expected[2]))
        return false;
    }
  return true;
}

PillowPicture AsPicture(const TBitmap& bitmap) {
  PillowPicture picture{bitmap.Width(), bitmap.Height(), {}, true};
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) {
      const uint8_t* pixel = bitmap.ScanLine(y) + 4 * x;
      picture.rgba.insert(picture.rgba.end(), {pixel[2], pixel[1], pixel[0], pixel[3]});
    }
  return picture;
}

// Every picture Pillow decodes is one of our images, pixel for pixel.
void ExpectPillowPicturesAmongImages(const std::string& path, const TAdvancedIcon& icon) {
  test::TempDir dir;
  std::vector<PillowPicture> pictures = PillowPictures(path, dir);
  ASSERT_FALSE(pictures.empty()) << path;
  for (const PillowPicture& picture : pictures) {
    bool found = false;
    for (const auto& image : icon.Images()) found = found || SamePixels(Rgba(*image), picture);
    EXPECT_TRUE(found) << path << ": no image equals Pillow's " << picture.width << "x"
                       << picture.height;
  }
}

class MacIconOracleTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!HavePillow()) GTEST_SKIP() << "Pillow is not installed";
  }
};

TEST_F(MacIconOracleTest, CorpusFamiliesEqualPillowPerElementSize) {
  std::vector<std::string> files = test::CorpusFiles("icns", {".icns"});
  VARNEL_SKIP_WITHOUT_FILES(files, "ICNS files");
  for (const std::string& file : files) {
    if (file.find("legacy") != std::string::npos || file.find("variants") != std::string::npos ||
        file.find("icp4rgb") != std::string::npos)
      continue;  // Pillow reads no picture of these (indexed, nested or RGB-in-icp4 elements)
    TAdvancedIcon icon;
    ImportMacIcon(file, icon);
    ExpectPillowPicturesAmongImages(file, icon);
  }
}

TEST_F(MacIconOracleTest, Png2icnsFamiliesOfThemeIconsEqualPillow) {
  const std::string theme = "/usr/share/icons/Adwaita/";
  std::vector<std::string> pngs;
  for (const char* size : {"16x16", "32x32", "48x48", "128x128", "256x256", "512x512"})
    if (std::string png = theme + size + "/places/folder.png"; std::filesystem::exists(png))
      pngs.push_back(png);
  if (pngs.size() < 2 || test::RunCommand("command -v png2icns").status != 0)
    GTEST_SKIP() << "png2icns or the Adwaita folder icons are missing";
  test::TempDir dir;
  std::string icns = dir.File("folder.icns");
  std::string command = "png2icns " + icns;
  for (const std::string& png : pngs) command += " " + png;
  ASSERT_EQ(test::RunCommand(command).status, 0);
  TAdvancedIcon icon;
  ImportMacIcon(icns, icon);
  EXPECT_EQ(icon.Images().Count(), int(pngs.size()));
  ExpectPillowPicturesAmongImages(icns, icon);
}

TEST_F(MacIconOracleTest, WrittenFamilyReadsBackInPillowAndIcns2png) {
  VARNEL_SKIP_WITHOUT_CORPUS("icns/pillow2.icns");
  TAdvancedIcon source;
  ImportMacIcon(test::CorpusPath("icns/pillow2.icns"), source);
  test::TempDir dir;
  std::string written = dir.File("written.icns");
  SaveIconAsIcns(source, written);

  // 512 is the largest: 16, 32, 64 (resampled), 128, 256, 512, and the @2x elements of the
  // sizes the icon has (ic11 32, ic13 256, ic14 512).
  TAdvancedIcon reread;
  ImportMacIcon(written, reread);
  std::vector<int> widths;
  for (const auto& image : reread.Images()) widths.push_back(image->ImageWidth());
  EXPECT_EQ(widths, (std::vector<int>{512, 512, 256, 256, 128, 64, 32, 32, 16}));
  ExpectPillowPicturesAmongImages(written, reread);
  for (const auto& image : reread.Images()) {
    TSubIcon* original = source.FindImage(image->ImageWidth(), image->ImageHeight(), 32);
    if (original) {
      EXPECT_TRUE(SamePixels(Rgba(*image), AsPicture(Rgba(*original))));
    }
  }

  if (test::RunCommand("command -v icns2png").status != 0) return;
  test::ProcessResult listing = test::RunCommand("icns2png -l " + written);
  EXPECT_EQ(listing.status, 0);
  for (const char* type : {"'TOC '", "'icp4'", "'ic07'", "'ic08'", "'ic09'", "'ic14'"})
    EXPECT_NE(listing.out.find(type), std::string::npos) << type << " in\n" << listing.out;
}

}  // namespace
}  // namespace varnel
