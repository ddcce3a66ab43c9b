// Modules and resource files built with mingw-w64's windres and ld from an .rc script, checked
// against what icoutils reports for them.

#include "resources/containericons.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "base/byteorder.h"
#include "base/fileio.h"
#include "realmodules.h"
#include "resources/pefile.h"
#include "resources/resimport.h"
#include "support/corpus.h"

namespace varnel {
namespace {

// String-named and numeric icon groups, group 101 in two languages, cursors, and a 256-pixel
// PNG-compressed image (in bug785447.ico).
constexpr const char* kScript = R"(LANGUAGE 9, 1
MAINICON ICON "python.ico"
101 ICON "black_and_white.ico"
BIG ICON "bug785447.ico"
LANGUAGE 7, 1
101 ICON "python.ico"
LANGUAGE 9, 1
POINTER CURSOR "sample.cur"
7 CURSOR "sample.cur"
)";

bool HaveTool(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Builds t<bits>.dll and t.res in dir; false when the tools or sample files are missing.
bool BuildSamples(const test::TempDir& dir) {
  for (const char* tool :
       {"x86_64-w64-mingw32-windres", "x86_64-w64-mingw32-ld", "i686-w64-mingw32-windres",
        "i686-w64-mingw32-ld", "wrestool", "icotool"})
    if (!HaveTool(tool)) return false;
  for (const char* file :
       {"ico/python.ico", "ico/black_and_white.ico", "ico/bug785447.ico", "cur/sample.cur"}) {
    std::error_code error;
    std::filesystem::copy_file(test::CorpusPath(file),
                               dir.File(std::filesystem::path(file).filename()), error);
    if (error) return false;
  }
  std::ofstream(dir.File("t.rc")) << kScript;
  std::string cd = "cd '" + dir.Path() + "' && ";
  return std::system((cd + "x86_64-w64-mingw32-windres t.rc -O coff -o t64.o && "
                           "x86_64-w64-mingw32-ld --dll -e 0 t64.o -o t64.dll && "
                           "i686-w64-mingw32-windres t.rc -O coff -o t32.o && "
                           "i686-w64-mingw32-ld --dll -e 0 t32.o -o t32.dll && "
                           "x86_64-w64-mingw32-windres t.rc -O res -o t.res")
                         .c_str()) == 0;
}

// "WIDTHxHEIGHTxBITS" per image of the group icotool lists after wrestool extracts it.
std::vector<std::string> IcotoolImages(const std::string& module, const std::string& group,
                                       const std::string& language) {
  // icotool reads PNG images only from a file it can seek in, not from a pipe.
  std::string extracted = module + "." + group + "." + language + ".ico";
  std::string output = test::RunCommand(
      "wrestool -x --type=14 --name=" + group + " --language=" + language + " -o '" + extracted +
      "' '" + module + "' 2>/dev/null && icotool -l '" + extracted + "' 2>/dev/null");
  std::regex line("--width=(\\d+) --height=(\\d+) --bit-depth=(\\d+)");
  std::vector<std::string> images;
  for (auto it = std::sregex_iterator(output.begin(), output.end(), line);
       it != std::sregex_iterator(); ++it)
    images.push_back((*it)[1].str() + "x" + (*it)[2].str() + "x" + (*it)[3].str());
  return images;
}

std::vector<std::string> OurImages(const TAdvancedIcon& icon) {
  std::vector<std::string> images;
  for (const auto& image : icon.Images())
    images.push_back(std::to_string(image->ImageWidth()) + "x" +
                     std::to_string(image->ImageHeight()) + "x" +
                     std::to_string(image->BitsPerPixel()));
  return images;
}

class WindresSamples : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!BuildSamples(dir_))
      GTEST_SKIP() << "needs mingw-w64 (windres, ld), icoutils and the sample corpus";
  }
  test::TempDir dir_;
};

TEST_F(WindresSamples, ResourceListsMatchWrestool) {
  for (const char* dll : {"t32.dll", "t64.dll"}) {
    TPEResourceModule module;
    module.DecodeFile(dir_.File(dll));
    EXPECT_EQ(module.IsPE32Plus(), std::string(dll) == "t64.dll");
    EXPECT_EQ(test::ModuleTriples(module), test::WrestoolTriples(dir_.File(dll))) << dll;
    EXPECT_EQ(module.ResourceCount(), 33);
  }
}

