// varnel-cli links and urllist: a page's links as the Internet scan takes them, and the crawl
// list made from its text form and shown again.

#include <gtest/gtest.h>

#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using Result = varnel::test::ProcessResult;
using varnel::test::RunCli;

TEST(CliLinksTest, PrintsTheLinksOfAPageByModeAndFlags) {
  varnel::test::TempDir dir;
  varnel::test::WriteText(dir.File("page.html"),
                          "<a href=\"../a.ico\">a</a> <a href=\"next.html\">n</a>\n"
                          "<img src=\"small.gif\" width=16 height=16> <a href=\"x.zip\">x</a>\n");
  std::string page = dir.File("page.html");
  Result files = RunCli("links " + page + " --base https://example.com/d/e/");
  EXPECT_EQ(files.status, 0);
  EXPECT_EQ(files.out, "https://example.com/d/a.ico\nhttps://example.com/d/e/x.zip\n");
  Result all = RunCli("links " + page +
                      " --base https://example.com/d/e/ --mode 2 --images --favicon-of-page");
  EXPECT_EQ(all.out,
            "https://example.com/d/a.ico\n*https://example.com/d/e/next.html\n"
            "https://example.com/d/e/small.gif\nhttps://example.com/d/e/x.zip\n"
            "https://example.com/favicon.ico\n");

  EXPECT_EQ(RunCli("links " + page).status, 2);
  EXPECT_EQ(RunCli("links " + page + " --base http://x.com/ --mode 3").status, 2);
  EXPECT_EQ(RunCli("links " + dir.File("missing.html") + " --base http://x.com/").status, 1);
}

TEST(CliLinksTest, UrlListRoundTripsTheTextList) {
  varnel::test::TempDir dir;
  varnel::test::WriteText(dir.File("list.txt"),
                          "# icon sets\n*http://www.example.com/icons/\n\n"
                          "#gif#**https://example.org/gallery.html\nexclude ads.\n");
  Result made = RunCli("urllist " + dir.File("list.txt") + " -o " + dir.File("inet.dat"));
  ASSERT_EQ(made.status, 0) << made.out;
  Result shown = RunCli("urllist --show " + dir.File("inet.dat"));
  EXPECT_EQ(shown.status, 0);
  EXPECT_EQ(shown.out,
            "*http://www.example.com/icons/\n#gif#**https://example.org/gallery.html\n"
            "exclude ads.\n");
  EXPECT_EQ(RunCli("urllist " + dir.File("list.txt")).status, 2);
}

}  // namespace
