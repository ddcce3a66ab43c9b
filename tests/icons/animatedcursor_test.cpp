// Animated cursors: the corpus samples' frames, rates and sequences, the completion of what a
// file leaves out, and hostile sizes and counts.

#include <gtest/gtest.h>

#include <cstring>

#include "base/errors.h"
#include "icons/animatedcursor.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using Bytes = std::vector<uint8_t>;

void PutU32(Bytes& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(uint8_t(value >> (8 * i)));
}

Bytes Chunk(const char* id, const Bytes& data, int64_t declaredSize = -1) {
  Bytes chunk(id, id + 4);
  PutU32(chunk, uint32_t(declaredSize < 0 ? int64_t(data.size()) : declaredSize));
  chunk.insert(chunk.end(), data.begin(), data.end());
  return chunk;
}

Bytes Words(std::initializer_list<uint32_t> values) {
  Bytes bytes;
  for (uint32_t value : values) PutU32(bytes, value);
  return bytes;
}

Bytes Header(uint32_t frames, uint32_t steps, uint32_t size, uint32_t rate) {
  return Chunk("anih", Words({36, frames, steps, size, size, 4, 1, rate, 1}));
}

// A cursor file of one 24-bit image of the given size.
Bytes CursorFile(int size) {
  TAdvancedIcon cursor;
  cursor.Images().AddFromBitmap(TBitmap(size, size, PixelFormat::Bits24), nullptr, 0);
  MemoryStream stream;
  cursor.SaveCursorToStream(stream);
  return stream.TakeBytes();
}

Bytes FrameList(const std::vector<Bytes>& icons) {
  Bytes list = {'f', 'r', 'a', 'm'};
  for (const Bytes& icon : icons) {
    Bytes chunk = Chunk("icon", icon);
    list.insert(list.end(), chunk.begin(), chunk.end());
  }
  return Chunk("LIST", list);
}

Bytes Riff(const std::vector<Bytes>& chunks) {
  Bytes body = {'A', 'C', 'O', 'N'};
  for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  return Chunk("RIFF", body);
}

TAnimatedCursor Read(const Bytes& bytes) {
  TAnimatedCursor cursor;
  cursor.LoadFromBytes(bytes);
  return cursor;
}

TEST(AnimatedCursorTest, CorpusSamplesGiveTheirFramesRatesAndSequences) {
  VARNEL_SKIP_WITHOUT_CORPUS("ani/test.ani", "ani/test-animation.ani", "ani/rgbrgb.ani");
  TAnimatedCursor test = Read(test::ReadCorpusFile("ani/test.ani"));
  EXPECT_EQ(test.Frames.size(), 3u);
  EXPECT_EQ(test.Sequence, (std::vector<int32_t>{0, 1, 2, 1}));
  EXPECT_EQ(test.Rates, (std::vector<int32_t>{10, 20, 10, 10}));
  EXPECT_EQ(test.Title, "ANI Test");
  EXPECT_EQ(test.Artist, "KDE Community");
  EXPECT_EQ(test.Header.cFrames, 3u);
  EXPECT_EQ(test.Header.cSteps, 4u);
  EXPECT_EQ(test.Header.cx, 32u);
  EXPECT_EQ(test.StepFrame(3), test.Frame(1));
  EXPECT_EQ(test.StepImage(4), nullptr);

  TAnimatedCursor animation = Read(test::ReadCorpusFile("ani/test-animation.ani"));
  EXPECT_EQ(animation.Frames.size(), 18u);
  EXPECT_EQ(animation.Rates, std::vector<int32_t>(18, 2));
  EXPECT_EQ(animation.Sequence.back(), 17);
  EXPECT_EQ(animation.FrameImage(0)->ImageWidth(), 48);
  EXPECT_EQ(animation.Frame(0)->Images().Count(), 2);
  EXPECT_EQ(animation.Header.cx, 48u);

  TAnimatedCursor rgb = Read(test::ReadCorpusFile("ani/rgbrgb.ani"));
  EXPECT_EQ(rgb.Frames.size(), 6u);
  EXPECT_EQ(rgb.Rates, (std::vector<int32_t>{1, 1, 1, 1, 2, 1}));
  EXPECT_EQ(rgb.FrameImage(5)->ImageWidth(), 256);
}

