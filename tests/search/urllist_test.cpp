#include "search/urllist.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "base/fileio.h"
#include "base/packedstream.h"
#include "support/corpus.h"

namespace varnel {
namespace {

UrlList SampleList() {
  return {{"**http://www.example.com/icons/index.html", "", "*https://www.example.org/a.htm",
           "#gif#http://github.com/x/images/icon.png", "ftp://ftp.example.net/download/s.zip",
           "Ünïcode http://x.y/?q=%20&r=1#f", "*http://sourceforge.net/projects/x/"},
          {"ads.", "tracker.example.com"}};
}

// A list file holding content packed as the writer packs it.
std::vector<uint8_t> FileOfContent(const std::vector<uint8_t>& content) {
  uLongf size = compressBound(uLong(content.size()));
  std::vector<uint8_t> packed(size);
  compress(packed.data(), &size, content.data(), uLong(content.size()));
  std::vector<uint8_t> file(std::begin(kUrlListSignature), std::end(kUrlListSignature));
  file.insert(file.end(), packed.begin(), packed.begin() + ptrdiff_t(size));
  return file;
}

TEST(UrlList, RoundTripsThroughTheFile) {
  test::TempDir dir;
  std::string path = dir.File("inet.dta");
  WriteUrlList(path, SampleList());
  EXPECT_TRUE(IsValidUrlList(path));
  UrlList read;
  ASSERT_TRUE(ReadUrlList(path, read));
  EXPECT_EQ(read.addresses, SampleList().addresses);
  EXPECT_EQ(read.excludes, SampleList().excludes);

  WriteUrlList(path, {});
  EXPECT_TRUE(IsValidUrlList(path));
  EXPECT_TRUE(ReadUrlList(path, read));
  EXPECT_TRUE(read.addresses.empty() && read.excludes.empty());
}

TEST(UrlList, PackingShortensCommonPartsAndIsReversible) {
  for (const std::string& address : SampleList().addresses) {
    EXPECT_EQ(UnpackUrl(PackUrl(address)), address);
    if (address.find("http") != std::string::npos) {
      EXPECT_LT(PackUrl(address).size(), address.size()) << address;
    }
  }
  EXPECT_EQ(PackUrl("http://www.a.com/"),
            "\x02"
            "a\x08");
}

TEST(UrlList, EntryHoldingATableByteIsRefusedBeforeWriting) {
  test::TempDir dir;
  std::string path = dir.File("inet.dta");
  WriteUrlList(path, SampleList());
  std::vector<uint8_t> before = ReadWholeFile(path);
  UrlList bad = SampleList();
  bad.addresses.push_back("http://x/\x05y");
  EXPECT_THROW(WriteUrlList(path, bad), EUrlListEntry);
  EXPECT_EQ(ReadWholeFile(path), before);
}

TEST(UrlList, DamagedFilesAreRefusedCleanly) {
  std::vector<uint8_t> good = EncodeUrlList(SampleList());
  UrlList read;
  std::vector<uint8_t> truncated(good.begin(), good.end() - 6);
  EXPECT_FALSE(DecodeUrlList(truncated, read));
  std::vector<uint8_t> unsigned_ = good;
  unsigned_[2] ^= 0xFF;
  EXPECT_FALSE(DecodeUrlList(unsigned_, read));
  EXPECT_TRUE(read.addresses.empty());
  for (size_t i = 5; i < good.size(); i += 7) {
    std::vector<uint8_t> flipped = good;
    flipped[i] ^= 0x5A;
    DecodeUrlList(flipped, read);  // must neither crash nor hang
  }
  EXPECT_FALSE(DecodeUrlList({}, read));
  test::TempDir dir;
  EXPECT_FALSE(ReadUrlList(dir.File("missing"), read));
}

TEST(UrlList, CountsBeyondTheContentEndTheListEarly) {
  MemoryStream content;
  content.WriteU8(0);
  WritePackedInteger(content, 1000000);
  WritePackedString(content, "http://a.com/x.zip");
  UrlList read;
  EXPECT_FALSE(DecodeUrlList(FileOfContent(content.Bytes()), read));
  EXPECT_EQ(read.addresses, std::vector<std::string>{"http://a.com/x.zip"});

  MemoryStream marked;
  marked.WriteU8(1);
  WritePackedInteger(marked, 1);
  WritePackedString(marked, "http://a.com/y.zip");
  WritePackedInteger(marked, 0);
  EXPECT_FALSE(DecodeUrlList(FileOfContent(marked.Bytes()), read));
  EXPECT_EQ(read.addresses, std::vector<std::string>{"http://a.com/y.zip"});
}

TEST(UrlList, ContentBeyondTheLimitIsRefused) {
  std::vector<uint8_t> bomb(size_t(kMaxUrlListBytes) + 1, 0);
  UrlList read;
  EXPECT_FALSE(DecodeUrlList(FileOfContent(bomb), read));
  std::vector<uint8_t> justFits(size_t(kMaxUrlListBytes), 0);
  EXPECT_TRUE(DecodeUrlList(FileOfContent(justFits), read));
}

TEST(UrlList, ValidityNeedsSizeAndSignature) {
  test::TempDir dir;
  std::string path = dir.File("inet.dat");
  WriteFileAtomic(path, std::vector<uint8_t>{0x50, 0x4B, 0x01, 0x01, 0x1A, 0, 0, 0});
  EXPECT_FALSE(IsValidUrlList(path));
  WriteFileAtomic(path, std::vector<uint8_t>{0x50, 0x4B, 0x01, 0x01, 0x1A, 0, 0, 0, 0});
  EXPECT_TRUE(IsValidUrlList(path));
  WriteFileAtomic(path, std::vector<uint8_t>{0x50, 0x4B, 0x03, 0x04, 0x1A, 0, 0, 0, 0});
  EXPECT_FALSE(IsValidUrlList(path));
  EXPECT_FALSE(IsValidUrlList(dir.File("missing")));
}

TEST(CrawlEntry, MarkersLevelsAndSeparators) {
  auto parse = [](std::string_view entry, bool crawl) { return ParseCrawlEntry(entry, crawl); };
  EXPECT_EQ(parse("", true).kind, CrawlEntryKind::Separator);
  CrawlEntry file = parse("https://a.com/x.zip", true);
  EXPECT_EQ(file.kind, CrawlEntryKind::File);
  EXPECT_EQ(file.address, "https://a.com/x.zip");
  CrawlEntry page = parse("***http://a.com/", true);
  EXPECT_EQ(page.level, 2);
  EXPECT_EQ(page.kind, CrawlEntryKind::Skipped);  // "*http://a.com/" is no address
  CrawlEntry images = parse("#gif#*http://a.com/p.htm", true);
  EXPECT_EQ(images.kind, CrawlEntryKind::Page);
  EXPECT_EQ(images.level, 1);
  EXPECT_TRUE(images.takeImages);
  EXPECT_EQ(images.address, "http://a.com/p.htm");
  EXPECT_EQ(parse("#gif#*http://a.com/p.htm", false).kind, CrawlEntryKind::Skipped);
  EXPECT_FALSE(parse("*http://a.com/#gif#", false).takeImages);
  EXPECT_EQ(parse("file:///etc/passwd", true).kind, CrawlEntryKind::Skipped);
  EXPECT_EQ(parse("*file:///etc/passwd", true).kind, CrawlEntryKind::Skipped);
  EXPECT_EQ(parse("a comment", true).kind, CrawlEntryKind::Skipped);
}

TEST(CrawlEntry, PageLinksFollowThePageInReverseWithASeparator) {
  std::vector<std::string> entries{"*http://a.com/", "http://b.com/B.zip", "*http://c.com/"};
  std::vector<std::string> excludes{"ads."};
  size_t entered =
      EnterPageLinks(entries, 0,
                     {"http://a.com/1.zip", "http://b.com/b.zip", "http://ads.x.com/2.zip",
                      "http://a.com/3.ico", "HTTP://A.COM/1.ZIP"},
                     {false, &excludes});
  EXPECT_EQ(entered, 2u);
  EXPECT_EQ(entries,
            (std::vector<std::string>{"*http://a.com/", "http://a.com/3.ico", "http://a.com/1.zip",
                                      "", "http://b.com/B.zip", "*http://c.com/"}));
  EXPECT_EQ(EntryAfterGroup(entries, 1), 4u);
  EXPECT_EQ(EntryAfterGroup(entries, 4), 4u);

  std::vector<std::string> last{"#gif#*http://a.com/"};
  EnterPageLinks(last, 0, {"http://a.com/x.gif"}, {true, nullptr});
  EXPECT_EQ(last, (std::vector<std::string>{"#gif#*http://a.com/", "#gif#http://a.com/x.gif", ""}));
  EXPECT_EQ(EnterPageLinks(last, 0, {}, {}), 0u);
  EXPECT_EQ(last.size(), 3u);
}

}  // namespace
}  // namespace varnel
