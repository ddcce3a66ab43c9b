// varnel-cli export and sheet on real icons and modules, with icotool as the oracle of the icon
// files written.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "base/fileio.h"
#include "cli/clirunner.h"
#include "graphics/bmpcodec.h"
#include "graphics/gifcodec.h"
#include "graphics/pngcodec.h"
#include "support/corpus.h"

namespace {

namespace fs = std::filesystem;
using varnel::test::RunCli;
using varnel::test::RunCommand;
using Formats = std::vector<std::string>;  // "WxHxBPP", sorted

std::string Quoted(const std::string& path) {
  return "'" + path + "'";
}

Formats Sorted(Formats formats) {
  std::sort(formats.begin(), formats.end());
  return formats;
}

Formats Matches(const std::string& text, const std::regex& pattern) {
  Formats formats;
  for (std::sregex_iterator it(text.begin(), text.end(), pattern), end; it != end; ++it)
    formats.push_back((*it)[1].str() + "x" + (*it)[2].str() + "x" + (*it)[3].str());
  return formats;
}

// The images of every icon varnel-cli list reports for a file.
Formats ListedFormats(const std::string& file) {
  static const std::regex image(R"re("width": (\d+), "height": (\d+), "bpp": (\d+))re");
  return Sorted(Matches(RunCli("list --json " + Quoted(file)).out, image));
}

// The images icotool reads from an icon or cursor file.
Formats IcotoolFormatsOf(const std::string& file) {
  static const std::regex image(R"(--width=(\d+) --height=(\d+) --bit-depth=(\d+))");
  return Matches(RunCommand("icotool --list " + Quoted(file) + " 2>/dev/null").out, image);
}

// The images icotool reads from every icon file of a folder.
Formats IcotoolFormats(const std::string& folder, int& files) {
  Formats formats;
  files = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    ++files;
    for (const std::string& format : IcotoolFormatsOf(entry.path().string()))
      formats.push_back(format);
  }
  return Sorted(formats);
}

// What icotool should find in the files exported from input: the images the list reports,
// except where icotool itself refuses some images of an icon file (their bytes are copied
// unchanged, so it refuses them again).
Formats ExpectedFormats(const std::string& input, const Formats& listed) {
  if (!input.ends_with(".ico") && !input.ends_with(".cur")) return listed;
  Formats original = Sorted(IcotoolFormatsOf(input));
  return original.size() < listed.size() ? original : listed;
}

std::vector<std::string> ExportInputs() {
  std::vector<std::string> files = varnel::test::CorpusFiles("ico", {".ico"});
  for (const std::string& cursor : varnel::test::CorpusFiles("cur", {".cur"}))
    files.push_back(cursor);
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/usr/share/nsis/Stubs", error))
    if (!entry.path().string().ends_with("/uninst")) files.push_back(entry.path().string());
  return files;
}

TEST(CliExport, IconFilesHoldTheImagesTheListReports) {
  if (RunCommand("icotool --version").status != 0) GTEST_SKIP() << "icotool is missing";
  std::vector<std::string> inputs = ExportInputs();
  if (inputs.empty()) GTEST_SKIP() << "no sample files";
  for (const std::string& input : inputs) {
    Formats listed = ListedFormats(input);
    varnel::test::TempDir dir;
    auto result = RunCli("export " + Quoted(input) + " -o " + Quoted(dir.Path()));
    if (listed.empty()) continue;  // files the reader rejects have nothing to export
    EXPECT_EQ(result.status, 0) << input << ": " << result.out;
    int files = 0;
    EXPECT_EQ(IcotoolFormats(dir.Path(), files), ExpectedFormats(input, listed)) << input;
    EXPECT_GE(files, 1) << input;
  }
}

TEST(CliExport, ExistingFilesAreSkippedRenamedOrOverwritten) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "ico/hopper.ico");
  varnel::test::TempDir dir;
  std::string input = Quoted(varnel::test::CorpusPath("ico/python.ico"));
  std::string out = " -o " + Quoted(dir.Path());
  ASSERT_EQ(RunCli("export " + input + out).status, 0);
  ASSERT_EQ(RunCli("export " + input + out + " --rename").status, 0);
  ASSERT_EQ(RunCli("export " + input + out + " --rename").status, 0);
  int files = 0;
  IcotoolFormats(dir.Path(), files);
  EXPECT_EQ(files, 3);
  std::string first = (*fs::directory_iterator(dir.Path())).path().string();
  auto before = fs::file_size(first);
  ASSERT_EQ(
      RunCommand("cp " + Quoted(varnel::test::CorpusPath("ico/hopper.ico")) + " " + Quoted(first))
          .status,
      0);
  ASSERT_EQ(RunCli("export " + input + out + " --skip").status, 0);
  EXPECT_NE(fs::file_size(first), before);
  // Without an answer given, existing files are kept and the run fails naming them.
  auto plain = RunCli("export " + input + out);
  EXPECT_EQ(plain.status, 1);
  EXPECT_NE(plain.out.find("exists; not written"), std::string::npos) << plain.out;
  EXPECT_NE(fs::file_size(first), before);
  ASSERT_EQ(RunCli("export " + input + out + " --overwrite").status, 0);
  IcotoolFormats(dir.Path(), files);
  EXPECT_EQ(files, 3);
}

