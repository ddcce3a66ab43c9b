// GIF files brought into the collection: an animated GIF gives one image per frame, a still one
// a single image, and a damaged one an error.

#include <gtest/gtest.h>

#include "collection/fileimport.h"
#include "support/corpus.h"
#include "support/testcollection.h"

namespace varnel {
namespace {

TEST(GifReadTest, AnimatedGifsGiveOneImagePerFrameAndDamagedOnesAnError) {
  VARNEL_SKIP_WITHOUT_CORPUS("gif/animation.gif", "gif/interlace.gif");
  for (LoadStyle style : {LoadStyle::Plain, LoadStyle::ExcludingDuplicates}) {
    FileContents animated = ReadFileContents(test::CorpusPath("gif/animation.gif"), {style});
    ASSERT_EQ(animated.icons.size(), 1u);
    EXPECT_EQ(animated.icons[0].icon->Images().Count(), 4);
    FileContents still = ReadFileContents(test::CorpusPath("gif/interlace.gif"), {style});
    ASSERT_EQ(still.icons.size(), 1u);
    EXPECT_EQ(still.icons[0].icon->Images().Count(), 1);
  }
  test::TempDir folder;
  test::WriteText(folder.File("cut.gif"), "GIF89a\x10");  // a screen descriptor cut short
  FileContents cut = ReadFileContents(folder.File("cut.gif"), {LoadStyle::Plain});
  EXPECT_TRUE(cut.error);
  EXPECT_TRUE(cut.icons.empty());
  // A screen and a frame of no pixels: the frame cannot be read, so the picture gives no image.
  test::WriteText(folder.File("empty.gif"), std::string("GIF89a\0\0\0\0\x80\0\0\0\0\0\xff\xff\xff"
                                                        "\x2c\0\0\0\0\0\0\0\0\0\x02\x01\0\0\x3b",
                                                        34));
  FileContents empty = ReadFileContents(folder.File("empty.gif"), {LoadStyle::Plain});
  EXPECT_TRUE(empty.icons.empty());
  test::TestCollection collection;
  std::vector<std::string> errors;
  ImportFile(collection.lib, folder.File("empty.gif"), &errors);
  EXPECT_EQ(collection.lib.Count(), 0);
}

TEST(GifReadTest, ImportingAnAnimatedGifMakesOneItemOfItsFrames) {
  VARNEL_SKIP_WITHOUT_CORPUS("gif/dispose_prev.gif", "gif/interlace.gif");
  test::TestCollection collection;
  ImportFile(collection.lib, test::CorpusPath("gif/dispose_prev.gif"), nullptr);
  ImportFile(collection.lib, test::CorpusPath("gif/interlace.gif"), nullptr);
  ASSERT_EQ(collection.lib.Count(), 2);
  EXPECT_EQ(collection.lib.Items().Icons(0)->Images().Count(), 5);
  EXPECT_EQ(collection.lib.Items().Icons(1)->Images().Count(), 1);
  EXPECT_TRUE(collection.ui.imageSizeRequests.empty());
}

}  // namespace
}  // namespace varnel
