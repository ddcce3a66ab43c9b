#include <gtest/gtest.h>

#include "search/weblinks.h"

namespace varnel {
namespace {

struct Mapping {
  std::string in;
  std::string out;
};

template <typename Operation>
void ExpectEach(Operation operation, const std::vector<Mapping>& mappings) {
  for (const Mapping& m : mappings) EXPECT_EQ(operation(m.in), m.out) << m.in;
}

TEST(WebAddress, PageBaseUrlIsTheFolderOfThePage) {
  ExpectEach(PageBaseUrl, {
                              {"http://www.site.com/x/page.htm", "http://www.site.com/x/"},
                              {"http://www.site.com", "http://www.site.com/"},
                              {"www.site.com/a/b/", "http://www.site.com/a/b/"},
                              {"https://site.org/a/b.html", "https://site.org/a/"},
                              {"see http://site.org/a/b.html", "http://site.org/a/"},
                              {"http://site.org:8080/a/b.html", "http://site.org/"},
                              {"http://localhost/a/", ""},
                              {"", ""},
                          });
}

TEST(WebAddress, SiteRootIsSchemeAndHost) {
  ExpectEach(SiteRoot, {
                           {"http://www.site.com/x/y.ico", "http://www.site.com"},
                           {"https://secure.site.com/x", "https://secure.site.com"},
                           {"www.site.com", "http://www.site.com"},
                           {"http://site.com:8080/x", "http://site.com"},
                           {"http://a.b/x", ""},
                           {"http://site.com./x", "http://site.com"},
                           {"http://user@host.example.com/x", "http://host.example.com"},
                           {"http://localhost/x", ""},
                       });
}

TEST(WebAddress, FaviconIsAtTheSiteRoot) {
  EXPECT_EQ(FaviconUrl("http://www.site.com/deep/in/the/site.html"),
            "http://www.site.com/favicon.ico");
  EXPECT_EQ(FaviconUrl("http://abc/"), "");
}

TEST(WebAddress, ExtensionIsThatOfThePath) {
  ExpectEach(UrlExtension, {
                               {"http://site.com/a/Pack.ZIP", "zip"},
                               {"http://site.com/page.php?id=1", "php"},
                               {"http://site.com/get?file=a.zip", ""},
                               {"http://site.com/a.ico#part", "ico"},
                               {"http://site.com", ""},
                               {"http://site.com/v1.2/folder", ""},
                               {"file.tar.gz", "gz"},
                               {"noextension", ""},
                           });
}

TEST(WebAddress, FileNameIsASafeBaseName) {
  ExpectEach(UrlFileName, {
                              {"http://site.com/a/b/icons.zip", "icons.zip"},
                              {"http://site.com/get.php?f=../../etc/passwd", "get.php"},
                              {"http://site.com/a/..%2F..%2Fx.ico", ".%2F.%2Fx.ico"},
                              {"http://site.com/a/...", ""},
                              {"http://site.com/a\\..\\b.ico", "b.ico"},
                              {"http://site.com/a/..", ""},
                              {"http://site.com/a/.", ""},
                              {"http://site.com/", ""},
                              {"http://site.com", ""},
                              {"http://site.com/a\x01\x1f"
                               "b.ico",
                               "ab.ico"},
                              {"plain.ico", "plain.ico"},
                          });
  std::string longName = UrlFileName("http://site.com/" + std::string(500, 'n') + ".ico");
  EXPECT_EQ(longName.size(), kMaxUrlFileName);
  EXPECT_TRUE(longName.ends_with("n.ico"));
  // A cut that ends on a dot does not join it with the extension's into "..".
  std::string dotCut =
      UrlFileName("http://site.com/" + std::string(kMaxUrlFileName - 5, 'n') + ".n.n.ico");
  EXPECT_EQ(dotCut.find(".."), std::string::npos) << dotCut;
}

TEST(WebAddress, EmailAroundFindsTheAddressWord) {
  ExpectEach(EmailAround, {
                              {"write to me@site.com, please", "me@site.com"},
                              {"<b>x@y.org</b>", "x@y.org"},
                              {"@first then a@b.com", "a@b.com"},
                              {"odd @. then c@d.net", "c@d.net"},
                              {"ends@", ""},
                              {"none", ""},
                          });
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
