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
