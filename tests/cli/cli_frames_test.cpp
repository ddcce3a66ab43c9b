// varnel-cli frames: an animated cursor's step frames against the expected renderings shipped
// with it, and a GIF's composed frames with their delays.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/clirunner.h"
#include "support/corpus.h"

namespace {

using varnel::test::RunCli;
using varnel::test::RunCommand;

constexpr char kConvert[] = "/usr/bin/convert";

std::string Rgba(const std::string& png) {
  return RunCommand(std::string(kConvert) + " '" + png + "' -depth 8 rgba:- 2>/dev/null").out;
}

// Alpha equal; colours of visible pixels within one step (the expected files went through
// premultiplied alpha).
int CountDifferences(const std::string& got, const std::string& expected) {
  if (got.size() != expected.size() || got.empty()) return -1;
  int different = 0;
  for (size_t i = 0; i < got.size(); i += 4) {
    auto channel = [&](size_t c) {
      return std::abs(int(uint8_t(got[i + c])) - int(uint8_t(expected[i + c])));
    };
    bool same = channel(3) == 0 &&
                (expected[i + 3] == 0 || (channel(0) <= 1 && channel(1) <= 1 && channel(2) <= 1));
    different += !same;
  }
  return different;
}

TEST(CliFramesTest, CursorStepsAreWrittenInSequenceOrderAsTheExpectedFrames) {
  VARNEL_SKIP_WITHOUT_CORPUS("ani/test.ani", "ani/test_1.png", "ani/test_2.png", "ani/test_3.png");
  if (!std::filesystem::exists(kConvert)) GTEST_SKIP() << "ImageMagick is not installed";
  varnel::test::TempDir out;
  auto result =
      RunCli("frames '" + varnel::test::CorpusPath("ani/test.ani") + "' -o '" + out.Path() + "'");
  ASSERT_EQ(result.status, 0) << result.out;
  const char* expected[] = {"test_1.png", "test_2.png", "test_3.png", "test_2.png"};
  for (int step = 0; step < 4; ++step) {
    std::string frame = out.File("frame-00" + std::to_string(step) + ".png");
    EXPECT_EQ(CountDifferences(Rgba(frame), Rgba(varnel::test::CorpusPath(std::string("ani/") +
                                                                          expected[step]))),
              0)
        << frame;
  }
  EXPECT_FALSE(std::filesystem::exists(out.File("frame-004.png")));
  std::string json = varnel::test::FileText(out.File("frames.json"));
  EXPECT_NE(json.find("\"delay_ms\": 333, \"rate_jiffies\": 20, \"frame\": 1"), std::string::npos)
      << json;
}

TEST(CliFramesTest, GifFramesAreComposedWithTheirDelaysAndOtherFilesAreRefused) {
  VARNEL_SKIP_WITHOUT_CORPUS("gif/animation.gif", "cur/sample.cur");
  varnel::test::TempDir out;
  auto result = RunCli("frames '" + varnel::test::CorpusPath("gif/animation.gif") + "' -o '" +
                       out.Path() + "'");
  ASSERT_EQ(result.status, 0) << result.out;
  EXPECT_TRUE(std::filesystem::exists(out.File("frame-003.png")));
  EXPECT_FALSE(std::filesystem::exists(out.File("frame-004.png")));
  std::string json = varnel::test::FileText(out.File("frames.json"));
  EXPECT_NE(json.find("{\"file\": \"frame-003.png\", \"delay_ms\": 500}"), std::string::npos)
      << json;
  EXPECT_EQ(
      RunCli("frames '" + varnel::test::CorpusPath("cur/sample.cur") + "' -o '" + out.Path() + "'")
          .status,
      1);
  EXPECT_EQ(RunCli("frames '" + varnel::test::CorpusPath("gif/animation.gif") + "'").status, 2);
}

TEST(CliFramesTest, ListAndInfoTellAnimatedGifsAndShowTheirFrames) {
  VARNEL_SKIP_WITHOUT_CORPUS("gif/animation.gif", "gif/interlace.gif");
  std::string animated = varnel::test::CorpusPath("gif/animation.gif");
  std::string still = varnel::test::CorpusPath("gif/interlace.gif");
  EXPECT_NE(RunCli("info '" + animated + "'").out.find("animated GIF image"), std::string::npos);
  std::string stillInfo = RunCli("info '" + still + "'").out;
  EXPECT_NE(stillInfo.find("GIF image"), std::string::npos);
  EXPECT_EQ(stillInfo.find("animated"), std::string::npos);
  EXPECT_NE(RunCli("list '" + animated + "'").out.find("2x2x256, 2x2x256, 2x2x256, 2x2x256"),
            std::string::npos);
}

}  // namespace
