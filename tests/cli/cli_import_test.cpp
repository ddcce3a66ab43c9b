// varnel-cli info and import, and list over what import wrote.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using Result = varnel::test::ProcessResult;
using varnel::test::RunCli;
using varnel::test::RunCommand;

size_t Lines(const std::string& text) {
  return size_t(std::count(text.begin(), text.end(), '\n'));
}

TEST(CliInfoTest, KindsAreReadableAndMissingFilesAndFoldersFail) {
  const char* rar = "rar/test_read_format_rar5_stored.rar";
  const char* cmyk = "jpeg/pil_sample_cmyk.jpg";
  const char* cursor = "cur/sample.cur";
  VARNEL_SKIP_WITHOUT_CORPUS(rar, cmyk, cursor);
  varnel::test::TempDir dir;
  std::ofstream(dir.File("empty"));
  std::ofstream(dir.File("three")) << "abc";
  Result result = RunCli("info " + dir.File("empty") + " " + dir.File("three") + " " +
                         varnel::test::CorpusPath(rar) + " " + varnel::test::CorpusPath(cmyk) +
                         " " + varnel::test::CorpusPath(cursor));
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            dir.File("empty") + ": empty file\n" + dir.File("three") + ": not recognised\n" +
                varnel::test::CorpusPath(rar) + ": RAR archive\n" + varnel::test::CorpusPath(cmyk) +
                ": CMYK JPEG image\n" + varnel::test::CorpusPath(cursor) + ": cursor file\n");

  Result failing =
      RunCli("info " + dir.File("missing") + " " + dir.Path() + " " + dir.File("three"));
  EXPECT_EQ(failing.status, 1);
  EXPECT_NE(failing.out.find("varnel-cli: " + dir.File("missing") + ": no such file"),
            std::string::npos)
      << failing.out;
  EXPECT_NE(failing.out.find("varnel-cli: " + dir.Path() + ": is a folder"), std::string::npos);
  EXPECT_NE(failing.out.find("three: not recognised"), std::string::npos);
}

TEST(CliInfoTest, ModulesByWidthAndTheInternalKindsInJson) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  varnel::test::TempDir dir;
  std::string python = varnel::test::CorpusPath("ico/python.ico");
  ASSERT_EQ(RunCli("library " + python + " -o " + dir.File("pe.icl")).status, 0);
  ASSERT_EQ(RunCli("library --16bit " + python + " -o " + dir.File("ne.icl")).status, 0);
  Result text = RunCli("info " + dir.File("pe.icl") + " " + dir.File("ne.icl"));
  EXPECT_EQ(text.out, dir.File("pe.icl") + ": module (32-bit PE)\n" + dir.File("ne.icl") +
                          ": module (16-bit NE)\n");
  Result json = RunCli("info --json " + dir.File("ne.icl") + " " + python);
  EXPECT_EQ(json.status, 0);
  EXPECT_EQ(json.out, "{\"file\": \"" + dir.File("ne.icl") +
                          "\", \"kind\": \"fkModule\", \"sub_kind\": 1, \"description\": "
                          "\"module (16-bit NE)\"}\n{\"file\": \"" +
                          python +
                          "\", \"kind\": \"fkIcon\", \"sub_kind\": 1, \"description\": "
                          "\"icon file\"}\n");
}

TEST(CliImportTest, CollectionOfFilesReadsBackItemForItem) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "cur/sample.cur", "ani/test-animation.ani",
                             "png/basn6a08.png");
  varnel::test::TempDir dir;
  std::string inputs = varnel::test::CorpusPath("ico/python.ico") + " " +
                       varnel::test::CorpusPath("cur/sample.cur") + " " +
                       varnel::test::CorpusPath("ani/test-animation.ani") + " " +
                       varnel::test::CorpusPath("png/basn6a08.png");
  Result imported = RunCli("import --quiet " + inputs + " -o " + dir.File("c.icc"));
  EXPECT_EQ(imported.status, 0) << imported.out;
  Result listed = RunCli("list " + dir.File("c.icc"));
  EXPECT_EQ(Lines(listed.out), 4u) << listed.out;
  EXPECT_NE(listed.out.find("[0] python: 16x16x32bpp, 32x32x32bpp, 48x48x32bpp"),
            std::string::npos);
  EXPECT_NE(listed.out.find("[3] basn6a08: 32x32x32bpp"), std::string::npos);
}

TEST(CliImportTest, FailingFilesAreReportedAndTheRestIsSaved) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico", "cur/sample.cur");
  varnel::test::TempDir dir;
  std::ofstream(dir.File("notes.txt")) << "no icons here at all";
  Result imported =
      RunCli("import --quiet " + dir.File("notes.txt") + " " +
             varnel::test::CorpusPath("ico/python.ico") + " -o " + dir.File("out.zip"));
  EXPECT_EQ(imported.status, 1);
  EXPECT_NE(imported.out.find(dir.File("notes.txt") + ": no icons found: not recognised"),
            std::string::npos)
      << imported.out;
  std::ifstream zip(dir.File("out.zip"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(zip)), {});
  EXPECT_NE(bytes.find("python.ico"), std::string::npos);
  EXPECT_EQ(RunCli("import " + dir.File("notes.txt")).status, 2);

  // A folder is searched with its subfolders for the files of the scan mask.
  std::filesystem::create_directories(dir.Path() + "/tree/sub");
  std::filesystem::copy_file(varnel::test::CorpusPath("cur/sample.cur"),
                             dir.Path() + "/tree/sub/s.cur");
  Result folder = RunCli("import --quiet " + dir.Path() + "/tree -o " + dir.File("f.icc"));
  EXPECT_EQ(folder.status, 0) << folder.out;
  EXPECT_NE(RunCli("list " + dir.File("f.icc")).out.find("[0] s: 23x42x16M"), std::string::npos);
}

// import, scan and dedup save by the output's extension: one they cannot write is refused
// before anything is read or written.
TEST(CliImportTest, OutputsOfAnUnknownExtensionAreUsageErrors) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/python.ico");
  varnel::test::TempDir dir;
  std::string python = varnel::test::CorpusPath("ico/python.ico");
  for (const char* name : {"x.ico", "x.png", "x.xyz", "noextension"}) {
    SCOPED_TRACE(name);
    std::string out = dir.File(name);
    // import writes its first icon to an .ico OUT (an icon file), so that name is left to the
    // other commands.
    bool icon = std::string(name) == "x.ico";
    for (const std::string& command : {icon ? "dedup " + python : "import --quiet " + python,
                                       "scan --quiet " + dir.Path(), "dedup " + python}) {
      Result result = RunCli(command + " -o " + out);
      EXPECT_EQ(result.status, 2) << command;
      // import names every output it writes: the collection's and the icon save table's.
      bool import = command.starts_with("import");
      EXPECT_NE(result.out.find(import ? ".icc, .icl, .dll, .zip, .ico, .cur, .xpm, .xbm, .icpr "
                                         "or .icns"
                                       : ".icc, .icl, .dll or .zip"),
                std::string::npos)
          << result.out;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
  }
  Result upper = RunCli("import --quiet " + python + " -o " + dir.File("X.ICL"));
  EXPECT_EQ(upper.status, 0) << upper.out;
  EXPECT_NE(RunCli("info " + dir.File("X.ICL")).out.find("module (32-bit PE)"), std::string::npos);
}

}  // namespace
