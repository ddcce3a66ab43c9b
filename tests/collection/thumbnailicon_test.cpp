// The icon a thumbnail is drawn from, read by itself, against the first icon of the file's
// whole import: the same images in the same order, pixel for pixel.

#include "collection/thumbnailicon.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "collection/fileimport.h"
#include "support/corpus.h"

namespace varnel {
namespace {

const TAdvancedIcon* FirstImportedIcon(const FileContents& contents) {
  for (const FoundIcon& found : contents.icons)
    if (found.icon->Images().Count()) return found.icon.get();
  return nullptr;
}

void ExpectSameImages(const TAdvancedIcon& read, const TAdvancedIcon& imported) {
  ASSERT_EQ(read.Images().Count(), imported.Images().Count());
  for (int i = 0; i < read.Images().Count(); ++i) {
    const TSubIcon& a = *read.Images()[i];
    const TSubIcon& b = *imported.Images()[i];
    EXPECT_EQ(a.GetDescription(), b.GetDescription()) << "image " << i;
    EXPECT_TRUE(a.SameImage(b)) << "image " << i;
  }
}

TEST(ThumbnailIconTest, GivesTheFirstIconOfTheWholeImport) {
  std::vector<std::string> files;
  for (const char* name :
       {"ico/pillow.ico", "ico/hopper_256x256.ico", "ico/bug785447.ico", "cur/deerstalker.cur",
        "ani/test.ani", "ani/rgbrgb.ani", "icns/pillow.icns", "icns/test-legacy.icns",
        "icns/test-png.icns", "icns/test-jp2.icns", "icns/test-variants.icns", "icns/test1.icns"})
    if (test::CorpusPresent()) files.push_back(test::CorpusPath(name));
  const char* module = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/notepad.exe";
  if (std::filesystem::exists(module)) files.push_back(module);
  if (files.empty()) GTEST_SKIP() << "no sample files";
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    SharedFile file = MappedFile::Open(path);
    std::unique_ptr<TAdvancedIcon> read = ThumbnailIcon(file, DetectFileKind(*file).kind, 128);
    ASSERT_TRUE(read);
    FileContents contents = ReadFileContents(path, FileReadOptions{});
    ASSERT_FALSE(contents.error);
    const TAdvancedIcon* imported = FirstImportedIcon(contents);
    ASSERT_TRUE(imported);
    ExpectSameImages(*read, *imported);
  }
}

}  // namespace
}  // namespace varnel
