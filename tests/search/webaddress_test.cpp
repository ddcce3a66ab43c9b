#include <gtest/gtest.h>

#include "search/weblinks.h"

namespace varnel {
namespace {

TEST(WebAddress, PageBaseUrlIsTheFolderOfThePage) {
  EXPECT_EQ(PageBaseUrl("http://www.site.com/x/page.htm"), "http://www.site.com/x/");
  EXPECT_EQ(PageBaseUrl("http://www.site.com"), "http://www.site.com/");
  EXPECT_EQ(PageBaseUrl("www.site.com/a/b/"), "http://www.site.com/a/b/");
  EXPECT_EQ(PageBaseUrl("https://site.org/a/b.html"), "https://site.org/a/");
  EXPECT_EQ(PageBaseUrl("see http://site.org/a/b.html"), "http://site.org/a/");
  EXPECT_EQ(PageBaseUrl("http://site.org:8080/a/b.html"), "http://site.org/");
  EXPECT_EQ(PageBaseUrl("http://localhost/a/"), "");
  EXPECT_EQ(PageBaseUrl(""), "");
}

TEST(WebAddress, SiteRootIsSchemeAndHost) {
  EXPECT_EQ(SiteRoot("http://www.site.com/x/y.ico"), "http://www.site.com");
  EXPECT_EQ(SiteRoot("https://secure.site.com/x"), "https://secure.site.com");
  EXPECT_EQ(SiteRoot("www.site.com"), "http://www.site.com");
  EXPECT_EQ(SiteRoot("http://site.com:8080/x"), "http://site.com");
  EXPECT_EQ(SiteRoot("http://a.b/x"), "");
  EXPECT_EQ(SiteRoot("http://site.com./x"), "http://site.com");
  EXPECT_EQ(SiteRoot("http://user@host.example.com/x"), "http://host.example.com");
  EXPECT_EQ(SiteRoot("http://localhost/x"), "");
}

TEST(WebAddress, FaviconIsAtTheSiteRoot) {
  EXPECT_EQ(FaviconUrl("http://www.site.com/deep/in/the/site.html"),
            "http://www.site.com/favicon.ico");
  EXPECT_EQ(FaviconUrl("http://abc/"), "");
}

TEST(WebAddress, ExtensionIsThatOfThePath) {
  EXPECT_EQ(UrlExtension("http://site.com/a/Pack.ZIP"), "zip");
  EXPECT_EQ(UrlExtension("http://site.com/page.php?id=1"), "php");
  EXPECT_EQ(UrlExtension("http://site.com/get?file=a.zip"), "");
  EXPECT_EQ(UrlExtension("http://site.com/a.ico#part"), "ico");
  EXPECT_EQ(UrlExtension("http://site.com"), "");
  EXPECT_EQ(UrlExtension("http://site.com/v1.2/folder"), "");
  EXPECT_EQ(UrlExtension("file.tar.gz"), "gz");
  EXPECT_EQ(UrlExtension("noextension"), "");
}

TEST(WebAddress, FileNameIsASafeBaseName) {
  EXPECT_EQ(UrlFileName("http://site.com/a/b/icons.zip"), "icons.zip");
  EXPECT_EQ(UrlFileName("http://site.com/get.php?f=../../etc/passwd"), "get.php");
  EXPECT_EQ(UrlFileName("http://site.com/a/..%2F..%2Fx.ico"), ".%2F.%2Fx.ico");
  EXPECT_EQ(UrlFileName("http://site.com/a/..."), "");
  EXPECT_EQ(UrlFileName("http://site.com/a\\..\\b.ico"), "b.ico");
  EXPECT_EQ(UrlFileName("http://site.com/a/.."), "");
  EXPECT_EQ(UrlFileName("http://site.com/a/."), "");
  EXPECT_EQ(UrlFileName("http://site.com/"), "");
  EXPECT_EQ(UrlFileName("http://site.com"), "");
  EXPECT_EQ(UrlFileName("http://site.com/a\x01\x1f"
                        "b.ico"),
            "ab.ico");
  EXPECT_EQ(UrlFileName("plain.ico"), "plain.ico");
  std::string longName = UrlFileName("http://site.com/" + std::string(500, 'n') + ".ico");
  EXPECT_EQ(longName.size(), kMaxUrlFileName);
  EXPECT_TRUE(longName.ends_with("n.ico"));
}

TEST(WebAddress, EmailAroundFindsTheAddressWord) {
  EXPECT_EQ(EmailAround("write to me@site.com, please"), "me@site.com");
  EXPECT_EQ(EmailAround("<b>x@y.org</b>"), "x@y.org");
  EXPECT_EQ(EmailAround("@first then a@b.com"), "a@b.com");
  EXPECT_EQ(EmailAround("odd @. then c@d.net"), "c@d.net");
  EXPECT_EQ(EmailAround("ends@"), "");
  EXPECT_EQ(EmailAround("none"), "");
}

TEST(WebAddress, ImageTagsOfIconSizeAreAccepted) {
  std::string src;
  EXPECT_TRUE(AcceptImageTag(R"(<img src="a.gif" width="32" height="32">)", src));
  EXPECT_EQ(src, "a.gif");
  EXPECT_TRUE(AcceptImageTag("<img src='b.png'>", src));
  EXPECT_EQ(src, "b.png");
  EXPECT_TRUE(AcceptImageTag(R"(<img width = "16" height = "30" src = "c.gif">)", src));
  EXPECT_EQ(src, "c.gif");
  EXPECT_FALSE(AcceptImageTag(R"(<img src="a.gif" width="200" height="200">)", src));
  EXPECT_FALSE(AcceptImageTag(R"(<img src="a.gif" width="32">)", src));
  EXPECT_FALSE(AcceptImageTag(R"(<img src="a.gif" width="10" height="10">)", src));
  EXPECT_FALSE(AcceptImageTag(R"(<img src="a.gif" width="16" height="40">)", src));
  EXPECT_FALSE(AcceptImageTag(R"(<img src="photo.jpg">)", src));
  EXPECT_FALSE(AcceptImageTag(R"(<img src=".gif">)", src));
  EXPECT_FALSE(AcceptImageTag(R"(<img src="a.gif" width=99999999999 height=99999999999>)", src));
}

TEST(WebAddress, WebAddressesAreHttpHttpsAndFtp) {
  EXPECT_TRUE(IsWebAddress("HTTPS://x"));
  EXPECT_TRUE(IsWebAddress("ftp://x"));
  EXPECT_FALSE(IsWebAddress("file:///etc/passwd"));
  EXPECT_FALSE(IsWebAddress("*http://x"));
}

}  // namespace
}  // namespace varnel
