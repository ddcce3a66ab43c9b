// Icon images and bitmaps written as GIF, and animated cursors offered as animated GIFs.

#include <gtest/gtest.h>

#include "graphics/gifcodec.h"
#include "graphics/pictureformats.h"
#include "icons/anicursorimage.h"
#include "icons/gifexport.h"
#include "support/corpus.h"

namespace varnel {
namespace {

TColor ColorAt(const GifPicture& gif, int frame, int x, int y) {
  const GifFrame& f = gif.frames[size_t(frame)];
  return gif.MapOf(f)[f.pixels[size_t(y) * f.width + x]].ToColor();
}

TEST(GifExportTest, ImageTransparencyBelowTheThresholdGetsItsOwnEntry) {
  TBitmap rgba(3, 1, PixelFormat::Bits32);
  uint8_t* row = rgba.ScanLine(0);
  const uint8_t pixels[] = {0, 0, 255, 255, /**/ 255, 0, 0, 79, /**/ 0, 255, 0, 80};
  std::copy(std::begin(pixels), std::end(pixels), row);
  TAdvancedIcon icon;
  icon.Images().AddFromBitmap(rgba, nullptr, 0);
  GifPicture gif = DecodeGif(EncodeGif(ImageToGif(*icon.Images()[0], 80)));
  ASSERT_EQ(gif.frames.size(), 1u);
  const GifFrame& frame = gif.frames[0];
  ASSERT_TRUE(frame.Transparent());
  EXPECT_EQ(ColorAt(gif, 0, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(frame.pixels[1], frame.control->transparentIndex);
  EXPECT_NE(frame.pixels[2], frame.control->transparentIndex);
  EXPECT_EQ(ColorAt(gif, 0, 2, 0), RGB(0, 255, 0));
}

TEST(AniCursorImageTest, StepsBecomeLoopingFramesWithRoundedDelaysAndComments) {
  EXPECT_EQ(TAniCursorImage::DelayOfRate(10), 17);
  EXPECT_EQ(TAniCursorImage::DelayOfRate(3), 5);
  EXPECT_EQ(TAniCursorImage::DelayOfRate(-4), 0);
  VARNEL_SKIP_WITHOUT_CORPUS("ani/test.ani");
  TAniCursorImage image;
  image.LoadFromBytes(test::ReadCorpusFile("ani/test.ani"));
  EXPECT_EQ(image.StepCount(), 4);
  EXPECT_EQ(image.BitsPerPixel(), 32);
  MemoryStream stream;
  image.SaveToStream(stream);
  GifPicture gif = DecodeGif(stream.Bytes());
  EXPECT_EQ(gif.loopCount, 0);
  ASSERT_EQ(gif.frames.size(), 4u);
  EXPECT_EQ(gif.frames[0].comments,
            (std::vector<std::string>{"Title: ANI Test", "Artist: KDE Community"}));
  EXPECT_TRUE(gif.frames[1].comments.empty());
  const int delays[] = {17, 33, 17, 17};
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(gif.frames[size_t(i)].control);
    EXPECT_EQ(gif.frames[size_t(i)].control->delay, delays[i]);
    EXPECT_EQ(gif.frames[size_t(i)].control->disposal, GifDisposal::RestoreBackground);
    EXPECT_FALSE(gif.frames[size_t(i)].Transparent());
  }
  // Step 3 shows frame 1 again; transparent corners show the button face.
  EXPECT_EQ(gif.frames[3].pixels, gif.frames[1].pixels);
  EXPECT_EQ(ColorAt(gif, 0, 0, 0), kButtonFaceColor);

  // The picture registry offers the first frame.
  RegisterAniCursorFormat();
  const TPictureFormat* format = FindPictureFormat("ani");
  ASSERT_NE(format, nullptr);
  MemoryStream file(test::ReadCorpusFile("ani/test.ani"));
  TBitmap first = format->load(file);
  EXPECT_EQ(first.Width(), gif.width);
  EXPECT_EQ(first.GetPixel(0, 0), kButtonFaceColor);
}

}  // namespace
}  // namespace varnel
