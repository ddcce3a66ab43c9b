#include "search/weblinks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "support/corpus.h"

namespace varnel {
namespace {

struct LinkCase {
  const char* name;
  const char* address;
  int mode;
  bool images;
  bool perLink;
  bool ofPage;
  const char* page;
  std::vector<std::string> links;
};

#include "linkcases.inc"

LinkScan ScanOf(const LinkCase& c) {
  return {c.mode, c.perLink, c.ofPage, c.images};
}

TEST(ExtractLinks, PagesWrittenForTheTestGiveTheResolvedLinks) {
  for (const LinkCase& c : kLinkCases)
    EXPECT_EQ(ExtractLinksFromText(c.page, c.address, ScanOf(c)), c.links) << c.name;
}

TEST(ExtractLinks, ReadsThePageFromDisk) {
  test::TempDir dir;
  const LinkCase& c = kLinkCases[0];
  test::WriteText(dir.File("page.html"), c.page);
  EXPECT_EQ(ExtractLinks(dir.File("page.html"), c.address, ScanOf(c)), c.links);
}

TEST(ExtractLinks, ModesDecideBetweenFilesAndPages) {
  std::string page = R"(<a href="a.ico">f</a> <a href="b.html">p</a> <a href="c.php?x=1">q</a>)";
  EXPECT_EQ(ExtractLinksFromText(page, "http://example.com/", {1}),
            std::vector<std::string>{"http://example.com/a.ico"});
  EXPECT_EQ(ExtractLinksFromText(page, "http://example.com/", {2}),
            (std::vector<std::string>{"http://example.com/a.ico", "*http://example.com/b.html",
                                      "*http://example.com/c.php?x=1"}));
}

TEST(ExtractLinks, PageAddressWithoutSchemeIsTakenAsHttp) {
  EXPECT_EQ(ExtractLinksFromText(R"( href="x.ico")", "example.com/d/", {1}),
            std::vector<std::string>{"http://example.com/d/x.ico"});
}

TEST(ExtractLinks, HostileTextEndsWithoutLinks) {
  std::string unterminated(100000, 'a');
  unterminated.insert(0, R"( href=")");
  EXPECT_TRUE(ExtractLinksFromText(unterminated, "http://example.com/", {2}).empty());
  std::string many;
  for (int i = 0; i < 20000; ++i) many += " href=\" href='<img http://";
  EXPECT_TRUE(ExtractLinksFromText(many, "http://example.com/", {2, true, true, true}).size() <= 1);
}

// Runs the oracle script over a page; nothing when python3 cannot run it.
std::optional<std::vector<std::string>> OracleLinks(const std::string& script,
                                                    const std::string& page,
                                                    const std::string& address) {
  std::string command = "python3 '" + script + "' '" + page + "' '" + address +
                        "' 2 --images --favicon-per-link --favicon-of-page 2>/dev/null";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return std::nullopt;
  std::string output;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe.get())) output.append(buffer, n);
  if (pclose(pipe.release()) != 0) return std::nullopt;
  std::vector<std::string> links;
  for (size_t start = 0, end; start < output.size(); start = end + 1) {
    end = output.find('\n', start);
    links.push_back(output.substr(start, end - start));
  }
  return links;
}

TEST(ExtractLinks, InstalledDocumentationPagesAgreeWithTheOracle) {
  namespace fs = std::filesystem;
  const fs::path docs = "/usr/share/doc/python3-doc/html";
  if (!fs::is_directory(docs) || std::system("python3 -c '' 2>/dev/null") != 0)
    GTEST_SKIP() << "python3 or " << docs << " missing";
  std::vector<fs::path> pages;
  for (const auto& entry : fs::recursive_directory_iterator(docs))
    if (entry.path().extension() == ".html") pages.push_back(entry.path());
  std::sort(pages.begin(), pages.end());
  test::TempDir dir;
  test::WriteText(dir.File("linkoracle.py"), kLinkOracleScript);
  const size_t step = std::max<size_t>(1, pages.size() / 40);
  int checked = 0;
  for (size_t i = 0; i < pages.size(); i += step) {
    std::string address =
        "https://docs.python.org/3/" + fs::relative(pages[i], docs).generic_string();
    auto expected = OracleLinks(dir.File("linkoracle.py"), pages[i], address);
    ASSERT_TRUE(expected) << pages[i];
    EXPECT_EQ(ExtractLinks(pages[i], address, {2, true, true, true}), *expected) << pages[i];
    ++checked;
  }
  EXPECT_GT(checked, 10);
}

}  // namespace
}  // namespace varnel
