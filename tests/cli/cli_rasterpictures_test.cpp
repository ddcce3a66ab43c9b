// varnel-cli over picture files: list shows them, import writes XPM and XBM files.

#include <gtest/gtest.h>

#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using varnel::test::RunCli;

TEST(CliRasterPicturesTest, ListShowsPicturesThatSearchesPassBy) {
  VARNEL_SKIP_WITHOUT_CORPUS("pcx/rgb.pcx", "psd/hopper.psd", "xbm/hopper.xbm");
  auto listed = RunCli("list " + varnel::test::CorpusPath("pcx/rgb.pcx") + " " +
                       varnel::test::CorpusPath("psd/hopper.psd") + " " +
                       varnel::test::CorpusPath("xbm/hopper.xbm"));
  EXPECT_EQ(listed.status, 0) << listed.out;
  EXPECT_NE(listed.out.find("[0] rgb: 32x32x32bpp"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("[0] hopper: 128x128x16M, 128x128x16M, 128x128x32bpp"),
            std::string::npos);
  EXPECT_NE(listed.out.find("[0] hopper: 128x128x2"), std::string::npos);
}

TEST(CliRasterPicturesTest, ImportWritesTheFirstIconAsXpmOrXbm) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "xbm/valid.1.xbm");
  varnel::test::TempDir dir;
  auto xpm = RunCli("import --quiet " + varnel::test::CorpusPath("ico/python.ico") + " -o " + "'" +
                    dir.File("Python Logo.xpm") + "'");
  ASSERT_EQ(xpm.status, 0) << xpm.out;
  std::string text = varnel::test::FileText(dir.File("Python Logo.xpm"));
  EXPECT_EQ(
      text.rfind("/* XPM */ \nstatic const unsigned char * python_logo_xpm[] = {\n\"48 48 ", 0), 0u)
      << text.substr(0, 100);
  // What was written reads back as the same picture.
  auto back = RunCli("list '" + dir.File("Python Logo.xpm") + "'");
  EXPECT_NE(back.out.find("Python Logo: 48x48x16M"), std::string::npos) << back.out;

  auto xbm = RunCli("import --quiet " + varnel::test::CorpusPath("xbm/valid.1.xbm") + " -o " +
                    dir.File("copy.xbm"));
  ASSERT_EQ(xbm.status, 0) << xbm.out;
  EXPECT_EQ(varnel::test::FileText(dir.File("copy.xbm"))
                .rfind("#define copy_width 20\n#define copy_height 20\n#define copy_x_hot 10\n"
                       "#define copy_y_hot 10\nstatic char copy_bits[] = {\n",
                       0),
            0u);
}

}  // namespace
