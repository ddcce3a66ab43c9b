// The addresses of the Download command: stored, shown in its dialog, and worked.

#include "search/internetaddress.h"

#include <gtest/gtest.h>

#include "search/filedownloader.h"
#include "search/internetconnection.h"

namespace varnel {
namespace {

TEST(InternetAddressTest, TheDialogShowsAStoredAddressWithoutItsMarkers) {
  TInternetAddressRequest explored = AddressDialogRequest("**http://a.org/x*y", true, false, {});
  EXPECT_EQ(explored.address, "http://a.org/xy");
  EXPECT_TRUE(explored.explore);
  EXPECT_TRUE(explored.takeImages);
  EXPECT_FALSE(explored.siteIcons);
  TInternetAddressRequest single = AddressDialogRequest("*http://a.org/", false, true, {"e"});
  EXPECT_EQ(single.address, "*http://a.org/") << "one star does not mean explore";
  EXPECT_FALSE(single.explore);
  EXPECT_EQ(single.entries, std::vector<std::string>{"e"});
}

TEST(InternetAddressTest, TypedAddressesGetASchemeUnlessTheyHaveOne) {
  EXPECT_EQ(StoredAddress("  example.org/icons  ", false), "http://example.org/icons");
  EXPECT_EQ(StoredAddress("", false), "http://");
  EXPECT_EQ(StoredAddress("ftp://host/a.zip", true), "**ftp://host/a.zip");
  EXPECT_EQ(StoredAddress("HTTP://Host/", false), "HTTP://Host/");
  EXPECT_EQ(StoredAddress("https://host/page.html", true), "**https://host/page.html")
      << "an https address must not become http://https://";
}

TEST(InternetAddressTest, CrawlEntriesAreListedWithoutSchemeAndWww) {
  EXPECT_EQ(EntryDisplayText("**http://www.icons.org/x"), "icons.org/x");
  EXPECT_EQ(EntryDisplayText("#gif#*https://wwwx.org/"), "wwwx.org/");
  EXPECT_EQ(EntryDisplayText("plain"), "plain");
}

TEST(InternetAddressTest, PagesAreScannedAndFilesLoadedWhateverExploreSaid) {
  EXPECT_EQ(DownloadWorkEntry("**http://host/pack.zip"), "http://host/pack.zip");
  EXPECT_EQ(DownloadWorkEntry("http://host/icon.ico"), "http://host/icon.ico");
  EXPECT_EQ(DownloadWorkEntry("http://host/"), "*http://host/");
  EXPECT_EQ(DownloadWorkEntry("http://host"), "*http://host");
  EXPECT_EQ(DownloadWorkEntry("**https://host/a/index.htm"), "**https://host/a/index.htm");
  EXPECT_EQ(DownloadWorkEntry("http://host/list.php?page=2"), "*http://host/list.php?page=2");
  EXPECT_EQ(DownloadWorkEntry("http://host/folder/"), "*http://host/folder/");
  EXPECT_EQ(DownloadWorkEntry("***"), "*");
}

TEST(InternetAddressTest, SizeLimitsAndLoopbackHosts) {
  EXPECT_EQ(DownloadSizeLimit("ico"), 524288);
  EXPECT_EQ(DownloadSizeLimit("ZIP"), 8388608);
  EXPECT_EQ(DownloadSizeLimit("rar"), 8388608);
  EXPECT_EQ(DownloadSizeLimit(""), 524288);
  EXPECT_TRUE(IsLoopbackAddress("http://127.0.0.1:8080/x"));
  EXPECT_TRUE(IsLoopbackAddress("*http://LOCALHOST/"));
  EXPECT_TRUE(IsLoopbackAddress("http://user@[::1]:80/"));
  EXPECT_FALSE(IsLoopbackAddress("http://127.0.0.1.example.org/"));
  EXPECT_FALSE(IsLoopbackAddress("http://example.org/127.0.0.1"));
  EXPECT_TRUE(IsInternetConnected("http://127.0.0.1/"));
}

}  // namespace
}  // namespace varnel
