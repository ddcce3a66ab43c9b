// varnel-cli download and crawl, and varnel-loader itself, against a web server on 127.0.0.1.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli/clirunner.h"
#include "search/loaderstatus.h"
#include "search/urllist.h"
#include "support/corpus.h"
#include "support/webserver.h"

namespace {

namespace fs = std::filesystem;
using varnel::test::RunCli;
using varnel::test::RunCommand;
using varnel::test::TempDir;
using varnel::test::TestWebServer;

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

void CopyCorpusIcon(const std::string& name, const std::string& target) {
  fs::copy_file(varnel::test::CorpusPath("ico/" + name), target);
}

size_t ItemCount(const std::string& collection) {
  return varnel::test::CountLines(RunCli("list " + collection).out);
}

// A site: the page links icons directly, through a redirect and a slow answer, an archive, a
// page one level down, two oversized icons and two addresses that are not web addresses.
void MakeSite(const std::string& root) {
  fs::create_directories(root + "/icons");
  CopyCorpusIcon("gtk.ico", root + "/icons/a.ico");
  CopyCorpusIcon("python.ico", root + "/icons/b.ico");
  CopyCorpusIcon("pillow.ico", root + "/icons/c.ico");
  CopyCorpusIcon("hopper.ico", root + "/icons/d.ico");
  CopyCorpusIcon("squares.ico", root + "/f.ico");
  std::string zip = "cd " + root +
                    " && cp icons/a.ico e.ico && python3 -c \"import zipfile;"
                    "zipfile.ZipFile('pack.zip','w').write('e.ico')\" && rm e.ico";
  ASSERT_EQ(RunCommand(zip).status, 0);
  WriteText(root + "/index.html",
            "<html><body>\n"
            "<a href=\"icons/a.ico\">a</a> <a href='/redirect/icons/b.ico'>b</a>\n"
            "<a href=\"slow/icons/c.ico\">c</a> <a href=\"pack.zip\">zip</a>\n"
            "<a href=\"sub/page.html\">more</a>\n"
            "<a href=\"unbounded/f.ico\">big</a> <a href=\"announced/f.ico\">big too</a>\n"
            "<a href=\"file:///etc/passwd\">p</a> <a href=\"/redirect-file/x.ico\">q</a>\n"
            "</body></html>\n");
  fs::create_directories(root + "/sub");
  WriteText(root + "/sub/page.html", "<a href=\"../icons/d.ico\">d</a>\n");
}

#define SKIP_WITHOUT_SITE_FILES()                                                                 \
  VARNEL_SKIP_WITHOUT_CORPUS("ico/gtk.ico", "ico/python.ico", "ico/pillow.ico", "ico/hopper.ico", \
                             "ico/squares.ico");                                                  \
  VARNEL_SKIP_WITHOUT_PYTHON()

TEST(CliInternetTest, DownloadTakesTheLinkedIconsAndRefusesOversizedAndForeignOnes) {
  SKIP_WITHOUT_SITE_FILES();
  TempDir dir;
  MakeSite(dir.Path() + "/site");
  TestWebServer server(dir.Path() + "/site");
  ASSERT_TRUE(server.Running());

  // Level 1: the files linked from the page, not those of the page one level down.
  auto flat = RunCli("download " + server.Url("index.html") + " -o " + dir.File("flat.icc"));
  EXPECT_EQ(flat.status, 0) << flat.out;
  EXPECT_EQ(ItemCount(dir.File("flat.icc")), 4u) << flat.out;

  // Level 2: the linked page's icon too; still nothing oversized or from a file address.
  auto deep =
      RunCli("download --explore " + server.Url("index.html") + " -o " + dir.File("deep.icc"));
  EXPECT_EQ(deep.status, 0) << deep.out;
  EXPECT_EQ(ItemCount(dir.File("deep.icc")), 5u) << deep.out;

  // A file address is loaded as a file, even when links were to be explored.
  auto file = RunCli("download --explore " + server.Url("pack.zip") + " -o " + dir.File("zip.icc"));
  EXPECT_EQ(ItemCount(dir.File("zip.icc")), 1u) << file.out;

  EXPECT_EQ(RunCli("download " + server.Url("index.html")).status, 2);
}

TEST(CliInternetTest, CrawlResumesAtTheNextEntryInASecondRun) {
  SKIP_WITHOUT_SITE_FILES();
  TempDir dir;
  MakeSite(dir.Path() + "/site");
  TestWebServer server(dir.Path() + "/site");
  ASSERT_TRUE(server.Running());
  varnel::UrlList list;
  list.addresses = {server.Url("icons/a.ico"), server.Url("icons/b.ico"), server.Url("icons/c.ico"),
                    server.Url("icons/d.ico")};
  varnel::WriteUrlList(dir.File("list.dat"), list);
  std::string env = "XDG_CONFIG_HOME=" + dir.Path() + "/config ";
  std::string crawl = env + VARNEL_CLI + std::string(" crawl --list ") + dir.File("list.dat");

  auto first = RunCommand(crawl + " --max-entries 3 -o " + dir.File("first.icc"));
  EXPECT_EQ(first.status, 0) << first.out;
  EXPECT_EQ(ItemCount(dir.File("first.icc")), 3u);
  auto second = RunCommand(crawl + " -o " + dir.File("second.icc"));
  EXPECT_EQ(second.status, 0) << second.out;
  EXPECT_EQ(ItemCount(dir.File("second.icc")), 1u);
  // At the end of the list without a vendor's list the crawl starts again at the top.
  auto third = RunCommand(crawl + " --max-entries 2 -o " + dir.File("third.icc"));
  EXPECT_EQ(ItemCount(dir.File("third.icc")), 2u) << third.out;
}

// varnel-loader run directly: the status record it leaves and the file it writes.
class LoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VARNEL_SKIP_WITHOUT_CORPUS("ico/gtk.ico");
    VARNEL_SKIP_WITHOUT_PYTHON();
    fs::create_directories(dir_.Path() + "/site");
    CopyCorpusIcon("gtk.ico", dir_.Path() + "/site/a.ico");
    server_ = std::make_unique<TestWebServer>(dir_.Path() + "/site");
    ASSERT_TRUE(server_->Running());
  }

  // Runs the loader with a fresh status record (request number 7); its exit status.
  int Load(const std::string& url, const std::string& options = "") {
    varnel::LoaderStatus start;
    start.requestNumber = 7;
    varnel::WriteLoaderStatus(Status(), start, false);
    return RunCommand(std::string(VARNEL_LOADER) + " '" + url + "' --status " + Status() +
                      " --output " + Output() + " " + options)
        .status;
  }
  std::string Status() const { return dir_.File("status.tmp"); }
  std::string Output() const { return dir_.File("out"); }
  varnel::LoaderStatus Record() const { return *varnel::ReadLoaderStatus(Status()); }

  TempDir dir_;
  std::unique_ptr<TestWebServer> server_;
};

