// varnel-cli on archives: list and import read their members, scan walks them with --archives,
// and an interrupted walk leaves no temporary files.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using Result = varnel::test::ProcessResult;
using varnel::test::RunCli;
using varnel::test::RunCommand;

namespace fs = std::filesystem;

// Writes a ZIP archive at zip whose members are copies of the icon, by the names given in
// Python's list syntax; names ending in ".zip" hold the icon as "inner.ico" instead.
void MakeZip(const std::string& zip, const std::string& icon, const std::string& names) {
  std::string script =
      "import io, sys, zipfile\n"
      "icon = open(sys.argv[2], 'rb').read()\n"
      "with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:\n"
      "  for n in " +
      names +
      ":\n"
      "    if n.endswith('.zip'):\n"
      "      b = io.BytesIO()\n"
      "      zipfile.ZipFile(b, 'w').writestr('inner.ico', icon)\n"
      "      z.writestr(n, b.getvalue())\n"
      "    else:\n"
      "      z.writestr(n, icon)\n";
  Result made = RunCommand("python3 -c \"" + script + "\" '" + zip + "' '" + icon + "'");
  ASSERT_EQ(made.status, 0) << made.out;
}

TEST(CliArchiveTest, MembersAreListedImportedAndScanned) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/gtk.ico");
  varnel::test::TempDir dir;
  fs::create_directories(dir.File("tree"));
  std::string zip = dir.File("tree/pack.zip");
  MakeZip(zip, varnel::test::CorpusPath("ico/gtk.ico"),
          "['icons/a.ico', 'readme.txt', 'more/nested.zip']");

  Result listed = RunCli("list " + zip);
  EXPECT_EQ(listed.status, 0) << listed.out;
  EXPECT_NE(listed.out.find(zip + "/icons/a.ico [0] a:"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find(zip + "/more/nested.zip/inner.ico [1] inner:"), std::string::npos);

  // A ZIP with one member the mask takes is walked in full: readme.txt, which holds the icon's
  // bytes, gives it too.
  EXPECT_EQ(RunCli("import --quiet " + zip + " -o " + dir.File("imported.icc")).status, 0);
  EXPECT_EQ(varnel::test::CountLines(RunCli("list " + dir.File("imported.icc")).out), 3u);

  std::string scan = "scan --quiet --keep-duplicates " + dir.File("tree") + " -o ";
  EXPECT_EQ(RunCli(scan + dir.File("plain.icc")).status, 1);
  EXPECT_FALSE(fs::exists(dir.File("plain.icc")));  // nothing found without --archives
  EXPECT_EQ(RunCli("scan --archives" + scan.substr(4) + dir.File("walked.icc")).status, 0);
  EXPECT_EQ(varnel::test::CountLines(RunCli("list " + dir.File("walked.icc")).out), 3u);

  EXPECT_NE(RunCli("info " + zip).out.find("ZIP"), std::string::npos);
}

TEST(CliArchiveTest, InterruptedWalksLeaveNoTemporaryFiles) {
  VARNEL_SKIP_WITHOUT_CORPUS("ico/gtk.ico");
  varnel::test::TempDir dir;
  fs::create_directories(dir.File("runtime"));
  MakeZip(dir.File("many.zip"), varnel::test::CorpusPath("ico/gtk.ico"),
          "['icon%d.ico' % i for i in range(20000)]");
  std::string env = "XDG_RUNTIME_DIR='" + dir.File("runtime") + "' ";
  // Enough members that the walk is still going when the signal comes, on a fast machine too.
  // SIGTERM ends the program at once; SIGINT (Ctrl+C) stops the walk or search as the stop
  // button does, and the command ends with the status a shell gives an interrupted program.
  std::string list = "list '" + dir.File("many.zip") + "'";
  std::string scan =
      "scan --archives --quiet '" + dir.Path() + "' -o '" + dir.File("out.icc") + "'";
  for (const auto& [command, signal] :
       {std::pair{list, "TERM"}, std::pair{list, "INT"}, std::pair{scan, "INT"}}) {
    SCOPED_TRACE(command + " " + signal);
    Result run = RunCommand(env + VARNEL_CLI + " " + command +
                            " >/dev/null 2>&1 & pid=$!; sleep 0.3; kill -" + signal +
                            " $pid; wait $pid; echo status=$?");
    std::string status = std::string(signal) == "TERM" ? "status=143" : "status=130";
    EXPECT_NE(run.out.find(status), std::string::npos) << run.out;
    EXPECT_TRUE(fs::is_empty(dir.File("runtime")));
  }
}

}  // namespace