// A group present in two languages gives two icons of one name: within one run the second file
// is named as the ZIP save names it, while --skip still concerns files there before the run.
TEST(CliExport, NamesMadeInOneRunAreUnique) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "ico/hopper.ico");
  if (RunCommand("x86_64-w64-mingw32-windres --version").status != 0)
    GTEST_SKIP() << "windres (mingw-w64) is missing";
  varnel::test::TempDir dir;
  std::ofstream(dir.File("two.rc"))
      << "LANGUAGE 9, 1\n100 ICON \"" << varnel::test::CorpusPath("ico/python.ico")
      << "\"\nLANGUAGE 7, 1\n100 ICON \"" << varnel::test::CorpusPath("ico/hopper.ico") << "\"\n";
  ASSERT_EQ(RunCommand("x86_64-w64-mingw32-windres " + Quoted(dir.File("two.rc")) + " -O res -o " +
                       Quoted(dir.File("two.res")))
                .status,
            0);
  std::string command = "export " + Quoted(dir.File("two.res")) + " -o " + Quoted(dir.File("out"));
  auto first = RunCli(command);
  EXPECT_EQ(first.status, 0) << first.out;
  EXPECT_TRUE(fs::exists(dir.File("out/100.ico")));
  EXPECT_TRUE(fs::exists(dir.File("out/100 (2).ico")));
  auto again = RunCli(command + " --skip");
  EXPECT_EQ(again.status, 0) << again.out;
  int files = 0;
  IcotoolFormats(dir.File("out"), files);
  EXPECT_EQ(files, 2);
}

TEST(CliExport, AllImagesArePicturesNumberedFromZero) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  varnel::test::TempDir dir;
  auto result = RunCli("export " + Quoted(varnel::test::CorpusPath("ico/python.ico")) +
                       " --all-images --format png -o " + Quoted(dir.Path()));
  ASSERT_EQ(result.status, 0) << result.out;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.Path()))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  ASSERT_EQ(names.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(names[i].ends_with("-" + std::to_string(i) + ".png"));
  // The pictures hold the pixels the grid's exact view draws (python.ico: 16, 32, 48, 32-bit).
  if (fs::exists("/usr/bin/convert")) {
    for (int i = 0; i < 3; ++i) {
      std::string size = std::to_string(16 * (i + 1));
      std::string thumbnail = dir.File("thumb" + size + ".out");
      ASSERT_EQ(RunCli("thumbnail " + Quoted(varnel::test::CorpusPath("ico/python.ico")) +
                       " --exact --bpp 32 --size " + size + " -o " + Quoted(thumbnail))
                    .status,
                0);
      auto rgba = [](const std::string& file) {
        return RunCommand("convert png:" + Quoted(file) + " -depth 8 rgba:-").out;
      };
      EXPECT_EQ(rgba(dir.File(names[size_t(i)])), rgba(thumbnail)) << names[size_t(i)];
    }
  }
  EXPECT_NE(RunCli("export x.ico -o " + Quoted(dir.Path()) + " --format tga").status, 0);
}

// The pixels of a picture, rows from the top, as 0xAARRGGBB; fully transparent pixels are 0.
using Pixels = std::vector<uint32_t>;

uint32_t Pixel(varnel::TColor color, uint32_t alpha) {
  if (alpha == 0) return 0;
  return alpha << 24 | uint32_t(varnel::GetRValue(color)) << 16 |
         uint32_t(varnel::GetGValue(color)) << 8 | varnel::GetBValue(color);
}

Pixels PixelsOf(const varnel::TBitmap& bitmap) {
  Pixels pixels;
  bool alpha = bitmap.Format() == varnel::PixelFormat::Bits32;
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x)
      pixels.push_back(Pixel(bitmap.GetPixel(x, y), alpha ? bitmap.ScanLine(y)[4 * x + 3] : 255));
  return pixels;
}

