// The external vector renderer, played by stub scripts named "inkscape" in a folder searched
// as PATH: both command-line forms, a renderer that writes nothing, and one that hangs.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "base/fileio.h"
#include "graphics/externalrenderer.h"
#include "support/corpus.h"

namespace varnel {
namespace {

using test::TempDir;
using test::WriteText;

class ExternalRendererStub : public ::testing::Test {
 protected:
  // An "inkscape" in a folder of its own that reports version and runs body.
  std::string Stub(const std::string& folder, const std::string& version, const std::string& body) {
    std::string path = dir.File(folder);
    ::mkdir(path.c_str(), 0700);
    std::string program = path + "/inkscape";
    WriteText(program, "#!/bin/sh\nif [ \"$1\" = --version ]; then echo '" + version +
                           "'; exit 0; fi\n" + body + "\n");
    ::chmod(program.c_str(), 0700);
    return path;
  }

  TempDir dir;
  std::string source = dir.File("drawing.svg");
  std::string png = dir.File("expected.png");
  void SetUp() override {
    WriteText(source, "<svg/>");
    WriteText(png, "rendered picture");
  }
};

TEST_F(ExternalRendererStub, CurrentVersionsTakeTheExportOptions) {
  std::string folder =
      Stub("current", "Inkscape 1.2.2 (b0a8486541, 2022-12-01)",
           "for a in \"$@\"; do case \"$a\" in --export-filename=*) out=\"${a#*=}\";; esac; done\n"
           "[ \"$1\" = --export-type=png ] && [ \"$3\" = \"" +
               source + "\" ] && cp '" + png + "' \"$out\"");
  auto renderer = FindExternalRenderer("/nonexistent:" + folder);
  ASSERT_TRUE(renderer);
  EXPECT_FALSE(renderer->legacyCommandLine);
  auto output = RunExternalRenderer(*renderer, source);
  ASSERT_TRUE(output);
  EXPECT_EQ(std::string(output->begin(), output->end()), "rendered picture");
  EXPECT_FALSE(RunExternalRenderer(*renderer, dir.File("missing.svg")));
}

TEST_F(ExternalRendererStub, OldVersionsTakeDashFAndDashE) {
  std::string folder = Stub("legacy", "Inkscape 0.92.4 (5da689c313, 2019-01-14)",
                            "[ \"$1\" = -f ] && [ \"$2\" = \"" + source +
                                "\" ] && [ \"$3\" = -e ] && cp '" + png + "' \"$4\"");
  auto renderer = FindExternalRenderer(folder);
  ASSERT_TRUE(renderer);
  EXPECT_TRUE(renderer->legacyCommandLine);
  auto output = RunExternalRenderer(*renderer, source);
  ASSERT_TRUE(output);
  EXPECT_EQ(output->size(), 16u);
}

TEST_F(ExternalRendererStub, SilentOrHangingRenderersGiveNothing) {
  EXPECT_FALSE(FindExternalRenderer(dir.File("no-such-folder")));
  auto silent = FindExternalRenderer(Stub("silent", "Inkscape 1.2", "exit 0"));
  ASSERT_TRUE(silent);
  EXPECT_FALSE(RunExternalRenderer(*silent, source));
  auto hanging = FindExternalRenderer(Stub("hanging", "Inkscape 1.2", "sleep 30"));
  ASSERT_TRUE(hanging);
  auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(RunExternalRenderer(*hanging, source, std::chrono::milliseconds(300)));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
}  // namespace varnel
