// GIF records written and read back through giflib, the size limits, and damaged files.

#include <gtest/gtest.h>

#include "base/errors.h"
#include "graphics/gifcodec.h"

namespace varnel {
namespace {

GifFrame MakeFrame(int left, int top, int width, int height, uint8_t index) {
  GifFrame frame;
  frame.left = left;
  frame.top = top;
  frame.width = width;
  frame.height = height;
  frame.pixels.assign(size_t(width) * height, index);
  return frame;
}

GifPicture TwoFramePicture() {
  GifPicture gif;
  gif.width = 6;
  gif.height = 4;
  gif.backgroundIndex = 1;
  gif.globalMap = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
  gif.loopCount = 0;
  GifFrame first = MakeFrame(0, 0, 6, 4, 2);
  for (size_t i = 0; i < first.pixels.size(); ++i) first.pixels[i] = uint8_t(i % 3);
  first.comments = {"Title: walk", std::string(300, 'x')};
  first.control = GifGraphicControl{17, GifDisposal::RestorePrevious, 1};
  GifFrame second = MakeFrame(2, 1, 3, 2, 0);
  second.colorMap = {{10, 20, 30, 0}, {40, 50, 60, 0}, {1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
  gif.frames = {first, second};
  return gif;
}

TEST(GifCodecTest, FramesMapsExtensionsAndLoopingSurviveARoundTrip) {
  GifPicture written = TwoFramePicture();
  GifPicture read = DecodeGif(EncodeGif(written));
  EXPECT_EQ(read.width, 6);
  EXPECT_EQ(read.height, 4);
  EXPECT_EQ(read.backgroundIndex, 1);
  EXPECT_EQ(read.loopCount, 0);
  // Maps are padded to a power of two; the entries written come first.
  ASSERT_EQ(read.globalMap.size(), 4u);
  EXPECT_TRUE(
      std::equal(written.globalMap.begin(), written.globalMap.end(), read.globalMap.begin()));
  ASSERT_EQ(read.frames.size(), 2u);
  const GifFrame& first = read.frames[0];
  EXPECT_EQ(first.pixels, written.frames[0].pixels);
  EXPECT_EQ(first.comments, written.frames[0].comments);
  ASSERT_TRUE(first.control);
  EXPECT_EQ(first.control->delay, 17);
  EXPECT_EQ(first.control->disposal, GifDisposal::RestorePrevious);
  EXPECT_EQ(first.control->transparentIndex, 1);
  EXPECT_TRUE(first.colorMap.empty());
  const GifFrame& second = read.frames[1];
  EXPECT_EQ(second.left, 2);
  EXPECT_EQ(second.top, 1);
  EXPECT_EQ(second.colorMap.size(), 8u);
  EXPECT_EQ(second.colorMap[4], (RGBQuad{7, 8, 9, 0}));
  EXPECT_FALSE(second.control);
  EXPECT_FALSE(second.Transparent());
}

TEST(GifCodecTest, SeveralFramesAreToldFromOneWithoutDecodingPixels) {
  GifPicture gif = TwoFramePicture();
  EXPECT_TRUE(GifHasSeveralFrames(EncodeGif(gif)));
  gif.frames.pop_back();  // one frame, still with its comments and graphic control before it
  EXPECT_FALSE(GifHasSeveralFrames(EncodeGif(gif)));
  EXPECT_FALSE(GifHasSeveralFrames(std::vector<uint8_t>{'G', 'I', 'F'}));
}

TEST(GifCodecTest, DamageAfterTheFirstFrameKeepsTheFramesBeforeIt) {
  std::vector<uint8_t> bytes = EncodeGif(TwoFramePicture());
  std::vector<uint8_t> cutInSecond(bytes.begin(), bytes.end() - 6);
  EXPECT_EQ(DecodeGif(cutInSecond).frames.size(), 1u);
  std::vector<uint8_t> cutInFirst(bytes.begin(), bytes.begin() + 40);
  EXPECT_THROW(DecodeGif(cutInFirst), EInvalidGraphic);
  EXPECT_THROW(DecodeGif(std::vector<uint8_t>(10, 0)), EInvalidGraphic);
}

TEST(GifCodecTest, DeclaredSizesOverTheLimitsAreRefused) {
  GifPicture gif;
  gif.width = 16384;
  gif.height = 16384;
  gif.globalMap = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  gif.frames = {MakeFrame(0, 0, 1, 1, 0)};
  // One composed frame of 2^28 pixels is within the limit; a second is not.
  EXPECT_EQ(DecodeGif(EncodeGif(gif)).frames.size(), 1u);
  gif.frames.push_back(MakeFrame(0, 0, 1, 1, 1));
  EXPECT_THROW(DecodeGif(EncodeGif(gif)), EInvalidGraphic);
  // A screen wider than 16384 is refused; so is a frame that declares more.
  std::vector<uint8_t> bytes = EncodeGif(TwoFramePicture());
  std::vector<uint8_t> wide = bytes;
  wide[6] = 0x01;
  wide[7] = 0x41;  // 16641 pixels wide
  EXPECT_THROW(DecodeGif(wide), EInvalidGraphic);
  GifPicture small = TwoFramePicture();
  small.frames.resize(1);
  small.frames[0].comments.clear();
  small.frames[0].control.reset();
  small.loopCount.reset();
  std::vector<uint8_t> tall = EncodeGif(small);
  const size_t descriptor = 13 + 3 * 4;  // after the header and the four-entry global map
  ASSERT_EQ(tall[descriptor], 0x2C);
  tall[descriptor + 7] = 0xFF;
  tall[descriptor + 8] = 0x7F;  // frame height 32767
  try {
    DecodeGif(tall);
    ADD_FAILURE() << "a frame 32767 high was decoded";
  } catch (const EInvalidGraphic& error) {
    EXPECT_NE(std::string(error.what()).find("over the limit"), std::string::npos) << error.what();
  }
}

}  // namespace
}  // namespace varnel