TEST_F(WindresSamples, GroupIconsMatchIcotool) {
  for (const char* dll : {"t32.dll", "t64.dll"}) {
    TIconList icons;
    ReadContainerIcons(dir_.File(dll), icons);
    ASSERT_EQ(icons.Count(), 6) << dll;
    std::vector<std::string> names;
    for (int i = 0; i < icons.Count(); ++i) names.push_back(icons.Names(i));
    // The cursor groups follow the icon groups.
    EXPECT_EQ(names, (std::vector<std::string>{"BIG", "MAINICON", "101", "101", "POINTER", "7"}));
    for (int i = 4; i < 6; ++i) {
      ASSERT_EQ(icons.Icons(i)->Images().Count(), 1);
      EXPECT_EQ(icons.Icons(i)->Images()[0]->HotSpot(), 1u + (24u << 16));
    }
    for (int i = 0; i < 4; ++i) {
      // Each "101" icon holds the images of its own language: 1031 is listed first.
      std::string language = i == 2 ? "1031" : "1033";
      EXPECT_EQ(OurImages(*icons.Icons(i)),
                IcotoolImages(dir_.File(dll), names[size_t(i)], language))
          << dll << " " << names[size_t(i)];
    }
    EXPECT_EQ(icons.Icons(2)->Images().Count(), 3);
    EXPECT_EQ(icons.Icons(3)->Images().Count(), 1);
    bool packed256 = false;
    for (const auto& image : icons.Icons(0)->Images())
      packed256 |= image->Packed() && image->ImageWidth() == 256;  // read from PNG data
    EXPECT_TRUE(packed256);
  }
}

TEST_F(WindresSamples, UnchangedRewriteKeepsEverything) {
  for (const char* dll : {"t32.dll", "t64.dll"}) {
    TPEResourceModule module;
    module.DecodeFile(dir_.File(dll));
    module.SaveToFile(dir_.File("copy.dll"));
    TPEResourceModule reread;
    reread.DecodeFile(dir_.File("copy.dll"));
    EXPECT_EQ(test::ModuleTriples(reread), test::ModuleTriples(module));
    for (int i = 0; i < module.ResourceCount(); ++i) {
      EXPECT_TRUE(std::ranges::equal(reread.ResourceDetails(i)->Bytes(),
                                     module.ResourceDetails(i)->Bytes()));
      EXPECT_EQ(reread.ResourceDetails(i)->NameIsString, module.ResourceDetails(i)->NameIsString);
    }
    EXPECT_EQ(test::WrestoolTriples(dir_.File("copy.dll")), test::WrestoolTriples(dir_.File(dll)));
  }
}

TEST_F(WindresSamples, ResFileGroupsTakeTheImagesTheyName) {
  // windres writes records by type: cursor images, icon images, then the groups; each group
  // takes the images its entries name, in its own language.
  TIconList icons;
  ImportResourceFile(dir_.File("t.res"), icons);
  std::vector<std::string> found;
  for (int i = 0; i < icons.Count(); ++i)
    found.push_back(icons.Names(i) + ":" + std::to_string(icons.Icons(i)->Images().Count()));
  for (const char* expected : {"POINTER:1", "7:1", "MAINICON:3", "BIG:18", "101:1", "101:3"})
    EXPECT_EQ(std::count(found.begin(), found.end(), expected), 1) << expected;
  EXPECT_EQ(found.size(), 6u);
  for (int i = 0; i < icons.Count(); ++i) {
    if (icons.Names(i) == "POINTER")
      EXPECT_EQ(icons.Icons(i)->Images()[0]->HotSpot(), 1u + (24u << 16));
    if (icons.Names(i) == "MAINICON")
      EXPECT_EQ(OurImages(*icons.Icons(i)),
                (std::vector<std::string>{"16x16x32", "32x32x32", "48x48x32"}));
  }
}

}  // namespace
}  // namespace varnel
