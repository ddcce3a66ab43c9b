#include "platform/sharedmimeinfo.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/corpus.h"

namespace varnel {
namespace {

namespace fs = std::filesystem;

std::string MimeFolder(const test::TempDir& dir, const std::string& name) {
  std::string folder = dir.File(name);
  fs::create_directories(folder);
  return folder;
}

TEST(SharedMimeInfoTest, ExtensionsComeFromPlainPatternsWithTheHeaviestType) {
  test::TempDir dir;
  std::string user = MimeFolder(dir, "user");
  std::string system = MimeFolder(dir, "system");
  test::WriteText(system + "/globs2",
                  "# comment\n"
                  "50:text/x-csrc:*.c\n"
                  "50:text/x-c++src:*.C:cs\n"
                  "50:text/x-chdr:*.[ch]\n"
                  "50:text/x-readme:README*\n"
                  "50:application/x-compressed-tar:*.tar.gz\n"
                  "10:application/gzip:*.gz\n"
                  "40:text/plain:*.bak\n"
                  "60:application/x-trash:*.bak\n"
                  "50:image/png:*.png\n"
                  "bad line\n"
                  "x:text/plain:*.txt\n");
  // The user's folder clears the system's patterns of image/png and adds its own.
  test::WriteText(user + "/globs2",
                  "50:image/png:__NOGLOBS__\n"
                  "50:image/png:*.portable\n"
                  "50:text/markdown:*.md\r\n");
  SharedMimeInfo info({user, system, dir.File("missing")});
  std::vector<std::pair<std::string, std::string>> found;
  for (const MimeExtension& entry : info.Extensions())
    found.emplace_back(entry.extension, entry.mimeType);
  EXPECT_EQ(found, (std::vector<std::pair<std::string, std::string>>{
                       {"portable", "image/png"},
                       {"md", "text/markdown"},
                       {"c", "text/x-csrc"},
                       {"C", "text/x-c++src"},
                       {"tar.gz", "application/x-compressed-tar"},
                       {"gz", "application/gzip"},
                       {"bak", "application/x-trash"},
                   }));
}

TEST(SharedMimeInfoTest, IconNamesFallBackFromTheIconsFileToTheGenericIcon) {
  test::TempDir dir;
  std::string user = MimeFolder(dir, "user");
  std::string system = MimeFolder(dir, "system");
  test::WriteText(user + "/icons", "application/x-thing:user-thing\n");
  test::WriteText(system + "/icons", "application/x-thing:system-thing\nbroken\n:x\ny:\n");
  test::WriteText(system + "/generic-icons", "application/x-thing:package-x-generic\n");
  SharedMimeInfo info({user, system});
  EXPECT_EQ(info.IconNames("application/x-thing"),
            (std::vector<std::string>{"user-thing", "application-x-thing", "package-x-generic",
                                      "application-x-generic"}));
  EXPECT_EQ(info.IconNames("text/plain"),
            (std::vector<std::string>{"text-plain", "text-x-generic"}));
}

TEST(SharedMimeInfoTest, OnlyPlainStarDotPatternsNameExtensions) {
  const std::pair<const char*, const char*> globs[] = {
      {"*.png", "png"}, {"*.tar.bz2", "tar.bz2"}, {"*.", ""},    {"*.[Zz]", ""}, {"*.x*", ""},
      {"core", ""},     {"x.*.txt", ""},          {"*.a/b", ""},
  };
  for (auto [glob, extension] : globs) EXPECT_EQ(ExtensionOfGlob(glob), extension) << glob;
}

}  // namespace
}  // namespace varnel
