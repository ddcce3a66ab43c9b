// The Download command and the crawl worked in process against a web server on 127.0.0.1:
// the progress window's Stop and Skip, and the list a stopped crawl leaves.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>

#include "search/internetcommands.h"
#include "search/urllist.h"
#include "search/weblinks.h"
#include "support/corpus.h"
#include "support/testcollection.h"
#include "support/webserver.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

class InternetScanTest : public ::testing::Test {
 protected:
  void SetUp() override {
    VARNEL_SKIP_WITHOUT_CORPUS("ico/gtk.ico");
    VARNEL_SKIP_WITHOUT_PYTHON();
    // The test program does not lie beside the downloader.
    setenv("VARNEL_LOADER", VARNEL_LOADER, 1);
    std::string site = dir_.Path() + "/site";
    fs::create_directories(site);
    std::string links;
    for (const char* name : {"a", "b", "c", "d"}) {
      fs::copy_file(test::CorpusPath("ico/gtk.ico"), site + "/" + name + ".ico");
      links += std::string("<a href=\"") + name + ".ico\">" + name + "</a>\n";
    }
    std::ofstream(site + "/index.html") << links;
    server_ = std::make_unique<test::TestWebServer>(site);
    ASSERT_TRUE(server_->Running());
  }

  // The first time the scan lets the window work, flag is set.
  void PressOnce(bool TProgressFlags::*flag) {
    auto pressed = std::make_shared<bool>(false);
    c_.ui.onProcessMessages = [this, flag, pressed] {
      if (*pressed || !c_.ui.progressShown) return;
      c_.ui.progressFlags.*flag = true;
      *pressed = true;
    };
  }

  // The number of items the download added.
  int Download(const std::vector<std::string>& paths) {
    std::vector<std::string> addresses;
    for (const std::string& path : paths) addresses.push_back(server_->Url(path));
    int before = c_.lib.Count();
    DownloadAddresses(c_.lib, addresses, {false, false});
    return c_.lib.Count() - before;
  }

  test::TempDir dir_;
  std::unique_ptr<test::TestWebServer> server_;
  test::TestCollection c_;
};

TEST_F(InternetScanTest, SkipBreaksOffOneDownloadAndStopEndsTheScan) {
  // The page's links to a and b are in the work list already.
  EXPECT_EQ(Download({"a.ico", "b.ico", "index.html"}), 4);
  PressOnce(&TProgressFlags::skipRequested);
  EXPECT_EQ(Download({"a.ico", "b.ico"}), 1);
  EXPECT_FALSE(c_.lib.StopRequested());
  PressOnce(&TProgressFlags::stopRequested);
  EXPECT_EQ(Download({"a.ico", "b.ico"}), 0);
  EXPECT_TRUE(c_.lib.StopRequested());
}

TEST_F(InternetScanTest, TheProgressWindowNamesEachStepInItsLabels) {
  std::set<std::string> pathLabels;
  c_.ui.onProcessMessages = [this, &pathLabels] {
    if (c_.ui.progressLabels.count(TProgressField::Path))
      pathLabels.insert(c_.ui.progressLabels[TProgressField::Path]);
  };
  EXPECT_EQ(Download({"a.ico"}), 1);
  EXPECT_TRUE(pathLabels.count("Downloading:"));
  EXPECT_TRUE(pathLabels.count("Scanning:"));
  EXPECT_EQ(c_.ui.progressLabels[TProgressField::File], "Source:");
  EXPECT_EQ(c_.ui.statusTexts[2], "") << "the step is not told in the status bar";
}

TEST_F(InternetScanTest, DoubleSkipPassesOverTheRestOfThePagesLinks) {
  PressOnce(&TProgressFlags::skipGroup);
  EXPECT_EQ(Download({"index.html", "a.ico"}), 1) << "only the entry after the page's links";
  EXPECT_FALSE(c_.ui.progressFlags.skipGroup);
}

TEST_F(InternetScanTest, AStoppedCrawlSavesTheListWithThePagesLinksAndItsPosition) {
  CrawlPlace place;
  place.programList = dir_.File("program.dat");
  place.localList = dir_.File("local.dta");
  std::vector<int> saved;
  place.savePosition = [&](int position) { saved.push_back(position); };
  UrlList list;
  list.addresses = {"*" + server_->Url("index.html"), server_->Url("a.ico")};
  list.excludes = {"/c.ico"};
  WriteUrlList(place.programList, list);

  FindOnInternet(c_.lib, place, 3);
  EXPECT_EQ(c_.lib.Count(), 1);
  EXPECT_EQ(saved, (std::vector<int>{1, 2, 3}));
  UrlList local;
  ASSERT_TRUE(ReadUrlList(place.localList, local));
  // The links in reverse order after the page (the site's icon found last), without the one
  // already listed and the excluded one, then the separator.
  std::vector<std::string> expected = {list.addresses[0],
                                       FaviconUrl(server_->Url("")),
                                       server_->Url("d.ico"),
                                       server_->Url("b.ico"),
                                       "",
                                       list.addresses[1]};
  EXPECT_EQ(local.addresses, expected);
  EXPECT_EQ(local.excludes, list.excludes);

  // The next crawl goes on at the saved position over the saved list.
  FindOnInternet(c_.lib, place);
  EXPECT_EQ(c_.lib.Count(), 3);
  EXPECT_EQ(c_.lib.Settings().idxNextDownload, 6);
}

}  // namespace
}  // namespace varnel