TEST_F(LoaderTest, FinishedDownloadsKeepTheRequestNumberAndReportTheirSize) {
  EXPECT_EQ(Load(server_->Url("redirect/a.ico")), 0);
  varnel::LoaderStatus record = Record();
  EXPECT_EQ(record.state, varnel::LoaderState::Finished);
  EXPECT_EQ(record.error, varnel::LoaderError::None);
  EXPECT_EQ(record.requestNumber, 7);
  EXPECT_EQ(record.received, int32_t(fs::file_size(Output())));
  EXPECT_EQ(record.totalSize, record.received);
}

TEST_F(LoaderTest, RefusedDownloadsLeaveNoFile) {
  struct Case {
    std::string url, options;
    varnel::LoaderError error;
  };
  const Case cases[] = {
      {"file:///etc/passwd", "", varnel::LoaderError::Scheme},
      {server_->Url("redirect-file/x"), "", varnel::LoaderError::Scheme},
      {server_->Url("missing.ico"), "", varnel::LoaderError::Http},
      {server_->Url("unbounded/a.ico"), "--max-size 524288", varnel::LoaderError::TooLarge},
      {server_->Url("announced/a.ico"), "--max-size 524288", varnel::LoaderError::TooLarge},
      {server_->Url("stall"), "--idle-timeout 1", varnel::LoaderError::TimedOut},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Load(c.url, c.options), 1) << c.url;
    EXPECT_EQ(Record().state, varnel::LoaderState::BrokenOff) << c.url;
    EXPECT_EQ(Record().error, c.error) << c.url;
    EXPECT_FALSE(fs::exists(Output())) << c.url;
  }
  EXPECT_EQ(Load(server_->Url("unbounded/a.ico")), 0) << "no limit given";
}

TEST_F(LoaderTest, StopsWhenTheStatusFileDisappears) {
  varnel::WriteLoaderStatus(Status(), {}, false);
  std::string command = std::string(VARNEL_LOADER) + " " + server_->Url("stall") + " --status " +
                        Status() + " --output " + Output() + " & sleep 0.5; rm " + Status() +
                        "; wait $!; echo rc=$?";
  auto result = RunCommand("bash -c '" + command + "'");
  EXPECT_NE(result.out.find("rc=1"), std::string::npos) << result.out;
  EXPECT_FALSE(fs::exists(Output()));
  EXPECT_FALSE(fs::exists(Status())) << "the loader must not make the status file again";
}

}  // namespace