Pixels PicturePixels(const std::string& path) {
  std::vector<uint8_t> bytes = varnel::ReadWholeFile(path);
  if (path.ends_with(".png")) return PixelsOf(varnel::DecodePngRgba(bytes));
  if (path.ends_with(".bmp")) return PixelsOf(varnel::LoadBmp(bytes));
  varnel::GifPicture gif = varnel::DecodeGif(bytes);
  const varnel::GifFrame& frame = gif.frames.at(0);
  Pixels pixels;
  for (uint8_t index : frame.pixels) {
    bool clear = frame.Transparent() && index == frame.control->transparentIndex;
    pixels.push_back(Pixel(gif.MapOf(frame).at(index).ToColor(), clear ? 0 : 255));
  }
  return pixels;
}

// PNG pictures are compared everywhere; GIF pictures, of one transparent colour, where the
// reference is opaque or clear; BMP pictures, without alpha, where it is opaque.
bool SamePixels(const Pixels& ours, const Pixels& reference, const std::string& format) {
  if (ours.size() != reference.size()) return false;
  for (size_t i = 0; i < ours.size(); ++i) {
    uint32_t alpha = reference[i] >> 24;
    bool compared = format == "png" || alpha == 255 || (format == "gif" && alpha == 0);
    if (compared && ours[i] != reference[i]) return false;
  }
  return true;
}

// Every image of wine's shell32.dll, most of them of 16 colours with their own greys: PNG
// pictures as icotool writes them, GIF and BMP pictures of palette images with their colours.
TEST(CliExport, PicturesOfModuleImagesHoldTheirPixelsAsIcotoolWritesThem) {
  const std::string module = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/shell32.dll";
  if (!fs::exists(module) || RunCommand("icotool --version").status != 0 ||
      RunCommand("wrestool --version").status != 0)
    GTEST_SKIP() << "needs wine64 and icoutils";
  varnel::test::TempDir dir;
  ASSERT_EQ(RunCommand("cd " + Quoted(dir.Path()) + " && wrestool -x -t 14 -o . " + Quoted(module) +
                       " && icotool -x *.ico")
                .status,
            0);
  static const std::regex reference(R"(_14_([^_]+)_\d+_(\d+)_\d+x\d+x(\d+)\.png$)");
  for (const std::string format : {"png", "gif", "bmp"}) {
    std::string out = dir.File(format);
    ASSERT_EQ(RunCli("export " + Quoted(module) + " --all-images --format " + format + " -o " +
                     Quoted(out))
                  .status,
              0);
    int total = 0, equal = 0;
    for (const auto& entry : fs::directory_iterator(dir.Path())) {
      std::string name = entry.path().filename().string();
      std::smatch match;
      if (!std::regex_search(name, match, reference)) continue;
      if (format != "png" && std::stoi(match[3].str()) > 8) continue;  // those take 256 colours
      ++total;
      std::string ours = out + "/" + match[1].str() + "-" +
                         std::to_string(std::stoi(match[2].str()) - 1) + "." + format;
      if (fs::exists(ours) && SamePixels(PicturePixels(ours), PicturePixels(entry.path()), format))
        ++equal;
    }
    EXPECT_GT(total, 500) << format;
    EXPECT_EQ(equal, total) << format;
  }
}

TEST(CliSheet, FortyFiveIconsInTwentyColumnsAndTwoRows) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  varnel::test::TempDir dir;
  std::string inputs;
  for (int i = 0; i < 45; ++i) inputs += Quoted(varnel::test::CorpusPath("ico/python.ico")) + " ";
  auto result = RunCli("sheet " + inputs + "--columns 20 --rows 2 -o " + dir.File("name.png"));
  ASSERT_EQ(result.status, 0) << result.out;
  EXPECT_NE(result.out.find("2 images saved. Last image: " + dir.File("name02.png")),
            std::string::npos);
  EXPECT_TRUE(fs::exists(dir.File("name01.png")));
  EXPECT_FALSE(fs::exists(dir.File("name03.png")));
  result = RunCli("sheet " + inputs.substr(0, inputs.find(' ') + 1) + "--cell 48x48 -o " +
                  dir.File("one.bmp"));
  ASSERT_EQ(result.status, 0) << result.out;
  EXPECT_TRUE(fs::exists(dir.File("one.bmp")));
  EXPECT_EQ(RunCli("sheet x.ico --bpp 8 -o " + dir.File("x.png")).status, 2);
}

}  // namespace