TEST(AnimatedCursorTest, MissingSequenceAndRatesAreCompletedAndTheHeaderRefreshed) {
  Bytes small = CursorFile(16), large = CursorFile(48);
  TAnimatedCursor cursor =
      Read(Riff({Header(4, 4, 32, 10), FrameList({large, small, small, small})}));
  EXPECT_EQ(cursor.Sequence, (std::vector<int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(cursor.Rates, (std::vector<int32_t>{10, 10, 10, 10}));
  EXPECT_EQ(cursor.Header.fl, 3u);
  EXPECT_EQ(cursor.Header.cx, 48u);  // the first frame's size, not the header's 32
  EXPECT_EQ(cursor.Header.cy, 48u);
  EXPECT_EQ(cursor.Header.cBitCount, 24u);
  // An icon chunk of exactly 44 bytes is too small to be a frame.
  Bytes tiny(44, 0);
  tiny[2] = 2;
  tiny[4] = 1;
  EXPECT_EQ(Read(Riff({FrameList({tiny, small})})).Frames.size(), 1u);
}

TEST(AnimatedCursorTest, HostileSizesAndCountsEndTheReadingCleanly) {
  Bytes small = CursorFile(16);
  // A step count of four thousand million without rates allocates nothing of that size.
  TAnimatedCursor huge = Read(Riff({Header(2, 0xFFFFFFFF, 32, 10), FrameList({small, small})}));
  EXPECT_EQ(huge.Rates.size(), 2u);
  EXPECT_EQ(huge.Header.cSteps, 2u);
  // A rate chunk claiming more than the file holds ends the reading before the frames.
  TAnimatedCursor longRate =
      Read(Riff({Chunk("rate", Words({1, 2}), 0x7FFFFFF0), FrameList({small})}));
  EXPECT_TRUE(longRate.Frames.empty());
  EXPECT_TRUE(longRate.Rates.empty());
  // A frame list whose size runs far past the end still gives the frames that are there; an
  // icon chunk past the end is not read.
  Bytes list = FrameList({small, small});
  std::memcpy(list.data() + 4, "\xFF\xFF\x0A\xFF", 4);
  Bytes cut = Riff({list});
  cut.resize(cut.size() - 10);
  EXPECT_EQ(Read(cut).Frames.size(), 1u);
  // Sequence entries naming missing frames give no frame.
  TAnimatedCursor wild = Read(Riff({Chunk("seq ", Words({0, 7, 0xFFFFFFFF})), FrameList({small})}));
  EXPECT_EQ(wild.StepCount(), 3);
  EXPECT_NE(wild.StepImage(0), nullptr);
  EXPECT_EQ(wild.StepFrame(1), nullptr);
  EXPECT_EQ(wild.StepFrame(2), nullptr);
}

TEST(AnimatedCursorTest, FilesThatAreNoAnimatedCursorAreRefused) {
  Bytes good = Riff({Header(0, 0, 32, 10), Chunk("rate", Words({1, 2, 3}))});
  EXPECT_NO_THROW(Read(good));
  Bytes wrongForm = good;
  std::memcpy(wrongForm.data() + 8, "AVI ", 4);
  Bytes tooSmall = Riff({Chunk("rate", Words({1}))});
  Bytes tooLarge = good;
  PutU32(tooLarge, 0);
  std::memcpy(tooLarge.data() + 4, "\x81\x84\x1E\x00", 4);  // 2,000,001
  for (const Bytes& bytes : {wrongForm, tooSmall, tooLarge, Bytes(8, 0)}) {
    try {
      Read(bytes);
      ADD_FAILURE() << "read without an error";
    } catch (const Exception& error) {
      EXPECT_STREQ(error.what(), "Invalid stream format");
    }
  }
}

TEST(AnimatedCursorTest, CorpusExploitSampleReadsWithoutHarm) {
  VARNEL_SKIP_WITHOUT_CORPUS("ani/CVE-2022-48622.ani");
  TAnimatedCursor cursor = Read(test::ReadCorpusFile("ani/CVE-2022-48622.ani"));
  EXPECT_LE(cursor.Frames.size(), 2u);
  EXPECT_EQ(cursor.Rates.size(), cursor.Sequence.size());
}

}  // namespace
}  // namespace varnel
